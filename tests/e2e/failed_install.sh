#!/usr/bin/env bash
# A package whose install fails ends the run with the installer service's
# code, not -1, after the common end.
source "$(dirname "$0")/lib.bash"
installer="$build/bin/cxroffline_failing.exe"
run_installer /s
expect_code 1603
expect_well_formed_log
expect_log "Wrapper exit code: 1603"
[ ! -d "$lowdir/Tolvane/Calyx/cxr1.8.0_451" ] || fail "extraction folder left behind"
