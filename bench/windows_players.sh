#!/usr/bin/env bash
# The Windows players' sizes, the size of an EXE card of the default design, and the time from
# starting that card under Wine (on a virtual screen) until its first frame is painted; median of
# three starts after one warm-up. Writes bench/results/windows_players.txt.
#   bash bench/windows_players.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
BIN=$BUILD/bin
OUT=bench/results/windows_players.txt
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export CARD_WINE_PREFIX=$PWD/$BUILD/windows/wine

"$BIN/cardtool" build "$BIN/template/默认贺卡.lmcard2" "$TMP/card.exe" --yes >/dev/null
starts=()
for run in 0 1 2 3; do
  t0=$(date +%s%3N)
  LMCARD_REPORT_FIRST_FRAME=1 LMCARD_QUIT_AFTER_MS=4000 xvfb-run -a -s '-screen 0 1024x768x24' \
    sh cmake/windows/wine_run.sh "$TMP/card.exe" > "$TMP/run.txt" 2>/dev/null || true
  t1=$(sed -n 's/^first frame: //p' "$TMP/run.txt" | tr -d '\r')
  [ -n "$t1" ] || { echo "no first frame reported" >&2; cat "$TMP/run.txt" >&2; exit 1; }
  [ "$run" = 0 ] || starts+=($((t1 - t0)))
done
median=$(printf '%s\n' "${starts[@]}" | sort -n | sed -n 2p)
size() { stat -c %s "$1"; }
{
  echo "# bash bench/windows_players.sh on a shared 2-core virtual machine, $(date +%F), build of $(git rev-parse --short HEAD)"
  echo "# budgets: each player <= 1.5 MB (1572864 bytes), an EXE card of the default design <= 1.6 MB (1677722 bytes)"
  for n in 1 2 3; do echo "exe$n.exe  $(size "$BIN/windows/exe$n.exe") bytes"; done
  echo "EXE card of 默认贺卡.lmcard2  $(size "$TMP/card.exe") bytes"
  echo "first frame after start under Wine (Xvfb, warm prefix): median ${median} ms of ${starts[*]} ms"
} > "$OUT"
cat "$OUT"
