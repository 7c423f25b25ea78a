#!/usr/bin/env bash
# Bad switches and a bad install configuration file stop a silent run with
# -80; the log names every bad argument in one message, and the line of the
# file. Nothing is written to the runtime settings file.
source "$(dirname "$0")/lib.bash"
source "$(dirname "$0")/runtime_settings.bash"
keep_runtime_file
before=$(mktemp)
trap 'put_back_runtime_file; rm -f "$before"' EXIT

put_runtime_file $'# written by hand\r\nAUTO_UPDATE=Enable\r\n'
cp "$runtime_file" "$before"

run_installer /s INSTALL_SILENT=yes
expect_code -80
expect_log 'There are errors in the following switches:'
expect_log '"INSTALL_SILENT=yes";.'
expect_log 'Error occurred while loading configuration settings. Exiting installer.'

run_installer /s /bogus 'EULA=enable' '/s=1' STATIC=Enable
expect_code -80
expect_log '"/bogus";"EULA=enable";"/s=1";.'
expect_log 'arg /bogus is not supported'

run_installer /s /qn /l
expect_code -80
expect_log 'arg /l is incorrect'
expect_log '"/l";.'

run_installer /s 'USAGETRACKER_CFG=C:\tracker.cfg'
expect_code -80
expect_log 'The param is not supported.'
expect_log '"USAGETRACKER_CFG";.'

run_installer /s 'INSTALLDIR=relative\folder'
expect_code -80
expect_log '"INSTALLDIR=relative\folder";.'

temp_config cx_e2e_line7.cfg $'# e2e\nSTATIC=Enable\n\nAUTO_UPDATE=Disable\n   # note\nEULA=1\nWEB_CALYX=maybe\n'
run_installer /s "INSTALLCFG=$winpath"
expect_code -80
expect_log "Configuration file $winpath is malformed in line 7."
expect_log 'Install Configuration file import failed with 313'

run_installer /s TEST_CONFIG_FILE_ERRORS=313 /lang=9999
expect_code 0
expect_log 'unsupported locale langId: 9999'
expect_log 'TEST_CONFIG_FILE_ERRORS enabled.'
expect_log 'Show error 313'
expect_log 'Configuration file <path_to_config_file> is malformed in line <line number>.'

cmp -s "$runtime_file" "$before" || fail "runtime settings file changed: $(cat "$runtime_file")"

rm -f "$runtime_file"
run_installer /s INSTALL_SILENT=yes AUTO_UPDATE=Disable
expect_code -80
[ ! -f "$runtime_file" ] || fail "runtime settings file written by a refused run"
echo "bad input refused, runtime settings file untouched"
