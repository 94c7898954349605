#!/usr/bin/env bash
# Rebuilds the logo generator and rewrites plugin_logo.jpg next to this script.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build=${TAMBRIX_BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target tambrix-logo-gen
"$build/bin/tambrix-logo-gen" "$here/plugin_logo.jpg"
echo "wrote $here/plugin_logo.jpg ($(stat -c %s "$here/plugin_logo.jpg") bytes)"
