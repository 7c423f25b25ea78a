#!/usr/bin/env bash
# The install flag: a run refuses while another installer holds it, and a
# flag left behind by a crashed run does not block the next one. The run
# that installs writes the scheduler's start-up entry quoted, as the
# scheduler is there.
source "$(dirname "$0")/lib.bash"
product=$(carried_product_code "$(carried_bits)")
remove_product "$product"
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
scheduler_dir="$WINEPREFIX/drive_c/Program Files (x86)/Common Files/Calyx/Calyx Update"
forget_scheduler() {
    cx_wine reg delete "$run_key" /v OrvelCalyxUpdateSched /f /reg:32 >/dev/null 2>&1 || true
    rm -rf "$scheduler_dir"
}
forget_scheduler
trap 'remove_product "$product"; forget_scheduler' EXIT
flagdir="$lowdir/Tolvane/Calyx"
lowdir_win='C:\users\'"$user"'\AppData\LocalLow'

# Held by another process: refused with -1 and nothing installed.
marker="$WINEPREFIX/drive_c/cxflag-held"
rm -f "$marker"
# The loader itself in the background, so that $! is the process to kill.
"$(cx_wine_loader "$build/bin/windows_tests.exe")" "$build/bin/windows_tests.exe" --cx-child holdInstallFlagFor "$lowdir_win" 'C:\cxflag-held' 40 &
holder=$!
for _ in $(seq 1 100); do [ -f "$marker" ] && break; sleep 0.2; done
[ -f "$marker" ] || fail "the holder never took the flag"
run_installer /s
expect_code -1
expect_log "Another Calyx installation is in progress. You must complete that installation before you can run this installer."
product_registered "$product" && fail "installed while another installation was in progress"
# The development-kit installer's run neither checks nor takes the flag.
run_installer /s LAUNCHEDFROMCXS=1
expect_code 0
product_registered "$product" || fail "LAUNCHEDFROMCXS did not install beside a held flag"
remove_product "$product"
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
rm -f "$marker"

# Left behind by a crashed run: removed, and the run installs.
mkdir -p "$flagdir"
echo stale >"$flagdir/CALYX_INSTALL_FLAG"
mkdir -p "$scheduler_dir"
echo MZ >"$scheduler_dir/cxtimer.exe"
run_installer /s
expect_code 0
[ ! -e "$flagdir/CALYX_INSTALL_FLAG" ] || fail "flag file left after the run"
entry=$(cx_wine reg query "$run_key" /v OrvelCalyxUpdateSched /reg:32 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$entry" = '"C:\Program Files (x86)\Common Files\Calyx\Calyx Update\cxtimer.exe"' ] \
    || fail "scheduler start-up entry after a run without OEMUPDATE: [$entry]"
echo "flag checks passed"
