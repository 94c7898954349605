#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test through ctest:
# the normal build, plus the interface library, the host and their tests built again
# with AddressSanitizer and UndefinedBehaviorSanitizer (run as part of the same ctest).
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh

jobs=$(nproc)
# Paths inside the checkout are hashed relative to it, so that clones share ccache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
build=${TAMBRIX_BUILD_DIR:-build}
asan=${build}-asan

cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_LIBRARY_ONLY=ON -DTAMBRIX_BUILD_BENCHMARKS=OFF \
  -DTAMBRIX_SANITIZE=address,undefined >/dev/null
cmake --build "$asan" -j "$jobs"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_SANITIZED_BUILD_DIRS="$(pwd)/$asan" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
