#!/usr/bin/env bash
# The core test programs and cardtool built a second time with AddressSanitizer and
# UndefinedBehaviorSanitizer (float-to-int overflow included, every finding fatal) in
# build-sanitize/, then run. The window test programs (Qt) stay out of it, and so do the
# program tests of tests/apps, which need the window programs; cardtool is run here instead on
# the shipped content. The only suppression is scripts/lsan_suppressions.txt (system libraries).
# The build is clang's, with the fuzzer's coverage counters, so scripts/fuzz.sh builds its
# targets in this folder too (FUZZ_BUILD_DIR=build-sanitize) without compiling anything twice.
# Ends with "sanitizers: N passed, N failed" and a non-zero exit on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${SANITIZE_BUILD_DIR:-build-sanitize}
PROGRAMS=(platform_tests transitions_tests imaging_tests audio_tests mail_tests document_tests
          packaging_tests ordinary_tests flashwizard_tests player_tests shell_tests flashwriter_tests)

# Objects do not depend on the build folder's name, so a compiler cache serves every checkout.
export CCACHE_NOHASHDIR=1 CCACHE_BASEDIR="$ROOT"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCARD_FUZZ=ON -DCARD_BUILD_BENCH=OFF \
    -DCARD_BUILD_WINDOWS=OFF >/dev/null || exit 1
fi
# The Windows players are not cross-built a second time here: the packaging tests read the ones
# the normal build laid out (scripts/build.sh, which test.sh runs first).
MAIN_BUILD_DIR=${CARD_MAIN_BUILD_DIR:-build}
if [ -d "$MAIN_BUILD_DIR/bin/windows" ]; then
  mkdir -p "$BUILD_DIR/bin" && rm -rf "$BUILD_DIR/bin/windows" && cp -r "$MAIN_BUILD_DIR/bin/windows" "$BUILD_DIR/bin/"
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target "${PROGRAMS[@]}" cardtool flashwriter || {
  echo "sanitizers: build failed"; exit 1; }

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$ROOT/scripts/lsan_suppressions.txt:print_suppressions=0

passed=0 failed=0
LOG_DIR=$BUILD_DIR/sanitize-logs
rm -rf "$LOG_DIR" && mkdir -p "$LOG_DIR"
check() {  # check NAME COMMAND...: runs one step, its output kept in the log folder
  local name=$1; shift
  if (cd "$BUILD_DIR" && "$@") >"$LOG_DIR/$name.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "sanitizers: FAILED $name (log: $LOG_DIR/$name.log)"
    grep -E 'ERROR: |runtime error|FAILED' "$LOG_DIR/$name.log" | head -n 20
  fi
}

for p in "${PROGRAMS[@]}"; do
  check "$p" "./tests/$p" --gtest_brief=1
done

# cardtool over the shipped content: text effects (every style), style files both ways,
# pictures, sounds, designs, and cards built from the templates and read back.
TOOL=$ROOT/$BUILD_DIR/bin/cardtool
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cardtool_steps() {
  local data=$ROOT/data f n=0
  for f in "$data"/文字特效/*.style "$data"/null.style; do
    n=$((n + 1))
    "$TOOL" text-effect --text 贺卡 --font 宋体 --size 二号 --style "$f" "$WORK/effect$n.png" >/dev/null || { echo "text-effect $f"; return 1; }
    "$TOOL" style-dump "$f" >"$WORK/style$n.txt" || { echo "style-dump $f"; return 1; }
    "$TOOL" style-write "$WORK/style$n.txt" "$WORK/style$n.style" >/dev/null || { echo "style-write $f"; return 1; }
    # A pattern's pixels are noted in the dump, not held: only styles without one come back whole.
    if ! grep -q '^# pattern:' "$WORK/style$n.txt"; then
      cmp -s "$f" "$WORK/style$n.style" || { echo "style-write did not give $f back"; return 1; }
    fi
  done
  # The picture folders also hold Flash movies: only pictures are read as pictures.
  for f in "$data"/贺卡图片/* "$data"/背景图/* "$data"/图标/*; do
    case "${f,,}" in
      *.bmp|*.jpg|*.jpeg|*.gif|*.ico|*.wmf|*.emf) "$TOOL" picture-info "$f" >/dev/null || { echo "picture-info $f"; return 1; } ;;
    esac
  done
  for f in "$data"/背景音乐/* "$data"/录音/*; do
    [ -f "$f" ] && { "$TOOL" media-info "$f" >/dev/null || { echo "media-info $f"; return 1; }; }
  done
  for f in "$data"/template/*.lmcard2; do
    "$TOOL" design-dump "$f" >/dev/null || { echo "design-dump $f"; return 1; }
  done
  return 0
}
check cardtool cardtool_steps

echo "sanitizers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
