#!/usr/bin/env bash
# cpack -G DEB makes tavro_<version>_<arch>.deb holding exactly the files a DESTDIR install under
# /usr makes, with Depends drawn from the linked libraries.
#
#   check_deb.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail
build=$1 work=$2 version=$3
rm -rf "$work"
mkdir -p "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
deb="$work/tavro_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "no $deb"; ls "$work"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/root" && find . -type f | sort) >"$work/installed.txt"
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort >"$work/packaged.txt"
cat "$work/packaged.txt"
diff "$work/installed.txt" "$work/packaged.txt" || { echo "the package differs from the install"; exit 1; }

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6; do
  [[ "$depends" == *"$library "* ]] || { echo "Depends lacks $library"; exit 1; }
done

# The copyright file: machine-readable, the program under MIT, and every library package the
# programs depend on named with its licence.
copyright="$work/root/usr/share/doc/tavro/copyright"
[ -f "$copyright" ] || { echo "no /usr/share/doc/tavro/copyright"; exit 1; }
head -1 "$copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  { echo "the copyright file is not in the machine-readable format"; exit 1; }
grep -qx 'Files: \*' "$copyright" && grep -qx 'License: MIT' "$copyright" &&
  grep -qx 'Copyright: 2026 Tavro developers' "$copyright" ||
  { echo "the copyright file does not give the program's own licence"; exit 1; }
for library in $(tr ',' '\n' <<<"$depends" | awk '{ print $1 }'); do
  # A package built under the sanitizers depends on their runtimes; no package that ships does.
  case "$library" in libasan* | libubsan* | liblsan* | libtsan*) continue ;; esac
  tr -c 'a-z0-9+.\n-' '\n' <"$copyright" | grep -qxF "$library" ||
    { echo "the copyright file lacks $library"; exit 1; }
done

# No placeholder survives: no invented address or web site in the control fields or in any text
# the package installs, the compressed manual pages included. The only web addresses allowed are
# the namespaces and format definitions files refer to. (The project has no web site: no Homepage
# field.)
[ -z "$(dpkg-deb --field "$deb" Homepage)" ] || { echo "the package names a Homepage"; exit 1; }
maintainer=$(dpkg-deb --field "$deb" Maintainer)
! grep -Eiq 'example\.(com|org|net)|your name|tavro\.org' <<<"$maintainer" ||
  { echo "placeholder in Maintainer: $maintainer"; exit 1; }
texts="$work/texts"
mkdir -p "$texts"
cp -r "$work/root/." "$texts"
find "$texts" -name '*.gz' -exec gzip -d {} +
placeholders=$(grep -rIEil 'example\.(com|org|net)|your name|your@|you@|changeme|lorem ipsum|TODO|FIXME|tavro\.org' \
  "$texts" || true)
[ -z "$placeholders" ] || { echo "placeholders in: $placeholders"; exit 1; }
addresses=$(grep -rIEoh 'https?://[^" <>)]+' "$texts" | sort -u |
  grep -Ev '^https?://(www\.debian\.org/doc/packaging-manuals/copyright-format/|www\.freedesktop\.org/standards/|www\.w3\.org/2000/svg)' ||
  true)
[ -z "$addresses" ] || { echo "web addresses that are not real: $addresses"; exit 1; }
echo "copyright file and placeholders: ok"
