#!/usr/bin/env bash
# Installs what is missing, builds both targets, compiles the program with clang as well, and runs every
# test under Wine and Xvfb (the release zips' among them).
# Arguments are passed to ctest (for example -R textview); SEEKWORD_BUILD picks another build folder,
# SEEKWORD_TARGETS="win32" limits the run to one target.
set -uo pipefail
cd "$(dirname "$0")/.."
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$(pwd)/build}"
targets=(${SEEKWORD_TARGETS:-win32 win64})

scripts/setup.sh || exit 1
scripts/build.sh "${targets[@]}" || exit 1
# A second compiler, warnings as errors: code only GCC accepts fails here.
clang_targets=()
for target in "${targets[@]}"; do clang_targets+=("clang-$target"); done
echo "=== clang: ${clang_targets[*]}"
scripts/build.sh "${clang_targets[@]}" || exit 1

. scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start display || exit 1

status=0
for target in "${targets[@]}"; do
    echo "=== tests: $target"
    (cd "$SEEKWORD_BUILD/$target" && ctest -j2 --output-on-failure --timeout 600 "$@") || status=1
done
exit $status
