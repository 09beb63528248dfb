#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. a plain build and the whole suite;
#   2. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (the file readers meet truncated and corrupted files there);
#   3. the threaded tests under ThreadSanitizer;
#   4. the Python module's tests (pytest) on the plain build.
# First of all, every C++ file must be as .clang-format writes it; every build
# treats compiler warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
  echo "Files above differ from .clang-format; run: git ls-files '*.cpp' '*.h' | xargs clang-format -i" >&2
  exit 1
fi

build() { # dir, extra cmake arguments...
  local dir=$1; shift
  # A new warning in our code fails the build.
  cmake -S . -B "$dir" -G Ninja -DONDARIX_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

build build -DCMAKE_BUILD_TYPE=Release
(cd build && ctest --output-on-failure -j "$jobs")
python=$(sed -n 's/^Python_EXECUTABLE:[A-Z]*=//p' build/CMakeCache.txt)
if [ -d build/python/ondarix ]; then
  PYTHONPATH="$PWD/build/python" ONDARIX_BATCH="$PWD/build/batch/ondarix-batch" \
    "$python" -m pytest -q -p no:cacheprovider tests/python
fi

build build-asan -DCMAKE_BUILD_TYPE=Debug -DONDARIX_SANITIZE=address -DONDARIX_PYTHON=OFF
(cd build-asan && ctest --output-on-failure -j "$jobs")

if [ -n "$(ls tests/*/*_thread_test.cpp 2>/dev/null)" ]; then
  build build-tsan -DCMAKE_BUILD_TYPE=Debug -DONDARIX_SANITIZE=thread -DONDARIX_PYTHON=OFF
  # Qt itself is not built for the sanitizer: see tests/tsan-qt.supp. The runs over
  # several files read and analyse them on worker threads too.
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/../tests/tsan-qt.supp" \
    ctest --output-on-failure -j "$jobs" -R 'Thread|FileSeries|AnalyseFiles')
fi
