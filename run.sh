#!/usr/bin/env bash
# Installs what the build needs, builds tambrix and runs its main job with defaults:
# the clock signal rendered to clock.wav, and a snapshot of the plug-in's editor in editor.png.
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh

jobs=$(nproc)
# Paths inside the checkout are hashed relative to it, so that clones share ccache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
build=${TAMBRIX_BUILD_DIR:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target tambrix-render
"$build/bin/tambrix-render" --out clock.wav "$@"

cmake --build "$build" -j "$jobs" --target tambrix-editor-snapshot
"$build/bin/tambrix-editor-snapshot" --out editor.png
