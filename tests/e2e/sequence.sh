#!/usr/bin/env bash
# A silent run goes through the whole sequence and ends at the common end.
source "$(dirname "$0")/lib.bash"
product=$(carried_product_code "$(carried_bits)")
trap 'remove_product "$product"' EXIT
run_installer /s
expect_well_formed_log
expect_log "Wrapper begin..."
expect_log "Running offline CXR wrapper with command line=</s>"
expect_log "Wrapper: Extract MSI ..."
expect_log "Wrapper exit code: $code"
echo "exit code $code"
