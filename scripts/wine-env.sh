# Sourced by the scripts: a private Wine prefix under build/, a running wineserver and a display.
# Provides wine_env_start [need-display] and wine_env_stop, and $wine_run to start a Windows program with.

SEEKWORD_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${SEEKWORD_WINEPREFIX:-${SEEKWORD_BUILD:-$SEEKWORD_ROOT/build}/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Which Wine loader this machine can start, decided once; wine_targets lists the builds whose programs run.
wine_run="$SEEKWORD_ROOT/scripts/wine-run"
eval "$("$wine_run" --env)"
if [ -z "$SEEKWORD_WINE32_MISSING" ]; then
    wine_targets=(win32 win64)
else
    wine_targets=(win64)
fi

xvfb_pid=""

wine_env_prefix() {
    # A prefix made through the other loader lacks what this one needs (the 64-bit loader alone makes
    # no 32-bit system folder): one of the project's own is made anew; a prefix elsewhere is never removed.
    local marker="$WINEPREFIX/.seekword-loader" ours=0
    case "$WINEPREFIX" in
        "$SEEKWORD_ROOT"/* | "${SEEKWORD_BUILD:-$SEEKWORD_ROOT/build}"/*) ours=1 ;;
    esac
    if [ "$ours" = 1 ] && [ -f "$WINEPREFIX/system.reg" ] &&
       [ "$(cat "$marker" 2>/dev/null)" != "$SEEKWORD_WINE_LOADER" ]; then
        echo "wine: $WINEPREFIX was made through another loader; making it anew"
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        echo "wine: creating prefix $WINEPREFIX"
        DISPLAY= "$wine_run" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        echo "$SEEKWORD_WINE_LOADER" >"$marker"
    fi
    # Without a window manager every hide of a top-level window stalls unless Wine leaves windows unmanaged;
    # on a user's desktop the window manager should manage them (SEEKWORD_WINE_MANAGED=Y).
    "$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${SEEKWORD_WINE_MANAGED:-N}" /f >/dev/null 2>&1
    # A crash must end the process, not wait at a dialog.
    "$wine_run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # The tests measure a 96-dpi screen; the one test at 144 sets it back, this covers a run cut short.
    "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
}

wine_env_display() {
    local n=91
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X${n}" ] && return 0
        sleep 0.1
    done
    echo "wine: Xvfb did not start on :$n" >&2
    return 1
}

# The desktop keeper of a build whose programs run here, if one is built.
wine_env_keeper() {
    local target
    for target in "${wine_targets[@]}"; do
        local keeper="${SEEKWORD_BUILD:-$SEEKWORD_ROOT/build}/$target/tests/support/DesktopKeeper.exe"
        [ -f "$keeper" ] && { echo "$keeper"; return 0; }
    done
    return 0
}

wine_env_start() {
    wineserver -k >/dev/null 2>&1 || true
    wine_env_prefix
    wineserver -w
    # The display comes first: the desktop takes its graphics driver from the first process.
    if [ "${1:-}" = "display" ]; then
        wine_env_display || return 1
    fi
    # A persistent server for the whole run: every wine process then starts in milliseconds.
    wineserver -p || return 1
    # Services start with the first wine process and outlive it: start them here, away from any pipe.
    "$wine_run" cmd /c exit >/dev/null 2>&1
    if [ "${1:-}" = "display" ]; then
        local keeper
        keeper="$(wine_env_keeper)"
        if [ -n "$keeper" ]; then
            "$wine_run" "$keeper" >/dev/null 2>&1 &
            timeout 30 xdotool search --sync --name '^Seekword test desktop$' >/dev/null 2>&1 || true
        fi
    fi
}

wine_env_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}
