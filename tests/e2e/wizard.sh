#!/usr/bin/env bash
# The wizard pages of interactive runs on the scripted stand-in control, in a
# prefix of its own: the stand-in replaces a machine-wide class.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"
export WINEPREFIX="$1/wizard-wineprefix" CX_WINEPREFIX="$1/wizard-wineprefix"
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
work=$(mktemp -d)
"$repo/scripts/wine-prefix" fresh "$([ "$bits" = 32 ] && echo 32)"
"$repo/scripts/wine-prefix" server
stub="$work/netstub" vendor='HKLM\Software\Calyxware' steer='HKCU\Software\cxroffline-deploy-stand-in'
trap '"$repo/tests/netstub/netstub" stop "$stub"; "$repo/scripts/wine-prefix" stop; rm -rf "$WINEPREFIX" "$work"' EXIT
# Baselines, options and pings from the stand-in server.
"$repo/tests/netstub/netstub" start "$stub"
export http_proxy="http://127.0.0.1:$(cat "$stub/port")"
cx_wine reg add "$vendor" /v BaselinesXmlURL /d "$http_proxy/cxr/current.xml" /f /reg:"$bits" >/dev/null
cx_wine reg add "$vendor" /v InstallerXmlURL /d "http://options.calyx.example/o.xml" /f /reg:"$bits" >/dev/null
export CX_STANDIN_LOG CX_STANDIN_SCRIPT
CX_STANDIN_LOG=$(cx_wine winepath -w "$log" | tr -d '\r')
CX_STANDIN_SCRIPT=$(cx_wine winepath -w "$work/steps" | tr -d '\r')
register_standin_browser
pf='C:\\Program Files (x86)' extracted="$lowdir/Tolvane/Calyx/cxr1.8.0_451"
[ "$bits" = 64 ] && pf='C:\\Program Files' extracted+=_x64

play() { printf '%b\n' "$@" >"$work/steps"; }
# The stand-in's records of this run: loads, calls, events and boxes.
trace() { tr -d '\r' <"$runlogfile" | awk '/\(standin\)\]$/ { getline; sub(/^\t[A-Z]+: /, ""); print }'; }
evals() { trace | sed -n 's/^eval //p'; }
expect_evals() { [ "$(evals | head -n "$(wc -l <<<"$1")")" = "$1" ] || { evals >&2; fail "calls differ from: $1"; }; }
nothing_installed() { ! product_registered "$product" && [ ! -e "$lowdir/Tolvane/Calyx/CALYX_INSTALL_FLAG" ] &&
    [ ! -d "$extracted" ] || fail "installed, or the install flag or extraction folder left"; }

echo "== page switches, then one in a silent run"
next='complete\nexternal notify next'
for row in "TEST_WELCOME_DIALOG|$next|showChangeFolder(1)~setChangeFolder(0)" \
    "TEST_CHANGE_DIALOG|$next|showBackButton(1)~setFolder('$pf\\\\Calyx\\\\cxr1.8.0_451');" \
    "TEST_FINAL_DIALOG|$next|showBackButton(1)~showSecurity(1)~showRestartBrowser(0)~setRestartBrowser(1)~showVerify(1)~selectSponsor('')" \
    "TEST_PROGRESS_DIALOG|complete|setProgress(0)~setProgress(1)"; do
    IFS='|' read -r switch steps calls <<<"$row"
    play "$steps"
    run_installer "$switch=1"
    expect_code 0
    expect_evals "$(tr '~' '\n' <<<"$calls")"
    nothing_installed
done
[ "$(evals | tail -n 1)" = "setProgress(100)" ] || fail "the sweep did not reach 100"
run_installer /s TEST_WELCOME_DIALOG=1
expect_code 0
expect_log "Test switch TEST_WELCOME_DIALOG: no page in a silent run"
[ -z "$(trace)" ] || fail "a page in a silent run"

echo "== cancel: No keeps the page, Yes ends the run"
cancel='complete\nbox no\nexternal notify cancel\nbox yes\nexternal notify cancel'
to_folder='complete\nexternal notify changeFolder 1\nexternal notify next\nend'
for row in "$cancel||Welcome" "$to_folder\n$cancel||Change Folder" "$cancel|LAUNCHEDFROMCXS=1|Change Folder"; do
    IFS='|' read -r steps switch page <<<"$row"
    play "$steps"
    run_installer $switch
    expect_code 0
    [ "$(trace | grep -oE -- '-> (yes|no)$' | tr '\n' ' ')" = "-> no -> yes " ] || fail "boxes: $(trace | grep box)"
    expect_log "The user cancelled from $page dialog. Exit code: 0" && expect_log "Outcome: exit=0 reason=cancelled "
    ! grep -qF "Wrapper exit code" <<<"$runlog" || fail "the common end ran after a cancel"
    pinged=no; grep -qF '(SendHeadRequest)' <<<"$runlog" && pinged=yes
    [ "$pinged" = "$([ "$page" = Welcome ] && echo no || echo yes)" ] || fail "ping after a cancel on $page: $pinged"
    nothing_installed
done
[ "$(evals | head -n 1)" = "showBackButton(0)" ] || fail "LAUNCHEDFROMCXS: $(evals | head -n 1)"

