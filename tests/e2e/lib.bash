# Helpers for end-to-end checks of the real executable under Wine.
# Sourced by the scripts beside it; $1 of the script is the build folder.
set -euo pipefail
# A proxy inherited from the caller would send the installer's requests away;
# scripts that want the stand-in server name it themselves.
unset http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY
build=$1
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$repo/scripts/wine.bash"
export WINEPREFIX="${WINEPREFIX:-$repo/build/wineprefix}"
installer="$build/bin/cxroffline.exe"
cxrun="$build/bin/cxrun.exe"
log="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Temp/cxtimer.log"

user=${USER:-$(id -un)}
lowdir="$WINEPREFIX/drive_c/users/$user/AppData/LocalLow"

# 32 or 64: the carried package's architecture in this build.
carried_bits() {
    case "$build" in *x64*) echo 64 ;; *) echo 32 ;; esac
}

carried_product_code() {
    echo "{8B3F1D62-E57A-41B8-A2C6-7D${1}180451F0}"
}

# The default installation folder, as a Linux path.
default_home() {
    if [ "$1" = 64 ]; then
        echo "$WINEPREFIX/drive_c/Program Files/Calyx/cxr1.8.0_451"
    else
        echo "$WINEPREFIX/drive_c/Program Files (x86)/Calyx/cxr1.8.0_451"
    fi
}

product_registered() {
    cx_wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$1" \
        /reg:"$(carried_bits)" >/dev/null 2>&1
}

remove_product() {
    cx_wine msiexec /x "$1" /qn >/dev/null 2>&1 || true
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# run_installer args...: sets $code to the whole exit code and $runlog to the
# log records this run appended.
run_installer() {
    local before=0
    [ -f "$log" ] && before=$(stat -c %s "$log")
    code=$(cx_wine "$cxrun" "$installer" "$@" | tr -d '\r' | sed -n 's/^exit code: //p')
    [ -n "$code" ] || fail "installer did not start"
    runlogfile=$(mktemp)
    tail -c +$((before + 1)) "$log" >"$runlogfile" 2>/dev/null || true
    runlog=$(cat "$runlogfile")
}

expect_code() { [ "$code" = "$1" ] || fail "exit code $code, expected $1"; }

expect_log() {
    grep -qF -- "$1" <<<"$runlog" || { echo "$runlog" | tr -d '\r' | tail -40 >&2; fail "log lacks: $1"; }
}

# Every record: a header line and a tab-indented level line, CR LF ends.
expect_well_formed_log() {
    python3 - "$runlogfile" <<'PY'
import re, sys
text = open(sys.argv[1], newline="").read()
assert text, "empty log"
assert text.endswith("\r\n"), "records must end with CR LF"
lines = text.split("\r\n")[:-1]
head = re.compile(r"^\[\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\d{3}, [^ ]+ \(PID: \d+, TID: \d+\), [^:]+:\d+ \([^)]*\)\]$")
body = re.compile(r"^\t(TRACE|INFO|WARNING|ERROR): ")
i = 0
records = 0
while i < len(lines):
    assert head.match(lines[i]), "bad header: %r" % lines[i]
    assert i + 1 < len(lines) and body.match(lines[i + 1]), "bad body after %r" % lines[i]
    i += 2
    records += 1
    # a message with line breaks continues unindented until the next header
    while i < len(lines) and not lines[i].startswith("["):
        i += 1
print("%d well-formed records" % records)
PY
}

# The WebBrowser control's in-process server, in the classes of the
# installer's architecture.
webbrowser_server_key='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'

# Makes the scripted stand-in (standin_webbrowser.dll) the WebBrowser control
# of this build's installer in $WINEPREFIX. It plays the steps of the file
# named by CX_STANDIN_SCRIPT and writes its calls as records of the function
# "standin" to the file named by CX_STANDIN_LOG (Windows paths, both read by
# the installer's process). unregister_standin_browser puts back the server
# that was there.
register_standin_browser() {
    local dll
    dll=$(cx_wine winepath -w "$build/bin/standin_webbrowser.dll" | tr -d '\r')
    webbrowser_saved_server=$(cx_wine reg query "$webbrowser_server_key" /ve /reg:"$(carried_bits)" |
        tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p')
    cx_wine reg add "$webbrowser_server_key" /ve /d "$dll" /f /reg:"$(carried_bits)" >/dev/null
    cx_wine reg add "$webbrowser_server_key" /v ThreadingModel /d Apartment /f \
        /reg:"$(carried_bits)" >/dev/null
}

unregister_standin_browser() {
    if [ -n "${webbrowser_saved_server:-}" ]; then
        cx_wine reg add "$webbrowser_server_key" /ve /d "$webbrowser_saved_server" /f \
            /reg:"$(carried_bits)" >/dev/null
    else
        cx_wine reg delete "$webbrowser_server_key" /va /f /reg:"$(carried_bits)" >/dev/null 2>&1 || true
    fi
}

state_export="$WINEPREFIX/drive_c/cx_e2e_state.reg"
# The registry and files, but for the temporary folders and tests' own tree.
machine_state() {
    local key
    for key in 'HKLM\Software' 'HKCU\Software'; do
        cx_wine reg export "$key" 'C:\cx_e2e_state.reg' /y >/dev/null || fail "reg export $key"
        iconv -f UTF-16 -t UTF-8 "$state_export" | tr -d '\r' | awk '/^\[/ { skip = /cxroffline-tests/ } !skip'
    done
    find "$WINEPREFIX/drive_c" \( -path '*/Temp' -o -name cx_e2e_state.reg \) -prune -o \
        -printf '%P %s %T@\n' | sort
}

# expect_outcome code reason: the run's last record is the outcome line.
expect_outcome() {
    python3 - "$runlogfile" "$1" "$2" <<'PY'
import re, sys
last = re.split(r"\r\n(?=\[)", open(sys.argv[1], newline="").read().rstrip("\r\n"))[-1]
m = re.fullmatch(r"[^\r]*\r\n\tINFO: Outcome: exit=(-?\d+) reason=([a-z-]+) product=\S+ version=\S+ "
                 r"lang=\d+ transform=(yes|no) removed=\d+ agent=-?\d+ restart=(none|required) ui=(-|pages|passive|silent|fallback) ms=\d+", last)
assert m and m.group(1, 2) == tuple(sys.argv[2:4]), "last record: %r" % last
PY
}
