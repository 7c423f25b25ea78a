#!/usr/bin/env bash
# Installs the build and test prerequisites; quick when they are already present.
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
          wine wine64 wine32:i386 msitools wixl xvfb xauth
          cmake ninja-build g++ clang googletest zlib1g-dev python3 file binutils libclang-rt-14-dev
          chromium fonts-noto-cjk nodejs)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Where the kernel cannot start 32-bit programs, the i686 smoke and
# `make run ARCH=x86` run them under user-mode emulation.
source "$(dirname "${BASH_SOURCE[0]}")/wine.bash"
if ! cx_wine32_starts && ! dpkg -s qemu-user-static >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends qemu-user-static
fi

# The page tests drive the system's Chromium through playwright-core; it
# never downloads a browser of its own. Some nodejs builds carry npm.
if ! command -v npm >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" = 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends npm
fi
# The page tests' packages, pinned by tests/pages/package-lock.json, go to
# build/node; nothing is fetched while the installed lock is the same.
repo_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
node_dir="$repo_dir/build/node"
if ! cmp -s "$repo_dir/tests/pages/package-lock.json" "$node_dir/package-lock.json" ||
   [ ! -d "$node_dir/node_modules/playwright-core" ]; then
  mkdir -p "$node_dir"
  cp "$repo_dir/tests/pages/package.json" "$repo_dir/tests/pages/package-lock.json" "$node_dir/"
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --prefix "$node_dir" --prefer-offline --no-audit --no-fund --silent
fi
