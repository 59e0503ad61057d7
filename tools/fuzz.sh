#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer and UBSan) and runs each one for a
# while. Exits non-zero when a harness finds a crash, a leak, a hang or a broken promise; the
# input that did it is kept under build/fuzz/findings/<harness>/.
#
#   tools/fuzz.sh [seconds per harness] [harness...]     (default: 30 seconds, every harness)
#
# Seeds come from tavro_fuzz_seeds and fuzz/corpus/<harness>/ (inputs that once failed are
# kept there). The corpus each harness grows is kept in build/fuzz/corpus/<harness>/ and reused by the next
# run, so repeated runs go deeper. Harnesses: config image script archive zip.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(config image script archive zip)

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRO_WERROR=ON -DTAVRO_FUZZ=ON -DTAVRO_GUI=OFF -DTAVRO_BENCH=OFF >/dev/null
cmake --build "$build" --target tavro_fuzzers -j "$(nproc)"

seeds="$build/seeds"
rm -rf "$seeds"
"$build/fuzz/tavro_fuzz_seeds" "$seeds"

failed=()
for harness in "${harnesses[@]}"; do
  corpus="$build/corpus/$harness"
  findings="$build/findings/$harness"
  log="$build/fuzz-$harness.log"
  mkdir -p "$corpus" "$findings"
  # Inputs kept in the source tree are read too: a past finding that comes back fails at once.
  kept=()
  [ -d "fuzz/corpus/$harness" ] && kept=("fuzz/corpus/$harness")
  # The words of the configuration and script languages, so mutations speak them early.
  dict=()
  [ -f "fuzz/$harness.dict" ] && dict=(-dict="fuzz/$harness.dict")
  echo "fuzzing $harness for ${seconds}s"
  if "$build/fuzz/fuzz_$harness" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$seeds/$harness" "${kept[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  $harness: /" || true
  else
    echo "  $harness: FINDING (log: $log)"
    grep -E 'ERROR|broken promise|SUMMARY|Test unit written' "$log" | head -20 | sed 's/^/    /'
    failed+=("$harness")
  fi
done

[ ${#failed[@]} -ne 0 ] && echo "fuzzing found problems in: ${failed[*]}"
echo "fuzzing: $((${#harnesses[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
