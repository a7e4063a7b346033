#!/usr/bin/env bash
# The whole test suite: both flavours in a normal build, the same suite in a
# sanitizer build (ASan + UBSan), and a check that an installed run-time
# builds a program with pkg-config alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
export LANG=C.UTF-8

echo "== build and test (RelWithDebInfo, both flavours)"
"$root/tools/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build" -j"$jobs" --output-on-failure

echo "== build and test with AddressSanitizer + UndefinedBehaviorSanitizer"
"$root/tools/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELBRA_SANITIZE=ON -DVELBRA_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:handle_segv=0:allow_user_segv_handler=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" -j"$jobs" --output-on-failure

echo "== fuzz targets, briefly (libFuzzer, clang)"
"$root/tools/run_fuzz.sh" 10

echo "== install and build a program with pkg-config"
"$root/tools/install_check.sh" "$root/build"
echo "== all tests passed"
