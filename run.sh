#!/usr/bin/env bash
# Installs what the build needs, builds tambrix and runs its main job with defaults:
# the plug-in bundle loaded by our host (aaxhost render), which plays the host transport
# through it and writes the clock signal to clock.wav, and a snapshot of the plug-in's
# editor in editor.png. Arguments go to aaxhost render (the options of tambrix-render).
set -euo pipefail
cd "$(dirname "$0")"

scripts/deps.sh

jobs=$(nproc)
# Paths inside the checkout are hashed relative to it, so that clones share ccache hits.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}"
build=${TAMBRIX_BUILD_DIR:-build}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs" --target tambrix_bundle aaxhost tambrix-render tambrix-editor-snapshot
"$build/bin/aaxhost" render "$build/tambrix.aaxplugin" --out clock.wav "$@"
"$build/bin/tambrix-editor-snapshot" --out editor.png

echo "bundle: $(pwd)/$build/tambrix.aaxplugin"
echo "clock:  $(pwd)/clock.wav"
echo "editor: $(pwd)/editor.png"
