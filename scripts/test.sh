#!/usr/bin/env bash
# Sets up a fresh machine (packages, configure, build) and runs the whole test suite headless.
# Usage: scripts/test.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
scripts/setup.sh "$BUILD_DIR"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/saldora-runtime.XXXXXX)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
