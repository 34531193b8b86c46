#!/bin/sh
# Sets everything up, builds, and runs every test:
#   1. the ordinary build: unit, form, proof and end-to-end tests;
#   2. the Debian package: lintian, installed, one game of the installed game
#      started as the menu starts it, purged (tests/install/installed.sh);
#   3. a clang build with AddressSanitizer + UndefinedBehaviorSanitizer and
#      libFuzzer: the whole suite again (without the real-display and
#      killed-rewrite tests, which check behaviour the sanitizers add nothing
#      to), then a short run of each fuzz target;
#   4. a ThreadSanitizer build of the threaded-timer tests.
# Set ZORBAN_QUICK=1 to run only step 1.
set -eu
cd "$(dirname "$0")/.."
sh scripts/setup.sh

echo "== ordinary build and full suite"
sh scripts/build.sh
(cd build && ctest --output-on-failure -j2 --timeout 600)

if [ "${ZORBAN_QUICK:-0}" = "1" ]; then
    exit 0
fi

echo "== the Debian package: lintian, install, one game from the menu entry, purge"
sh tests/install/installed.sh

LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
    LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
fi

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build, suite and fuzz runs"
CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZORBAN_FUZZ=ON -DZORBAN_FUZZ_SECONDS="${ZORBAN_FUZZ_SECONDS:-20}" $LAUNCHER >/dev/null
cmake --build build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j2 --timeout 900 -LE 'e2e|fuzz')
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --timeout 900 -L fuzz)

echo "== ThreadSanitizer build of the timer tests"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORBAN_SANITIZE=thread $LAUNCHER >/dev/null
cmake --build build-tsan --target tst_threadedtimer tst_timerstress
(cd build-tsan && ctest --output-on-failure --timeout 600 -L timer)
