#!/usr/bin/env bash
# Builds the page (tools/build-web.sh) and tavro-render, then runs the browser tests in
# tests/web against the page served on 127.0.0.1: Debian's chromium through playwright-core,
# firefox-esr through puppeteer-core (WebDriver BiDi), and WebKitGTK's MiniBrowser through
# WebKitWebDriver under Xvfb with selenium-webdriver (all pinned by tests/web/package-lock.json;
# none downloads a browser or a driver). Installs what it needs with apt-get on a fresh Debian 12
# machine. Alongside the browser tests, at the lowest priority, it builds and runs the core's tests
# compiled to WebAssembly under Node (tools/web/test-core.sh) and the command given after
# --alongside, if any:
#
#   tools/test-web.sh [--alongside COMMAND [ARGS...]]
#
# The browser tests spend most of their time waiting on browsers, with a core to spare; what runs
# beside them is compiling, which takes that core and gives way whenever a browser needs it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc)}"
alongside=()
if [ "${1:-}" = "--alongside" ]; then
  shift
  alongside=("$@")
fi

run_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
need=()
# A command each package brings; MiniBrowser comes with libwebkit2gtk-4.1-0, which
# webkit2gtk-driver depends on.
for p in chromium:chromium npm:npm firefox-esr:firefox-esr WebKitWebDriver:webkit2gtk-driver Xvfb:xvfb; do
  command -v "${p%%:*}" >/dev/null || need+=("${p#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  run_as_root apt-get update
  run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${need[@]}"
fi

# The reference pictures come from tavro-render.
if [ ! -x build/release/src/render/tavro-render ]; then
  tools/install-deps.sh
  [ -f build/release/build.ninja ] ||
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_WERROR=ON
fi
cmake --build build/release -j "$jobs" --target tavro-render
built=$SECONDS
tools/build-web.sh
echo "test-web: the page built in $((SECONDS - built)) s"

# The core's own tests on the WebAssembly build, under Node, and the command given, both at once
# (neither alone keeps two cores busy all the way through: the tests' link is one long process) and
# at the lowest priority, in this session, where the browsers are. Their output is kept until the
# browser tests are over.
coreLog="$root/build/web-core-tests.log"
alongsideLog="$root/build/web-alongside.log"
beside() {  # name, command...
  renice -n 19 -p "$BASHPID" >/dev/null
  local name=$1 step=$SECONDS status=0
  shift
  "$@" || { status=$?; echo "test-web: FAILED: $name"; }
  echo "test-web: $name took $((SECONDS - step)) s"
  return "$status"
}
beside "the core's tests on WebAssembly" tools/web/test-core.sh >"$coreLog" 2>&1 </dev/null &
besidePids=($!)
if [ ${#alongside[@]} -gt 0 ]; then
  beside "${alongside[*]}" "${alongside[@]}" >"$alongsideLog" 2>&1 </dev/null &
  besidePids+=($!)
fi
# Background jobs ignore Ctrl+C: what runs beside is ended with this script, however it ends.
stop_tree() {
  local child
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do stop_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
trap 'for pid in "${besidePids[@]}"; do stop_tree "$pid"; done' EXIT

cd tests/web
# Installed afresh whenever the lock file changed since the last install.
[ node_modules/.package-lock.json -nt package-lock.json ] || rm -rf node_modules
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund
[ -x node_modules/.bin/tsc ] || npm ci --no-audit --no-fund
# Each its own command: a type error fails the run (set -e passes over all but a list's last).
node_modules/.bin/tsc -p ../../web/tsconfig.json
node_modules/.bin/tsc -p ../../web/tsconfig.sw.json
browser=$SECONDS
status=0
node --test ./*.test.mjs ./unit/*.test.mjs || status=$?
echo "test-web: the browser tests: status $status, $((SECONDS - browser)) s"

waited=$SECONDS
besideStatus=0
for pid in "${besidePids[@]}"; do wait "$pid" || besideStatus=1; done
besidePids=()
echo "== beside the browser tests: the core's tests on WebAssembly"
cat "$coreLog"
if [ ${#alongside[@]} -gt 0 ]; then
  echo "== beside the browser tests: ${alongside[*]}"
  cat "$alongsideLog"
fi
echo "test-web: waited $((SECONDS - waited)) s for them after the browser tests"
[ "$status" -eq 0 ] && [ "$besideStatus" -eq 0 ]
