#!/usr/bin/env bash
# Builds the text store benchmark in Release, generates the ~100 MB Shift-JIS
# documents under build/ once, and runs the benchmark on them.
# Usage: bench/run_textstore_bench.sh [runs]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/bench"
data="$root/build/bench-data"
runs="${1:-7}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DNOTAVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target gen_sjis textstore_bench

mkdir -p "$data"
# The generator is deterministic, so existing files are reused.
if [[ ! -s "$data/sjis-crlf.txt" || ! -s "$data/sjis-lf.txt" ]]; then
  "$build/bench/gen_sjis" "$data/sjis-crlf.txt" "$data/sjis-lf.txt"
fi

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
"$build/bench/textstore_bench" --runs "$runs" "$data/sjis-crlf.txt" "$data/sjis-lf.txt"
