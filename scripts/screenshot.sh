#!/usr/bin/env bash
# Builds the desktop program and writes docs/screenshot.png: the frame with the
# bundled sample measurement, drawn by the program itself on Qt's offscreen
# platform (no display needed). A throw-away settings directory keeps the
# user's stored window placement out of the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target ondarix
mkdir -p docs
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
XDG_CONFIG_HOME="$config" QT_QPA_PLATFORM=offscreen ONDARIX_SCREENSHOT="$PWD/docs/screenshot.png" \
  build/ondarix samples/flume_sample.INT
echo "docs/screenshot.png written"
