#!/bin/sh
# Configures and builds the project into build/ (Release with debug info).
# ZORBAN_TARGETS="a b" builds only those targets (and what they need).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
else
    LAUNCHER=""
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $LAUNCHER "$@" >/dev/null
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" ${ZORBAN_TARGETS:+--target $ZORBAN_TARGETS}
