#!/bin/busybox sh
# /init of the test machine (scripts/vm-test.sh): loads the modules, mounts the host's root
# shared over 9p, gives it this machine's /dev, /sys and /proc and fresh /tmp and /run, and
# runs the suite there; then powers off. The suite's exit code is printed for the host.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev

for module in $(cat /modules/order); do
    insmod /modules/$module.ko* || echo "vm-init: could not load $module"
done

build=$(sed -n 's/.*quillmar\.build=\([^ ]*\).*/\1/p' /proc/cmdline)
parts=$(sed -n 's/.*quillmar\.parts=\([^ ]*\).*/\1/p' /proc/cmdline)
status=1
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144 hostroot /host; then
    for place in dev sys proc; do mount --bind /$place /host/$place; done
    # The host's own /tmp and /run stay out of sight: nothing is written to the host, and no
    # udev database of the host makes the library wait for a udev that does not run here.
    # A build under the host's /tmp (a clone made there) stays in sight through its own mount.
    mkdir -p /hosttmp && mount --bind /host/tmp /hosttmp
    mount -t tmpfs tmpfs /host/tmp
    mount -t tmpfs tmpfs /host/run
    case "$build" in
    /tmp/?*)
        top=${build#/tmp/}
        top=${top%%/*}
        mkdir -p "/host/tmp/$top" && mount --bind "/hosttmp/$top" "/host/tmp/$top"
        ;;
    esac
    cp /vm-suite.sh /host/tmp/vm-suite.sh
    chroot /host /bin/sh -c 'cd / && exec /bin/sh /tmp/vm-suite.sh "$0" "$1"' "$build" "$parts"
    status=$?
else
    echo "vm-init: the host's root could not be mounted"
fi
echo "vm-suite exit: $status"
sync
poweroff -f
