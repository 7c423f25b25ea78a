#!/usr/bin/env bash
# The real i686 executable installs its carried package silently: exit code 0
# and the product registered in the 32-bit view. Runs in a prefix of its own
# with the 32-bit half, under user-mode emulation where the kernel cannot
# start 32-bit programs; exits 77 (skipped) when they cannot be made to start.
export WINEPREFIX="$(cd "$(dirname "$0")/../.." && pwd)/build/smoke-wineprefix"
export CX_WINEPREFIX=$WINEPREFIX
source "$(dirname "$0")/../e2e/lib.bash"
started=$SECONDS

how=$(cx_emulation_on 2>&1) || { echo "i686 smoke skipped: 32-bit programs cannot start here: $how"; exit 77; }
cleanup() {
    "$repo/scripts/wine-prefix" stop
    [ "$how" = native ] || cx_emulation_off
}
trap cleanup EXIT
"$repo/scripts/wine-prefix" fresh 32
"$repo/scripts/wine-prefix" server
# Under emulation every 32-bit process start costs most of a minute: the
# twin's 64-bit exit-code reporter saves one when it is built.
[ -f "$repo/build/windows-x64/bin/cxrun.exe" ] && cxrun="$repo/build/windows-x64/bin/cxrun.exe"

# A slow emulator must not hold the run past its bound: an emulated run
# that outlasts it is inconclusive too.
deadline=$((started + 540))
if [ "$how" = emulated ]; then
    cx_wine() { timeout -k 10 $((deadline > SECONDS ? deadline - SECONDS : 1)) "$(cx_wine_loader "$1")" "$@"; }
fi

# qemu cannot emulate everything Wine does in every 32-bit process. When the
# emulated installer vanishes without its last record (Wine then reports exit
# code 0, and qemu may say why on the way out), the run says nothing about the
# installer: inconclusive, not passed.
errors=$(mktemp)
set +e
(
    run_installer /s
    if [ "$how" = emulated ] && ! grep -q 'Wrapper exit code: ' "$runlogfile"; then
        echo "i686 smoke skipped: the installer vanished under the emulator without its last record" \
             "$(grep -m 1 '^qemu: ' "$errors")"
        exit 77
    fi
    expect_code 0
    product_registered "$(carried_product_code 32)" || fail "the carried product is not registered"
) 2>"$errors"
result=$?
set -e
cat "$errors" >&2
rm -f "$errors"
if ((result != 0)) && [ "$how" = emulated ] && ((SECONDS >= deadline)); then
    echo "i686 smoke skipped: the emulated installer did not finish within $((deadline - started)) s"
    exit 77
fi
((result == 0)) || exit "$result"
echo "i686 smoke passed ($how): installed, exit code 0, registered, in $((SECONDS - started)) s"
