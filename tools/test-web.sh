#!/usr/bin/env bash
# Builds the page (tools/build-web.sh) and tavro-render, runs the core's tests compiled to
# WebAssembly under Node (tools/web/test-core.sh), then runs the browser tests in
# tests/web: headless Debian chromium through playwright-core (pinned by
# tests/web/package-lock.json; it downloads no browser) against the page served on 127.0.0.1.
# Installs what it needs with apt-get on a fresh Debian 12 machine.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="${JOBS:-$(nproc)}"

run_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
need=()
for p in chromium npm; do
  command -v "$p" >/dev/null || need+=("$p")
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
[ -d node_modules/playwright-core ] || npm ci --no-audit --no-fund
{ [ -x node_modules/.bin/tsc ] || npm ci --no-audit --no-fund; } && node_modules/.bin/tsc -p ../../web/tsconfig.json && node_modules/.bin/tsc -p ../../web/tsconfig.sw.json
exec node --test ./*.test.mjs ./unit/*.test.mjs
