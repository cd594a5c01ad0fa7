#!/usr/bin/env bash
# Installs what is missing, builds Seekword and starts it under Wine on your display. Without a
# display it runs a scripted demo on a virtual one: a search in a sample folder, saved as a screenshot.
set -uo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$root/build}"
# A prefix of its own, so a test run elsewhere in the tree never shares its wineserver.
export SEEKWORD_WINEPREFIX="$SEEKWORD_BUILD/run-wineprefix"

scripts/setup.sh || exit 1
export SEEKWORD_SETUP_DONE=1
. scripts/wine-env.sh
# The 32-bit build where this machine runs 32-bit programs (it runs on every Windows), else the 64-bit one.
target="${wine_targets[0]}"
[ "$target" = win32 ] || echo "run: starting the win64 build: $SEEKWORD_WINE32_MISSING"
scripts/build.sh "$target" || exit 1
exe="$SEEKWORD_BUILD/$target/src/Seekword.exe"
trap wine_env_stop EXIT

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    SEEKWORD_WINE_MANAGED=Y wine_env_start || exit 1
    "$wine_run" "$exe"
    exit $?
fi

# No display: the demo, in a sample folder of the prefix's public documents so that the screenshot
# shows an ordinary Windows path.
demo="$SEEKWORD_BUILD/demo"
shot="$demo/seekword-demo.png"
sample="$WINEPREFIX/drive_c/users/Public/Documents/Samples"
sample_windows='C:\Users\Public\Documents\Samples\'
wine_env_start display || exit 1
rm -rf "$sample"
mkdir -p "$sample" "$demo"
printf 'Shopping list\r\n- bread\r\n- milk\r\n' > "$sample/a-list.txt"
printf 'Meeting notes\r\nNothing to find here.\r\n' > "$sample/b-notes.txt"
{
    printf 'Seekword demo\r\n\r\n'
    for i in $(seq 1 12); do printf 'Line %d of the report: figures, tables and remarks.\r\n' "$i"; done
    printf 'The needle is in this line, a little way down the file.\r\n'
    for i in $(seq 14 30); do printf 'Line %d of the report.\r\n' "$i"; done
} > "$sample/c-report.txt"

"$wine_run" reg delete 'HKCU\Software\Ovelund Freeware\Seekword' /f >/dev/null 2>&1
"$wine_run" "$exe" >/dev/null 2>&1 &

wait_for() {  # wait_for <name regex>: the X window id of the first shown window whose title matches
    local id
    for _ in $(seq 1 150); do
        # Only a mapped window can take the focus: focusing one not yet shown is an X error.
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

dialog=$(wait_for '^Search$') || { echo "demo: the Search dialog did not open" >&2; exit 1; }
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 'needle'
xdotool key Tab
xdotool type --delay 20 "$sample_windows"
xdotool key Return
main=$(wait_for '^Seekword found') || { echo "demo: no file was found" >&2; exit 1; }
sleep 0.5
geometry=$(xdotool getwindowgeometry --shell "$main")
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
xdotool windowfocus --sync "$main"
xdotool keydown alt key x keyup alt
echo "demo: Seekword found the needle in c-report.txt; screenshot: $shot"
