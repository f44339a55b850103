#!/usr/bin/env bash
# Configures and builds into build/ (or the folder in QMX_BUILD): everything,
# or only the targets named as arguments (and what they need).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
bash "$raiz/scripts/dependencias.sh"
cmake -S "$raiz" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE="${QMX_TIPO:-RelWithDebInfo}"
alvos=()
for alvo in "$@"; do alvos+=(--target "$alvo"); done
cmake --build "$pasta" -j "$(nproc)" "${alvos[@]}"
