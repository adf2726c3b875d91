#!/bin/sh
# Builds a Release tree and packs it as a .deb for Debian 12 (into BUILD_DIR, default build-deb/).
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build-deb}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DQUILLMAR_TESTS=OFF -DQUILLMAR_BENCH=OFF "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
(cd "$BUILD_DIR" && cpack -G DEB)
ls "$BUILD_DIR"/*.deb
