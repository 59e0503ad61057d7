#!/usr/bin/env bash
# Runs the core's tests compiled to WebAssembly under Node (the selection is in
# tests/wasm/CMakeLists.txt), in the page's core build folder, which tools/build-web.sh made.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
core="$root/build/web-core"
jobs="${JOBS:-$(nproc)}"
export NODE_PATH=/usr/share/nodejs
[ -d /usr/src/googletest ] || {
  if [ "$(id -u)" = 0 ]; then apt-get install -y --no-install-recommends googletest
  else sudo apt-get install -y --no-install-recommends googletest; fi
}
# The folder must have been configured for emscripten by tools/build-web.sh.
[ -f "$core/build.ninja" ] || { echo "run tools/build-web.sh first" >&2; exit 1; }
cmake -S "$root" -B "$core" -DTAVRO_WASM_TESTS=ON >/dev/null
cmake --build "$core" -j "$jobs" --target run_core_tests_wasm
