#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: on SQLite
# always, and on PostgreSQL against a throw-away server of its own (or the
# one named by QMX_TESTE_POSTGRES, when set).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD:-$raiz/build}"
bash "$raiz/scripts/construir.sh"
if [[ -z "${QMX_TESTE_POSTGRES:-}" ]]; then
  source "$raiz/scripts/postgres-teste.sh"
  trap para_postgres_teste EXIT
  inicia_postgres_teste
fi
ctest --test-dir "$pasta" --output-on-failure -j "$(nproc)"
