#!/bin/sh
# Sets everything up, builds, and runs every test:
#   1. the ordinary build: unit, form, proof and end-to-end tests;
#   2. the Debian package: lintian, installed, one game of the installed game
#      started as the menu starts it, purged (tests/install/installed.sh);
#   3. a clang build with AddressSanitizer + UndefinedBehaviorSanitizer and
#      libFuzzer: the whole suite again with the leak checker on (without the
#      real-display and killed-rewrite tests, which check behaviour the
#      sanitizers add nothing to), then a short run of each fuzz target;
#   4. a ThreadSanitizer build of the threaded-timer tests.
# Each leg prints its wall time. Set ZORBAN_QUICK=1 to run only step 1.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

LEG_NAME=""
LEG_START=0
leg() {
    leg_end
    LEG_NAME="$1"
    LEG_START=$(date +%s)
    echo "== $LEG_NAME"
}
leg_end() {
    if [ -n "$LEG_NAME" ]; then
        echo "== $LEG_NAME: $(( $(date +%s) - LEG_START )) s"
    fi
    LEG_NAME=""
}

leg "packages"
sh scripts/setup.sh

leg "ordinary build"
sh scripts/build.sh
leg "ordinary suite"
(cd build && ctest --output-on-failure -j2 --timeout 600)

if [ "${ZORBAN_QUICK:-0}" = "1" ]; then
    leg_end
    exit 0
fi

leg "Debian package: lintian, install, one game from the menu entry, purge"
sh tests/install/installed.sh

LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

# The leak checker is on everywhere in this build; tests/lsan.supp names the
# few one-time allocations of the system libraries that it may not report.
SAN_ENV="ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1"

leg "AddressSanitizer + UndefinedBehaviorSanitizer build"
CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBAN_FUZZ=ON -DZORBAN_FUZZ_SECONDS="${ZORBAN_FUZZ_SECONDS:-20}" $LAUNCHER >/dev/null
cmake --build build-asan
leg "sanitizer suite (leaks checked)"
(cd build-asan && env $SAN_ENV ctest --output-on-failure -j2 --timeout 900 -LE 'e2e|fuzz')
leg "fuzz runs"
(cd build-asan && env $SAN_ENV ctest --output-on-failure --timeout 900 -L fuzz)

leg "ThreadSanitizer build and timer tests"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBAN_SANITIZE=thread $LAUNCHER >/dev/null
cmake --build build-tsan --target tst_threadedtimer tst_timerstress
(cd build-tsan && ctest --output-on-failure --timeout 600 -L timer)
leg_end
