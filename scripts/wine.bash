# How Windows programs run on this machine; sourced by every script that
# starts one.
#
# 64-bit programs and Wine's own tools (wineboot, winepath, reg, msiexec, cmd)
# always go through the 64-bit loader: it starts fastest everywhere. A 32-bit
# program needs Wine's 32-bit loader, itself a 32-bit Linux program, which
# starts only where the kernel runs such programs, natively or through
# user-mode emulation.
#
# CX_WINE32=yes|no forces the answer to "do 32-bit programs start here?", so
# both paths can be run on either kind of machine.

cx_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
cx_wine32_loader=/usr/lib/wine/wine
cx_wine64_loader=/usr/lib/wine/wine64
cx_binfmt=/proc/sys/fs/binfmt_misc
cx_binfmt_entry=cx-qemu-i386

# True when Wine's 32-bit loader starts, whatever the forced answer says.
cx_wine32_starts() {
    "$cx_wine32_loader" --version >/dev/null 2>&1
}

# True when the kernel itself starts 32-bit (i386) Linux programs. Probed with
# a minimal static ELF that exits with 42, so no Wine is needed; our own
# emulator entry would answer for the kernel, so its presence means no.
cx_kernel_runs_i386() {
    [ -e "$cx_binfmt/$cx_binfmt_entry" ] && return 1
    local probe rc=0
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >"$probe"
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
    # mov eax, 1; mov ebx, 42; int 0x80
    printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    [ "$rc" = 42 ]
}

# yes or no: whether this run treats 32-bit programs as able to start.
cx_wine32() {
    case "${CX_WINE32:-}" in
        yes|no) echo "$CX_WINE32" ;;
        "") if cx_wine32_starts; then echo yes; else echo no; fi ;;
        *) echo "CX_WINE32 must be yes or no, not '$CX_WINE32'" >&2; return 2 ;;
    esac
}

# One line on why cx_wine32 answered as it did.
cx_wine32_why() {
    if [ -n "${CX_WINE32:-}" ]; then
        echo "forced by CX_WINE32=$CX_WINE32"
    elif [ "$(cx_wine32)" = yes ]; then
        echo "this machine starts 32-bit Linux programs"
    else
        echo "this machine cannot start 32-bit Linux programs (no ia32 support in its kernel)"
    fi
}

# x86 where the product can run, else x64 (its twin).
cx_native_arch() {
    if [ "$(cx_wine32)" = yes ]; then echo x86; else echo x64; fi
}

# 32 or 64: the architecture of a PE file; 64 for anything else (a builtin
# program's name, a missing file), which the 64-bit loader handles.
cx_pe_bits() {
    local file=$1 offset machine
    if [ -f "$file" ] && [ "$(head -c 2 "$file")" = MZ ]; then
        offset=$(od -An -tu4 -j 60 -N 4 "$file" | tr -d ' ')
        machine=$(od -An -tx2 -j $((offset + 4)) -N 2 "$file" | tr -d ' ')
        [ "$machine" = 014c ] && { echo 32; return; }
    fi
    echo 64
}

# The loader for a program: cx_wine_loader <program>.
cx_wine_loader() {
    if [ "$(cx_pe_bits "$1")" = 32 ]; then echo "$cx_wine32_loader"; else echo "$cx_wine64_loader"; fi
}

# Runs a Windows program (a path or a builtin's name) with its loader.
cx_wine() {
    "$(cx_wine_loader "$1")" "$@"
}

# Registers qemu's user-mode emulator for i386 programs with binfmt_misc;
# fails with the reason when it cannot.
cx_register_emulator() {
    local qemu=/usr/bin/qemu-i386-static
    [ -x "$qemu" ] || { echo "qemu-i386-static is not installed" >&2; return 1; }
    [ "$(id -u)" = 0 ] || { echo "registering an emulator needs root" >&2; return 1; }
    if [ ! -e "$cx_binfmt/register" ]; then
        mount -t binfmt_misc binfmt_misc "$cx_binfmt" 2>/dev/null ||
            { echo "binfmt_misc cannot be mounted here" >&2; return 1; }
    fi
    [ -e "$cx_binfmt/$cx_binfmt_entry" ] && return 0
    # i386 ELF executables and shared objects; F keeps the emulator open so
    # it works inside other mount namespaces too.
    printf ':%s:M::%s:%s:%s:F' "$cx_binfmt_entry" \
        '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
        '\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
        "$qemu" >"$cx_binfmt/register" 2>/dev/null ||
        { echo "the emulator could not be registered with binfmt_misc" >&2; return 1; }
}

# Makes 32-bit programs start, through emulation when the kernel cannot run
# them. Prints how they start (native or emulated); fails with the reason
# when they cannot. Undo with cx_emulation_off.
cx_emulation_on() {
    if cx_wine32_starts; then
        if [ -e "$cx_binfmt/$cx_binfmt_entry" ]; then echo emulated; else echo native; fi
        return 0
    fi
    cx_register_emulator || return 1
    cx_wine32_starts || { cx_emulation_off; echo "32-bit programs do not start even under emulation" >&2; return 1; }
    echo emulated
}

cx_emulation_off() {
    [ -e "$cx_binfmt/$cx_binfmt_entry" ] && echo -1 >"$cx_binfmt/$cx_binfmt_entry" 2>/dev/null
    return 0
}
