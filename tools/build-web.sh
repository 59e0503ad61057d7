#!/usr/bin/env bash
# Builds the browser page into build/web/: the core and its libraries compiled to WebAssembly with
# Debian's emscripten, and the page from web/. Any static web server can serve the folder.
#
#   tools/build-web.sh            build (again: only what changed)
#   tools/build-web.sh --serve    build, then serve it on http://127.0.0.1:8642/
#
# The libraries come from their Debian source packages, fetched with a source list of this
# build's own (the machine's apt configuration is left alone) and compiled in build/web-deps/.
# Emscripten's ports would download from elsewhere, so none is used.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$root/build/web-deps"
core="$root/build/web-core"
out="$root/build/web"
jobs="${JOBS:-$(nproc)}"

run_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(emscripten node-acorn nodejs dpkg-dev cmake ninja-build pkg-config gzip python3 ca-certificates
  libhwy-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
# nodejs may come from elsewhere than Debian; any node on the path does.
if command -v node >/dev/null; then
  missing=("${missing[@]/nodejs/}")
fi
if [ -n "$(echo "${missing[@]:-}" | tr -d ' ')" ]; then
  run_as_root apt-get update
  run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[@]}
fi

export NODE_PATH=/usr/share/nodejs
# Debian's emscripten comes with its C and C++ libraries built, in every variant used here.
mkdir -p "$deps"

"$root/tools/web/fetch-sources.sh" "$deps"
"$root/tools/web/build-deps.sh" "$deps" "$jobs"

# The core and the binding, with the libraries just built: pkg-config looks nowhere else, so
# the machine's own libraries are never picked up.
export PKG_CONFIG_LIBDIR="$deps/prefix/lib/pkgconfig" PKG_CONFIG_PATH="$deps/prefix/lib/pkgconfig"
export EM_PKG_CONFIG_PATH="$PKG_CONFIG_PATH"
# Composition in WebAssembly's 128-bit vectors: Highway's headers (Debian's libhwy-dev) are all
# it needs, seen through a folder that holds nothing else of the machine's.
mkdir -p "$deps/hwy-include"
ln -sfn /usr/include/hwy "$deps/hwy-include/hwy"
# Configured each time (it is quick), so that a folder configured before picks up changes here.
emcmake cmake -S "$root" -B "$core" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DTAVRO_GUI=OFF -DTAVRO_BENCH=OFF -DTAVRO_TESTS=OFF \
  -DCMAKE_FIND_ROOT_PATH="$deps/prefix" \
  -DGIF_INCLUDE_DIR="$deps/prefix/include" -DGIF_LIBRARY="$deps/prefix/lib/libgif.a" \
  -DTAVRO_SIMD=ON -DTAVRO_SIMD_DISPATCH=OFF -DTAVRO_HWY_INCLUDE="$deps/hwy-include" \
  -DCMAKE_C_FLAGS="-fexceptions -msimd128" -DCMAKE_CXX_FLAGS="-fexceptions -msimd128" >/dev/null
cmake --build "$core" -j "$jobs" --target tavro_web

# The static folder: the page as written, the module beside it, and the service worker's list of
# what to keep for offline use, named by the build so a new build replaces the old cache.
rm -rf "$out"
mkdir -p "$out"
cp -r "$root/web/." "$out/"
cp "$core/src/web/tavro-core.js" "$core/src/web/tavro-core.wasm" "$out/"
cp "$root/resources/icons/org.tavro.Tavro.svg" "$out/icon.svg"
cp "$root/resources/icons/org.tavro.Tavro-256.png" "$out/icon-256.png"
[ -d "$root/examples/demo" ] && cp -r "$root/examples/demo" "$out/demo"
version="$(cd "$out" && find . -type f ! -name 'service-worker.js' -print0 | sort -z |
  xargs -0 cat | sha256sum | cut -c1-16)"
sed -i "s/@BUILD@/$version/" "$out/service-worker.js"
echo "built $out ($(du -sh "$out" | cut -f1)); build $version"

if [ "${1:-}" = "--serve" ]; then
  echo "serving on http://127.0.0.1:8642/ (Ctrl+C ends)"
  # Isolated from other sites, so that the page shares memory with its core's worker.
  cd "$out"
  exec python3 -c '
import http.server
class Isolated(http.server.SimpleHTTPRequestHandler):
    def end_headers(self):
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()
Isolated.extensions_map[".wasm"] = "application/wasm"
Isolated.extensions_map[".js"] = "text/javascript"
http.server.ThreadingHTTPServer(("127.0.0.1", 8642), Isolated).serve_forever()
' 
fi
