#!/usr/bin/env bash
# Builds the text store benchmark in Release, generates the ~100 MB Shift-JIS
# documents under build/ (again only when the generator changed), and runs
# the benchmark on them.
# Usage: bench/run_textstore_bench.sh [runs]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/textstore-bench/build"
data="$root/build/textstore-bench/data"
runs="${1:-7}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DNOTAVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target gen_sjis textstore_bench

mkdir -p "$data"
gen="$build/bench/gen_sjis"
if [[ ! -s "$data/sjis-crlf.txt" || ! -s "$data/sjis-lf.txt" || "$gen" -nt "$data/sjis-crlf.txt" ]]
then
  "$gen" "$data/sjis-crlf.txt" "$data/sjis-lf.txt"
fi

echo "commit: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet -- textstore platform || echo ' (textstore/platform modified)')"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), load $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/bench/textstore_bench" --runs "$runs" "$data/sjis-crlf.txt" "$data/sjis-lf.txt"
