#!/usr/bin/env bash
# Configures and builds the given targets under $SEEKWORD_BUILD (default build/): win32 and win64 (both by
# default) with MinGW-w64's GCC, clang-win32 and clang-win64 (the program alone) with clang and lld.
# --product builds only Seekword.exe in the GCC targets.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
out="${SEEKWORD_BUILD:-$root/build}"
product=0
if [ "${1:-}" = "--product" ]; then
    product=1
    shift
fi
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(win32 win64)
for preset in "${presets[@]}"; do
    options=()
    only=()
    [ "$product" -eq 1 ] && only=(--target Seekword)
    case "$preset" in
        win32) toolchain=mingw-i686 ;;
        win64) toolchain=mingw-x86_64 ;;
        clang-win32) toolchain=clang-i686; options=(-DSEEKWORD_TESTS=OFF); only=(--target Seekword) ;;
        clang-win64) toolchain=clang-x86_64; options=(-DSEEKWORD_TESTS=OFF); only=(--target Seekword) ;;
        *) echo "build: unknown target $preset" >&2; exit 2 ;;
    esac
    if [ ! -f "$out/$preset/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$out/$preset" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
              -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
    fi
    cmake --build "$out/$preset" -j2 "${only[@]}"
done
