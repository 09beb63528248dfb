#!/usr/bin/env bash
# Installs the Debian packages Ondarix builds with; does nothing when all are there.
set -euo pipefail
packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libmatio-dev
          libhdf5-dev zlib1g-dev pkg-config clang-format desktop-file-utils libxml2-utils shared-mime-info)
if [ "${ONDARIX_WITH_UI:-1}" = 1 ]; then
  packages+=(qt6-base-dev qt6-svg-dev chromium)
fi
if [ "${ONDARIX_WITH_PYTHON:-1}" = 1 ]; then
  packages+=(pybind11-dev python3-dev python3-numpy python3-pandas python3-dask python3-distributed
             python3-pytest python3-soundfile python3-scipy python3-h5py)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
