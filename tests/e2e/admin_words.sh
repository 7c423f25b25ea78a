#!/usr/bin/env bash
# The quiet words of other installers install silently with no window, and
# no install may restart the machine unless its caller asks.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
remove_product "$product"
trap 'remove_product "$product"' EXIT

for words in "/qn" "/quiet /norestart" "/SILENT"; do
    run_installer $words
    expect_code 0
    ! grep -qF "systemDPI:" <<<"$runlog" || fail "$words made a window"
    grep -F "MsiInstallProduct(" <<<"$runlog" | grep -qF "REBOOT=ReallySuppress" ||
        fail "$words: the install may restart the machine"
    expect_log " restart=none ui=silent ms="
    product_registered "$product" || fail "$words: product $product not registered"
    remove_product "$product"
done
echo "quiet words installed silently without a restart"
