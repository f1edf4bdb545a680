#!/usr/bin/env bash
# Makes the Windows zip on Debian 12: installs the MinGW-w64 cross compiler and Wine, builds
# freeglut from Debian's source package as a static MinGW library (once; kept in the build
# folder), cross-builds paravib and its generator, makes the 22 boundary files by running the
# Windows generator under Wine, and writes build-windows/paravib-<version>-win64.zip.
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

# --- freeglut for MinGW, built once ----------------------------------------------------------
# Debian packages no MinGW build of GLUT, so freeglut is built from Debian's own source package.
freeglut=$build/freeglut
freeglut_prefix=$freeglut/install
if [ ! -f "$freeglut_prefix/lib/libfreeglut_static.a" ]; then
  rm -rf "$freeglut"
  mkdir -p "$freeglut"
  if ! (cd "$freeglut" && apt-get source -qq --download-only freeglut) 2>/dev/null; then
    # apt-get source needs a deb-src line; add one for Debian 12's main archive.
    echo "Adding a deb-src line for Debian's source packages"
    "${as_root[@]}" tee /etc/apt/sources.list.d/paravib-deb-src.sources >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt_get update -qq
    (cd "$freeglut" && apt-get source -qq --download-only freeglut)
  fi
  (cd "$freeglut" && dpkg-source -x --skip-patches freeglut_*.dsc source >/dev/null 2>&1)
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
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefixes" -DPARAVIB_TESTS="$with_tests"
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/paravib-*-win64.zip)
echo "Windows zip: ${zip#"$root"/} ($(du -k "$zip" | cut -f1) KiB)"
