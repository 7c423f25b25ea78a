#!/usr/bin/env bash
# What deployment tools rely on: /validate reports the effective settings and
# changes nothing; every run ends with one outcome record; a silent install
# waits for an installer service busy with another installation.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
keep_runtime_file
flag="$WINEPREFIX/drive_c/cx_e2e_service_held"
fixture="{5E1F7A00-0C4B-4D2E-9A11-7E57000001$(carried_bits)}"
out=$(mktemp)
cfg="$WINEPREFIX/drive_c/users/$user/Temp/cx_e2e_admin.cfg"
trap 'put_back_runtime_file; rm -f "$flag" "$state_export" "$out" "$out.before" "$cfg"; remove_product "$fixture"' EXIT

# A runtime file that repeats a default is still where the value came from.
put_runtime_file $'SPONSORS=Enable\r\n'
temp_config cx_e2e_admin.cfg $'STATIC=Enable\n'
machine_state >"$out.before"
run_installer /validate "INSTALLCFG=$winpath" AUTO_UPDATE=Disable
expect_code 0
expect_outcome 0 validate
cx_wine "$installer" /validate "INSTALLCFG=$winpath" AUTO_UPDATE=Disable | tr -d '\r' >"$out"
for line in $'EULA=Disable\t(defaults)' $'SPONSORS=Enable\t(runtime settings file)' \
    $'STATIC=Enable\t(install configuration file)' $'AUTO_UPDATE=Disable\t(command line)' \
    'Configuration is valid.'; do
    grep -qxF "$line" "$out" || fail "validate printed no '$line': $(cat "$out")"
done
run_installer /VALIDATE INSTALL_SILENT=yes
expect_code -80
expect_log 'ERROR 3090: Unable to install Calyx There are errors in the following switches: "INSTALL_SILENT=yes";.'
diff "$out.before" <(machine_state) >&2 || fail "a validate run changed the machine"

run_installer /s INSTALL_SILENT=yes
expect_outcome -80 config-error
installer="$build/bin/cxroffline_failing.exe" run_installer /s
expect_outcome 1603 package-failed

# The stand-in service is busy until the flag goes; the install then runs.
touch "$flag"
start=$(stat -c %s "$log")
cx_wine "$cxrun" "$build/bin/busy_install.exe" "$build/packages/fixture_good.msi" \
    'C:\cx_e2e_service_held' >"$out" &
for _ in $(seq 300); do
    tail -c +$((start + 1)) "$log" | grep -q 'trying again in 5 s (waited 5 s' && break
    sleep 0.2
done
rm -f "$flag"
wait $!
grep -q '^exit code: 0' "$out" || fail "busy install: $(cat "$out")"
runlog=$(tail -c +$((start + 1)) "$log")
expect_log 'The installer service is busy with another installation; trying again in 5 s (waited 0 s of 120 s)'
product_registered "$fixture" || fail "fixture not installed after the wait"
