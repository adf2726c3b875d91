#!/bin/sh
# Runs the kernel suite (scripts/vm-suite.sh): boots a throwaway virtual machine with the
# Debian kernel under QEMU (TCG, no KVM needed), shares this machine's root folder with it
# over 9p, and runs the suite there as root against quillmar-uhid and the real libhidlane.so,
# because /dev/uhid is not available here. Exits with the suite's result; the last line says
# PASS or FAIL.
#
# usage: scripts/vm-test.sh [BUILD_DIR]      (default: build)
# QUILLMAR_VM_CACHE    where the kernel package is kept (default /var/cache/quillmar-vm)
# QUILLMAR_VM_TIMEOUT  seconds before the machine is given up on (default 900)
# QUILLMAR_VM_PARTS    only these parts of the suite, comma-separated (default all)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(dirname "$here")
build_dir=$(cd "${1:-$source_dir/build}" && pwd)
cache=${QUILLMAR_VM_CACHE:-/var/cache/quillmar-vm}
timeout_s=${QUILLMAR_VM_TIMEOUT:-900}
modules="virtio_ring virtio virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci netfs fscache 9pnet
9pnet_virtio 9p hid hid-generic uhid"
started=$(date +%s)

say() { echo "vm-test: $*"; }
give_up() {
    say "FAIL: $*"
    exit 1
}

for program in quillmar-uhid quillmarctl quillmar libhidlane.so; do
    [ -e "$build_dir/bin/$program" ] || give_up "$build_dir/bin/$program is missing; build the project first"
done

# --- tools: QEMU, a static busybox for the machine's /init, the Debian kernel -------------
need=""
command -v qemu-system-x86_64 >/dev/null 2>&1 || need="$need qemu-system-x86"
dpkg -s busybox-static >/dev/null 2>&1 || need="$need busybox-static"
if [ -n "$need" ]; then
    [ "$(id -u)" = 0 ] || give_up "install$need first (needs root)"
    say "installing$need"
    apt-get update -qq >/dev/null || give_up "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $need >/dev/null ||
        give_up "could not install$need"
fi

kernel_package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
if [ -z "$kernel_package" ]; then
    apt-get update -qq >/dev/null || true
    kernel_package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
fi
[ -n "$kernel_package" ] || give_up "apt knows no linux-image-amd64"
kernel_dir=$cache/$kernel_package
if ! ls "$kernel_dir"/boot/vmlinuz-* >/dev/null 2>&1; then
    # Only unpacked: installing it would build an initramfs for this machine, which is not needed.
    say "fetching $kernel_package"
    mkdir -p "$cache"
    (cd "$cache" && rm -f "$kernel_package"_*.deb && apt-get download -q "$kernel_package" >/dev/null 2>&1) ||
        give_up "could not download $kernel_package"
    rm -rf "$kernel_dir.part" && mkdir -p "$kernel_dir.part"
    dpkg-deb -x "$cache/$kernel_package"_*.deb "$kernel_dir.part" || give_up "could not unpack $kernel_package"
    rm -rf "$kernel_dir" && mv "$kernel_dir.part" "$kernel_dir" && rm -f "$cache/$kernel_package"_*.deb
fi
kernel=$(ls "$kernel_dir"/boot/vmlinuz-* | head -n 1)

# --- the machine's initramfs: busybox as /init, the modules, in load order ------------------
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/root/bin" "$work/root/modules" "$work/root/proc" "$work/root/sys" "$work/root/dev" "$work/root/host"
cp /bin/busybox "$work/root/bin/busybox"
for module in $modules; do
    file=$(find "$kernel_dir/lib/modules" -name "$module.ko*" | head -n 1)
    [ -n "$file" ] || give_up "the kernel has no module $module"
    cp "$file" "$work/root/modules/"
done
echo "$modules" | tr ' ' '\n' | grep . >"$work/root/modules/order"
cp "$here/vm-init.sh" "$work/root/init"
cp "$here/vm-suite.sh" "$work/root/vm-suite.sh" # a copy: the suite may be edited while it runs
chmod 755 "$work/root/init"
(cd "$work/root" && find . | /bin/busybox cpio -o -H newc 2>/dev/null | gzip -1) >"$work/initrd.gz"

# --- run it -----------------------------------------------------------------------------------
say "booting $(basename "$kernel") under QEMU (TCG) with the suite on $build_dir"
log=$work/console.log
set +e
timeout "$timeout_s" qemu-system-x86_64 -accel tcg -cpu max -machine q35 -m 1536 -smp 2 \
    -nographic -no-reboot -monitor none \
    -kernel "$kernel" -initrd "$work/initrd.gz" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 quillmar.build=$build_dir quillmar.parts=${QUILLMAR_VM_PARTS:-}" \
    -fsdev "local,id=r,path=/,security_model=none,multidevs=remap" \
    -device "virtio-9p-pci,fsdev=r,mount_tag=hostroot" </dev/null 2>&1 | tee "$log"
qemu_status=$?
set -e
elapsed=$(($(date +%s) - started))

result=$(sed -n 's/.*vm-suite exit: \([0-9]*\).*/\1/p' "$log" | tail -n 1)
if [ -z "$result" ]; then
    [ "$qemu_status" = 124 ] && give_up "the machine did not finish within ${timeout_s}s (${elapsed}s)"
    give_up "the machine ended without a suite result (${elapsed}s)"
fi
if [ "$result" = 0 ]; then
    say "PASS (${elapsed}s)"
    exit 0
fi
say "FAIL: the suite reported failures (${elapsed}s)"
exit 1
