#!/bin/sh
# Sets everything up, builds, and starts the game on the bundled question base.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh
# Only what playing needs: the game and the bundled base. The test command
# builds the rest (tools, tests, fuzzers) in the same folder.
ZORBAN_TARGETS="zorban bundled_base" sh scripts/build.sh
BUILD_DIR="${BUILD_DIR:-build}"
RUN_DIR="$BUILD_DIR/run"
mkdir -p "$RUN_DIR/QA"
# The game reads QA/ and Zorban.ini relative to its working directory.
# The bundled base is copied only once, so the leaderboard survives restarts.
if [ ! -f "$RUN_DIR/QA/Base.QA" ] && [ -f "$BUILD_DIR/QA/Base.QA" ]; then
    cp "$BUILD_DIR/QA/Base.QA" "$RUN_DIR/QA/Base.QA"
fi
if [ ! -x "$BUILD_DIR/zorban" ]; then
    echo "The game executable is not built yet; it will start as $BUILD_DIR/zorban in $RUN_DIR."
    exit 0
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: set DISPLAY (or run under xvfb-run) to play; the game is built at $BUILD_DIR/zorban."
    exit 0
fi
cd "$RUN_DIR"
exec ../zorban
