#!/usr/bin/env bash
# Sets everything up and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure -j 2 --timeout 600
# The checked builds: the core tests and cardtool under the sanitizers, then every fuzz target
# for 15 seconds on its corpus (built in the sanitizer build's folder, no second compile).
passed=0 failed=0
if bash scripts/sanitize.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
if FUZZ_BUILD_DIR=build-sanitize bash scripts/fuzz.sh 15; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
echo "checked builds (sanitizers, fuzz smoke): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
