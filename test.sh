#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh

jobs=$(nproc)
# Paths inside the checkout are hashed relative to it, so that clones share ccache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
build=${TAMBRIX_BUILD_DIR:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
