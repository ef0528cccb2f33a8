#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, with the sanitizers; build-fuzz/, or
# FUZZ_BUILD_DIR) and runs them one after another, each for SECONDS (default 60) on its seed
# corpus fuzz/corpus/<target>/ plus the inputs earlier runs found (kept in the build folder).
# Prints one line per target (execs, execs/s, coverage, findings); findings are saved as
# <build>/fuzz-findings/<target>-crash-... and the script exits non-zero when there are any.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     e.g. scripts/fuzz.sh 600 style_file picture
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
SECONDS_EACH=${1:-60}
shift || true
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
# Seconds one input may take (wall clock: on a loaded machine give more, FUZZ_TIMEOUT=...).
TIMEOUT=${FUZZ_TIMEOUT:-30}

export CCACHE_NOHASHDIR=1 CCACHE_BASEDIR="$ROOT"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCARD_FUZZ=ON \
    -DCARD_BUILD_TESTS=OFF -DCARD_BUILD_BENCH=OFF -DCARD_BUILD_WINDOWS=OFF >/dev/null || exit 1
fi
if [ $# -gt 0 ]; then
  TARGETS=("$@")
else
  TARGETS=()
  for d in fuzz/corpus/*/; do TARGETS+=("$(basename "$d")"); done
fi
BUILD_TARGETS=()
for t in "${TARGETS[@]}"; do BUILD_TARGETS+=("${t}_fuzz"); done
if [ -z "${FUZZ_NO_BUILD:-}" ]; then  # FUZZ_NO_BUILD=1: run what is built
  cmake --build "$BUILD_DIR" -j "$(nproc)" --target "${BUILD_TARGETS[@]}" || { echo "fuzz: build failed"; exit 1; }
fi

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan_suppressions.txt:print_suppressions=0
FINDINGS=$ROOT/$BUILD_DIR/fuzz-findings
LOGS=$ROOT/$BUILD_DIR/fuzz-logs
mkdir -p "$FINDINGS" "$LOGS"

printf '%-20s %7s %12s %9s %8s %13s %8s %8s %9s\n' target wall-s execs exec/s cpu-s exec/cpu-s cov ft findings
total=0
for t in "${TARGETS[@]}"; do
  found=$ROOT/$BUILD_DIR/fuzz-corpus/$t
  mkdir -p "$found"
  log=$LOGS/$t.log
  before=$(ls "$FINDINGS" | grep -cE "^$t-(crash|leak|timeout|oom)-" || true)
  start=$(date +%s)
  # The CPU time the target had: on a shared machine execs per CPU second say more than exec/s.
  cpu=$( { TIMEFORMAT='%U %S'; time "$ROOT/$BUILD_DIR/fuzz/${t}_fuzz" -max_total_time="$SECONDS_EACH" -timeout="$TIMEOUT" \
    -rss_limit_mb=2560 -max_len=65536 -print_final_stats=1 -artifact_prefix="$FINDINGS/$t-" \
    "$found" "$ROOT/fuzz/corpus/$t" >"$log" 2>&1; echo "rc=$?" >>"$log"; } 2>&1 | awk '{print $1 + $2}')
  wall=$(( $(date +%s) - start ))
  rc=$(sed -n 's/^rc=//p' "$log" | tail -n 1)
  after=$(ls "$FINDINGS" | grep -cE "^$t-(crash|leak|timeout|oom)-" || true)
  n=$((after - before))
  [ "$rc" -ne 0 ] && [ "$n" -eq 0 ] && n=1  # stopped by something that left no input
  total=$((total + n))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  per_cpu=$(awk -v e="${execs:-0}" -v c="$cpu" 'BEGIN { if (c > 0) printf "%d", e / c; else print "?" }')
  printf '%-20s %7s %12s %9s %8s %13s %8s %8s %9s\n' "$t" "$wall" "${execs:-?}" "${rate:-?}" "$cpu" "$per_cpu" "${cov:-?}" "${ft:-?}" "$n"
  [ "$n" -gt 0 ] && grep -E 'ERROR: |runtime error|deadly signal|Timeout|out-of-memory' "$log" | head -n 5
done
echo "fuzz: ${#TARGETS[@]} targets, $total findings"
[ "$total" -eq 0 ]
