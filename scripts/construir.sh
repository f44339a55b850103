#!/usr/bin/env bash
# Configures and builds everything into build/ (or the folder in QMX_BUILD).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
bash "$raiz/scripts/dependencias.sh"
cmake -S "$raiz" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE="${QMX_TIPO:-RelWithDebInfo}"
cmake --build "$pasta" -j "$(nproc)"
