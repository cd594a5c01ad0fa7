#!/usr/bin/env bash
# Times a whole-tree search under Wine: the floor, ripgrep, SearchBench and the real program, pinned to one CPU.
# Usage: flock -o /tmp/seekword-cpu.lock scripts/bench.sh [folder] [text] [case-sensitive 0|1]
# SEEKWORD_BASELINE names another build folder (of an earlier commit, say): its Seekword.exe is timed beside.
# Without a folder it uses a corpus of real files it copies once into $SEEKWORD_BUILD/search-corpus. The default
# text occurs nowhere, so every program lists, opens and reads every file to its end. Each program and its
# wineserver run on CPU 0; the table gives the median of three runs and the ratio to the floor of the same width.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$root/build}"
targets=(win32 win64)
peers="$(cd "$root/.." && pwd)/shared/peers"
runs=3

folder="${1:-}"
text="${2:-qzxkvjwpq7fyh}"
case_sensitive="${3:-0}"

if ! scripts/build.sh "${targets[@]}"; then
    # A half-written file elsewhere in the tree must not stop the timing: build only the benchmarks.
    echo "bench: full build failed; building the benchmarks alone" >&2
    for target in "${targets[@]}"; do
        cmake --build "$SEEKWORD_BUILD/$target" --target FloorBench SearchBench -j2
    done
fi

