#!/usr/bin/env bash
# Builds paravib and runs every test: numerics, boundary files, console dialog, drawing under a
# private Xvfb, and the whole program end to end. Usage: ./check.sh [build-folder [cmake options...]]
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
build=${1:-build}
shift || true
cmake -S . -B "$build" "$@"
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
