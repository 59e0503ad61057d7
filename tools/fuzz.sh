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

# One harness: its corpus grows in build/fuzz/corpus/<harness>/; its summary goes to
# build/fuzz/<harness>.summary and its status to the exit code.
fuzz_one() {
  local harness=$1 corpus="$build/corpus/$1" findings="$build/findings/$1" log="$build/fuzz-$1.log"
  mkdir -p "$corpus" "$findings"
  # Inputs kept in the source tree are read too: a past finding that comes back fails at once.
  local kept=()
  [ -d "fuzz/corpus/$harness" ] && kept=("fuzz/corpus/$harness")
  # The words of the configuration and script languages, so mutations speak them early.
  local dict=()
  [ -f "fuzz/$harness.dict" ] && dict=(-dict="fuzz/$harness.dict")
  if "$build/fuzz/fuzz_$harness" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "$seeds/$harness" "${kept[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/  $harness: /" >"$build/$harness.summary" || true
  else
    { echo "  $harness: FINDING (log: $log)"
      grep -E 'ERROR|broken promise|SUMMARY|Test unit written' "$log" | head -20 | sed 's/^/    /'
    } >"$build/$harness.summary"
    return 1
  fi
}

# A harness is one process on one core: as many run at once as there are cores.
echo "fuzzing ${harnesses[*]} for ${seconds}s each, $(nproc) at a time"
declare -A running=()
failed=()
collect() {  # waits for one harness to end
  local pid status=0
  wait -n -p pid "${!running[@]}" || status=$?
  cat "$build/${running[$pid]}.summary"
  [ "$status" -ne 0 ] && failed+=("${running[$pid]}")
  unset "running[$pid]"
}
for harness in "${harnesses[@]}"; do
  [ ${#running[@]} -ge "$(nproc)" ] && collect
  fuzz_one "$harness" &
  running[$!]=$harness
done
while [ ${#running[@]} -gt 0 ]; do collect; done

[ ${#failed[@]} -ne 0 ] && echo "fuzzing found problems in: ${failed[*]}"
echo "fuzzing: $((${#harnesses[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
