#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz, clang) in build-fuzz/ and runs
# each for a while: tools/run_fuzz.sh [SECONDS] (default 60 per target).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
jobs=$(nproc 2>/dev/null || echo 2)
dir="$root/build-fuzz"
cmake -S "$root" -B "$dir" -DVELBRA_FUZZ=ON -DVELBRA_TESTS=OFF -DVELBRA_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$jobs" --target velbra_fuzz
for target in "$dir"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus="$dir/corpus/$name"
    mkdir -p "$corpus"
    if [ -d "$root/tests/fuzz/corpus/$name" ]; then cp -n "$root/tests/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true; fi
    echo "== $name, $seconds s"
    "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" 2>&1 | tail -4
done
