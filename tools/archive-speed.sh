#!/usr/bin/env bash
# How fast tavro-render opens the largest set a configuration can make from an archive, beside the
# archivers unpacking the same archive: `tavro-render ARCHIVE --info` against `lha x` for the LZH
# and against `unzip -q` for the ZIP, each the best of a few runs, printed as a ratio (the goal is
# at most 1.5). Needs lha (Debian jlha-utils), zip and unzip. Run it on a quiet machine.
#
#   tools/archive-speed.sh [build directory] [another tavro-render to compare]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
writer="$build/bench/budget/tavro_write_synthetic_set"
render=${RENDER:-$build/src/render/tavro-render}
other=${2:-}
runs=${RUNS:-3}
for tool in lha zip unzip; do
  command -v "$tool" >/dev/null || { echo "archive speed: $tool is not installed"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$writer" "$work/set" >/dev/null
(cd "$work/set" && lha aq ../max.lzh ./* >/dev/null && zip -qr ../max.zip .)

# The best wall time of $runs runs of the command, in milliseconds; each run starts from an
# empty scratch directory.
best_ms() {
  local best=""
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/scratch" && mkdir "$work/scratch"
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "archive speed: failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    local ms=$(((end - start) / 1000000))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

unpack_lzh() { (cd "$work/scratch" && lha xq "$work/max.lzh"); }
unpack_zip() { unzip -q "$work/max.zip" -d "$work/scratch"; }
open_with() { TMPDIR="$work/scratch" "$1" "$2" --info; }

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }'; }

echo "archive speed: $(ls "$work/set" | wc -l) files; LZH $(stat -c %s "$work/max.lzh") bytes," \
  "ZIP $(stat -c %s "$work/max.zip") bytes"
lzh=$(best_ms unpack_lzh)
zip=$(best_ms unpack_zip)
echo "archive speed: lha x ${lzh} ms, unzip -q ${zip} ms"
for program in "$render" ${other:+"$other"}; do
  a=$(best_ms open_with "$program" "$work/max.lzh")
  b=$(best_ms open_with "$program" "$work/max.zip")
  echo "archive speed: $program: LZH ${a} ms ($(ratio "$a" "$lzh") x lha x)," \
    "ZIP ${b} ms ($(ratio "$b" "$zip") x unzip -q)"
done
