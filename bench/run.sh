#!/usr/bin/env bash
# bench/run.sh [--quick] [--tavimo PATH_TO_Tavimo.exe] [--runs N] [--temp-runs N]
#
# Builds Tavimo, its yardsticks and the runner (preset mingw-x64), measures them inside a private Wine
# environment (build/mingw-x64/bench-wine) and prints, in Markdown, the table of ratios Tavimo / yardstick
# and the raw medians and minima.
#   --tavimo PATH   measure another Tavimo.exe; its folder must hold its nUsbDevice.dll
#   --runs N        interleaved runs per program and row (default 10, after 2 warm-up rounds)
#   --temp-runs N   runs of the temporary-files deletion, on 20,000 files in 1,000 folders (default 3)
#   --quick         one run per row after one warm-up round, and 200 files in 10 folders: proves the kit
#                   works in well under a minute
# Times are printed, never judged: the exit code is non-zero only when the kit itself failed (a program
# did not start, a window never came, a deletion hung).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=$root/build/mingw-x64
prog=bench
die() {
    echo "$prog: $*" >&2
    exit 2
}
usage() {
    echo "usage: bench/run.sh [--quick] [--tavimo PATH] [--runs N] [--temp-runs N]" >&2
    exit 2
}
count() { [[ $1 =~ ^[1-9][0-9]{0,4}$ ]] || die "not a count: $1"; }

tavimo=$build/bin/Tavimo.exe
quick= runs= temp_runs=
while [[ $# -gt 0 ]]; do
    case $1 in
        --quick) quick=1; shift ;;
        --tavimo) [[ $# -ge 2 ]] || usage; tavimo=$2; shift 2 ;;
        --runs) [[ $# -ge 2 ]] || usage; count "$2"; runs=$2; shift 2 ;;
        --temp-runs) [[ $# -ge 2 ]] || usage; count "$2"; temp_runs=$2; shift 2 ;;
        *) usage ;;
    esac
done
if [[ -n $quick ]]; then
    warmup=1 runs=${runs:-1} temp_runs=${temp_runs:-1} tree_folders=10 tree_files=200
else
    warmup=2 runs=${runs:-10} temp_runs=${temp_runs:-3} tree_folders=1000 tree_files=20000
fi

[[ -f $build/CMakeCache.txt ]] || cmake --preset mingw-x64 --log-level=WARNING >&2
cmake --build --preset mingw-x64 --target Tavimo nUsbDevice keeper bench_programs >&2

[[ -f $tavimo ]] || die "no such program: $tavimo"
tavimo=$(realpath "$tavimo")
[[ -f $(dirname "$tavimo")/nUsbDevice.dll ]] || die "no nUsbDevice.dll beside $tavimo"

# The size row: a stripped copy, as the package could ship it.
work=$build/bench-work
rm -rf "$work"
mkdir -p "$work"
x86_64-w64-mingw32-strip -o "$work/Tavimo-stripped.exe" "$tavimo"

# make_tree DIR: tree_files empty files spread evenly over tree_folders folders, two levels deep (a top
# folder and up to 24 folders inside it). Made here, where it takes a fraction of a second rather than
# the half minute it takes through Wine; each deletion run gets a tree of its own.
make_tree() {
    local dir=$1 i j top= folder count
    local -a folders=() files=()
    for ((i = 0; i < tree_folders; i++)); do
        if ((i % 25 == 0)); then
            top=$dir/d$i
            folder=$top
        else
            folder=$top/d$i
        fi
        folders+=("$folder")
        count=$((tree_files / tree_folders + (i < tree_files % tree_folders ? 1 : 0)))
        for ((j = 0; j < count; j++)); do
            files+=("$folder/f$j.tmp")
        done
    done
    mkdir -p "${folders[@]}"
    printf '%s\0' "${files[@]}" | xargs -0 touch
}
for ((i = 1; i <= 2 * temp_runs; i++)); do
    make_tree "$work/trees/tree$i"
done

winpath() { local p=$1; echo "Z:${p//\//\\}"; }
scripts/wine-env.sh --env-dir "$build/bench-wine" "$build" \
    wine "$build/bin/bench_runner.exe" --tavimo "$(winpath "$tavimo")" \
    --stripped "$(winpath "$work/Tavimo-stripped.exe")" --trees "$(winpath "$work/trees")" \
    --warmup "$warmup" --runs "$runs" --temp-runs "$temp_runs"
