#!/usr/bin/env bash
# The memory budget: loading the synthetic maximum set must peak at most 1.25 x (decoded pixel
# bytes + map bytes + configuration text + 20 MiB of program). Map bytes include the true-colour
# work area that lives beside the map. Measured with /usr/bin/time -v for the plain core loader
# and, when it is built, for tavro-render; both the 256-colour and the mixed true-colour set.
#
#   tools/memory-budget.sh [build directory]      (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
writer="$build/bench/budget/tavro_write_synthetic_set"
programs=("$build/bench/budget/tavro_load_set")
render=$(find "$build/src" -maxdepth 3 -type f -name tavro-render -perm -u+x 2>/dev/null | head -1)
[ -n "$render" ] && programs+=("$render")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
passed=0
for variant in plain mixed; do
  arg=()
  [ "$variant" = mixed ] && arg=(mixed)
  "$writer" "$work/$variant" "${arg[@]}" >"$work/$variant.sizes"
  size() { awk -v k="$1" '$1 == k { print $2 }' "$work/$variant.sizes"; }
  base=$(($(size pixels) + $(size map) + $(size work) + $(size text) + 20 * 1024 * 1024))
  limit_kib=$((base * 125 / 100 / 1024))
  for program in "${programs[@]}"; do
    name=$(basename "$program")
    command=("$program" "$work/$variant/max.cnf")
    [ "$name" = tavro-render ] && command=("$program" "$work/$variant/max.cnf" -o "$work/out.png")
    if ! /usr/bin/time -v "${command[@]}" >/dev/null 2>"$work/time.txt"; then
      echo "memory budget: $name could not load the $variant set"
      cat "$work/time.txt"
      failed=$((failed + 1))
      continue
    fi
    peak_kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    verdict=ok
    if [ "$peak_kib" -gt "$limit_kib" ]; then
      verdict=OVER
      failed=$((failed + 1))
    else
      passed=$((passed + 1))
    fi
    echo "memory budget: $name, $variant set: peak ${peak_kib} KiB, limit ${limit_kib} KiB" \
      "(pixels $(size pixels), map $(size map), work area $(size work), text $(size text)): $verdict"
  done
done
echo "memory budget: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
