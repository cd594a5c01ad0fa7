#!/usr/bin/env bash
# Installs what building and testing Seekword needs on Debian, and nothing that is already there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

for pkg in mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 \
           xvfb xdotool imagemagick cmake make googletest ripgrep \
           clang lld llvm zip unzip libxml2-utils; do
    have "$pkg" || need+=("$pkg")
done

i386=0
have wine32:i386 || { need+=("wine32:i386"); i386=1; }

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
    sudo="sudo"
fi

echo "setup: installing ${need[*]}"
if [ "$i386" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
