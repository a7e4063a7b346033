#!/usr/bin/env bash
# Builds the project and runs the demo program, then the customer-file
# example (IEEE flavour; pass "bcd" for the decimal flavour). Its exit code
# is the demo's own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:-ieee}
"$root/tools/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
demo=$root/build/examples/demo_$flavour
[ -x "$demo" ] || demo=$root/build/examples/hello_$flavour
mkdir -p "$root/build/demo-run"
cd "$root/build/demo-run"
set +e
"$demo"
code=$?
echo "(demo exit code $code)"
orders=$root/build/examples/orders_$flavour
if [ -x "$orders" ]; then
    echo "== a keyed customer file (examples/orders.cpp)"
    "$orders"
    echo "(orders exit code $?)"
fi
