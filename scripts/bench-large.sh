#!/usr/bin/env bash
# Times one large file under Wine: the real Seekword.exe from OK to its answer against ripgrep, found and
# not found, each pinned to one CPU with its wineserver, with each one's peak memory.
# Usage: flock -o /tmp/seekword-cpu.lock scripts/bench-large.sh [megabytes]
# The file is an application log of about 100-byte lines (1000 MB by default), made once under
# $SEEKWORD_BUILD/large-log, with the search text only on its last line. SEEKWORD_BASELINE names another
# build folder whose Seekword.exe is timed beside.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$root/build}"
peers="$(cd "$root/.." && pwd)/shared/peers"
megabytes="${1:-1000}"
runs=3
found_text="needle-7f3q-in-the-log"
missing_text="qzxkvjwpq7fyh"

. scripts/wine-env.sh
targets=("${wine_targets[@]}")
[ -z "$SEEKWORD_WINE32_MISSING" ] || echo "bench: win32 not timed: $SEEKWORD_WINE32_MISSING"
for target in "${targets[@]}"; do
    scripts/build.sh "$target" >/dev/null
done

folder="$SEEKWORD_BUILD/large-log/$megabytes"
log="$folder/application.log"
if [ ! -f "$log" ]; then
    echo "bench: writing a $megabytes MB log into $folder (once)"
    mkdir -p "$folder"
    awk -v total=$((megabytes * 1000000)) -v text="$found_text" 'BEGIN {
        split("INFO,INFO,INFO,DEBUG,WARN,INFO,ERROR,INFO", level, ",")
        split("GET,POST,GET,PUT,GET,DELETE", verb, ",")
        n = 0; size = 0; seed = 12345
        while (size < total - 200) {
            seed = (seed * 1103515245 + 12345) % 2147483648
            line = sprintf("2026-03-%02d %02d:%02d:%02d.%03d %-5s [worker-%02d] %-6s /api/v1/items/%07d handled in %4d ms status=%d\r",
                           n % 28 + 1, int(n / 3600) % 24, int(n / 60) % 60, n % 60, seed % 1000,
                           level[seed % 8 + 1], seed % 16, verb[seed % 6 + 1], seed % 10000000,
                           seed % 2000, (seed % 50 == 0) ? 500 : 200)
            print line
            size += length(line) + 1
            ++n
        }
        printf "2026-03-28 23:59:59.999 ERROR [worker-00] the last line holds %s\r\n", text
    }' >"$log.partial"
    mv "$log.partial" "$log"
fi
windows_folder="Z:${folder//\//\\}"
echo "file: $log, $(stat -c %s "$log") bytes, $(wc -l <"$log") lines"

wine_env_prefix
wineserver -k >/dev/null 2>&1 || true
wineserver -w
scratch="$(mktemp -d)"
trap 'wine_env_stop; rm -rf "$scratch"' EXIT
wine_env_display
taskset -c 0 wineserver -p
taskset -c 0 "$wine_run" cmd /c exit >/dev/null 2>&1
keeper="$(wine_env_keeper)"
if [ -n "$keeper" ]; then
    taskset -c 0 "$wine_run" "$keeper" >/dev/null 2>&1 &
    timeout 30 xdotool search --sync --name '^Seekword test desktop$' >/dev/null 2>&1 || true
fi

# rg's peak is its process's; Seekword's comes from the benchmark program, which started it.
run() {  # run <output file> <program words...>: pinned, wall-clock seconds and peak KB into the file
    local out="$1"
    shift
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f 'peak KB: %M' -a -o "$out" taskset -c 0 "$wine_run" "$@" >>"$out" 2>&1 </dev/null || true
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "wall: %.3f\n", b - a }' >>"$out"
}
field() {
    tr -d '\r' <"$2" | sed -n "s/^$1: //p" | head -n 1
}
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}

