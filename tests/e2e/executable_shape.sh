#!/usr/bin/env bash
# The installer is a GUI program that asks for administrator rights and
# common controls 6, is DPI-aware from its start, carries its icon, and imports at start only KnownDLLs, which Windows never
# takes from the executable's folder (the rest are delay-loaded), and keeps
# its debug information in a separate file.
source "$(dirname "$0")/lib.bash"
case "$build" in
    *x64*) objdump=x86_64-w64-mingw32-objdump; kind="PE32+ executable (GUI) x86-64" ;;
    *) objdump=i686-w64-mingw32-objdump; kind="PE32 executable (GUI) Intel 80386" ;;
esac
file "$installer" | grep -qF "$kind" || fail "not a $kind: $(file "$installer")"
allowed=" advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll gdi32.dll "
while read -r dll; do
    [[ $allowed == *" ${dll,,} "* ]] || fail "imports $dll at start, which is not a KnownDLL"
done < <("$objdump" -p "$installer" | sed -n 's/.*DLL Name: //p')
# What users get carries no debug information; it lies beside it, linked.
! "$objdump" -h "$installer" | grep -q ' \.debug_' || fail "debug sections in the shipped executable"
"$objdump" -h "$installer.debug" | grep -q ' \.debug_info' || fail "no debug information in $installer.debug"
link=$(mktemp)
"${objdump%objdump}objcopy" --dump-section .gnu_debuglink="$link" "$installer" "$link.exe"
grep -qa '^cxroffline.exe.debug' "$link" || fail "no link to the debug file"
rm -f "$link" "$link.exe"
manifest=$(strings "$installer")
grep -q 'level="requireAdministrator"' <<<"$manifest" || fail "manifest lacks requireAdministrator"
grep -q 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$manifest" || fail "manifest lacks common controls 6"
grep -q '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' <<<"$manifest" ||
    fail "manifest declares no DPI awareness"
[ "$("$objdump" -p "$installer" | grep -cE '^0[0-9a-f]+   Entry: ID: 0x00000e,')" = 1 ] || fail "no icon group resource"
echo "shape ok"
