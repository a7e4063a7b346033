#!/usr/bin/env bash
# Configures and builds the project into build/ (or the directory in $1 with
# the extra CMake arguments that follow).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build}
shift || true
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$root" -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j"$jobs"
