#!/usr/bin/env bash
# Idle cost of the viewer: with the demo set shown and no timer slot armed it must use under 1%
# of a core over 10 seconds; with one 50 ms alarm that re-arms itself, under 5%. CPU time is read
# from /proc/<pid>/stat, so a busy machine slows the measurement but does not inflate it.
#
#   tools/idle-cost.sh [build directory] [--sanitized]      (default build/release)
#
# With --sanitized the build is one with AddressSanitizer and UBSan: the same runs then check that
# the viewer loads, paints and idles without a memory error or undefined behaviour (a report
# aborts it, and a viewer that ended early fails), and the CPU limits are not applied.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
sanitized=0
[ "${2:-}" = --sanitized ] && sanitized=1
viewer=$(find "$build/src" -maxdepth 3 -type f -name tavro -perm -u+x | head -1)
[ -n "$viewer" ] || { echo "idle cost: no tavro in $build"; exit 1; }

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The demo set without its scripts, and the same set with one 50 ms self-re-arming alarm.
make_set() {
  mkdir -p "$work/$1"
  cp examples/demo/* "$work/$1/"
  grep -v '^;@' examples/demo/demo.cnf >"$work/$1/demo.cnf"
}
make_set quiet
make_set alarm
# Each period blinks the eyes: a small recomposition and repaint, as an animation does.
printf ';@initialize() timer(1,50)\r\n;@alarm(1) altmap("eyesopen.cel") timer(1,50)\r\n' \
  >>"$work/alarm/demo.cnf"

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)

measure() {  # set, limit in per cent
  # Its own settings file, so no dialog of a past session (or of another test) comes up.
  HOME="$work/home-$1" XDG_CONFIG_HOME="$work/home-$1/.config" QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 "$viewer" "$work/$1/demo.cnf" >"$work/$1.log" 2>&1 &
  pid=$!
  sleep 3  # let it load and settle
  kill -0 "$pid" 2>/dev/null || { echo "idle cost: tavro ended early"; cat "$work/$1.log"; exit 1; }
  local before after
  before=$(ticks "$pid")
  sleep 10
  kill -0 "$pid" 2>/dev/null || { echo "idle cost: tavro ended while idle"; cat "$work/$1.log"; exit 1; }
  after=$(ticks "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  local permille=$(((after - before) * 1000 / (hz * 10)))
  local verdict=ok
  [ "$permille" -lt "$(($2 * 10))" ] || verdict=OVER
  [ "$sanitized" -eq 1 ] && verdict="ran clean under the sanitizers"
  echo "idle cost: $1 set: $((after - before)) ticks of $hz/s in 10 s =" \
    "$((permille / 10)).$((permille % 10))% of a core (limit $2%; $before ticks to start): $verdict"
  [ "$verdict" != OVER ]
}

status=0
measure quiet 1 || status=1
measure alarm 5 || status=1
exit $status
