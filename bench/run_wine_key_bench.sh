#!/usr/bin/env bash
# Builds notavo.exe and the Wine key benchmark (Windows build in build/win),
# the 100 MB Shift-JIS document (native gen_sjis, kept under build/), and
# runs the benchmark under Wine on an Xvfb display of its own.
# Usage: bench/run_wine_key_bench.sh [rounds] [display number]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-3}"
display="${2:-75}"
# shellcheck source=../scripts/common.sh
source "$root/scripts/common.sh"
ensure_locale
ensure_wine_prefix

cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/win" -j2 --target notavo wine_key_bench

data="$root/build/textstore-bench/data"
if [[ ! -s "$data/sjis-crlf.txt" ]]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/native" -j2 --target gen_sjis
  mkdir -p "$data"
  "$root/build/native/bench/gen_sjis" "$data/sjis-crlf.txt" "$data/sjis-lf.txt"
fi

Xvfb ":$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=":$display"
sleep 1

echo "commit: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet || echo ' (modified)')"
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
TIMEFORMAT='%3R s'
for i in 1 2 3; do echo "wc -l: $( { time wc -l "$data/sjis-crlf.txt" >/dev/null; } 2>&1 )"; done
wine explorer /desktop=keybench,1280x1000 "$root/build/win/bench/wine/wine_key_bench.exe" \
  "$(winepath -w "$data/sjis-crlf.txt")" "$rounds"
wineserver -w
