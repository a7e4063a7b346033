#!/usr/bin/env bash
# Runs the program tests: every <name>.case beside this script is a bash
# snippet that starts compiled test programs and checks what they print and
# their exit codes with the functions below. Each case runs in a fresh
# temporary directory ($WORK) with its own process table.
#   usage: run_program_tests.sh BIN_DIR SRC_DIR FLAVOUR
set -u
BIN=$1
SRC=$2
FLAVOUR=$3
export FLAVOUR
failures=0
cases=0

# run NAME [ARGS...]: runs program NAME in $WORK; sets OUT (stdout+stderr) and CODE.
run() {
    OUT=$(cd "$WORK" && timeout 30 "$BIN/$1" "${@:2}" 2>&1)
    CODE=$?
}
# run_input TEXT NAME [ARGS...]: as run, with TEXT on standard input.
run_input() {
    local text=$1
    shift
    OUT=$(cd "$WORK" && printf '%s' "$text" | timeout 30 "$BIN/$1" "${@:2}" 2>&1)
    CODE=$?
}
fail() {
    echo "FAIL [$FLAVOUR/$CASE] $*"
    echo "$OUT" | sed 's/^/    | /'
    failures=$((failures + 1))
}
expect_code() { [ "$CODE" = "$1" ] || fail "exit code $CODE, expected $1"; }
expect_out() { grep -qE -- "$1" <<<"$OUT" || fail "output lacks /$1/"; }
expect_no_out() { ! grep -qE -- "$1" <<<"$OUT" || fail "output has /$1/"; }
# expect_exact TEXT: the whole output equals TEXT.
expect_exact() { [ "$OUT" = "$1" ] || fail "output differs from expected: $(printf '%q' "$1")"; }

for case_file in "$SRC"/*.case; do
    CASE=$(basename "$case_file" .case)
    WORK=$(mktemp -d)
    export b_tasktable="$WORK/.tasks"
    cases=$((cases + 1))
    # shellcheck source=/dev/null
    source "$case_file"
    rm -rf "$WORK"
done
echo "$cases program test cases, $failures failures ($FLAVOUR)"
[ "$failures" = 0 ]
