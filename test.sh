#!/usr/bin/env bash
# Sets everything up and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j 2 --timeout 600
# The core tests built for Windows with MinGW-w64, run under Wine (the build folder keeps its
# own Wine prefix; its first start takes a minute).
ctest --test-dir build/windows --output-on-failure -j 2 --timeout 900
