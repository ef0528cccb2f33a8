#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the suite needs.
# Idempotent: packages already present are not touched, so a second run takes a second.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # windows, playback and recording
  qt6-base-dev qt6-multimedia-dev libgl-dev
  # exe3.exe plays Flash elements in an embedded web view (optional at build time)
  qt6-webengine-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-bad ffmpeg lame timidity sox
  # regenerating the shipped music and sample voices (data/make_media.sh)
  timgm6mb-soundfont espeak-ng
  # pictures, compression, text
  libjpeg62-turbo-dev libgif-dev libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming fonts-dejavu-core
  # tests, benchmarks, screenshots
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick
  dnsmasq python3-aiosmtpd
  # Flash cards: npm for the Flash player the card pages ship, Chromium for the SWF playback tests
  chromium nodejs
  # a faster rebuild when the same sources are compiled again (optional)
  ccache
  # the Windows card players: cross-built with MinGW-w64, tested under Wine
  g++-mingw-w64-x86-64-posix wine wine64
  # web cards: the card stage compiled to WebAssembly; MIDI rendered and encoded, movies transcoded
  emscripten node-acorn libfluidsynth-dev libmp3lame-dev
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev
  # mail tests deliver through a real mail server; Qt's own dialogs in Chinese
  exim4-daemon-light qt6-translations-l10n
  # desktop integration and the Debian package
  desktop-file-utils shared-mime-info xdg-utils dpkg-dev file
  # fuzz targets and the sanitizer build
  clang libclang-rt-dev llvm
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "install-deps: done"
fi

# The npm packages pinned in tests/support/browser/package-lock.json, installed with `npm ci`
# into .cache/npm: the Flash player (Ruffle) that the Flash card pages ship (the build copies it
# with its licences into the program folder's "ruffle" folder), and the Chromium driver and SWF
# reader of the browser test harness. Reinstalled only when the pinned list changes; tests
# never install anything.
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
NPM_DIR="$ROOT/.cache/npm"
LOCK="$ROOT/tests/support/browser/package-lock.json"
# The stamp is the lock file of the last install that finished.
if ! cmp -s "$LOCK" "$NPM_DIR/installed-lock.json"; then
  echo "install-deps: installing the pinned npm packages into .cache/npm"
  if ! command -v npm >/dev/null 2>&1; then  # Debian's nodejs comes without npm
    S=""; if [ "$(id -u)" -ne 0 ]; then S="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $S apt-get install -y -qq --no-install-recommends npm >/dev/null
  fi
  mkdir -p "$NPM_DIR"
  rm -f "$NPM_DIR/installed-lock.json"
  cp "$ROOT/tests/support/browser/package.json" "$LOCK" "$NPM_DIR/"
  (cd "$NPM_DIR" && npm ci --no-audit --no-fund --silent >/dev/null)
  cp "$LOCK" "$NPM_DIR/installed-lock.json"
fi
