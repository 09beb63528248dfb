#!/usr/bin/env bash
# Builds the desktop program and writes docs/screenshot.png the way a user
# gets there from scripts/run.sh: the bundled sample opened, then
#   Ctrl+D three times            (four channels at once),
#   Edit > Block set... 1, 1000, 2024 and Enter   (a block on gauge 1),
#   F5 and Enter                  (its spectrum),
#   Window > Tile.
# The keys are typed into a real X server (Xvfb, with the openbox window
# manager) by xdotool; ImageMagick grabs the frame. A throw-away settings
# directory keeps the user's stored window placement out of the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
need=()
for tool in Xvfb:xvfb xdotool:xdotool openbox:openbox import:imagemagick xwininfo:x11-utils; do
  command -v "${tool%%:*}" >/dev/null || need+=("${tool#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target ondarix
mkdir -p docs

display=:${SCREENSHOT_DISPLAY:-93}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
sleep 1
openbox >/dev/null 2>&1 & pids+=($!)
sleep 0.5
build/ondarix samples/flume_sample.INT >/dev/null 2>&1 & pids+=($!)

window_named() { # title pattern, seconds
  for _ in $(seq 1 $(( $2 * 5 ))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "no window '$1'" >&2
  return 1
}
keys() { # keys typed into the frame
  xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.4; done
}

frame=$(window_named "^Ondarix" 20)
xdotool windowmove "$frame" 0 0 windowsize "$frame" 1200 820
sleep 1
keys ctrl+d ctrl+d ctrl+d
keys alt+e s
block=$(window_named "^Set Block$" 5)
xdotool windowactivate --sync "$block" >/dev/null 2>&1 || true
for field in 1 1000 2024; do
  xdotool key ctrl+a && xdotool type "$field" && xdotool key Tab
done
xdotool key Return
sleep 0.5
keys F5
run=$(window_named "^Transformata Fouriera$" 5)
xdotool windowactivate --sync "$run" >/dev/null 2>&1 || true
xdotool key Return
sleep 1.5
keys alt+w t
sleep 1
import -window "$frame" docs/screenshot.png
echo "docs/screenshot.png written"
