#!/bin/sh
# Installs what is missing, builds, and runs Quillmar on the simulated keyboard.
set -e
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QUILLMAR_HIDLANE=sim
exec "${BUILD_DIR:-build}/bin/quillmar" "$@"
