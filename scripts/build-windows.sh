#!/usr/bin/env bash
# Makes the Windows zip on Debian 12: installs the MinGW-w64 cross compiler and Wine, builds
# freeglut, zlib and libpng from Debian's source packages as static MinGW libraries (once;
# kept in the build folder), cross-builds paravib and its generator, makes the 22 boundary
# files by running the Windows generator under Wine, and writes build-windows/paravib-<version>-win64.zip.
# Usage: scripts/build-windows.sh [--with-tests]   (--with-tests: also Google Test and the unit
# tests, for scripts/test-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-windows
with_tests=OFF
[ "${1:-}" = --with-tests ] && with_tests=ON

# Runs a step with its output in a log, which is shown when the step fails.
logged() {
  local log=$1
  shift
  "$@" >>"$log" 2>&1 || { tail -n 30 "$log" >&2; echo "failed: $* (log: $log)" >&2; exit 1; }
}

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt_get() {
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get -o DPkg::Lock::Timeout=900 "$@"
}

# --- what the build needs from Debian ---------------------------------------------------------
packages=(cmake make dpkg-dev g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64
          xvfb unzip)
[ "$with_tests" = ON ] && packages+=(googletest)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi

# --- Debian source packages ---------------------------------------------------------------------
# Debian packages no MinGW build of GLUT, libpng or zlib, so they are built from Debian's own
# source packages, each once, into its own folder of build-windows/.
# Fetches and unpacks source package $1 into folder $2/source.
debian_source() {
  local package=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$dir"
  if ! (cd "$dir" && apt-get source -qq --download-only "$package") 2>/dev/null; then
    # apt-get source needs a deb-src line; add one for Debian 12's main archive.
    echo "Adding a deb-src line for Debian's source packages"
    "${as_root[@]}" tee /etc/apt/sources.list.d/paravib-deb-src.sources >/dev/null <<'EOF2'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF2
    apt_get update -qq
    (cd "$dir" && apt-get source -qq --download-only "$package")
  fi
  (cd "$dir" && dpkg-source -x --skip-patches "$package"_*.dsc source >/dev/null 2>&1)
}

# --- freeglut for MinGW, built once ----------------------------------------------------------
freeglut=$build/freeglut
freeglut_prefix=$freeglut/install
if [ ! -f "$freeglut_prefix/lib/libfreeglut_static.a" ]; then
  debian_source freeglut "$freeglut"
  logged "$freeglut/build.log" cmake -S "$freeglut/source" -B "$freeglut/build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$freeglut_prefix" \
    -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_PRINT_WARNINGS=OFF
  logged "$freeglut/build.log" cmake --build "$freeglut/build" -j "$(nproc)"
  logged "$freeglut/build.log" cmake --install "$freeglut/build"
  # freeglut installs only its own headers; the program includes the classic name.
  printf '#include <GL/freeglut.h>\n' >"$freeglut_prefix/include/GL/glut.h"
fi
prefixes=$freeglut_prefix

# --- zlib and libpng for MinGW, built once (the explorer's PNG pictures) ----------------------
zlib=$build/zlib
zlib_prefix=$zlib/install
if [ ! -f "$zlib_prefix/lib/libz.a" ]; then
  debian_source zlib "$zlib"
  # Debian's zlib source has no Windows makefile; the library is its fifteen C files.
  (
    cd "$zlib/source"
    for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
             inflate inftrees trees uncompr zutil; do
      logged "$zlib/build.log" x86_64-w64-mingw32-gcc-posix -O2 -c "$f.c" -o "$f.o"
    done
    logged "$zlib/build.log" x86_64-w64-mingw32-ar rcs libz.a ./*.o
  )
  mkdir -p "$zlib_prefix/lib" "$zlib_prefix/include"
  cp "$zlib/source/libz.a" "$zlib_prefix/lib/"
  cp "$zlib/source/zlib.h" "$zlib/source/zconf.h" "$zlib_prefix/include/"
fi
libpng=$build/libpng
libpng_prefix=$libpng/install
if [ ! -f "$libpng_prefix/lib/libpng.a" ]; then
  debian_source libpng1.6 "$libpng"
  logged "$libpng/build.log" cmake -S "$libpng/source" -B "$libpng/build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$libpng_prefix" -DZLIB_ROOT="$zlib_prefix" \
    -DZLIB_LIBRARY="$zlib_prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$zlib_prefix/include" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
  logged "$libpng/build.log" cmake --build "$libpng/build" -j "$(nproc)"
  logged "$libpng/build.log" cmake --install "$libpng/build"
  # The static library installs as libpng16.a; find_package(PNG) also looks for libpng.a.
  [ -f "$libpng_prefix/lib/libpng.a" ] || cp "$libpng_prefix/lib/libpng16.a" "$libpng_prefix/lib/libpng.a"
fi
# FindPNG and FindZLIB search only the MinGW tree (the toolchain file keeps the Linux ones
# out), so they are told where the static libraries are.
png_options=(-DZLIB_LIBRARY="$zlib_prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$zlib_prefix/include"
             -DPNG_LIBRARY="$libpng_prefix/lib/libpng.a" -DPNG_PNG_INCLUDE_DIR="$libpng_prefix/include")

# --- Google Test for MinGW, from Debian's googletest sources (tests only) ---------------------
if [ "$with_tests" = ON ]; then
  gtest_prefix=$build/googletest/install
  if [ ! -f "$gtest_prefix/lib/libgtest.a" ]; then
    mkdir -p "$build/googletest"
    logged "$build/googletest/build.log" cmake -S /usr/src/googletest -B "$build/googletest/build" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=OFF
    logged "$build/googletest/build.log" cmake --build "$build/googletest/build" -j "$(nproc)"
    logged "$build/googletest/build.log" cmake --install "$build/googletest/build"
  fi
  prefixes="$prefixes;$gtest_prefix"
fi

# --- paravib -----------------------------------------------------------------------------------
# Wine keeps its settings inside the build folder; the first run sets them up (about 10 s).
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefixes" -DPARAVIB_TESTS="$with_tests" \
  "${png_options[@]}"
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/paravib-*-win64.zip)
echo "Windows zip: ${zip#"$root"/} ($(du -k "$zip" | cut -f1) KiB)"
