#!/usr/bin/env bash
# Runs scripts/package.sh twice and checks what a user downloads: the same bytes both times, both zips
# with their three files, text with CR LF, stripped exes of the right machine that need only system
# DLLs, and SHA256SUMS; then unpacks this target's zip for release_tests.
# Usage: check-package.sh <win32|win64> <work folder>
set -euo pipefail
export LC_ALL=C
target="$1"
work="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"

fail() {
    echo "package check: $*" >&2
    exit 1
}

version="$(sed -n 's/^project(Seekword VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || fail "no version in CMakeLists.txt"

rm -rf "$work"
mkdir -p "$work"
SEEKWORD_DIST="$work/first" "$root/scripts/package.sh" >"$work/first.log" 2>&1 || { cat "$work/first.log"; fail "package.sh failed"; }
# Later, in a time zone far from UTC and with another umask: neither may change a byte.
(umask 077 && TZ=Pacific/Kiritimati SEEKWORD_DIST="$work/second" "$root/scripts/package.sh") >"$work/second.log" 2>&1 \
    || { cat "$work/second.log"; fail "package.sh failed the second time"; }
cmp -s "$work/first/SHA256SUMS" "$work/second/SHA256SUMS" \
    || fail "two runs made different zips: $(diff "$work/first/SHA256SUMS" "$work/second/SHA256SUMS")"

dist="$work/first"
expected="$(printf '%s\n' SHA256SUMS "Seekword-$version-win32.zip" "Seekword-$version-win64.zip")"
[ "$(cd "$dist" && ls -1)" = "$expected" ] || fail "dist holds $(cd "$dist" && ls -1 | tr '\n' ' ')"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the zips"
xmllint --noout "$root/src/resources/Seekword.manifest" || fail "the manifest is not well-formed XML"

# crlf_text <zip> <entry> <expected text>: the entry has only CR LF line ends and holds the text.
crlf_text() {
    local text lines crlf
    text="$(unzip -p "$1" "$2")"
    lines="$(printf '%s\n' "$text" | wc -l)"
    crlf="$(printf '%s\n' "$text" | grep -c $'\r$' || true)"
    [ "$lines" -gt 1 ] && [ "$lines" -eq "$crlf" ] || fail "$2 in $1: $crlf of $lines lines end in CR LF"
    grep -qF "$3" <<<"$text" || fail "$2 in $1 lacks \"$3\""
}

for zip_target in win32 win64; do
    case "$zip_target" in
        win32) arch=i686; format=pei-i386 ;;
        win64) arch=x86_64; format=pei-x86-64 ;;
    esac
    zip="$dist/Seekword-$version-$zip_target.zip"
    [ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "LICENSE.txt README.txt Seekword.exe " ] \
        || fail "$zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
    crlf_text "$zip" README.txt "Seekword $version"
    crlf_text "$zip" README.txt 'HKEY_CURRENT_USER\Software\Ovelund Freeware\Seekword'
    crlf_text "$zip" LICENSE.txt "Copyright (c) 2026 Ovelund Freeware"

    exe="$work/$zip_target/Seekword.exe"
    mkdir -p "$work/$zip_target"
    unzip -q -o "$zip" Seekword.exe -d "$work/$zip_target"
    "$arch-w64-mingw32-objdump" -f "$exe" | grep -q "file format $format" || fail "$zip: not a $format exe"
    "$arch-w64-mingw32-nm" "$exe" 2>&1 | grep -q "no symbols" || fail "$zip: Seekword.exe is not stripped"
    # The whole header is read first: grep -q would stop objdump halfway, and the pipe would fail.
    header="$("$arch-w64-mingw32-objdump" -p "$exe")"
    if [ "$zip_target" = win32 ] && ! grep -q "large address aware" <<<"$header"; then
        fail "$zip: the win32 Seekword.exe is not large address aware"
    fi
    size="$(stat -c %s "$exe")"
    echo "package check: $zip_target Seekword.exe $size bytes"
    if [ "$zip_target" = win32 ] && [ "$size" -gt $((260 * 1024)) ]; then
        fail "the win32 Seekword.exe is $size bytes, more than 260 KB"
    fi
    # Only DLLs that every Windows has.
    imports="$("$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')"
    for dll in $imports; do
        case "$dll" in
            kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | shlwapi.dll | comctl32.dll | ole32.dll | msvcrt.dll) ;;
            *) fail "$zip: Seekword.exe needs $dll" ;;
        esac
    done
done

unzip -q "$dist/Seekword-$version-$target.zip" -d "$work/unpacked"
echo "package check: both zips as expected; $target unpacked in $work/unpacked"
