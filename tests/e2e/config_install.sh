#!/usr/bin/env bash
# Switches and the install configuration file reach a silent install: /qn
# is forwarded, the file's STATIC is overridden by the command line, the
# security level is named, /lang picks the package language (its embedded
# transform is applied and the language registered), INSTALLDIR
# places the product, and the exported settings are kept in the runtime
# settings file for later installs.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
product=$(carried_product_code "$(carried_bits)")
somewhere="$WINEPREFIX/drive_c/Somewhere"
remove_product "$product"
keep_runtime_file
cleanup() {
    remove_product "$product"
    rm -rf "$somewhere"
    put_back_runtime_file
}
trap cleanup EXIT
rm -f "$runtime_file"

temp_config cx_e2e_install.cfg $'STATIC=Enable\nSPONSORS=Disable\n'
run_installer /s /qn "INSTALLCFG=$winpath" STATIC=Disable WEB_CALYX_SECURITY_LEVEL=VH \
    AUTO_UPDATE=Disable 'INSTALLDIR=C:\Somewhere' /lang=1041
expect_code 0
expect_well_formed_log
expect_log 'Forwarded command-line word /qn is not NAME=value; left out'
expect_log 'MSI_CMDLINE = /qn'
expect_log 'STATIC="Disable"'
expect_log 'STATIC = Disable (0)'
expect_log 'WEB_CALYX_SECURITY_LEVEL = VH (4)'
expect_log 'INSTALLDIR="C:\Somewhere"'
expect_log 'TRANSFORMS=:1041'
expect_log 'Writing to the runtime config file.'
expect_log 'Wrapper exit code: 0'
product_registered "$product" || fail "product $product not registered"
cx_wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product" /v Language \
    /reg:"$(carried_bits)" | grep -q 0x411 || fail "the Japanese transform was not applied"
[ -f "$somewhere/bin/calyx.exe" ] || fail "no launcher in C:\\Somewhere"
[ ! -d "$(default_home "$(carried_bits)")" ] || fail "installed into the default folder too"
expected=$'AUTO_UPDATE=Disable\nSPONSORS=Disable'
[ "$(runtime_entries)" = "$expected" ] || fail "runtime settings file holds: $(runtime_entries)"
echo "installed into C:\\Somewhere; runtime settings: $(runtime_entries | tr '\n' ' ')"
