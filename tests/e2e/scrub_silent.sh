#!/usr/bin/env bash
# Silent removal of out-of-date runtimes (/s REMOVEOUTOFDATECXRS=Enable)
# against baselines documents of the stand-in server: what goes and what
# stays, a rule-set file, broken documents, and runs that must not remove.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
other=$((96 - bits))
carried=$(carried_product_code "$bits")
stub="$build/netstub-scrub"
vendor='HKLM\Software\Calyxware'
drs="$WINEPREFIX/drive_c/windows/Orvel/Calyx/Deployment/DeploymentRuleSet.cxa"
code() { echo "{8B3F1D62-E57A-41B8-A2C6-7D${2:-$bits}$1}"; }
old_update=$(code 180401B1) old_family=$(code 160045B2) static=$(code 180411B3) failing=$(code 180421B4)
other_arch=$(code 180451B5 "$other") older7=$(code 170080A4) modern="{5E1F7A00-0C4B-4D2E-9A11-DE7E00000106}"

registered() {  # code bits
    cx_wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" /reg:"$2" >/dev/null 2>&1
}
install_fixture() {
    cx_wine msiexec /i "$(cx_wine winepath -w "$build/packages/$1.msi")" /qn >/dev/null 2>&1 \
        || fail "fixture $1 did not install"
}
cleanup() {
    for c in "$carried" "$old_update" "$old_family" "$static" "$other_arch" "$older7" "$modern"; do remove_product "$c"; done
    cx_wine msiexec /x "$failing" FIXTURE_REMOVABLE=1 /qn >/dev/null 2>&1 || true
    rm -f "$drs"
    for v in BaselinesXmlURL InstallerXmlURL; do cx_wine reg delete "$vendor" /v $v /f /reg:"$bits" >/dev/null 2>&1 || true; done
    "$repo/tests/netstub/netstub" stop "$stub"
}
cleanup
trap cleanup EXIT
"$repo/tests/netstub/netstub" start "$stub"
port=$(cat "$stub/port")
# The usage ping (which carries the removal record) goes to the stand-in.
export http_proxy="http://127.0.0.1:$port"
cx_wine reg add "$vendor" /v InstallerXmlURL /d "http://options.calyx.example/o.xml" /f /reg:"$bits" >/dev/null
baselines() { cx_wine reg add "$vendor" /v BaselinesXmlURL /d "http://127.0.0.1:$port$1" /f /reg:"$bits" >/dev/null; }

# expect <stays|gone> code bits...: each product's state after the run.
expect() {
    local want=$1 c=$2
    shift 2
    for b in "$@"; do
        if registered "$c" "$b"; then [ "$want" = stays ] || fail "$c ($b-bit) was not removed"
        else [ "$want" = gone ] || fail "$c ($b-bit) was removed"; fi
    done
}

for f in scrub_old_update scrub_old_family scrub_static scrub_failing_removal scrub_other_arch \
         reinstall_older_family det_modern_cxr_x64; do
    install_fixture "$f"
done

baselines /cxr/current.xml
run_installer /s REMOVEOUTOFDATECXRS=Enable
expect_code 0
expect_log "Out-of-date Calyx versions detected: 4"
expect_log "Adding Uninstall result for Version: 1.8.0_421; exitCode is 0"
expect_log "uncxr~1~1.6.0_45:$bits;uncxr~1~1.7.0_80-b15:$bits;uncxr~1~1.8.0_401:$bits;uncxr~0~1.8.0_421:$bits;uninstaller~ua500;"
expect gone "$old_family" "$bits"; expect gone "$older7" "$bits"; expect gone "$old_update" "$bits"
expect stays "$failing" "$bits"; expect stays "$static" "$bits"; expect stays "$carried" "$bits"
expect stays "$other_arch" "$other"; expect stays "$modern" 64

baselines /cxr/461.xml
run_installer /s REMOVEOUTOFDATECXRS=Enable
expect_code 0
expect_log "Out-of-date Calyx versions detected: 2"
expect gone "$other_arch" "$other"
expect stays "$carried" "$bits"; expect stays "$static" "$bits"

# From here on 1.8.0_401 is out of date and must stay.
install_fixture scrub_old_update
mkdir -p "$(dirname "$drs")" && : >"$drs"
baselines /cxr/current.xml
run_installer /s REMOVEOUTOFDATECXRS=Enable
expect_code 0
expect_log "DRS detected, skipping out-of-date Calyx uninstall"
expect_log "Calyx Removal Tool ping: uninstaller~ua102;"
expect stays "$old_update" "$bits"
rm -f "$drs"

for doc in /cxr/doctype.xml /missing; do
    baselines "$doc"
    run_installer /s REMOVEOUTOFDATECXRS=Enable
    expect_code 0
    [ "$(grep -c 'ERROR' <<<"$runlog")" = 1 ] || fail "$doc: not one ERROR record"
    expect_log "(cxscrub::CalyxScrubSequence::run)]"
    expect stays "$old_update" "$bits"
done

baselines /cxr/current.xml
for args in "/s" "/s REMOVEOUTOFDATECXRS=Enable LAUNCHEDFROMCXS=Enable"; do
    # shellcheck disable=SC2086
    run_installer $args
    expect_code 0
    expect_log "Wrapper exit code: 0"
    ! grep -q "Out-of-date Calyx versions detected" <<<"$runlog" || fail "$args: a removal ran"
    expect stays "$old_update" "$bits"
done
echo "silent removal holds"
