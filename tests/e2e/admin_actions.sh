#!/usr/bin/env bash
# What administrators of many machines ask of an installer besides an
# install: its usage, its packages for a bare deployment, its removal, and
# the exit codes their deployment tools know.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
out=$(mktemp)
target="$WINEPREFIX/drive_c/cx_e2e_extract"
trap 'rm -rf "$out" "$out.before" "$state_export" "$target"; remove_product "$product"' EXIT
remove_product "$product"

machine_state >"$out.before"
cx_wine "$installer" '/?' | tr -d '\r' >"$out"
grep -qF "product code  $product" "$out" || fail "/? printed no product code: $(head -5 "$out")"
grep -qxF "  REMOVEOUTOFDATECXRS=Enable|Disable" "$out" || fail "/? lists no keys: $(head -5 "$out")"
run_installer /s /HELP
expect_outcome 0 help
diff "$out.before" <(machine_state) >&2 || fail "a usage run changed the machine"

runtime="cxr1.8.0_451$([ "$bits" = 64 ] && echo _x64).msi"
run_installer /s /extract 'C:\cx_e2e_extract\packages'
expect_outcome 0 extracted
cmp "$target/packages/$runtime" "$build/packages/runtime.msi" || fail "extracted runtime differs"
cmp "$target/packages/au.msi" "$build/packages/agent.msi" || fail "extracted agent differs"
! product_registered "$product" || fail "/extract installed the runtime"
echo changed >>"$target/packages/au.msi"
run_installer /s /exitcodes=msi /extract 'C:\cx_e2e_extract\packages'
expect_outcome 1603 extraction-failed
tail -c 8 "$target/packages/au.msi" | grep -q changed || fail "a different file was overwritten"

run_installer /s
expect_code 0
run_installer /s /uninstall
expect_outcome 0 uninstalled
grep -F "MsiConfigureProductEx($product" <<<"$runlog" | grep -qF "REBOOT=ReallySuppress" ||
    fail "the removal may restart the machine"
! product_registered "$product" || fail "/uninstall left $product"
run_installer /s /uninstall
expect_outcome 0 uninstalled
expect_log "$product is not installed; nothing to remove"

run_installer /s /exitcodes=msi INSTALL_SILENT=yes
expect_outcome 1639 config-error
echo "usage, extraction, removal and the service's exit codes work"
