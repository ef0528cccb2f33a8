#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the suite needs.
# Idempotent: packages already present are not touched, so a second run takes a second.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config
  # windows, playback and recording
  qt6-base-dev qt6-multimedia-dev libgl-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-bad ffmpeg lame timidity sox
  # pictures, compression, text
  libjpeg62-turbo-dev libgif-dev libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev
  fonts-wqy-zenhei fonts-arphic-ukai fonts-arphic-uming fonts-dejavu-core
  # tests, benchmarks, screenshots
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick
  dnsmasq python3-aiosmtpd
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
