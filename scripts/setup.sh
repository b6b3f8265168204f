#!/usr/bin/env bash
# Installs the Debian packages Saldora needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev
  libsqlcipher-dev libsodium-dev libcurl4-openssl-dev zlib1g-dev libzip-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth poppler-utils qpdf python3 python3-pyftpdlib
  fonts-liberation fonts-dejavu-core
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  export DEBIAN_FRONTEND=noninteractive
  if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
  fi
fi

cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_EXTRA_ARGS:-}
cmake --build "$BUILD_DIR"
