#!/usr/bin/env bash
# A link planted at any level of the per-user extraction folders is never
# followed: every file it points at survives a silent run, and the run ends
# with the code it would have had anyway.
source "$(dirname "$0")/lib.bash"
bits=$(carried_bits)
product=$(carried_product_code "$bits")
folder=cxr1.8.0_451
[ "$bits" = 64 ] && folder+=_x64
victim=$(mktemp -d)
trap 'rm -rf "$lowdir/Tolvane" "$victim"; remove_product "$product"' EXIT

# level|exit code: a link above the package's folder leaves nowhere to write
# it. (Wine shows a host link to a file as a plain file, so only folder links
# can be planted here.)
for row in "Tolvane|1" "Tolvane/Calyx|1" "Tolvane/Calyx/$folder|1" "Tolvane/Calyx/AU|0"; do
    IFS='|' read -r level expected <<<"$row"
    rm -rf "$lowdir/Tolvane" "$victim"/*
    mkdir -p "$victim/AU" "$victim/$folder" "$(dirname "$lowdir/$level")"
    echo a >"$victim/AU/victim.txt"; echo b >"$victim/$folder/victim2.txt"; echo c >"$victim/victim3.txt"
    ln -s "$victim" "$lowdir/$level"
    run_installer /s
    expect_code "$expected"
    [ "$(grep -c 'it is a link to another place' "$runlogfile")" = 1 ] || fail "$level: the refusal is not logged once"
    for f in AU/victim.txt "$folder/victim2.txt" victim3.txt; do
        [ -f "$victim/$f" ] || fail "$level: $f was deleted through the link"
    done
    remove_product "$product"
done
echo "no planted link was followed"
