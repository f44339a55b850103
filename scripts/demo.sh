#!/usr/bin/env bash
# Installs what is missing, builds the program and the library (not the tests
# nor the benchmarks), and runs the demonstration: a company of its own in
# qmx-demo/ (or the folder given), and what the library does with it.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
# The man page too: everything `cmake --install` puts in place is then built.
bash "$raiz/scripts/construir.sh" qmx qmx_manual
# November 2026, the month the README's examples name (QMX_DEMO_MES for another).
"$pasta/cli/qmx" demo --mes "${QMX_DEMO_MES:-11/2026}" --pasta "${1:-$raiz/qmx-demo}"