# Copies the sources' regular files (links resolved) under corpus, keeping only paths Windows can hold:
# no character Windows forbids in a name, no name ending in a dot or a space, no device name, no
# non-ASCII name (the ANSI calls could not name it), Z: plus the path within 259 characters, and no
# folder deeper than the walk goes.
make_corpus() {
    local corpus="$1" staging="$1.partial" source label windows_root
    rm -rf "$staging"
    mkdir -p "$staging"
    windows_root="Z:$corpus"
    for source in /usr/include /usr/share/doc /usr/lib/python3* /usr/share/perl* /usr/share/man \
                  /usr/i686-w64-mingw32 /usr/x86_64-w64-mingw32 /usr/lib/gcc/*mingw*; do
        [ -d "$source" ] || continue
        label="$(echo "${source#/usr/}" | tr '/' '-')"
        mkdir -p "$staging/$label"
        (cd "$source" && find -L . -type f -readable -print0 2>/dev/null) |
            LC_ALL=C awk -v RS='\0' -v ORS='\0' -v limit=$((259 - ${#windows_root} - ${#label} - 2)) '
                {
                    path = substr($0, 3)
                    if (length(path) > limit) next
                    n = split(path, parts, "/")
                    if (n > 15) next
                    for (i = 1; i <= n; ++i) {
                        name = parts[i]
                        if (name ~ /[<>:"|?*\\]/ || name ~ /[\001-\037\177-\377]/) next
                        if (name ~ /[. ]$/) next
                        if (toupper(name) ~ /^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\.|$)/) next
                    }
                    print path
                }' |
            (cd "$source" && xargs -0 -r cp -L --parents -t "$staging/$label" 2>/dev/null) || true
    done
    mv "$staging" "$corpus"
}

if [ -z "$folder" ]; then
    folder="$SEEKWORD_BUILD/search-corpus"
    if [ ! -d "$folder" ]; then
        echo "bench: copying real files into $folder (once)"
        make_corpus "$folder"
    fi
fi
folder="$(cd "$folder" && pwd)"
windows_folder="Z:${folder//\//\\}"

. scripts/wine-env.sh
# Only the builds whose programs run on this machine are timed.
[ -z "$SEEKWORD_WINE32_MISSING" ] || echo "bench: win32 not timed: $SEEKWORD_WINE32_MISSING"
targets=("${wine_targets[@]}")
wine_env_prefix
wineserver -k >/dev/null 2>&1 || true
wineserver -w
scratch="$(mktemp -d)"
trap 'wine_env_stop; rm -rf "$scratch"' EXIT

# A program's command is its words separated by tabs, so that paths may hold spaces.
programs=()
declare -A command width after
add() {
    programs+=("$1")
    width[$1]="$2"
    command[$1]="$3"
    after[$1]="${4:-}"
}
for target in "${targets[@]}"; do
    bits="${target#win}"
    add "floor $target" "$bits" "$SEEKWORD_BUILD/$target/bench/FloorBench.exe"
done
for target in "${targets[@]}"; do
    bits="${target#win}"
    if [ -f "$peers/rg$bits.exe" ]; then
        add "rg$bits.exe -j1" "$bits" "$peers/rg$bits.exe"$'\t'"-j1"$'\t'"-F"$'\t'"-l"$'\t'"-uuu"$'\t'"--no-unicode"
    fi
done
for target in "${targets[@]}"; do
    add "SearchBench $target" "${target#win}" "$SEEKWORD_BUILD/$target/bench/SearchBench.exe"
done
real_program=0
for target in "${targets[@]}"; do
    if [ -f "$SEEKWORD_BUILD/$target/bench/SeekwordBench.exe" ]; then
        add "Seekword $target" "${target#win}" "$SEEKWORD_BUILD/$target/bench/SeekwordBench.exe"
        real_program=1
        baseline="${SEEKWORD_BASELINE:-}/$target/src/Seekword.exe"
        if [ -n "${SEEKWORD_BASELINE:-}" ] && [ -f "$baseline" ]; then
            add "baseline $target" "${target#win}" "$SEEKWORD_BUILD/$target/bench/SeekwordBench.exe" "$baseline"
        fi
    fi
done

# The real program shows windows: its display comes before the pinned server.
if [ "$real_program" = 1 ]; then
    wine_env_display
fi
taskset -c 0 wineserver -p
taskset -c 0 "$wine_run" cmd /c exit >/dev/null 2>&1
if [ "$real_program" = 1 ]; then
    # Windows need the desktop process, which ends with its last window unless something keeps one.
    keeper="$(wine_env_keeper)"
    if [ -n "$keeper" ]; then
        taskset -c 0 "$wine_run" "$keeper" >/dev/null 2>&1 &
        timeout 30 xdotool search --sync --name '^Seekword test desktop$' >/dev/null 2>&1 || true
    fi
fi

# Runs one program pinned; prints its wall-clock seconds, its output goes to the file named first.
run() {
    local out="$1" name="$2" start end
    local -a arguments
    IFS=$'\t' read -r -a arguments <<<"${command[$name]}"
    case "$name" in
        floor*) arguments+=("$windows_folder") ;;
        rg*) arguments+=("$text" "$windows_folder") ;;
        SearchBench*) arguments+=("$windows_folder" "$text" "$case_sensitive") ;;
        Seekword* | baseline*) arguments+=("$windows_folder" "$text") ;;
    esac
    [ -z "${after[$name]}" ] || arguments+=("${after[$name]}")
    start=$(date +%s.%N)
    taskset -c 0 "$wine_run" "${arguments[@]}" >"$out" 2>&1 </dev/null || echo "exit status $?" >>"$out"
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

field() {
    tr -d '\r' <"$2" | sed -n "s/^$1: //p" | head -n 1
}

median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (a != "" && b > 0) printf "%.2f", a / b; else printf "-" }'
}

echo "corpus: $folder"
echo "        $(find "$folder/" -type f | wc -l) files, $(find "$folder/" -type f -printf '%s\n' |
    awk '{ s += $1 } END { printf "%.0f", s / 1e6 }') MB"
echo "text: $text, case sensitive: $case_sensitive (rg matches case)"

# One round to fill the page cache, then the timed rounds, each program once per round.
for name in "${programs[@]}"; do
    run "$scratch/warm" "$name" >/dev/null
done
declare -A walls inprocess
for round in $(seq 1 "$runs"); do
    for name in "${programs[@]}"; do
        out="$scratch/$(echo "$name" | tr ' ' '_').$round"
        walls[$name]+=" $(run "$out" "$name")"
        inprocess[$name]+=" $(field seconds "$out")"
    done
done

declare -A floor_wall floor_inprocess
for name in "${programs[@]}"; do
    if [[ "$name" == floor* ]]; then
        # shellcheck disable=SC2086
        floor_wall[${width[$name]}]="$(median ${walls[$name]})"
        # shellcheck disable=SC2086
        floor_inprocess[${width[$name]}]="$(median ${inprocess[$name]})"
    fi
done

echo
printf '| %-20s | %7s | %7s | %7s | %7s | %7s | %7s |\n' "Program" "files" "MB" "s" "x floor" "in-proc" "x floor"
printf '|%s|%s|%s|%s|%s|%s|%s|\n' "----------------------" "---------" "---------" "---------" "---------" \
    "---------" "---------"
status=0
for name in "${programs[@]}"; do
    last="$scratch/$(echo "$name" | tr ' ' '_').$runs"
    files="$(field 'files read' "$last")"
    bytes="$(field 'bytes read' "$last")"
    mb="$( [ -n "$bytes" ] && awk -v b="$bytes" 'BEGIN { printf "%.0f", b / 1e6 }' || echo -)"
    # shellcheck disable=SC2086
    wall="$(median ${walls[$name]})"
    # shellcheck disable=SC2086
    own="$(median ${inprocess[$name]})"
    printf '| %-20s | %7s | %7s | %7s | %7s | %7s | %7s |\n' "$name" "${files:--}" "$mb" "$wall" \
        "$(ratio "$wall" "${floor_wall[${width[$name]}]}")" "${own:--}" \
        "$(ratio "$own" "${floor_inprocess[${width[$name]}]}")"
    # ripgrep ends with 1 when it finds nothing.
    if grep -q '^exit status' "$last" && ! { [[ "$name" == rg* ]] && grep -qx 'exit status 1' "$last"; }; then
        echo "bench: $name failed: $(tail -n 3 "$last" | tr -d '\r')" >&2
        status=1
    fi
done
echo
echo "s: wall-clock seconds with Wine's start; in-proc: seconds the program measures itself; medians of $runs."
echo "SearchBench files:"
for target in "${targets[@]}"; do
    last="$scratch/SearchBench_$target.$runs"
    echo "  $target: $(field 'files read' "$last") read, $(field 'files not read' "$last") not read," \
         "$(field hits "$last") hits, count by $(field count "$last")"
done
if [ "$real_program" = 1 ]; then
    # What the user waits for, from OK to the answer, against the engine alone on the same files.
    echo "Seekword.exe from OK to its \"Not found\" box, against SearchBench (in-proc medians):"
    for target in "${targets[@]}"; do
        # shellcheck disable=SC2086
        echo "  $target: $(median ${inprocess[Seekword $target]}) s against" \
             "$(median ${inprocess[SearchBench $target]}) s," \
             "$(ratio "$(median ${inprocess[Seekword $target]})" "$(median ${inprocess[SearchBench $target]})")x"
    done
fi
exit "$status"
