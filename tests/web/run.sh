#!/usr/bin/env bash
# Browser tests of the web build, for CI: builds the site, installs Debian's Chromium, and runs
# browser_test.py against the desktop program that ./check.sh built in build/.
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps.sh chromium
scripts/build-web.sh >/dev/null
python3 tests/web/browser_test.py build-web/site build/paravib build/boundaries
