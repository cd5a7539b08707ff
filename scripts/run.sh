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
# Running needs the program alone: no native build, no tests. The Wine
# prefix is made while it compiles (the first time, wineboot takes about as
# long as the build).
ensure_wine_prefix &
prefix_pid=$!
build_program || { wait "$prefix_pid"; exit 1; }
wait "$prefix_pid" || exit 1
setup_wine_env

args=()
if [ "$#" -eq 1 ]; then
  case "$1" in
    /*) args=("$(winepath -w "$1" 2>/dev/null)") ;;
    *) args=("$1") ;;
  esac
fi

cd "$NOTAVO_ROOT" || exit 1
exec wine "$NOTAVO_BUILD/win/notavo.exe" "${args[@]}"
