#!/usr/bin/env bash
# Makes the screenshot the AppStream metadata shows: the viewer on the end-to-end test's set, in
# an X server of its own, captured with ImageMagick's import.
#
#   tools/make-screenshot.sh [build directory]      (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import e2e_set; e2e_set.write_set(sys.argv[1])' \
  "$work"
# The settings go to a throw-away home so that the recent-file list of the person running this
# stays as it was.
HOME=$work XDG_CONFIG_HOME=$work/config xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" "$2/e2e.cnf" & viewer=$!
  window=$(xdotool search --sync --onlyvisible --pid "$viewer" | head -1)
  sleep 1
  import -window "$window" "$3"
  kill "$viewer"
' capture "$build/src/tavro" "$work" "$work/shot.png"
convert "$work/shot.png" -strip resources/screenshots/main.png
