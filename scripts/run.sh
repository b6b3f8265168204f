#!/usr/bin/env bash
# Builds Saldora on a fresh machine and starts it on its embedded default: SQLite files in a local
# data folder, no server. The program folder is the build's "programa" folder: the executable,
# its pictures and icons, and a list of data folders that already offers "./DADOS".
# Usage: scripts/run.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
scripts/setup.sh "$BUILD_DIR"

PROGRAM="$BUILD_DIR/programa"
if ! ls "$PROGRAM" | grep -qi '^paths\.sld$'; then
  list=$(mktemp)
  printf 'PAT:PATH,PAT:COMMENTS\n./DADOS,Dados locais (pasta DADOS do programa)\n' > "$list"
  "$BUILD_DIR/tools/saldora-dados" load "$PROGRAM" PATHS "$list" > /dev/null
  rm -f "$list"
fi
exec "$PROGRAM/saldora"
