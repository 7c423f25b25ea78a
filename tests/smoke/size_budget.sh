#!/usr/bin/env bash
# The shipped executable stays within 1.5 MiB beyond its carried resources.
# No Wine is needed, so both kinds of machine run it.
exec "$(dirname "$0")/../../scripts/exe-size" "$1/bin/cxroffline.exe" --check
