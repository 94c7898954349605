#!/usr/bin/env bash
# Installs what the build needs, builds everything and runs every test through ctest:
# the normal build; the whole build again (JUCE, the wrapper, the library, the
# plug-in, the bundle, the host and the tools) with its tests under AddressSanitizer
# and UndefinedBehaviorSanitizer (all but tests/audio_path, whose counters replace the
# allocator as AddressSanitizer does); the interface library, the host and
# their tests with ThreadSanitizer, and the threads of a running plug-in (audio, host
# updates, chunks, editor timer; JUCE and the bundle built with ThreadSanitizer too);
# and the controls-chunk fuzzer for TAMBRIX_FUZZ_SECONDS (default 10; CI runs it for a
# minute), all as part of the same ctest.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh

jobs=$(nproc)
# Paths inside the checkout are hashed relative to it, so that clones share ccache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
build=${TAMBRIX_BUILD_DIR:-build}
asan=${build}-asan
tsan=${build}-tsan
tsanplugin=${build}-tsan-plugin

cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_LIBRARY_ONLY=OFF -DTAMBRIX_BUILD_BENCHMARKS=OFF \
  -DTAMBRIX_SANITIZE=address,undefined >/dev/null
cmake --build "$asan" -j "$jobs"

cmake -S . -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_LIBRARY_ONLY=ON -DTAMBRIX_BUILD_BENCHMARKS=OFF \
  -DTAMBRIX_SANITIZE=thread >/dev/null
cmake --build "$tsan" -j "$jobs"

cmake -S . -B "$tsanplugin" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_BUILD_BENCHMARKS=OFF -DTAMBRIX_SANITIZE=thread >/dev/null
cmake --build "$tsanplugin" -j "$jobs" --target e2e_thread_tests

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_SANITIZED_BUILD_DIRS="$(pwd)/$asan;$(pwd)/$tsan" \
  -DTAMBRIX_TSAN_THREAD_TESTS="$(pwd)/$tsanplugin/bin/e2e_thread_tests" \
  -DTAMBRIX_FUZZ_SECONDS="${TAMBRIX_FUZZ_SECONDS:-10}" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" -j "$jobs" --output-on-failure