echo "== a link swapped in while the welcome page shows: the cancel's clean-up does not follow it"
mkdir -p "$work/victim/${extracted##*/}" && echo v >"$work/victim/${extracted##*/}/keep.txt"
play "complete\nwait $(cx_wine winepath -w "$work/go" | tr -d '\r')\nbox yes\nexternal notify cancel"
start=$(stat -c %s "$log")
(run_installer && echo "$code" >"$work/code") &
for _ in $(seq 600); do tail -c +"$start" "$log" | grep -q 'Navigate res://' && break; sleep 0.1; done
mv "$lowdir/Tolvane/Calyx" "$work/moved" && ln -s "$work/victim" "$lowdir/Tolvane/Calyx" && touch "$work/go"
wait
[ "$(cat "$work/code")" = 0 ] && [ -f "$work/victim/${extracted##*/}/keep.txt" ] || fail "the clean-up followed the link"
rm -r "$lowdir/Tolvane/Calyx" "$work/moved/${extracted##*/}" && mv "$work/moved" "$lowdir/Tolvane/Calyx"

echo "== welcome, folder, back, welcome, folder, next"
play "$to_folder" 'complete\nexternal notify back\nend' 'complete\nexternal notify next\nend' "$next\nend" 'complete\nend' "$next"
run_installer "INSTALLDIR=C:\\It's Calyx"
expect_code 0
folder="setFolder('C:\\\\It\\'s Calyx');"
expect_evals "$(printf '%s\n' 'showChangeFolder(1)' 'setChangeFolder(0)' 'showBackButton(1)' "$folder" \
    'showChangeFolder(1)' 'setChangeFolder(1)' 'showBackButton(1)' "$folder")"
[ -f "$WINEPREFIX/drive_c/It's Calyx/bin/calyx.exe" ] || fail "not installed into C:\\It's Calyx"
remove_product "$product"

echo "== removal pages and final panes"
for f in scrub_old_update scrub_old_family; do
    cx_wine msiexec /i "$(cx_wine winepath -w "$build/packages/$f.msi")" /qn >/dev/null 2>&1 || fail "$f"
done
requests="$work/deploy-requests.txt" name64=$([ "$bits" = 64 ] && echo " (64-bit)" || true)
for value in PluginStatus:0 PreviousDecisionsExist:1; do
    cx_wine reg add "$steer" /v "${value%:*}" /t REG_DWORD /d "${value#*:}" /f >/dev/null
done
cx_wine reg add "$steer" /v RequestLog /d "$(cx_wine winepath -w "$requests" | tr -d '\r')" /f >/dev/null
panes() { grep -oE 'ShowDialogs: pane index is [0-9]+' <<<"$runlog" | grep -oE '[0-9]+$' | tr '\n' ' '; }
# Later on the offer; plug-in, restore (unticked), complete, back to restore, complete.
play "$next\nend" 'complete\nend' 'complete\nexternal notify cancel\nend' "$next\nend" \
    'complete\nexternal notify restoreSecurity 0\nexternal notify next\nend' 'complete\nexternal notify back\nend' "$next\nend" "$next"
run_installer
expect_code 0
expect_log "Calyx Removal Tool ping: uncxr~-20~1.6.0_45:$bits;uncxr~-20~1.8.0_401:$bits;uninstaller~ua101;"
[ "$(panes)" = "0 1 2 1 2 " ] || fail "panes: $(panes)"
[ "$(grep -oE 'kind=[1-4]' "$requests" | tr '\n' ' ')" = "kind=1 kind=2 kind=4 " ] || fail "deploy requests: $(cat "$requests")"
evals | grep -qxF 'setRestoreCheckbox(0)' || fail "the restore box came back ticked"
remove_product "$product"
# The versions page with the first box unticked, back, uninstall; every
# status call fails; the summary; the complete page alone.
cx_wine reg delete "$steer" /f >/dev/null
play "$next\nend" 'complete\nend' 'complete\nexternal notify a manageListLink\nend' \
    'complete\nexternal notify checkbox_clicked 01\nexternal notify cancel\nend' "$next\nend" 'fail setStatus\ncomplete\nend' \
    'complete\nexternal notify a viewListLink\nend' "$next\nend" "$next"
run_installer
expect_code 0
expect_log "(cxscrub::CalyxScrubSequence::pageStep)]" && expect_log " removed=1 "
expect_log "Calyx Removal Tool ping: uncxr~-20~1.6.0_45:$bits;uncxr~1~1.8.0_401:$bits;uninstaller~ua500;"
for call in "updateListItems('11');" "addListItem('uninstalledList', 'Calyx 8 Update 401$name64');" \
    "addListItem('remainingList', 'Calyx(TM) 6 Update 45$name64');"; do
    evals | grep -qxF "$call" || fail "no call $call"
done
[ "$(panes)" = "0 " ] || fail "panes without the library's answers: $(panes)"
remove_product "$product"

echo "== a deployment rule set: its page lists the versions, nothing is removed"
drs="$WINEPREFIX/drive_c/windows/Orvel/Calyx/Deployment/DeploymentRuleSet.cxa"
mkdir -p "$(dirname "$drs")" && : >"$drs"
play "$next\nend" 'complete\nend' "$next\nend" "$next"
run_installer
expect_code 0
expect_log "Calyx Removal Tool ping: uninstaller~ua102;"
evals | grep -qxF "addListItem('Calyx(TM) 6 Update 45$name64');" || fail "rule-set page calls: $(evals)"
rm -f "$drs" && remove_product "$product"

unregister_standin_browser
