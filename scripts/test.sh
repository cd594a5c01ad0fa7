#!/usr/bin/env bash
# Installs what is missing, builds both targets and runs every test under Wine and Xvfb.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh || exit 1

for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
done

. scripts/wine-env.sh
trap wine_env_stop EXIT
wine_env_start display || exit 1

status=0
for preset in win32 win64; do
    echo "=== tests: $preset"
    ctest --preset "$preset" -j2 --timeout 600 || status=1
done
exit $status
