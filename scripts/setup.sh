#!/usr/bin/env bash
# Installs what building and testing Seekword needs on Debian, and nothing that is already there.
# wine32 comes last and on its own: without it (or on a kernel that cannot run 32-bit programs) the
# 64-bit build is still run and tested, and the scripts say that the 32-bit one was not.
set -euo pipefail
# A script that has run this already exports SEEKWORD_SETUP_DONE=1 for the scripts it calls.
[ "${SEEKWORD_SETUP_DONE:-0}" = 1 ] && exit 0

have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

need=()
for pkg in mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 \
           xvfb xdotool imagemagick cmake make googletest ripgrep \
           clang lld llvm zip unzip libxml2-utils locales fonts-ipafont-gothic; do
    have "$pkg" || need+=("$pkg")
done
need32=0
have wine32:i386 || need32=1

# The tests run Wine as Japanese Windows too, which takes the locale from the C library.
need_locale=0
locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8' || need_locale=1

if [ ${#need[@]} -eq 0 ] && [ "$need32" -eq 0 ] && [ "$need_locale" -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
    sudo="sudo"
fi

# A mirror in the middle of a sync fails some lists for a while: try again before going on with what came.
update() {
    local try
    for try in 1 2 3; do
        $sudo apt-get update -qq >/dev/null 2>&1 && return 0
        echo "setup: apt-get update failed (try $try of 3)" >&2
        sleep $((try * 5))
    done
    return 0
}
install() {
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}

if [ "$need32" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
if [ ${#need[@]} -gt 0 ] || [ "$need32" -eq 1 ]; then
    update
fi
if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    install "${need[@]}"
fi
if [ "$need_locale" -eq 1 ]; then
    echo "setup: generating the ja_JP.UTF-8 locale"
    $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
if [ "$need32" -eq 1 ]; then
    echo "setup: installing wine32:i386"
    if ! install wine32:i386 2>/dev/null; then
        echo "setup: wine32:i386 could not be installed; the 32-bit build's programs will not run here"
    fi
fi
