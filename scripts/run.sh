#!/bin/bash
# Builds Notavo and starts build/win/notavo.exe under Wine on $DISPLAY.
#   scripts/run.sh [file]
# An absolute Linux path is handed to the program as its Wine (Z:\...) form;
# anything else is passed exactly as given.
set -u -o pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: DISPLAY is not set; start it from an X session (scripts/test.sh needs none)." >&2
  exit 1
fi
if [ "$#" -gt 1 ]; then
  echo "usage: scripts/run.sh [file]" >&2
  exit 2
fi

ensure_packages || exit 1
ensure_locale || exit 1
mkdir -p "$NOTAVO_BUILD"
# The program needs only the Windows side; a broken native build is reported
# but does not keep it from starting.
build_native || log "native build failed (the Windows program is built separately)"
build_win || exit 1
ensure_wine_prefix || exit 1

args=()
if [ "$#" -eq 1 ]; then
  case "$1" in
    /*) args=("$(winepath -w "$1" 2>/dev/null)") ;;
    *) args=("$1") ;;
  esac
fi

cd "$NOTAVO_ROOT" || exit 1
exec wine "$NOTAVO_BUILD/win/notavo.exe" "${args[@]}"
