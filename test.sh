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

# The threads of a running plug-in (audio, host updates, chunks, editor timer) under
# ThreadSanitizer: everything they touch, JUCE and the bundle included, built with it.
tsan=${build}-tsan
cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_BUILD_BENCHMARKS=OFF -DTAMBRIX_SANITIZE=thread >/dev/null
cmake --build "$tsan" -j "$jobs" --target e2e_thread_tests

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_SANITIZED_BUILD_DIRS="$(pwd)/$asan" \
  -DTAMBRIX_TSAN_THREAD_TESTS="$(pwd)/$tsan/bin/e2e_thread_tests" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
