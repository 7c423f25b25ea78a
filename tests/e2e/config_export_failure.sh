#!/usr/bin/env bash
# When the runtime settings file cannot be written the run stops before the
# package, through the common end, with 1603 rather than a success code.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
product=$(carried_product_code "$(carried_bits)")
folder=$(dirname "$runtime_file")
remove_product "$product"
keep_runtime_file
cleanup() {
    [ -f "$folder" ] && rm -f "$folder"
    remove_product "$product"
    put_back_runtime_file
}
trap cleanup EXIT

# A file where the settings folder belongs.
rm -f "$runtime_file"
rmdir "$folder" 2>/dev/null || true
[ -e "$folder" ] && fail "$folder is in use"
mkdir -p "$(dirname "$folder")"
echo "in the way" >"$folder"

run_installer /s AUTO_UPDATE=Disable
expect_code 1603
expect_log 'Fails on writing to the runtime config file.'
expect_log 'Error occurred while exporting configuration settings. Exiting installer.'
expect_log 'Wrapper exit code: 1603'
grep -qF 'Wrapper: Execute MSI ...' <<<"$runlog" && fail "the package ran after the failed export"
product_registered "$product" && fail "product installed after the failed export"
echo "failed export ends with 1603 before the package"
