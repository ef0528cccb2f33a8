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
# The core tests and cardtool again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-sanitize/, then every fuzz target for 15 s on its corpus, built in the same folder from
# the same objects. One input may take up to 120 s there (a loaded machine is slow, not faulty); a
# crash, leak, out-of-memory or an input slower than that fails the run.
bash scripts/sanitize.sh
FUZZ_BUILD_DIR=build-sanitize FUZZ_TIMEOUT=120 bash scripts/fuzz.sh 15
