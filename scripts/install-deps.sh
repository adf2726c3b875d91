#!/bin/sh
# Installs what building and testing Quillmar needs on Debian 12 (run as root).
set -e
PACKAGES="cmake g++ make ninja-build ccache pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
  qt6-base-dev libudev-dev fonts-dejavu-core fonts-wqy-microhei clang libclang-rt-14-dev"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends $missing
fi
