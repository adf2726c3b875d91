#!/bin/sh
# Configures and builds into BUILD_DIR (default build/); extra arguments go to cmake.
# Uses Ninja and ccache when they are installed; the cache is keyed on paths relative to
# the source tree, so another clone of the same sources reuses it.
set -e
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
if command -v ninja >/dev/null 2>&1 && [ ! -f "$BUILD_DIR/Makefile" ]; then
  set -- -G Ninja "$@"
fi
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
  set -- -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
fi
cmake -S . -B "$BUILD_DIR" "$@"
cmake --build "$BUILD_DIR" -j "$(nproc)"
