#!/usr/bin/env bash
# Installs what is missing, builds both targets, compiles the program with clang as well, and runs every
# test under Wine and Xvfb (the release zips' among them).
# Arguments are passed to ctest (for example -R textview); SEEKWORD_BUILD picks another build folder,
# SEEKWORD_TARGETS="win32" limits the run to one target. Where 32-bit programs cannot run (or with
# SEEKWORD_WINE64_ONLY=1) every target is still built, and the win32 tests are left out, saying so.
set -uo pipefail
cd "$(dirname "$0")/.."
export SEEKWORD_BUILD="${SEEKWORD_BUILD:-$(pwd)/build}"
targets=(${SEEKWORD_TARGETS:-win32 win64})

scripts/setup.sh || exit 1
export SEEKWORD_SETUP_DONE=1
scripts/build.sh "${targets[@]}" || exit 1
# A second compiler, warnings as errors: code only GCC accepts fails here.
clang_targets=()
for target in "${targets[@]}"; do clang_targets+=("clang-$target"); done
echo "=== clang: ${clang_targets[*]}"
scripts/build.sh "${clang_targets[@]}" || exit 1

. scripts/wine-env.sh
tested=()
for target in "${targets[@]}"; do
    if [[ " ${wine_targets[*]} " == *" $target "* ]]; then
        tested+=("$target")
    else
        echo "test: the $target tests were not run: $SEEKWORD_WINE32_MISSING"
    fi
done
if [ ${#tested[@]} -eq 0 ]; then
    echo "test: no target whose tests can run here; nothing was tested" >&2
    exit 1
fi

trap wine_env_stop EXIT
wine_env_start display || exit 1

status=0
entries=0
log="$(mktemp)"
run_ctest() {  # run_ctest <target> <what> [ctest arguments]: counts the entries that ran
    local target="$1" what="$2"
    shift 2
    echo "=== tests: $target$what"
    (cd "$SEEKWORD_BUILD/$target" && ctest -j2 --output-on-failure --timeout 600 "$@") | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    local ran
    ran="$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log" | tail -n 1)"
    echo "test: $target$what: ${ran:-0} ctest entries ran"
    entries=$((entries + ${ran:-0}))
}
for target in "${targets[@]}"; do
    if [[ " ${tested[*]} " == *" $target "* ]]; then
        run_ctest "$target" "" "$@"
    else
        # What needs no Wine still runs: the checks that read the built program.
        run_ctest "$target" " (no Wine)" -L nowine "$@"
    fi
done
rm -f "$log"
if [ "$entries" -eq 0 ]; then
    echo "test: no test ran" >&2
    status=1
fi
for target in "${targets[@]}"; do
    [[ " ${tested[*]} " == *" $target "* ]] || echo "test: the $target tests were not run: $SEEKWORD_WINE32_MISSING"
done
exit $status
