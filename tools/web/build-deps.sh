#!/usr/bin/env bash
# Compiles the browser build's libraries with emscripten into DEPS/prefix (static libraries,
# headers and pkg-config files). Each library is built once; delete its stamp in DEPS/prefix to
# build it again.
#
# zlib, liblhasa and giflib are a handful of C files with no configuration step, so they are
# compiled directly; libwebp's encoder likewise. libarchive is configured with CMake, seeded with
# the results of its platform checks (tools/web/libarchive-checks.cmake), which would otherwise
# take most of its build time.
set -euo pipefail
deps="$1"
jobs="$2"
here="$(cd "$(dirname "$0")" && pwd)"
src="$deps/src"
prefix="$deps/prefix"
obj="$deps/obj"
mkdir -p "$prefix/lib/pkgconfig" "$prefix/include" "$obj"
cflags=(-O2 -fexceptions)

# Compiles the C files given into DEPS/prefix/lib/lib$1.a, $2 jobs at once; $3.. are emcc's
# options, then "--", then the files.
compile_library() {
  local name="$1"; shift
  local options=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  mkdir -p "$obj/$name"
  printf '%s\n' "$@" | xargs -P "$jobs" -I{} sh -c \
    'f="{}"; emcc "$@" -c "$f" -o "'"$obj/$name"'/$(basename "${f%.c}").o"' _ "${cflags[@]}" "${options[@]}"
  rm -f "$prefix/lib/lib$name.a"
  emar rcs "$prefix/lib/lib$name.a" "$obj/$name"/*.o
}

pc_file() {  # name, version, libs
  cat > "$prefix/lib/pkgconfig/$1.pc" <<PC
prefix=$prefix
Name: $1
Description: $1 for the browser build
Version: $2
Cflags: -I\${prefix}/include${4:-}
Libs: -L\${prefix}/lib $3
PC
}

dir_of() { find "$src" -maxdepth 1 -type d -name "$1-*" | head -n1; }

if [ ! -f "$prefix/.zlib" ]; then
  z="$(dir_of zlib)"
  compile_library z -DHAVE_UNISTD_H -DHAVE_STDARG_H -- "$z"/*.c
  cp "$z/zlib.h" "$z/zconf.h" "$prefix/include/"
  pc_file zlib 1.2.13 -lz
  touch "$prefix/.zlib"
fi

if [ ! -f "$prefix/.lhasa" ]; then
  l="$(dir_of lhasa)"
  # The files its Makefile lists; the others are included by them.
  compile_library lhasa -I"$l/lib" -I"$l/lib/public" -- $(sed -n '/^SRC =/,/^$/p' "$l/lib/Makefile.am" |
    grep -o '[a-z0-9_]*\.c' | grep -v win32 | sed "s|^|$l/lib/|")
  mkdir -p "$prefix/include/liblhasa-1.0"
  cp "$l"/lib/public/*.h "$prefix/include/liblhasa-1.0/"
  pc_file liblhasa 0.3.1 -llhasa " -I\${prefix}/include/liblhasa-1.0"
  touch "$prefix/.lhasa"
fi

if [ ! -f "$prefix/.giflib" ]; then
  g="$(dir_of giflib)"
  compile_library gif -- "$g"/{dgif_lib,egif_lib,gifalloc,gif_err,gif_font,gif_hash,openbsd-reallocarray,quantize}.c
  cp "$g/gif_lib.h" "$prefix/include/"
  touch "$prefix/.giflib"
fi

if [ ! -f "$prefix/.libwebp" ]; then
  w="$(dir_of libwebp)"
  compile_library webp -I"$w" -I"$w/src" -- "$w"/src/{dec,enc,dsp,utils}/*.c "$w"/sharpyuv/*.c
  mkdir -p "$prefix/include/webp"
  cp "$w"/src/webp/{encode,decode,types,mux_types}.h "$prefix/include/webp/"
  pc_file libwebp 1.2.4 -lwebp
  touch "$prefix/.libwebp"
fi

if [ ! -f "$prefix/.libarchive" ]; then
  a="$(dir_of libarchive)"
  off=()
  for option in MBEDTLS NETTLE OPENSSL LIBB2 LZ4 LZO LZMA ZSTD BZip2 LIBXML2 EXPAT PCREPOSIX \
    PCRE2POSIX LIBGCC CNG TAR CPIO CAT XATTR ACL TEST WERROR; do
    off+=("-DENABLE_$option=OFF")
  done
  # Make, not Ninja: under emscripten its shared and static targets would both write
  # libarchive.a, which Ninja refuses.
  emcmake cmake -S "$a" -B "$obj/archive" -G "Unix Makefiles" -C "$here/libarchive-checks.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="${cflags[*]}" "${off[@]}" \
    -DENABLE_ZLIB=ON -DENABLE_ICONV=ON -DBUILD_SHARED_LIBS=OFF \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" >"$obj/archive-configure.log"
  cmake --build "$obj/archive" -j "$jobs" --target archive_static
  cp "$obj/archive/libarchive/libarchive.a" "$prefix/lib/libarchive.a"
  cp "$a/libarchive/archive.h" "$a/libarchive/archive_entry.h" "$prefix/include/"
  pc_file libarchive 3.6.2 "-larchive -lz"
  touch "$prefix/.libarchive"
fi
