#!/usr/bin/env bash
# The update agent after the runtime, chained in one prefix: none, equal,
# older with plain or protected settings (kept), newer, newer but incomplete,
# an inconsistent notification type, and the switches its package receives.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
runtime=$(carried_product_code "$(carried_bits)")
agent='{7C51D2E8-93B4-4F6A-A1C0-5E2D9B7F3A64}'
folder="$WINEPREFIX/drive_c/Program Files (x86)/Common Files/Calyx/Calyx Update"
policy='HKLM\SOFTWARE\Calyxware\Calyx Update\Policy'
probe="$policy\\cxprobe"
steer='HKCU\Software\cxroffline-deploy-stand-in'
requests="$WINEPREFIX/drive_c/deploy-requests.txt"
baseline='config=deployment.expiration.check.enabled false'

value() { cx_wine reg query "$1" /v "$2" /reg:32 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }
agent_version() { value "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$agent" DisplayVersion; }
received() { value 'HKLM\SOFTWARE\Calyxware\Calyx Update\DemoAgent' Properties; }
schedule() { cx_wine "$build/bin/au_schedule.exe" | tr -d '\r'; }
fixture() {
    remove_product "$agent"
    cx_wine msiexec /i "$(cx_wine winepath -w "$build/packages/$1.msi")" /qn >/dev/null 2>&1 || fail "$1"
}
forget() {
    remove_product "$runtime"
    remove_product "$agent"
    cx_wine reg delete "$policy" /f /reg:32 >/dev/null 2>&1 || true
    cx_wine reg delete "$steer" /f >/dev/null 2>&1 || true
    rm -f "$requests"
}
# A silent install; $1 the agent result it must log, the rest switches.
install() {
    local result=$1; shift
    remove_product "$runtime"
    run_installer /s "$@"
    expect_code 0
    expect_log "Update agent install result: $result"
}
expect() { [ "$2" = "$3" ] || fail "$1: [$2], expected [$3]"; }
keep_runtime_file; rm -f "$runtime_file"; forget
trap 'forget; put_back_runtime_file' EXIT

# None: the carried agent, its programs, only the notification type.
install 0
expect_log "No Old AU Version found"
expect_log "Auto Update is enabled"
expect "agent version" "$(agent_version)" 2.8.451.10
for p in cxprobe cxtimer cxenrol; do [ -f "$folder/$p.exe" ] || fail "$p.exe not installed"; done
expect "notification" "$(value "$probe" NotifyDownload)/$(value "$probe" NotifyInstall)" 0x1/0x0
expect "schedule" "$(value "$probe" Frequency)" ""
[ ! -e "$lowdir/Tolvane/Calyx/AU" ] || fail "the agent package folder is left"

# Equal: refused, nothing changes.
install -2
expect_log "Found AU version in MSI: <2.8.451.10>"
expect_log "AU is not upgradeable - Installed version (2.8.451.10) >= the bundled version (2.8.451.10)."

# 2.7.0.5 owns a plain schedule that its removal deletes: kept, protected.
fixture agent_2_7_0_5
install 0
expect "agent version" "$(agent_version)" 2.8.451.10
cx_wine reg query "$probe" /v Frequency /reg:32 | grep -q REG_SZ || fail "schedule not stored protected"
expect "carried schedule" "$(schedule)" "frequency=516 hour=13 minute=42 notify=1/0"

# 2.8.451.9 reads the protected schedule and keeps it.
fixture agent_2_8_451_9
install 0
expect "kept schedule" "$(schedule)" "frequency=516 hour=13 minute=42 notify=1/0"

# Newer: refused; newer without cxenrol.exe: reinstalled.
fixture agent_3_0_0_1
install -2
expect_log "AU is not upgradeable - Installed version (3.0.0.1) >= the bundled version (2.8.451.10)."
rm "$folder/cxenrol.exe"
install 0
expect_log "WARNING: Expected AU executable C:\\Program Files (x86)\\Common Files\\Calyx\\Calyx Update\\cxenrol.exe not found."
expect "agent version" "$(agent_version)" 2.8.451.10

# Both notification values set: reset to notify before download.
fixture agent_2_8_451_9
cx_wine reg add "$probe" /v NotifyInstall /t REG_DWORD /d 1 /f /reg:32 >/dev/null
install 0
expect_log "getNotifyType failed: inconsistent data, reset to default"
expect "reset notification" "$(schedule)" "frequency=516 hour=13 minute=42 notify=1/0"

# The switches reach the package; automatic update off turns off the baseline check.
cx_wine reg add "$steer" /v RequestLog /d 'C:\deploy-requests.txt' /f >/dev/null
remove_product "$agent"
install 0 AUTO_UPDATE=Disable OEMUPDATE=Disable
expect_log "Auto Update is disabled via configuration settings"
expect "received" "$(received)" "OEMUPDATE=;DISABLE=1"
grep -qF "$baseline" "$requests" || fail "the baseline check was not turned off"
rm -f "$requests"
remove_product "$agent"
# The switches are kept in the runtime settings file: each run names both.
install 0 OEMUPDATE=Enable AUTO_UPDATE=Enable
expect "received" "$(received)" "OEMUPDATE=1;DISABLE="
[ ! -f "$requests" ] || ! grep -qF "$baseline" "$requests" || fail "baseline check turned off with automatic update on"
echo "update agent checks passed"
