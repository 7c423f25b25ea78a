# The machine-wide runtime settings file in the test prefix, for scripts
# that change it. Sourced after lib.bash.
runtime_file="$WINEPREFIX/drive_c/ProgramData/Tolvane/Calyx/calyx.settings.cfg"
runtime_saved=$(mktemp)
runtime_existed=0
runtime_vendor="$WINEPREFIX/drive_c/ProgramData/Tolvane"
runtime_vendor_existed=0

# Remembers the file as the machine has it; put_back_runtime_file restores it.
keep_runtime_file() {
    [ -d "$runtime_vendor" ] && runtime_vendor_existed=1
    if [ -f "$runtime_file" ]; then
        cp "$runtime_file" "$runtime_saved"
        runtime_existed=1
    fi
}

put_back_runtime_file() {
    if [ "$runtime_existed" = 1 ]; then
        mkdir -p "$(dirname "$runtime_file")"
        cp "$runtime_saved" "$runtime_file"
    else
        rm -f "$runtime_file"
        if [ "$runtime_vendor_existed" = 0 ]; then
            rmdir "$(dirname "$runtime_file")" "$runtime_vendor" 2>/dev/null || true
        fi
    fi
    rm -f "$runtime_saved"
}

# put_runtime_file text: the file holds exactly text.
put_runtime_file() {
    mkdir -p "$(dirname "$runtime_file")"
    printf '%s' "$1" >"$runtime_file"
}

# Its settings, one key=value a line, sorted; nothing when there is no file.
runtime_entries() {
    [ -f "$runtime_file" ] || return 0
    tr -d '\r' <"$runtime_file" | sed -e 's/^[[:space:]]*//' -e '/^#/d' -e '/^$/d' \
        -e 's/[[:space:]]*[=:][[:space:]]*/=/' | sort
}

# A file in the user's temporary folder: its Windows path goes to $winpath.
# temp_config name text
temp_config() {
    printf '%s' "$2" >"$WINEPREFIX/drive_c/users/$user/Temp/$1"
    winpath="C:\\users\\$user\\Temp\\$1"
}
