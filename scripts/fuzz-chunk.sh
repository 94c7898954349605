#!/usr/bin/env bash
# Fuzzes the controls-chunk reader and the chunk operations for a bounded time.
# Builds the libFuzzer target with clang (AddressSanitizer and UndefinedBehaviorSanitizer)
# in its own build folder, writes the seed corpus and runs the target from it.
#   FUZZ_SECONDS            run time in seconds (default 60)
#   TAMBRIX_FUZZ_BUILD_DIR  build folder (default build-fuzz)
# Exit status: 0 when the run found nothing; a crash leaves its input in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TAMBRIX_FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-60}

command -v clang++ >/dev/null || { echo "fuzz-chunk: clang++ is needed" >&2; exit 2; }

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAMBRIX_LIBRARY_ONLY=ON -DTAMBRIX_BUILD_BENCHMARKS=OFF -DTAMBRIX_SANITIZE= >/dev/null
cmake --build "$build" --target fuzz_chunk fuzz_chunk_seeds

seeds="$build/fuzz_chunk/seeds"
corpus="$build/fuzz_chunk/corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus"
"$build/bin/fuzz_chunk_seeds" "$seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
"$build/bin/fuzz_chunk" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/fuzz_chunk/" "$corpus" "$seeds"
