#!/usr/bin/env bash
# A failed install puts the runtime settings file back with the keys and
# values it had, or removes it when there was none.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
installer="$build/bin/cxroffline_failing.exe"
keep_runtime_file
trap put_back_runtime_file EXIT

put_runtime_file $'EULA=1\nAUTO_UPDATE=Enable\n'
before=$(runtime_entries)
run_installer /s AUTO_UPDATE=Disable SPONSORS=Disable
expect_code 1603
expect_log 'Writing to the runtime config file.'
expect_log '...Restoring config settings'
[ "$(runtime_entries)" = "$before" ] || fail "runtime settings file holds: $(runtime_entries)"

rm -f "$runtime_file"
run_installer /s AUTO_UPDATE=Disable
expect_code 1603
expect_log 'Writing to the runtime config file.'
[ ! -f "$runtime_file" ] || fail "runtime settings file left by a failed install"
echo "runtime settings file restored after failed installs"
