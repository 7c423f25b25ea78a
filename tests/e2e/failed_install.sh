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

# A package that cannot be written (a folder in its place) ends the run
# through the common end too: the failed write's code, the outcome line last,
# the flag free.
folder=cxr1.8.0_451
[ "$(carried_bits)" = 64 ] && folder+=_x64
blocker="$lowdir/Tolvane/Calyx/$folder/cxr1.8.0_451.msi"
trap 'rm -rf "$lowdir/Tolvane"' EXIT
mkdir -p "$blocker"
installer="$build/bin/cxroffline.exe"
run_installer /s
expect_code 80
expect_log "Installer : Wrapper.CreateFile  failed with error 80"
tr -d '\r' <"$runlogfile" | tail -n 1 | grep -q "Outcome: exit=80 reason=extraction-failed " ||
    fail "the outcome line is not the last record"
[ ! -e "$lowdir/Tolvane/Calyx/CALYX_INSTALL_FLAG" ] || fail "the install flag was left"
