#!/usr/bin/env bash
# Sets everything up and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
# The SWF checking kit (Ruffle in headless Chromium) that the Flash tests render movies with.
KIT_SRC=../shared/tools/swfcheck
if [ -f "$KIT_SRC/install.sh" ] && [ ! -d build/swfcheck/node_modules/@ruffle-rs/ruffle ]; then
  sh "$KIT_SRC/install.sh" "$PWD/build/swfcheck" >/dev/null
fi
ctest --test-dir build --output-on-failure -j 2 --timeout 600
