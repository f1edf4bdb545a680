#!/usr/bin/env bash
# Tests the Windows build under Wine: builds the zip with the unit tests (scripts/build-windows.sh
# --with-tests), runs the numerics and boundary-file unit tests through Wine, then
# tests/e2e/windows_test.py: the 22 files against the Linux build's, the piped dialogs of both
# programs, one window of each under Xvfb. Usage: scripts/test-windows.sh [linux-build-folder]
# (default: build; its boundary files and paravib-explore are made there when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=${1:-build}
started=$SECONDS

scripts/build-windows.sh --with-tests
export WINEPREFIX=$PWD/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

# The window test drives the program with xdotool and reads its picture with xwd and xprop.
scripts/install-deps.sh
if [ ! -f "$linux_build/boundaries/fileb2500" ] || [ ! -x "$linux_build/paravib-explore" ]; then
  cmake -S . -B "$linux_build"
  cmake --build "$linux_build" -j "$(nproc)" --target boundary_files paravib-explore
fi

ctest --test-dir build-windows --output-on-failure -j "$(nproc)"
python3 tests/e2e/windows_test.py build-windows "$linux_build"
echo "Windows build and tests under Wine: $((SECONDS - started)) s"
