#!/usr/bin/env bash
# Builds the decoders' fuzz targets natively with clang (tests/fuzz, sanitizers on) and runs each for
# a bounded time, starting from its committed seeds. Fails on any finding; the input that found it is
# left in build/fuzz/findings/.
#   scripts/fuzz.sh                          every target, 20 s each
#   scripts/fuzz.sh --seconds 600 placement  one target for ten minutes
#   scripts/fuzz.sh --build-only             build, run nothing
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

seconds=20
build_only=false
targets=()
while (($#)); do
    case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --build-only) build_only=true; shift ;;
    -*) echo "fuzz: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
    esac
done

build=build/fuzz
cmake -S tests/fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-16 --log-level=WARNING >/dev/null
if ! output=$(cmake --build "$build" 2>&1); then
    echo "$output" >&2
    exit 1
fi
grep -v '^ninja: no work to do' <<<"$output" || true
[[ $build_only == false ]] || exit 0
((${#targets[@]})) || mapfile -t targets <"$build/targets.txt"

mkdir -p "$build/findings" "$build/runs"
export UBSAN_OPTIONS=print_stacktrace=1
status=0
for name in "${targets[@]}"; do
    fuzzer=$build/fuzz_$name
    if [[ ! -x $fuzzer ]]; then
        echo "fuzz: no target $name (see $build/targets.txt)" >&2
        status=1
        continue
    fi
    # New inputs go to the first folder, a scratch copy per run: the committed seeds stay as they are.
    work=$build/runs/$name
    rm -rf "$work" "$build/findings/$name-"* && mkdir -p "$work"
    log=$build/runs/$name.log
    rc=0
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$name-" "$work" "tests/fuzz/corpus/$name" >"$log" 2>&1 || rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    # Coverage as libFuzzer counts it: edges reached of the edges instrumented, and features.
    edges=$(sed -n 's/.*(\([0-9]*\) inline 8-bit counters).*/\1/p' "$log" | head -n 1)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 | sed "s/ ft:/ of $edges edges, ft:/" || true)
    if ((rc == 0)); then
        printf 'fuzz %-16s %s s: %s runs, %s runs/s, %s\n' "$name" "$seconds" "$runs" "$rate" "$cov"
    else
        status=1
        echo "fuzz $name: FINDING (exit $rc); full log in $log" >&2
        grep -A 40 -m 1 -E '^==[0-9]+==ERROR|runtime error|property does not hold|Assertion .* failed|deadly signal|Slow unit|out-of-memory' \
            "$log" >&2 || tail -n 40 "$log" >&2
        ls "$build/findings/$name-"* 2>/dev/null | sed 's/^/fuzz: input kept in /' >&2 || true
        echo "fuzz: once fixed, copy the input into tests/fuzz/corpus/$name/ as a regression case" >&2
    fi
done
exit "$status"
