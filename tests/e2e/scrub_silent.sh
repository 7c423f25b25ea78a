#!/usr/bin/env bash
# /s REMOVEOUTOFDATECXRS=Enable against the stand-in server's baselines documents: what goes and
# what stays, a rule-set file, broken documents, and runs that must not remove anything.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits) other=$((96 - $(carried_bits))) stub="$build/netstub-scrub" vendor='HKLM\Software\Calyxware'
drs="$WINEPREFIX/drive_c/windows/Orvel/Calyx/Deployment/DeploymentRuleSet.cxa" modern={5E1F7A00-0C4B-4D2E-9A11-DE7E00000106}
code() { echo "{8B3F1D62-E57A-41B8-A2C6-7D${2:-$bits}$1}"; }
declare -A at=([$(code 180451F0)]=$bits [$(code 180401B1)]=$bits [$(code 160045B2)]=$bits [$(code 180411B3)]=$bits
    [$(code 180421B4)]=$bits [$(code 170080A4)]=$bits [$(code 180451B5 $other)]=$other [$modern]=64)
cleanup() {
    for c in "${!at[@]}"; do cx_wine msiexec /x "$c" FIXTURE_REMOVABLE=1 /qn >/dev/null 2>&1 || true; done
    for v in BaselinesXmlURL InstallerXmlURL; do cx_wine reg delete "$vendor" /v $v /f /reg:"$bits" >/dev/null 2>&1 || true; done
    rm -f "$drs"; "$repo/tests/netstub/netstub" stop "$stub"
}
cleanup; trap cleanup EXIT; "$repo/tests/netstub/netstub" start "$stub"
export http_proxy="http://127.0.0.1:$(cat "$stub/port")"  # for the usage ping, which carries the removal record
cx_wine reg add "$vendor" /v InstallerXmlURL /d "http://options.calyx.example/o.xml" /f /reg:"$bits" >/dev/null
install() { for f in "$@"; do cx_wine msiexec /i "$(cx_wine winepath -w "$build/packages/$f.msi")" /qn >/dev/null 2>&1 || fail "$f"; done; }
run() {  # <baselines document> args...
    cx_wine reg add "$vendor" /v BaselinesXmlURL /d "$http_proxy$1" /f /reg:"$bits" >/dev/null
    run_installer "${@:2}"; expect_code 0
}
expect() {  # gone|stays codes...
    for c in "${@:2}"; do
        state=gone
        cx_wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$c" /reg:"${at[$c]}" >/dev/null 2>&1 && state=stays
        [ "$state" = "$1" ] || fail "$c: expected $1, found $state"
    done
}

install scrub_old_update scrub_old_family scrub_static scrub_failing_removal scrub_other_arch reinstall_older_family det_modern_cxr_x64
run /cxr/current.xml /s REMOVEOUTOFDATECXRS=Enable
expect_log "Adding Uninstall result for Version: 1.8.0_421; exitCode is 0" && expect_log "uncxr~1~1.6.0_45:$bits;uncxr~1~1.7.0_80-b15:$bits;uncxr~1~1.8.0_401:$bits;uncxr~0~1.8.0_421:$bits;uninstaller~ua500;"
expect gone "$(code 160045B2)" "$(code 170080A4)" "$(code 180401B1)" && expect_log " removed=3 "
expect stays "$(code 180421B4)" "$(code 180411B3)" "$(code 180451F0)" "$(code 180451B5 $other)" "$modern"
run /cxr/461.xml /s REMOVEOUTOFDATECXRS=Enable
expect gone "$(code 180451B5 $other)" && expect stays "$(code 180451F0)" "$(code 180411B3)"

install scrub_old_update && mkdir -p "$(dirname "$drs")" && : >"$drs"  # 1.8.0_401 is never removed from here on
run /cxr/current.xml /s REMOVEOUTOFDATECXRS=Enable
expect_log "Calyx Removal Tool ping: uninstaller~ua102;" && rm -f "$drs"
for doc in "doctype.xml:document type definitions are not accepted" "bad.xml:xml parse error at line " \
           "two-defaults.xml:Unexpected multiple default families" "missing:Http error, status: 404"; do
    run "/cxr/${doc%%:*}" /s REMOVEOUTOFDATECXRS=Enable
    [ "$(grep -A1 -F '(cxscrub::CalyxScrubSequence::run)]' <<<"$runlog" | grep -c $'\tERROR: ')" = 1 ] || fail "$doc: ERROR records"
    expect_log "${doc#*:}"
done
# No network: the carried baselines decide, and a rule-set file still holds.
cx_wine reg add "$vendor" /v BaselinesXmlURL /d "http://127.0.0.1:9/cxr/current.xml" /f /reg:"$bits" >/dev/null
: >"$drs" && http_proxy= run_installer /s REMOVEOUTOFDATECXRS=Enable && expect_code 0
expect_log "removing by the baselines carried for 1.8.0_451" && expect stays "$(code 180401B1)" && rm -f "$drs"
http_proxy= run_installer /s REMOVEOUTOFDATECXRS=Enable && expect_code 0
expect gone "$(code 180401B1)" && install scrub_old_update
run /cxr/current.xml /s && run /cxr/current.xml /s REMOVEOUTOFDATECXRS=Enable LAUNCHEDFROMCXS=Enable
! grep -q "Out-of-date Calyx versions detected" <<<"$runlog" || fail "a removal ran with LAUNCHEDFROMCXS"
expect stays "$(code 180401B1)"
echo "silent removal holds"
