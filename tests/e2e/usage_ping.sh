#!/usr/bin/env bash
# The usage ping of silent runs against the stand-in receiver (via
# http_proxy): the document, the metrics over runs, what holds a ping back,
# OEM removal of the metrics, and a receiver that never answers.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
stub="$build/netstub-ping"
good=$installer
failing="$build/bin/cxroffline_failing.exe"
vendor='HKLM\Software\Calyxware'
metrics='HKLM\Software\CxrMetrics'
forget_metrics() { cx_wine reg delete "$metrics" /f /reg:32 >/dev/null 2>&1 || true; }
forget_country() { cx_wine reg delete "$vendor\Calyx Update\Policy" /v Country /f /reg:32 >/dev/null 2>&1 || true; }
keep_runtime_file
trap 'put_back_runtime_file; remove_product "$product"; forget_metrics; forget_country; "$repo/tests/netstub/netstub" stop "$stub"
      cx_wine reg delete "$vendor" /v InstallerXmlURL /f /reg:"$bits" >/dev/null 2>&1 || true' EXIT
"$repo/tests/netstub/netstub" start "$stub"
export http_proxy="http://127.0.0.1:$(cat "$stub/port")"
cx_wine reg add "$vendor" /v InstallerXmlURL /d "http://options.calyx.example/o.xml" /f /reg:"$bits" >/dev/null
forget_metrics

# run <program> <expected code> args...: one silent run on a machine without the product.
run() { remove_product "$product"; : >"$stub/requests.jsonl"; installer=$1; run_installer /s "${@:3}"; expect_code "$2"; }

# sent none | sent [element=value ...]: no ping, or exactly one whole document with those values.
sent() {
    python3 - "$stub/requests.jsonl" "$bits" "$@" <<'PY' || fail "ping: $*"
import json, sys, xml.etree.ElementTree as ET
posts = [r for r in map(json.loads, open(sys.argv[1])) if r["method"] == "POST"]
if sys.argv[3:] == ["none"]:
    sys.exit("a ping was sent" if posts else 0)
assert len(posts) == 1, "%d pings" % len(posts)
post = posts[0]
assert post["url"].startswith("http://metrics.calyx.example/b/"), post["url"]
assert post["headers"].get("User-Agent") == "cxupdate", post["headers"]
assert not post["body"].endswith("\0"), "terminating zero sent"
root = ET.fromstring(post["body"].encode("latin-1"))
previous = "evar33" if sys.argv[2] == "32" else "evar34"
order = ("sc_xml_ver reportsuiteid visitorid prop21 prop20 pagename evar42 evar24 evar25 evar2 evar15 evar40 "
         "evar26 evar27 evar28 evar4 evar5 evar6 evar7 evar8 events evar17 evar18 evar19 evar29 evar30 evar31 "
         + previous + " evar43 evar50 products").split()
assert root.tag == "request" and [e.tag for e in root] == order, [e.tag for e in root]
for name, value in (a.split("=", 1) for a in sys.argv[3:]):
    assert (root.find(name).text or "") == value, "%s: %r, expected %r" % (name, root.find(name).text, value)
PY
}

metrics_now() { cx_wine reg query "$metrics" /reg:32 2>/dev/null | tr -d '\r' | grep REG_ | sort || true; }
no_status() { ! cx_wine reg query "$vendor" /v InstallStatus /reg:"$bits" >/dev/null 2>&1 || fail "InstallStatus kept"; }

run "$failing" 1603
sent evar17=1 evar18=ZZ evar19=0 reportsuiteid=testsuite prop20=stagingkeyword evar2=1.8.0_451-b10 \
    evar42=YY evar24=0 evar26=-99 evar30=-1 evar31="${bits}bit" evar43=0 "products=;cxr|1603~${bits}bit"
expect_log 'Ping Values: $sc_xml_ver#1.0$reportsuiteid#testsuite$'
expect_log '$prop20#$pagename#ic$'
! grep -q stagingkeyword <<<"$runlog" || fail "the access token reached the log"
run "$failing" 1603
sent evar17=2 evar18=ZZ
run "$good" 0
sent evar17=3 evar18=false evar19=1 "products=;cxr|0~${bits}bit"
! cx_wine reg query "$metrics" /v InstallAttempts /reg:32 >/dev/null 2>&1 || fail "InstallAttempts kept"
cx_wine reg query "$metrics" /v CxrVersion /reg:32 | grep -q '1.8.0_451-b10' || fail "CxrVersion not stored"

before=$(metrics_now)
run "$good" 0 WEB_ANALYTICS=Disable
sent none
expect_log "Pings disabled."
[ "$(metrics_now)" = "$before" ] || fail "metrics changed without pings"
put_runtime_file ''  # the switch was kept in the runtime settings file

run "$failing" 1603 MSI_CMDLINE=CXSTATUS=reinstall
sent none
expect_log "No pings: reinstall"
no_status
[ "$(metrics_now)" = "$before" ] || fail "metrics changed by a reinstall"
run "$failing" 1603 MSI_CMDLINE=CXSTATUS=decline
sent none
expect_log "No pings: decline"
no_status
run "$failing" 1603 MSI_CMDLINE=CXSTATUS=exists
sent "products=;cxr|-128~${bits}bit"
! cx_wine reg query "$metrics" /v InstallAttempts /reg:32 >/dev/null 2>&1 || fail "-128 kept InstallAttempts"

# German names the receiver that never answers.
run "$good" 0 /lang=1031
sent
grep -A1 -F '(SendHeadRequest)]' <<<"$runlog" | grep -q 'ERROR: Exception with message' || fail "hang not caught"
expect_log "Wrapper exit code: 0"

# The agent's values are read and written where the agent keeps them, the
# 32-bit view, by either build: the country given, its OEM mark, its visitor id.
policy="$vendor\Calyx Update\Policy" visitor=0123456789abcdef-stored
cx_wine reg add "$vendor" /v OEMUPDATE /t REG_DWORD /d 1 /f /reg:32 >/dev/null
cx_wine reg add "$policy" /v VisitorId /d "$visitor" /f /reg:32 >/dev/null
run "$good" 0 COUNTRYOVERRIDE=SE
cx_wine reg delete "$vendor" /v OEMUPDATE /f /reg:32 >/dev/null
sent evar8=SE evar43=1 visitorid="$visitor"
! cx_wine reg query "$policy" /v VisitorId /reg:32 >/dev/null 2>&1 || fail "visitor id kept after the run"
put_runtime_file ''

run "$good" 0 OEMUPDATE=Enable
sent evar43=1
expect_log "RemoveCxrMetrics() - CxrMetrics key successfully removed"
[ -z "$(metrics_now)" ] || fail "metrics kept on an OEM machine"
