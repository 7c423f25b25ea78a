#!/usr/bin/env bash
# Interactive runs (no /s): the progress page in the scripted stand-in
# control, the mailbox as another process sees it, and a progress page that
# does not load. A prefix of its own: the stand-in replaces a machine-wide
# class.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a bash "$0" "$@"
export WINEPREFIX="$1/interactive-wineprefix" CX_WINEPREFIX="$1/interactive-wineprefix"
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
agent='{7C51D2E8-93B4-4F6A-A1C0-5E2D9B7F3A64}'
work=$(mktemp -d)

"$repo/scripts/wine-prefix" fresh "$([ "$bits" = 32 ] && echo 32)"
"$repo/scripts/wine-prefix" server
trap '"$repo/scripts/wine-prefix" stop; rm -rf "$WINEPREFIX" "$work"' EXIT
winlog=$(cx_wine winepath -w "$log" | tr -d '\r')
export CX_STANDIN_SCRIPT CX_STANDIN_LOG="$winlog"
CX_STANDIN_SCRIPT=$(cx_wine winepath -w "$work/steps" | tr -d '\r')
# Welcome page, progress page loading as $1, error page.
steps() { printf 'complete\nexternal notify next\nend\n%s\nend\ncomplete\nexternal notify next\n' "$1" >"$work/steps"; }
steps complete

# The program path in the page URL keeps "#" and "%" from reading as a
# fragment or an escape.
odd='cx #1 100%'
mkdir -p "$WINEPREFIX/drive_c/$odd"
cp "$build/bin/cxroffline.exe" "$WINEPREFIX/drive_c/$odd/"

# The messages of this run's records, one a line: "<function>|<message>".
messages() {
    python3 - "$runlogfile" <<'PY'
import re, sys
text = open(sys.argv[1], newline="").read().replace("\r\n", "\n")
for m in re.finditer(r"^\[[^\n]*\(([^()\n]*)\)\]\n\t\w+: ([^\n]*)", text, re.M):
    print(m.group(1) + "|" + m.group(2))
PY
}

# The bar's values never fall, reach the page only while the controller
# runs, and (with $1 = complete) end with one 100 after the package's last
# post.
check_bar() {
    messages >"$work/messages"
    python3 - "$1" "$work/messages" <<'PY'
import sys
lines = open(sys.argv[2]).read().splitlines()
def last(prefix):
    found = [i for i, l in enumerate(lines) if l.startswith(prefix)]
    return found[-1] if found else None
bar = [(i, float(l.split("setProgress(")[1].rstrip(")"))) for i, l in enumerate(lines)
       if l.startswith("standin|eval setProgress(")]
stopped = last("ProgressController::stop|Progress bar stopped")
assert stopped is not None, "the controller never stopped"
evals = [i for i, l in enumerate(lines) if l.startswith("standin|eval")]
assert not evals or evals[-1] < stopped, "page called after the controller stopped"
values = [v for _, v in bar]
assert all(b >= a for a, b in zip(values, values[1:])), "the bar fell: %s" % values
if sys.argv[1] == "complete":
    posted = last("ProgressActions|Posting operation 7 state 2")
    assert posted is not None, "the package never finished its operations"
    assert values and values[-1] == 100 and values.count(100) == 1, "bar ends %s" % values[-3:]
    assert bar[-1][0] > posted, "100 came before the package's last post"
print("bar: %d values, last %s" % (len(values), values[-1] if values else "none"))
PY
}

# The watcher's records: operations 1-3 (the installer's), then 4-7 (the
# package's), then the empty record. The installer's last ones may last
# only a few milliseconds, so one of them is enough; the package holds each
# of its own for several polls.
check_watch() {
    python3 - "$work/watch" <<'PY'
import sys
records = [tuple(map(int, l.split()[1:])) for l in open(sys.argv[1]) if l.startswith("record ")]
ids = [i for i, s in records if s]
assert records and records[-1] == (0, 0), "no empty record at the end: %s" % records
assert ids == sorted(ids), "operations out of order: %s" % ids
assert set(ids) & {1, 2, 3} and {4, 5, 6, 7} <= set(ids) <= set(range(1, 8)), "seen: %s" % ids
assert records[-2] == (7, 2), "last posted record %s" % (records[-2],)
print("watcher: %s" % ids)
PY
}

clean_prefix() {
    remove_product "$product"
    remove_product "$agent"
    ! product_registered "$product" || fail "runtime left installed"
}

# name | installer | arguments | exit code | failed package runs | bar
scenarios=(
    "odd folder|C:\\$odd\\cxroffline.exe||0|0|complete"
    "failing package|$build/bin/cxroffline_failing.exe||1603|1|partial"
    "package asks for a reinstall|$build/bin/cxroffline_failing.exe|MSI_CMDLINE=CXSTATUS=reinstall|1603|2|partial"
)
register_standin_browser
for row in "${scenarios[@]}"; do
    IFS='|' read -r name installer args want failed bar <<<"$row"
    echo "== $name"
    watcher=
    if [ "$bar" = complete ]; then
        cx_wine "$build/bin/progress_bar_winbench.exe" watch 300 | tr -d '\r' >"$work/watch" &
        watcher=$!
    fi
    # shellcheck disable=SC2086
    run_installer $args
    expect_code "$want"
    expect_log "Navigate res://"
    runs=$(grep -c "(ExecCommand)\]" "$runlogfile" || true)
    [ "$runs" = "$failed" ] || fail "$runs failed package runs, expected $failed"
    check_bar "$bar"
    for call in "setErrorCode($want)" "setUpdate(0)"; do
        [ "$want" = 0 ] || grep -qxF "standin|eval $call" "$work/messages" || fail "error page lacks $call"
    done
    if [ -n "$watcher" ]; then
        expect_log "Navigate res://C:%5Ccx%20%231%20100%25%5Ccxroffline.exe/progress.html"
        product_registered "$product" || fail "runtime not installed"
        wait "$watcher" || fail "the watcher saw no end: $(cat "$work/watch")"
        check_watch
    fi
    clean_prefix
done

echo "== a progress page that does not load"
steps "error 404"
installer="$build/bin/cxroffline.exe"
run_installer
expect_code 0
product_registered "$product" || fail "runtime not installed without a page"
expect_log "DISPID_NAVIGATEERROR: "
expect_log "The progress page did not load; the install runs without it"
! grep -q "progress page calls failed" "$runlogfile" || fail "the bar called a page that did not load"
clean_prefix

echo "== no page can be shown: a box asks; Yes installs under a native bar, No ends as a cancel"
asked="standin|box Calyx Setup: The installer's pages cannot be shown on this computer."
printf 'refuse\nbox yes\nbox ok\n' >"$work/steps"
run_installer
expect_code 0
expect_outcome 0 installed && expect_log " ui=fallback "
expect_log "The progress window closed at 100%"
messages >"$work/messages"
grep -qxF "$asked" "$work/messages" && grep -qxF "standin|box Calyx Setup: Calyx has been installed. -> ok" "$work/messages" ||
    fail "boxes: $(grep 'standin|box' "$work/messages")"
product_registered "$product" || fail "runtime not installed without pages"
clean_prefix
# A first page that never completes is given up after the load bound.
printf 'box no\n' >"$work/steps"
run_installer
expect_code 0
expect_log "did not load within 30000 ms"
expect_log "The user declined the install without pages. Exit code: 0"
expect_outcome 0 cancelled
! product_registered "$product" || fail "installed after No"
unregister_standin_browser
echo "interactive installs hold"
