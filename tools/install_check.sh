#!/usr/bin/env bash
# Installs the run-time from build dir $1 into a temporary prefix and builds
# and runs the hello example with nothing but velbra.h and pkg-config, in both
# flavours. The example traps an error and ends with exit code 3.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(find "$prefix" -name 'velbra-ieee.pc' -printf '%h\n' | head -1)
export PKG_CONFIG_PATH=$libdir
for flavour in ieee bcd; do
    # The .pc files carry the prefix given at configure time; point them here.
    g++ "$root/examples/hello.cpp" -o "$prefix/hello_$flavour" \
        $(pkg-config --define-variable=prefix="$prefix" --cflags --libs velbra-$flavour)
    set +e
    out=$(cd "$prefix" && b_tasktable="$prefix/.tasks" "$prefix/hello_$flavour")
    code=$?
    set -e
    if [ "$code" != 3 ] || ! grep -q "Trapped error 30" <<<"$out"; then
        echo "installed $flavour program misbehaved (exit $code):"
        echo "$out"
        exit 1
    fi
    echo "pkg-config velbra-$flavour: built and ran (exit $code)"
done
