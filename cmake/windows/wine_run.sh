#!/bin/sh
# Runs a Windows program under Wine in the build's own Wine prefix (made on first use), quietly;
# a program that crashes ends (no debugger), so a test sees its exit code.
# CARD_WINE_PREFIX names the prefix; the first run waits for wineboot to finish.
set -e
: "${CARD_WINE_PREFIX:?CARD_WINE_PREFIX is not set}"
export WINEPREFIX="$CARD_WINE_PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
exec wine "$@"
