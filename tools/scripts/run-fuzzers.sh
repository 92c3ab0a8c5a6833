#!/usr/bin/env bash
# Runs the fuzz targets of build/sanitize for a fixed number of inputs each.
#   tools/scripts/run-fuzzers.sh [RUNS [SECONDS [TARGET...]]]
# (default 20000 inputs, at most 600 s each, every target). A target stops at
# whichever limit it reaches first. Naming targets lets long runs share the
# cores: one command per core, each with its own targets.
# New inputs go to a scratch folder, so the seed corpus in fuzz/corpus stays
# as committed; an input that finds a fault is kept in fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-20000}
seconds=${2:-600}
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tools/sanitizers/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p fuzz/findings
status=0
passed=0
failed=0
shift $(( $# < 2 ? $# : 2 ))
targets=()
for name in "$@"; do
    targets+=("build/sanitize/fuzz/$name")
done
if [ ${#targets[@]} -eq 0 ]; then
    for target in build/sanitize/fuzz/fuzz_*; do
        [ -f "$target" ] && [ -x "$target" ] && targets+=("$target")
    done
fi
for target in "${targets[@]}"; do
    name=$(basename "$target")
    if ! [ -f "$target" ] || ! [ -x "$target" ]; then
        echo "FAIL!  : $name is not a fuzz target of build/sanitize"
        failed=$((failed + 1))
        status=1
        continue
    fi
    seeds=fuzz/corpus/${name#fuzz_}
    mkdir -p "$scratch/$name"
    start=$(date +%s)
    if "$target" -runs="$runs" -max_total_time="$seconds" -artifact_prefix=fuzz/findings/"$name"- "$scratch/$name" "$seeds" \
        >"$scratch/$name.log" 2>&1; then
        done_runs=$(grep -oE '^#[0-9]+[[:space:]]+DONE' "$scratch/$name.log" | grep -oE '[0-9]+' | head -n 1)
        echo "PASS   : $name, ${done_runs:-?} inputs in $(( $(date +%s) - start )) s"
        passed=$((passed + 1))
    else
        echo "FAIL!  : $name"
        failed=$((failed + 1))
        tail -n 40 "$scratch/$name.log"
        status=1
    fi
done
echo "fuzzing: $passed passed, $failed failed"
exit $status
