#!/usr/bin/env bash
# Builds Seekword.exe for both targets in Release and writes the release zips and SHA256SUMS to dist/.
# The zips are reproducible: the files in a fixed order with the last commit's date and fixed modes,
# so the same sources give the same bytes. SEEKWORD_BUILD picks the build folder, SEEKWORD_DIST the output.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$root/build}"
dist="${SEEKWORD_DIST:-$root/dist}"

version="$(sed -n 's/^project(Seekword VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt's project()" >&2; exit 1; }

scripts/setup.sh
scripts/build.sh --product win32 win64
for target in win32 win64; do
    if ! grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$SEEKWORD_BUILD/$target/CMakeCache.txt"; then
        echo "package: $SEEKWORD_BUILD/$target is not a Release build" >&2
        exit 1
    fi
done

# The date of the zip entries and of the exe header: SOURCE_DATE_EPOCH when given, else the last commit's, else 1 January 1980.
epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || true)}"
epoch="${epoch:-315532800}"

mkdir -p "$dist"
dist="$(cd "$dist" && pwd)"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

crlf() {  # crlf <file>: the text with CR LF line ends, for Notepad on older Windows
    sed -e 's/\r$//' -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$1"
}

zips=()
for target in win32 win64; do
    case "$target" in
        win32) arch=i686 ;;
        win64) arch=x86_64 ;;
    esac
    dir="$stage/$target"
    mkdir -p "$dir"
    # strip writes the time into the PE header, unless told which time to write.
    SOURCE_DATE_EPOCH="$epoch" "$arch-w64-mingw32-strip" -o "$dir/Seekword.exe" "$SEEKWORD_BUILD/$target/src/Seekword.exe"
    crlf docs/README.txt >"$dir/README.txt"
    { crlf LICENSE; printf '\r\n'; crlf docs/third-party-notices.txt; } >"$dir/LICENSE.txt"
    chmod 0644 "$dir"/*
    touch -d "@$epoch" "$dir"/*
    zip="Seekword-$version-$target.zip"
    rm -f "$dist/$zip"
    # zip stores local time: UTC makes it the same everywhere. -X leaves out owner and extra times.
    (cd "$dir" && TZ=UTC zip -q -X -D -9 "$dist/$zip" LICENSE.txt README.txt Seekword.exe)
    zips+=("$zip")
done
(cd "$dist" && sha256sum "${zips[@]}" >SHA256SUMS)
echo "package: $dist"
(cd "$dist" && cat SHA256SUMS)
