#!/usr/bin/env bash
# Builds paravib for web browsers into build-web/site/: the page, the program as WebAssembly with
# the 22 boundary files, and the terminal it shows the console dialog in. Needs Debian 12 (apt and
# npm are used to install what is missing) and no network once the site is built.
# Usage: scripts/build-web.sh [build-folder]   (default build-web)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-web}

# Emscripten, node and the host compiler and libglut that the glyph tables are read with.
npm_package=()
command -v npm >/dev/null || npm_package=(npm)
scripts/install-deps.sh emscripten nodejs libglut3.12 "${npm_package[@]}"

# The terminal of the page, at the version and checksum of web/package-lock.json.
mkdir -p "$build/npm"
cp web/package.json web/package-lock.json "$build/npm/"
if ! cmp -s web/package-lock.json "$build/npm/installed-lock.json" 2>/dev/null; then
  npm ci --prefix "$build/npm" --no-audit --no-fund --loglevel=error
  cp web/package-lock.json "$build/npm/installed-lock.json"
fi

# Debian's emcc finds its JavaScript modules (acorn) through NODE_PATH and its prebuilt system
# libraries in this cache. Node 18 and later need --no-experimental-fetch to run emcc's output,
# which is how the boundary-file generator runs during the build.
export NODE_PATH=/usr/share/nodejs EM_CACHE=/usr/share/emscripten/cache
emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$(command -v node);--no-experimental-fetch" \
  "-DPARAVIB_XTERM_DIR=$PWD/$build/npm/node_modules/@xterm/xterm" >/dev/null
cmake --build "$build" -j "$(nproc)"
echo "Site written to $build/site/ ($(du -sk "$build/site" | cut -f1) kB)"
