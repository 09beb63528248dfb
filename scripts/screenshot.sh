#!/usr/bin/env bash
# Builds the desktop program and writes docs/screenshot.png: the frame with the
# bundled sample measurement, shown in a real X server (Xvfb) and grabbed by
# the program itself once it is up (ONDARIX_SCREENSHOT). A throw-away settings
# directory keeps the user's stored window placement out of the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if ! command -v xvfb-run >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq xvfb xauth >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target ondarix
mkdir -p docs
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=xcb ONDARIX_SCREENSHOT="$PWD/docs/screenshot.png" \
  xvfb-run -a -s "-screen 0 1280x900x24" build/ondarix samples/flume_sample.INT
echo "docs/screenshot.png written"
