#!/usr/bin/env bash
# Builds paravib with its 22 boundary files and starts it in the folder that holds them.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j "$(nproc)"
cd build/boundaries
exec ../paravib "$@"
