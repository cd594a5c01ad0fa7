#!/usr/bin/env bash
# Configures and builds the given targets (win32, win64; both by default) under $SEEKWORD_BUILD (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
out="${SEEKWORD_BUILD:-$root/build}"
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64)
for preset in "${presets[@]}"; do
    case "$preset" in
        win32) arch=i686 ;;
        win64) arch=x86_64 ;;
        *) echo "build: unknown target $preset" >&2; exit 2 ;;
    esac
    if [ ! -f "$out/$preset/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$out/$preset" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
              -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$out/$preset" -j2
done
