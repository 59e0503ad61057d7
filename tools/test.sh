#!/usr/bin/env bash
# Builds everything and runs every test: a warnings-as-errors build with the viewer, the renderer,
# the tests and the benchmarks in smoke mode, then a build under AddressSanitizer and
# UndefinedBehaviorSanitizer whose tests run again, then every fuzzing harness for a short while,
# then the WebAssembly build with the page's tests in three browsers and, alongside them, the
# core's tests under Node and the naming check.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
# How long each part took, so that the whole run can be kept short.
phase() { echo "== $1 (at $((SECONDS - started)) s)"; }
tools/install-deps.sh

# Every C++ file as .clang-format lays it out.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror

jobs=$(nproc)

phase "release build"
# Line tables only (-g1): enough for stack traces and profiles, and the build takes a fifth less
# time than with full debugging information.
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build/release -j "$jobs"
phase "release tests"
(cd build/release && ctest --output-on-failure -j "$jobs" --timeout 300)
# What the end-to-end run of the viewer saw, with the idle viewer's CPU share.
cat build/release/tests/e2e/session/steps.txt 2>/dev/null || echo "e2e: no steps were run"
# Loading the largest set a configuration can make stays within its memory budget. (What the
# viewer costs while it waits is measured by the end-to-end test, tests/e2e.)
tools/memory-budget.sh build/release

phase "sanitizer build"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRO_WERROR=ON -DTAVRO_SANITIZE=ON \
  -DTAVRO_BENCH=OFF -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_C_FLAGS_DEBUG=-g1
cmake --build build/asan -j "$jobs"
# Every test again, the end-to-end run of the viewer and the tavro-render tests included: the
# real programs load, paint, play, copy, save and exit without a memory error, undefined
# behaviour or a leak. The suppressions cover only leaks inside system libraries. Tests that
# measure the real clock (label "timing") are left out: the sanitizers slow everything down.
phase "sanitizer tests"
suppressions=$(pwd)/tools/lsan-suppressions.txt
(cd build/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  LSAN_OPTIONS=suppressions=$suppressions:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j "$jobs" --timeout 600 --label-exclude timing)
cat build/asan/tests/e2e/session/steps.txt 2>/dev/null || echo "e2e: no steps were run"

# Each harness for about 20 seconds; a finding fails the run (tools/fuzz.sh runs them longer).
phase "fuzzing"
tools/fuzz.sh 20

# The page: the WebAssembly build, then the browser tests, and alongside them, niced, the core's
# tests under Node and the naming check: every name under src/ as docs/style.md writes them
# (clang-tidy, .clang-tidy), once emscripten is there for the page's binding too. The browsers
# leave most of a core idle; the compilers take it.
phase "web and naming"
tools/test-web.sh --alongside tools/check-naming.sh build/release "$jobs"
phase "done"

