#!/usr/bin/env bash
# What is installed decides whether the carried build goes on: a newer build
# of the same version or a static install of it refuses, an older build is
# replaced, and an older family is an upgrade.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
carried=$(carried_product_code "$bits")
code() { echo "{8B3F1D62-E57A-41B8-A2C6-7D${bits}$1}"; }
fixtures="180451A1 180451A2 180451A3 170080A4"
cleanup() {
    remove_product "$carried"
    for f in $fixtures; do remove_product "$(code "$f")"; done
}
cleanup
trap cleanup EXIT

install_fixture() {
    cx_wine msiexec /i "$(cx_wine winepath -w "$build/packages/$1.msi")" /qn >/dev/null 2>&1 \
        || fail "fixture $1 did not install"
}

install_fixture reinstall_newer_build
run_installer /s
expect_code 0
expect_log "A newer CXR  build already exists. Exit install"
expect_log "Same version newer build CXR exists on the system"
product_registered "$carried" && fail "installed over a newer build"
product_registered "$(code 180451A1)" || fail "the newer build went away"
remove_product "$(code 180451A1)"

install_fixture reinstall_static
run_installer /s
expect_code -1
expect_log "Same version static CXR exists on the system"
product_registered "$carried" && fail "installed over a static install"
remove_product "$(code 180451A3)"

install_fixture reinstall_older_build
run_installer /s
expect_code 0
product_registered "$(code 180451A2)" && fail "the older build was not removed"
product_registered "$carried" || fail "the carried build was not installed"
remove_product "$carried"

install_fixture reinstall_older_family
run_installer /s
expect_code 0
expect_log "Old CXR found: 1.7.0_80-b15"
expect_log "This is a Family Upgrade install"
product_registered "$carried" || fail "the carried build was not installed"
product_registered "$(code 170080A4)" || fail "the older family was removed"
echo "reinstall decisions hold"
