#!/usr/bin/env bash
# The real i686 executable installs its carried package silently (exit code 0,
# registered in the 32-bit view), in a prefix of its own, under emulation where
# the kernel cannot start 32-bit programs. Exits 77 (skipped) when inconclusive.
export WINEPREFIX="$(cd "$(dirname "$0")/../.." && pwd)/build/smoke-wineprefix"
export CX_WINEPREFIX=$WINEPREFIX
source "$(dirname "$0")/../e2e/lib.bash"
started=$SECONDS

how=$(cx_emulation_on 2>&1) || { echo "i686 smoke skipped: 32-bit programs cannot start here: $how"; exit 77; }
# An emulated run that outlasts its bound (every step, within CTest's limit) is
# inconclusive; at the deadline both prefixes' Wine processes are killed, as an
# emulated child can hold a pipe open after a timeout ended its parent.
budget=480 deadline=$((started + 480)) watchdog=
if [ "$how" = emulated ]; then
    (sleep "$budget"; for p in "$WINEPREFIX" "$repo/build/pristine-wineprefix"; do
        WINEPREFIX=$p timeout 20 wineserver -k; done) </dev/null >/dev/null 2>&1 &
    watchdog=$!
fi
cleanup() {
    [ -z "$watchdog" ] || { pkill -P "$watchdog"; kill "$watchdog"; } 2>/dev/null || true
    timeout 30 "$repo/scripts/wine-prefix" stop
    [ "$how" = native ] || cx_emulation_off
}
trap cleanup EXIT
overdue() {
    [ "$how" = emulated ] && ((SECONDS >= deadline)) || return 1
    echo "i686 smoke skipped: the emulated installer did not finish within $budget s ($1)"
}
"$repo/scripts/wine-prefix" fresh 32 || { overdue "making the prefix" && exit 77; exit 1; }
"$repo/scripts/wine-prefix" server || { overdue "starting its server" && exit 77; exit 1; }
# The twin's 64-bit exit-code reporter saves one slow emulated start.
[ -f "$repo/build/windows-x64/bin/cxrun.exe" ] && cxrun="$repo/build/windows-x64/bin/cxrun.exe"
if [ "$how" = emulated ]; then
    cx_wine() { timeout -k 10 $((deadline > SECONDS ? deadline - SECONDS : 1)) "$(cx_wine_loader "$1")" "$@"; }
fi

# qemu cannot emulate all Wine does: an emulated installer that vanishes
# without its last record (Wine then reports exit code 0) is inconclusive.
errors=$(mktemp)
set +e
(
    run_installer /s
    if [ "$how" = emulated ] && ! grep -q 'Wrapper exit code: ' "$runlogfile"; then
        echo "i686 smoke skipped: the installer vanished under the emulator without its last record;" \
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
((result != 0)) && overdue "installing" && exit 77
((result == 0)) || exit "$result"
echo "i686 smoke passed ($how): installed, exit code 0, registered, in $((SECONDS - started)) s"
