#!/usr/bin/env bash
# A silent run installs the carried runtime into its default folder, leaves
# no extraction folder behind and exits 0.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
code_of_product=$(carried_product_code "$bits")
remove_product "$code_of_product"
trap 'remove_product "$code_of_product"' EXIT

run_installer /s
expect_code 0
expect_well_formed_log
expect_log "MSI command line: "
expect_log "MsiInstallProduct("
expect_log "Wrapper exit code: 0"
# No page, so no window: the UI thread logs the display's DPI when it starts.
! grep -qF "systemDPI:" <<<"$runlog" || fail "a silent run made a window"
# An offline machine and a silent run's missing mailbox are expected: only
# the ping's refusal is an error.
errors=$(tr -d '\r' <<<"$runlog" | grep "^	ERROR: " | grep -vF "No pings: unallowed url" || true)
[ -z "$errors" ] || fail "a good silent run logged errors: $errors"
product_registered "$code_of_product" || fail "product $code_of_product not registered"
home=$(default_home "$bits")
[ -f "$home/bin/calyx.exe" ] || fail "no launcher in $home"
[ -f "$home/lib/rt.cxa" ] || fail "no class archive in $home"
[ ! -d "$lowdir/Tolvane/Calyx/cxr1.8.0_451" ] || fail "extraction folder left behind"
[ ! -d "$lowdir/Tolvane/Calyx/cxr1.8.0_451_x64" ] || fail "extraction folder left behind"
echo "installed into $home"
