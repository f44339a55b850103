#!/usr/bin/env bash
# Installs what is missing, builds the program and the library (not the tests
# nor the benchmarks), and runs the demonstration: a company of its own in
# qmx-demo/ (or the folder given), and what the library does with it.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
bash "$raiz/scripts/construir.sh" qmx
"$pasta/cli/qmx" demo --pasta "${1:-$raiz/qmx-demo}"
