# Sourced by the scripts: a private Wine prefix under build/, a running wineserver and a display.
# Provides wine_env_start [need-display] and wine_env_stop.

SEEKWORD_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${SEEKWORD_WINEPREFIX:-${SEEKWORD_BUILD:-$SEEKWORD_ROOT/build}/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=""

wine_env_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        echo "wine: creating prefix $WINEPREFIX"
        DISPLAY= wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # Without a window manager every hide of a top-level window stalls unless Wine leaves windows unmanaged;
    # on a user's desktop the window manager should manage them (SEEKWORD_WINE_MANAGED=Y).
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "${SEEKWORD_WINE_MANAGED:-N}" /f >/dev/null 2>&1
    # A crash must end the process, not wait at a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # The tests measure a 96-dpi screen; the one test at 144 sets it back, this covers a run cut short.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
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
    wine cmd /c exit >/dev/null 2>&1
    if [ "${1:-}" = "display" ]; then
        local keeper
        keeper="$(ls "${SEEKWORD_BUILD:-$SEEKWORD_ROOT/build}"/win*/tests/support/DesktopKeeper.exe 2>/dev/null | head -n 1)"
        if [ -f "$keeper" ]; then
            wine "$keeper" >/dev/null 2>&1 &
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
