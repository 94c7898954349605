#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Quick when they are
# all present already: apt is asked only for what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev ccache pkg-config
  juce-modules-source
  libjpeg-dev libpng-dev zlib1g-dev libfreetype-dev
  fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev
  python3 unicode-data
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "deps: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
