#!/usr/bin/env bash
# Ondarix against numpy/scipy, statsmodels and sox on the same inputs (bench/peers/); run
# by hand, never in CI. Installs what it needs, builds a Release tree with the
# benchmarks in build-bench/, and prints the table README quotes.
# Usage: scripts/bench-peers.sh [--rounds N]; inputs (about 200 MB) go to
# ${ONDARIX_PEER_WORK:-/tmp/ondarix-peers}; ONDARIX_BUILD_JOBS limits the build.
set -euo pipefail
cd "$(dirname "$0")/.."
ONDARIX_WITH_UI=0 scripts/install-deps.sh
packages=(python3-numpy python3-scipy python3-statsmodels sox)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDARIX_BENCH=ON \
  -DONDARIX_TESTS=OFF -DONDARIX_UI=OFF "${launcher[@]}" >/dev/null
cmake --build build-bench ${ONDARIX_BUILD_JOBS:+-j"$ONDARIX_BUILD_JOBS"} --target peer_harness ondarix-batch _ondarix
/usr/bin/python3 bench/peers/bench_peers.py --build build-bench \
  --work "${ONDARIX_PEER_WORK:-/tmp/ondarix-peers}" "$@"
