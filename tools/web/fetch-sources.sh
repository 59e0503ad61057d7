#!/usr/bin/env bash
# Fetches and unpacks the Debian source packages of the browser build's libraries into DEPS/src,
# through a source list and package lists of this build's own, given to apt on its command line:
# the machine's apt configuration is not changed.
set -euo pipefail
deps="$1"
mkdir -p "$deps/apt/lists/partial" "$deps/apt/cache/archives/partial" "$deps/src"
[ -f "$deps/src/.fetched" ] && exit 0

cat > "$deps/apt/sources.list" <<LIST
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian-security bookworm-security main
LIST
opts=(-o "Dir::Etc::SourceList=$deps/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$deps/apt/lists" -o "Dir::Cache=$deps/apt/cache"
  -o Debug::NoLocking=1 -q)
# As root apt would hand the downloads to its own user, who may not write into this folder.
[ "$(id -u)" = 0 ] && opts+=(-o APT::Sandbox::User=root)
apt-get "${opts[@]}" update
cd "$deps/src"
for package in lhasa libarchive giflib libwebp zlib; do
  # A security update's sources may be missing from a mirror; the release's then do.
  apt-get "${opts[@]}" source "$package" || apt-get "${opts[@]}" source "$package/bookworm"
done
touch .fetched
