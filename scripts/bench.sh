#!/usr/bin/env bash
# Builds both targets and times SearchBench under Wine beside rg and grep on one corpus, all pinned to one CPU.
# Usage: scripts/bench.sh [folder] [text] [case-sensitive 0|1]
# Without a folder it uses a copy of /usr/include and /usr/share/doc made once under build/bench-corpus.
# The default text occurs nowhere, so every tool reads every file to the end. SEEKWORD_BUILD picks the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$root/build}"
targets=(win32 win64)

folder="${1:-}"
text="${2:-qzxkvjwpq7fyh}"
case_sensitive="${3:-0}"

if ! scripts/build.sh "${targets[@]}"; then
    # A half-written file elsewhere in the tree must not stop the timing: build only the benchmark.
    echo "bench: full build failed; building SearchBench alone" >&2
    for target in "${targets[@]}"; do
        cmake --build "$SEEKWORD_BUILD/$target" --target SearchBench -j2
    done
fi

if [ -z "$folder" ]; then
    folder="$root/build/bench-corpus"
    if [ ! -d "$folder" ]; then
        echo "bench: copying /usr/include and /usr/share/doc to $folder (once)"
        staging="$folder.partial"
        rm -rf "$staging"
        mkdir -p "$staging"
        # Links are resolved so that every tool sees the same plain files and folders.
        cp -rL /usr/include "$staging/include" 2>/dev/null || true
        cp -rL /usr/share/doc "$staging/doc" 2>/dev/null || true
        mv "$staging" "$folder"
    fi
fi
folder="$(cd "$folder" && pwd)"
windows_folder="Z:$folder"

. scripts/wine-env.sh
wine_env_prefix
wineserver -k >/dev/null 2>&1 || true
wineserver -w
scratch="$(mktemp -d)"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
taskset -c 0 wineserver -p
taskset -c 0 wine cmd /c exit >/dev/null 2>&1

# Prints the wall-clock seconds of one command; its output goes to the file named first.
wall() {
    local out="$1"
    shift
    local start end
    start=$(date +%s.%N)
    "$@" >"$out" 2>&1 || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

field() {
    tr -d '\r' <"$2" | sed -n "s/^$1: //p"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "n/a" }'
}

echo "corpus: $folder ($(find "$folder" -type f | wc -l) files, $(du -sh "$folder" | cut -f1))"
echo "text: $text, case sensitive: $case_sensitive (rg and grep match case)"
echo

rg_times=()
grep_times=()
for run in 1 2; do
    rg_times+=("$(wall "$scratch/rg" taskset -c 0 rg -j1 -F -l -uuu --no-unicode "$text" "$folder")")
    grep_times+=("$(wall "$scratch/grep" taskset -c 0 grep -rlF "$text" "$folder")")
done
rg_wall="${rg_times[1]}"
grep_wall="${grep_times[1]}"
echo "rg   -j1 -F -l -uuu --no-unicode: ${rg_times[0]} s, then $rg_wall s ($(wc -l <"$scratch/rg") files listed)"
echo "grep -rlF:                        ${grep_times[0]} s, then $grep_wall s ($(wc -l <"$scratch/grep") files listed)"

for target in "${targets[@]}"; do
    exe="$SEEKWORD_BUILD/$target/bench/SearchBench.exe"
    times=()
    for run in 1 2; do
        times+=("$(wall "$scratch/$target.$run" taskset -c 0 wine "$exe" "$windows_folder" "$text" "$case_sensitive")")
    done
    out="$scratch/$target.2"
    echo
    echo "=== SearchBench $target (second run; first run ${times[0]} s wall)"
    tr -d '\r' <"$out" | grep -v '^folder: '
    total="$(field 'total seconds' "$out")"
    if [ -z "$total" ]; then
        echo "bench: SearchBench $target printed no figures" >&2
        exit 1
    fi
    echo "wall seconds (with Wine start-up): ${times[1]}"
    echo "ratio to rg:   in-process $(ratio "$total" "$rg_wall"), wall $(ratio "${times[1]}" "$rg_wall")"
    echo "ratio to grep: in-process $(ratio "$total" "$grep_wall"), wall $(ratio "${times[1]}" "$grep_wall")"
done
