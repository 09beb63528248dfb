#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program on the
# bundled sample measurement.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
exec build/ondarix samples/flume_sample.INT
