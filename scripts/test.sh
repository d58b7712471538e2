#!/usr/bin/env bash
# Installs what is missing, builds both MinGW presets and the native fuzz targets, runs each fuzz
# target for a bounded time, runs every test under Wine in a private test environment, and runs the
# benchmarks once in their quick mode. Fails when a fuzzer finds anything, a test fails, or the
# benchmark kit cannot run.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
timings=()
phase() { # phase NAME COMMAND...
    local name=$1 t rc=0
    shift
    echo "=== $name" >&2
    t=$(now)
    "$@" || rc=$?
    timings+=("$(printf '%-20s %7s s' "$name" "$(since "$t")")")
    echo "=== $name: $(since "$t") s (exit $rc)" >&2
    return "$rc"
}
# shellcheck disable=SC2317 # runs from the EXIT trap
summary() {
    local line
    echo "=== time per phase" >&2
    for line in "${timings[@]}"; do echo "    $line" >&2; done
}
trap summary EXIT

phase bootstrap scripts/bootstrap.sh
phase format scripts/check-format.sh
phase "configure mingw-x64" cmake --preset mingw-x64 --log-level=WARNING
phase "build mingw-x64" cmake --build --preset mingw-x64
phase "configure mingw-x86" cmake --preset mingw-x86 --log-level=WARNING
phase "build mingw-x86" cmake --build --preset mingw-x86

phase "build fuzz" scripts/fuzz.sh --build-only

# The fuzzers first, so that CTest's summary closes the output; a finding still fails the run.
status=0
phase fuzz scripts/fuzz.sh || status=$?
phase "test mingw-x64" scripts/wine-env.sh build/mingw-x64 \
    ctest --preset mingw-x64 -j2 --output-on-failure || status=$?
# Proves the measuring kit works; it never judges a time, it fails only when the kit itself does.
phase "bench (quick)" bench/run.sh --quick || status=$?
exit "$status"
