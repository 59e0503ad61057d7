#!/usr/bin/env bash
# Builds the page (tools/build-web.sh) and tavro-render, runs the core's tests compiled to
# WebAssembly under Node (tools/web/test-core.sh), then runs the browser tests in
# tests/web against the page served on 127.0.0.1: Debian's chromium through playwright-core,
# firefox-esr through puppeteer-core (WebDriver BiDi), and WebKitGTK's MiniBrowser through
# WebKitWebDriver under Xvfb with selenium-webdriver (all pinned by tests/web/package-lock.json;
# none downloads a browser or a driver). Installs what it needs with apt-get on a fresh Debian 12
# machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc)}"

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
tools/build-web.sh
# The core's own tests on the WebAssembly build, under Node.
tools/web/test-core.sh

cd tests/web
# Installed afresh whenever the lock file changed since the last install.
[ node_modules/.package-lock.json -nt package-lock.json ] || rm -rf node_modules
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund
{ [ -x node_modules/.bin/tsc ] || npm ci --no-audit --no-fund; } && node_modules/.bin/tsc -p ../../web/tsconfig.json && node_modules/.bin/tsc -p ../../web/tsconfig.sw.json
exec node --test ./*.test.mjs ./unit/*.test.mjs
