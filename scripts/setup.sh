#!/usr/bin/env bash
# Installs the build and test prerequisites; quick when they are already present.
# A package index that fails to download is a warning, not the end: the
# install step then says which package could not be had, and why.
set -euo pipefail
repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$repo_dir/scripts/wine.bash"

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
          wine wine64 msitools wixl xvfb xauth
          cmake ninja-build g++ clang googletest zlib1g-dev python3 file binutils libclang-rt-14-dev
          chromium fonts-noto-cjk nodejs)

# Warnings go to the terminal even from inside a captured call.
exec 3>&1
SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"
apt_install() {
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}

# apt-get update exits 100 when any one index fails; retry, then go on with
# what did download and name what did not.
apt_updated=0
apt_update() {
    ((apt_updated)) && return 0
    apt_updated=1
    local log attempt
    log=$(mktemp)
    for attempt in 1 2 3; do
        if $SUDO apt-get update -qq >"$log" 2>&1; then rm -f "$log"; return 0; fi
        ((attempt < 3)) && sleep "${CX_APT_RETRY_PAUSE:-10}"
    done
    local failed
    failed=$(sed -n 's/^\(E\|W\): Failed to fetch \([^ ]*\).*/\2/p' "$log" | sort -u | paste -sd ' ' -)
    echo "setup: warning: some package indexes did not download (${failed:-$(tail -n 1 "$log")}); going on with the others" >&3
    rm -f "$log"
}

# Installs the packages named; on failure prints which one apt refused and
# its reason, and returns 1.
install_or_explain() {
    local out
    out=$(mktemp)
    if apt_install "$@" >"$out" 2>&1; then rm -f "$out"; return 0; fi
    local p reasons=()
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 && continue
        reasons+=("$p: $(grep -m1 -E "(^E: |^ $p :)" "$out" | sed 's/^ *//')")
    done
    printf 'setup: cannot install %s\n' "${reasons[@]:-"$* ($(tail -n 1 "$out"))"}" >&2
    rm -f "$out"
    return 1
}

need() {
    local p missing=()
    for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
    ((${#missing[@]})) || return 0
    apt_update
    install_or_explain "${missing[@]}"
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    apt_updated=0
fi
need "${packages[@]}" || { echo "setup: the build cannot go on without these packages" >&2; exit 1; }

# Wine's 32-bit half matters only where the kernel starts 32-bit programs;
# elsewhere it serves the emulated i686 smoke, which skips itself without it.
if cx_kernel_runs_i386; then
    need wine32:i386 || {
        echo "setup: this machine runs 32-bit programs, so the i686 suites need wine32:i386; fix the package source named above and run make again" >&2
        exit 1
    }
elif ! dpkg -s wine32:i386 >/dev/null 2>&1; then
    # Tried once per build folder: the answer rarely changes, and set-up stays quick.
    skip="$repo_dir/build/setup-without-wine32"
    if [ ! -f "$skip" ] && ! why=$(need wine32:i386 2>&1); then
        mkdir -p "$repo_dir/build"
        echo "${why#setup: cannot install }" >"$skip"
    fi
    [ -f "$skip" ] && echo "setup: going on without wine32:i386, which this kernel cannot start anyway ($(cat "$skip")); the i686 smoke will report itself skipped"
fi

# Where the kernel cannot start 32-bit programs, the i686 smoke and
# `make run ARCH=x86` run them under user-mode emulation.
if ! cx_wine32_starts; then
    need qemu-user-static || echo "setup: without qemu-user-static the i686 smoke will report itself skipped"
fi

# The page tests drive the system's Chromium through playwright-core; it
# never downloads a browser of its own. Some nodejs builds carry npm.
command -v npm >/dev/null 2>&1 || need npm || exit 1
# The page tests' packages, pinned by tests/pages/package-lock.json, go to
# build/node; nothing is fetched while the installed lock is the same.
node_dir="$repo_dir/build/node"
if ! cmp -s "$repo_dir/tests/pages/package-lock.json" "$node_dir/package-lock.json" ||
   [ ! -d "$node_dir/node_modules/playwright-core" ]; then
  mkdir -p "$node_dir"
  cp "$repo_dir/tests/pages/package.json" "$repo_dir/tests/pages/package-lock.json" "$node_dir/"
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix "$node_dir" --prefer-offline --no-audit --no-fund --silent
fi