programs=()
declare -A command
for target in "${targets[@]}"; do
    bits="${target#win}"
    [ -f "$peers/rg$bits.exe" ] && { programs+=("rg$bits -j1 -i"); command["rg$bits -j1 -i"]="$peers/rg$bits.exe"; }
    programs+=("Seekword $target")
    command["Seekword $target"]="$SEEKWORD_BUILD/$target/bench/SeekwordBench.exe"
    if [ -n "${SEEKWORD_BASELINE:-}" ] && [ -f "$SEEKWORD_BASELINE/$target/src/Seekword.exe" ]; then
        programs+=("baseline $target")
        command["baseline $target"]="$SEEKWORD_BUILD/$target/bench/SeekwordBench.exe"
    fi
done
words() {  # words <program> <text>
    case "$1" in
        rg*) echo "${command[$1]}"$'\t'-j1$'\t'-F$'\t'-l$'\t'-i$'\t'-uuu$'\t'--no-unicode$'\t'"$2"$'\t'"$windows_folder" ;;
        Seekword*) echo "${command[$1]}"$'\t'"$windows_folder"$'\t'"$2" ;;
        baseline*) echo "${command[$1]}"$'\t'"$windows_folder"$'\t'"$2"$'\t'"$SEEKWORD_BASELINE/${1#baseline }/src/Seekword.exe" ;;
    esac
}

cat "$log" >/dev/null
printf '| %-18s | %-9s | %8s | %7s | %8s | %10s |\n' "Program" "text" "s" "x rg" "peak MB" "before MB"
printf '|%s|%s|%s|%s|%s|%s|\n' "--------------------" "-----------" "----------" "---------" "----------" "------------"
status=0
for which in found missing; do
    text="$found_text"
    [ "$which" = missing ] && text="$missing_text"
    declare -A seconds=() peaks=() befores=()
    for round in $(seq 1 "$runs"); do
        for name in "${programs[@]}"; do
            out="$scratch/$(echo "$name-$which-$round" | tr ' ' '_')"
            IFS=$'\t' read -r -a arguments <<<"$(words "$name" "$text")"
            run "$out" "${arguments[@]}"
            if [[ "$name" == rg* ]]; then
                seconds[$name]+=" $(field wall "$out")"
                peaks[$name]+=" $(awk -v k="$(field 'peak KB' "$out")" 'BEGIN { printf "%.1f", k / 1024 }')"
            else
                seconds[$name]+=" $(field seconds "$out")"
                peaks[$name]+=" $(field 'peak MB' "$out")"
                befores[$name]+=" $(field 'memory before MB' "$out")"
                result="$(field result "$out")"
                expected="found"
                [ "$which" = missing ] && expected="not found"
                if [ "$result" != "$expected" ]; then
                    echo "bench: $name answered '${result:-nothing}' for the $which text: $(tail -n 2 "$out")" >&2
                    status=1
                fi
            fi
        done
    done
    for name in "${programs[@]}"; do
        bits="${name##*win}"
        [[ "$name" == rg* ]] && bits="${name#rg}" && bits="${bits%% *}"
        # shellcheck disable=SC2086
        s="$(median ${seconds[$name]})"
        # shellcheck disable=SC2086
        rg="$(median ${seconds[rg$bits -j1 -i]:-})"
        # shellcheck disable=SC2086
        printf '| %-18s | %-9s | %8s | %7s | %8s | %10s |\n' "$name" "$which" "$s" \
            "$(awk -v a="$s" -v b="$rg" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }')" \
            "$(median ${peaks[$name]})" "$(median ${befores[$name]:-} | sed 's/^$/-/')"
    done
    unset seconds peaks befores
done
echo
echo "s: Seekword from OK to its answer (the file shown, or the \"Not found\" box); rg: wall-clock seconds with"
echo "Wine's start. peak MB: Seekword's peak working set, rg's peak resident size; medians of $runs."
exit "$status"
