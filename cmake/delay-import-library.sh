#!/usr/bin/env bash
# Writes a delay-load import library for one system DLL from its ordinary
# import library: the library is then loaded on first call, not at start.
# Also writes OUTPUT.undefs, linker options that keep every function's thunk:
# code calling through a dllimport declaration names only the IAT slot, and
# without the thunk the linker leaves that slot's first target at 0.
# delay-import-library.sh NM DLLTOOL MACHINE IMPORT_LIBRARY DLL_NAME OUTPUT
set -euo pipefail
nm=$1 dlltool=$2 machine=$3 implib=$4 dll=$5 out=$6
def="$out.def"
{
    echo "LIBRARY $dll"
    echo "EXPORTS"
    # 32-bit names keep their @N decoration here; -k drops it from the DLL name.
    "$nm" "$implib" | sed -n 's/^[0-9a-f]* I __imp_//p' | sed 's/^_\(.*@[0-9]*\)$/\1/' | sort -u
} >"$def"
if [ "$machine" = i386 ]; then
    "$dlltool" -m i386 --as-flags=--32 -k -d "$def" -y "$out"
else
    "$dlltool" -m i386:x86-64 -d "$def" -y "$out"
fi
"$nm" "$out" | awk '$2 == "T" && $3 !~ /__tailMerge|__DELAY_IMPORT/ { print "-u " $3 }' >"$out.undefs"
