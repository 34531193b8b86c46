#!/bin/sh
# Sets everything up, builds, and runs every test (unit, form, end-to-end).
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh
cd "${BUILD_DIR:-build}"
ctest --output-on-failure -j2 --timeout 600
