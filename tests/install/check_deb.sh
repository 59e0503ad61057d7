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
