#!/usr/bin/env bash
# Builds the libFuzzer target of the record codec with clang and runs it for
# a while: tools/run_fuzz.sh [SECONDS] (default 60). Needs the GCC build in
# build/ (made here when missing) for the libraries the target links.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$root/build" >/dev/null
cmake --build "$root/build" -j"$jobs" --target velbra_ieee morka
cmake -S "$root/tests/fuzz" -B "$root/build-fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DVELBRA_FUZZ_LIBDIR="$root/build" >/dev/null
cmake --build "$root/build-fuzz" -j"$jobs" --target record_fuzz
corpus="$root/build-fuzz/corpus"
mkdir -p "$corpus"
cp -n "$root"/tests/fuzz/corpus/* "$corpus"/ 2>/dev/null || true
"$root/build-fuzz/record_fuzz" -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=1 "$corpus"
