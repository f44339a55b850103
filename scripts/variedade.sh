#!/usr/bin/env bash
# The properties of the files over many varied companies: variedade.sh N
# runs N seeds (1000 unless told; from QMX_PRIMEIRA_SEMENTE, 1 unless told)
# through the suite's property test. Each seed makes a company with
# `qmx demo --variada`, every generator runs on it, every file must pass
# the published layouts' checks and the files must agree with each other;
# a failing seed is named, and `qmx demo --variada SEMENTE` shows it again.
# A long run (about a quarter of a second a seed): not part of CI, which
# runs 40. Uses the build of build/ (or of QMX_BUILD), built beforehand.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QMX_BUILD:-$raiz/build}"
testes="$build/testes/qmx_testes"
[[ -x "$testes" && -x "$build/cli/qmx" ]] || { echo "falta $testes ou $build/cli/qmx: construa antes" >&2; exit 2; }
sementes="${1:-1000}"
inicio=$(date +%s)
if QMX_SEMENTES="$sementes" "$testes" --gtest_filter='Variedade.*' --gtest_brief=1; then
  echo "variedade: $sementes sementes a partir de ${QMX_PRIMEIRA_SEMENTE:-1}, nenhuma falhou ($(( $(date +%s) - inicio )) s)"
else
  echo "variedade: houve sementes que falharam (veja acima: qmx demo --variada SEMENTE)" >&2
  exit 1
fi
