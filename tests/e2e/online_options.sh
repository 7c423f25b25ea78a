#!/usr/bin/env bash
# Step 24 with the stand-in server as the vendor's hosts (via http_proxy):
# document, country lookup and banner; a bad banner is deleted; English asks
# for no banner; a silent options server does not stop the install.
source "$(dirname "$0")/lib.bash"
product=$(carried_product_code "$(carried_bits)")
stub="$build/netstub-e2e"
banner="$lowdir/Orvel/Calyx/cxr1.8.0_451/CalyxPromoBanner.png"
vendor='HKLM\Software\Calyxware'
policy='HKLM\Software\Calyxware\Calyx Update\Policy'
forget_country() { cx_wine reg delete "$policy" /v Country /f /reg:32 >/dev/null 2>&1 || true; }
trap 'remove_product "$product"; forget_country; rm -f "$banner"; "$repo/tests/netstub/netstub" stop "$stub"
      cx_wine reg delete "$vendor" /v InstallerXmlURL /f /reg:"$(carried_bits)" >/dev/null 2>&1 || true' EXIT
"$repo/tests/netstub/netstub" start "$stub"
export http_proxy="http://127.0.0.1:$(cat "$stub/port")"

# run <options path> args...: one silent install with that options document.
run() {
    remove_product "$product"; forget_country
    cx_wine reg add "$vendor" /v InstallerXmlURL /d "http://options.calyx.example$1" /f /reg:"$(carried_bits)" >/dev/null
    : >"$stub/requests.jsonl"
    run_installer /s "${@:2}"; expect_code 0
}

# requested <METHOD> <url> [agent]: the stand-in saw that request.
requested() {
    grep -F "\"method\": \"$1\", \"url\": \"$2\"" "$stub/requests.jsonl" |
        grep -qF "\"User-Agent\": \"${3:-}" || fail "no request: $*"
}

run /o.xml /lang=1041
requested GET http://options.calyx.example/o.xml
requested HEAD http://www.calyx.example/geo cxprobe
requested GET http://dl.calyx.example/promo/CalyxPromoBanner_ja.png
cx_wine reg query "$policy" /v Country /reg:32 | grep -q 'JP' || fail "Country not stored"
cmp -s "$banner" "$repo/resources/promo/CalyxPromoBanner.png" || fail "banner not kept"

run /o.xml /lang=1042
requested GET http://dl.calyx.example/promo/CalyxPromoBanner_ko.png
expect_log "Checksum verification for"
[ ! -e "$banner" ] || fail "a banner with the wrong digest was kept"

run /o.xml /lang=1033
requested GET http://options.calyx.example/o.xml
! grep -q 'CalyxPromoBanner' "$stub/requests.jsonl" || fail "English asked for a banner"

run /o-hang.xml
