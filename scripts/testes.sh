#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
bash "$raiz/scripts/construir.sh"
ctest --test-dir "$pasta" --output-on-failure -j "$(nproc)"
