#!/usr/bin/env bash
# Checks the naming rule of docs/style.md, as .clang-tidy writes it down, over every source under
# src/: the native ones as BUILD compiles them (its compile_commands.json, with Qt's moc output
# already made: build it first), and the page's binding in src/web with emscripten's headers
# where Debian's emscripten is installed. Any warning fails the check.
#
#   tools/check-naming.sh BUILD [JOBS]      e.g. tools/check-naming.sh build/release
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -lt 1 ] || [ ! -f "$1/compile_commands.json" ]; then
  echo "usage: tools/check-naming.sh BUILD [JOBS], BUILD holding a compile_commands.json" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
jobs="${2:-${JOBS:-$(nproc)}}"
log="$build/naming-check.log"
: >"$log"

# The binding is built only for WebAssembly, so it has no place in a native compile database:
# it gets one of its own, with the flags em++ hands clang.
sysroot=/usr/share/emscripten/cache/sysroot
web_db=""
if [ -d "$sysroot/include/c++/v1" ]; then
  web_db="$build/naming-web"
  mkdir -p "$web_db"
  python3 - "$root" "$sysroot" "$web_db/compile_commands.json" <<'EOF'
import glob, json, sys
root, sysroot, out = sys.argv[1:]
flags = ["clang++-14", "-target", "wasm32-unknown-emscripten", "--sysroot=" + sysroot,
         "-DEMSCRIPTEN", "-D__EMSCRIPTEN_major__=3", "-D__EMSCRIPTEN_minor__=1",
         "-D__EMSCRIPTEN_tiny__=6", "-D_LIBCPP_ABI_VERSION=2", "-Dunix", "-D__unix", "-D__unix__",
         "-Xclang", "-iwithsysroot/include/compat", "-fexceptions", "-std=c++20",
         "-I" + root + "/src"]
files = sorted(glob.glob(root + "/src/web/*.cpp"))
json.dump([{"directory": root, "file": f, "arguments": flags + ["-c", f]} for f in files],
          open(out, "w"), indent=1)
EOF
fi

# The build's precompiled headers are the compiler's own format, which clang cannot read: the
# native sources are checked as they would compile without them.
native_db="$build/naming-native"
mkdir -p "$native_db"
python3 - "$build/compile_commands.json" "$native_db/compile_commands.json" <<'EOF'
import json, re, sys
source, out = sys.argv[1:]
entries = json.load(open(source))
for entry in entries:
    command = re.sub(r" -include \S*cmake_pch\.hxx", "", entry["command"])
    entry["command"] = command.replace(" -Winvalid-pch", "")
json.dump(entries, open(out, "w"), indent=1)
EOF

started=$SECONDS
status=0
run() {  # compile database folder
  # The build's -Werror would turn clang's own warnings (gcc builds the tree) into errors here.
  run-clang-tidy-14 -p "$1" -j "$jobs" -quiet -extra-arg=-Wno-error -header-filter="^$root/src/" "^$root/src/" \
    >>"$log" 2>&1 || status=1
}
run "$native_db"
# Highway's sources compile once per instruction set, and clang-tidy does not see every set's
# part in the build's own pass: each set again on its own (baseline, AVX2, AVX3, AVX3_DL).
for tu in $(grep -rl 'hwy/foreach_target.h' "$root/src" --include='*.cpp' || true); do
  for march in "" haswell skylake-avx512 sapphirerapids; do
    clang-tidy-14 -p "$native_db" -quiet -header-filter="^$root/src/" --extra-arg=-Wno-error \
      --extra-arg=-DHWY_COMPILE_ONLY_STATIC=1 ${march:+--extra-arg=-march=$march} "$tu" \
      >>"$log" 2>&1 || status=1
  done
done
if [ -n "$web_db" ]; then
  run "$web_db"
else
  echo "check-naming: emscripten is not installed; src/web was not checked" >&2
fi

# Each header's warnings come once for every file that includes it.
warnings=$(sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '^([^ ]+:[0-9]+:[0-9]+: )?(warning|error):' |
  sort -u || true)
if [ -n "$warnings" ]; then
  echo "$warnings"
  echo "check-naming: $(echo "$warnings" | wc -l) names break docs/style.md (see .clang-tidy)" >&2
  status=1
elif [ "$status" -ne 0 ]; then
  echo "check-naming: clang-tidy failed; see $log" >&2
fi
[ "$status" -eq 0 ] && echo "check-naming: every name under src/ follows docs/style.md ($((SECONDS - started)) s)"
exit "$status"
