#!/usr/bin/env bash
# A system library planted beside the installer is not loaded, even when the
# loader is told to look in the program's folder first, and the install still
# succeeds, with the service's own log where /l asks and a forwarded switch
# left out. The page test switches end a silent run with 0 and install nothing.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
remove_product "$product"
downloads=$(mktemp -d "$build/downloads.XXXXXX")
service_log="$WINEPREFIX/drive_c/cx_e2e_msi.log"
rm -f "$service_log"
trap 'remove_product "$product"; rm -rf "$downloads" "$service_log"' EXIT

for switch in TEST_FINAL_DIALOG TEST_PROGRESS_DIALOG TEST_WELCOME_DIALOG TEST_CHANGE_DIALOG; do
    run_installer /s "$switch=Enable"
    expect_code 0
    expect_log "Test switch $switch: no page in a silent run"
    ! product_registered "$product" || fail "$switch installed the product"
done

cp "$installer" "$downloads/"
# msi.dll stands for every library that is not a KnownDLL. Not version.dll:
# Wine's own user32 imports it, so Wine takes it from here before WinMain.
cp "$build/planted/planted.dll" "$downloads/msi.dll"
installer="$downloads/cxroffline.exe"
WINEDLLOVERRIDES="$WINEDLLOVERRIDES;msi=n,b" run_installer /s /l 'C:\cx_e2e_msi.log' MSI_CMDLINE=/qn
[ "$code" != 97 ] || fail "the planted msi.dll was loaded"
expect_code 0
expect_log 'Forwarded command-line word /qn is not NAME=value; left out'
[ -s "$service_log" ] || fail "no service log at C:\cx_e2e_msi.log"
product_registered "$product" || fail "product $product not registered"
echo "planted library ignored; test switches install nothing"
