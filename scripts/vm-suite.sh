#!/bin/sh
# The kernel suite: the real libhidlane.so, quillmarctl and the window against quillmar-uhid,
# through the kernel's uhid, hid-generic and hidraw drivers. It needs /dev/uhid and root, and
# runs inside the machine scripts/vm-test.sh boots (it may run on any such Linux machine, but
# it creates and removes HID devices). Every check prints PASS or FAIL; the exit code is the
# number of failures (0 = all passed).
#
# usage: vm-suite.sh BUILD_DIR [PART,...]    parts: commands unplug window late shared (all)
bin=$1/bin
parts=",${2:-commands,unplug,window,late,shared},"
lib=$bin/libhidlane.so
work=$(mktemp -d)
chmod 755 "$work" # the late part's user must reach its home in here
failures=0
export QT_QPA_PLATFORM=offscreen

pass() { echo "PASS: $*"; }
step() { echo "-- $(date +%T) $*"; }
part() {
    case $parts in *",$1,"*) step "part $1"; return 0 ;; esac
    return 1
}
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
check() {
    what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
# wait_for SECONDS COMMAND...: true once the command succeeds.
wait_for() {
    deadline=$(($(date +%s) + $1))
    shift
    while [ "$(date +%s)" -le "$deadline" ]; do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# A user of its own for each part: home, documents, settings and runtime folder.
use_home() {
    export HOME=$work/home-$1 XDG_RUNTIME_DIR=$work/run-$1 XDG_CONFIG_HOME=$work/home-$1/.config
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}

# keyboard NAME [quillmar-uhid options]: starts a virtual keyboard with its state, trace and
# control FIFO in $work/NAME.
keyboard() {
    kb=$work/$1
    shift
    mkdir -p "$kb"
    mkfifo "$kb/control"
    QUILLMAR_SIM_STATE=$kb/state.bin QUILLMAR_SIM_TRACE=$kb/trace QUILLMAR_SIM_CONTROL=$kb/control \
        "$bin/quillmar-uhid" "$@" >"$kb/out" 2>"$kb/err" &
    echo $! >"$kb/pid"
    if wait_for 30 grep -qx ready "$kb/out"; then return 0; fi
    fail "quillmar-uhid $* said ready"
    cat "$kb/err"
    return 1
}
# What a failed part leaves behind, for the log.
show_logs() {
    echo "== trace of $1 (last lines)"
    tail -n 8 "$work/$1/trace" | cut -c1-60
    echo "== quillmar-uhid's messages"
    cat "$work/$1/err"
    echo "== hidraw nodes"
    ls -l /dev/hidraw* 2>&1
    if [ -n "${2:-}" ]; then
        echo "== $2 (last lines)"
        tail -n 30 "$2"
    fi
}
stop_keyboard() { end_program "$(cat "$work/$1/pid")"; }
control() { timeout 10 sh -c 'echo "$1" >"$0"' "$work/$1/control" "$2" || fail "control line $2 taken"; }
# Ends a program and waits for it, however it is doing.
end_program() {
    kill -TERM "$1" 2>/dev/null
    if ! wait_for 20 sh -c "! kill -0 $1 2>/dev/null"; then
        fail "program $1 ended on SIGTERM"
        kill -KILL "$1" 2>/dev/null
    fi
    wait "$1" 2>/dev/null
}
trace_lines() { wc -l <"$work/$1/trace"; }
# Requests of one command (byte 3 of the frame, two hex digits) in the trace after line N.
requests_after() { tail -n +"$(($2 + 1))" "$work/$1/trace" | grep -c "^> 04 .. .. $3 "; }
saw_requests() { [ "$(requests_after "$1" "$2" "$3")" -gt 0 ]; }
same_files() { cmp -s "$1" "$2"; }
no_failed_command() { ! grep -q '^exit [1-9]' "$1"; }
no_keyboard_nodes() { [ -z "$(hidraw_nodes 2>/dev/null)" ]; }
# The per-user folder holds only whole files and backups, none of them half made.
only_whole_files() {
    [ -z "$(ls -A "$1" | grep -v -e '^\$Profile0$' -e '\.ini$' -e '\.userd$' -e '^Backups$')" ] &&
        { [ ! -d "$1/Backups" ] || [ -z "$(ls -A "$1/Backups" | grep '^\.')" ]; }
}
hidraw_nodes() { grep -l "HID_ID=0003:00000C45:00007518" /sys/class/hidraw/*/device/uevent | cut -d/ -f5; }

# The commands a user runs, the same ones on the simulated keyboard and on the kernel's.
command_round() {
    device=$1
    out=$2
    {
        quillmarctl_on "$device" info
        quillmarctl_on "$device" profile 2
        quillmarctl_on "$device" remap A key:B
        quillmarctl_on "$device" remap --profile 3 F2 media:3
        quillmarctl_on "$device" lighting effect=3 brightness=2 colour=FF8000
        quillmarctl_on "$device" lighting
        quillmarctl_on "$device" export "$out.kbp"
        quillmarctl_on "$device" remap --profile 1 F1 disabled
        quillmarctl_on "$device" import "$out.kbp"
        quillmarctl_on "$device" profile
    } >"$out.log" 2>&1
}
quillmarctl_on() {
    device=$1
    shift
    timeout 120 "$bin/quillmarctl" --device "$device" "$@"
    echo "exit $?"
}

echo "kernel $(uname -r); uhid: $(ls -l /dev/uhid 2>&1)"

# --- 1. quillmarctl on the real library, byte for byte what the simulated keyboard does -------
if part commands; then
use_home sim
export QUILLMAR_SIM_STATE="$work/sim-state.bin"
command_round sim "$work/sim"
unset QUILLMAR_SIM_STATE
use_home kernel
if keyboard kb; then
    command_round "$lib" "$work/kernel"
    check "every command ran as on the simulated keyboard" same_files "$work/sim.log" "$work/kernel.log"
    if ! same_files "$work/sim.log" "$work/kernel.log"; then diff "$work/sim.log" "$work/kernel.log"; fi
    check "the exported files are the same" same_files "$work/sim.kbp" "$work/kernel.kbp"
    check "no command failed" no_failed_command "$work/kernel.log"
    timeout 60 "$bin/quillmarctl" doctor --dump >"$work/dump.txt" 2>&1
    check "the doctor's dump shows the physical paths" grep -q "HID_PHYS usb-quillmar-uhid-1/input1" "$work/dump.txt"
    check "and the device info request and its answer in hex" \
        sh -c "grep -q '> 04 .. .. 03 2C' '$work/dump.txt' && grep -q '< 04 .. .. 03 2C' '$work/dump.txt'"
    stop_keyboard kb
    check "the keyboard's memory is byte for byte the simulated one's" same_files "$work/sim-state.bin" "$work/kb/state.bin"
    check "quillmar-uhid removed its devices on SIGTERM" no_keyboard_nodes
fi
fi

# --- 2. unplugged in the middle of an import ----------------------------------------------------
# Answers a tenth of a second late, so that the import's download is long enough to cut.
if part unplug && use_home unplug && keyboard kb2 --latency=100; then
    mark=$(trace_lines kb2)
    [ -e "$work/kernel.kbp" ] || "$bin/quillmarctl" --device "$lib" export "$work/kernel.kbp" >/dev/null 2>&1
    timeout 120 "$bin/quillmarctl" --device "$lib" import "$work/kernel.kbp" >"$work/import.out" 2>"$work/import.err" &
    import=$!
    # Unplugged once the download has begun (command 01), well before its end.
    deadline=$(($(date +%s) + 60))
    while [ "$(date +%s)" -le "$deadline" ] && ! saw_requests kb2 "$mark" 01; do sleep 0.01; done
    control kb2 unplug
    wait "$import"
    status=$?
    check "an import cut off by an unplug fails cleanly (exit $status)" [ "$status" = 1 ]
    check "it says why" [ -s "$work/import.err" ]
    check "no file is left half-written" only_whole_files "$HOME/Documents/Gaming Keyboard"
    check "the devices went away" wait_for 10 no_keyboard_nodes
    control kb2 plug
    check "after plugging in again the keyboard answers" wait_for 20 sh -c "'$bin/quillmarctl' --device '$lib' info >/dev/null 2>&1"
    [ "$failures" = 0 ] || show_logs kb2 "$work/import.err"
    stop_keyboard kb2
fi

# --- 3. the window: hot-plug, a second program on the same nodes, access granted late ----------
if part window && use_home window && keyboard kb3; then
    mark=$(trace_lines kb3)
    QUILLMAR_HIDLANE_DEBUG=1 "$bin/quillmar" /Start >"$work/window.out" 2>&1 &
    window=$!
    check "the window reads the keyboard when it starts" wait_for 60 saw_requests kb3 "$mark" 0F
    check "a second program with the same nodes open gets its answers" \
        sh -c "'$bin/quillmarctl' --device '$lib' info | grep -q 'active profile'"
    wait_for 30 saw_requests kb3 0 09
    sleep 2
    step "unplug"
    control kb3 unplug
    # Back soon: the window may still be handling the removal when the keyboard returns.
    sleep 2
    mark=$(trace_lines kb3)
    step "plug"
    control kb3 plug
    check "a keyboard plugged in while the window runs is read again" wait_for 60 saw_requests kb3 "$mark" 0F
    check "the window is still running" kill -0 "$window"
    [ "$failures" = 0 ] || show_logs kb3 "$work/window.out"
    end_program "$window"
    stop_keyboard kb3
fi

# As before udev's uaccess rule: the nodes are root's alone, a user's window starts, and the
# user may open them a moment later. The window must take the keyboard up without a replug.
if part late && use_home late && chown -R nobody "$HOME" "$XDG_RUNTIME_DIR" && keyboard kb4; then
    for node in $(hidraw_nodes); do chmod 600 "/dev/$node"; done
    mark=$(trace_lines kb4)
    setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$HOME" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
        XDG_CONFIG_HOME="$XDG_CONFIG_HOME" QT_QPA_PLATFORM=offscreen "$bin/quillmar" /Start >"$work/late.out" 2>&1 &
    window=$!
    check "the user is told why" wait_for 90 grep -q "not allowed to open" "$work/late.out"
    sleep 2
    check "nothing is sent while the nodes cannot be opened" [ "$(requests_after kb4 "$mark" 0F)" = 0 ]
    for node in $(hidraw_nodes); do chmod 666 "/dev/$node"; done
    check "once the nodes may be opened the window reads the keyboard" wait_for 60 saw_requests kb4 "$mark" 0F
    [ "$failures" = 0 ] || show_logs kb4 "$work/late.out"
    end_program "$window"
    stop_keyboard kb4
fi

# --- 4. command and consumer collections on one interface, notices during transactions --------
if part shared && use_home shared && keyboard kb5 --shared-interface; then
    check "the shared layout makes two nodes" [ "$(hidraw_nodes | wc -l)" = 2 ]
    (for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do
        control kb5 "indicator on"
        control kb5 "lighting-changed"
        sleep 0.1
    done) &
    notices=$!
    [ -e "$work/kernel.kbp" ] || "$bin/quillmarctl" --device "$lib" export "$work/kernel.kbp" >/dev/null 2>&1
    check "an import succeeds while notices flow" sh -c "'$bin/quillmarctl' --device '$lib' import '$work/kernel.kbp' >/dev/null 2>&1"
    wait "$notices"
    "$bin/quillmarctl" --device "$lib" export "$work/shared.kbp" >/dev/null 2>&1
    check "what was imported reads back the same" same_files "$work/kernel.kbp" "$work/shared.kbp"
    check "notices were sent during it" grep -q "^! CONS" "$work/kb5/trace"
    stop_keyboard kb5
fi

echo "vm-suite: $failures failed"
rm -rf "$work"
exit "$failures"
