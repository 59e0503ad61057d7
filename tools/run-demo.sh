#!/usr/bin/env bash
# Builds Tavro and opens the bundled demo set.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build/release -j "$(nproc)"
exec build/release/src/tavro "$PWD/examples/demo/demo.cnf"
