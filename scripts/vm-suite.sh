#!/bin/sh
B=$1/bin
ls -l /dev/uhid; T=$(mktemp -d); export HOME=$T XDG_RUNTIME_DIR=$T
QUILLMAR_SIM_STATE=$T/s.bin QUILLMAR_SIM_TRACE=$T/trace $B/quillmar-uhid > $T/out 2>$T/err &
p=$!
for i in $(seq 100); do grep -q ready $T/out && break; sleep 0.1; done
cat $T/out $T/err; ls -l /dev/hidraw*; cat /sys/class/hidraw/*/device/uevent | grep -E "HID_ID|PHYS"
time $B/quillmarctl --device $B/libhidlane.so info; echo rc=$?
wc -l $T/trace
kill $p; wait $p; echo uhid=$?
