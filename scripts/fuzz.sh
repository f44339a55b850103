#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer, UBSan) into
# build-fuzz/ (or QMX_BUILD_FUZZ) and runs each for QMX_FUZZ_SEGUNDOS seconds
# (30 unless told), starting from the seed corpora under fuzz/sementes/.
# A finding stops the run with the failing input kept in the build folder.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD_FUZZ:-$raiz/build-fuzz}"
segundos="${QMX_FUZZ_SEGUNDOS:-30}"
command -v clang++ >/dev/null || bash "$raiz/scripts/dependencias.sh" clang
cmake -S "$raiz/fuzz" -B "$pasta" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$pasta" -j "$(nproc)"
for alvo in "$raiz"/fuzz/Fuzz*.cpp; do  # one target per source
  nome="$(basename "$alvo" .cpp)"
  corpus="$pasta/corpus/$nome"
  mkdir -p "$corpus"
  # Seeds: the tests' own data where it fits, else a few files of our own.
  case "$nome" in
    FuzzArquivoTEF) sementes=("$raiz/testes/tef/dados") ;;
    FuzzModeloDialogo) sementes=("$raiz/recursos/dialogos") ;;
    FuzzVerificacaoEAD) sementes=("$raiz/testes/arquivos/dados") ;;
    FuzzCatalogo) sementes=("$raiz/recursos/mensagens") ;;
    *) sementes=("$raiz/fuzz/sementes/$nome") ;;
  esac
  [[ -x "$pasta/$nome" ]] || { echo "alvo $nome não construído" >&2; exit 1; }
  echo "== $nome (${segundos}s)"
  (cd "$pasta" && "./$nome" -max_total_time="$segundos" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" "${sementes[@]}" 2>&1 | grep -E "^(stat::number_of_executed_units|==|SUMMARY|Done)" || true)
  # libFuzzer leaves crash-*, leak-* or timeout-* files for a finding.
  if compgen -G "$pasta/crash-*" >/dev/null || compgen -G "$pasta/leak-*" >/dev/null ||
     compgen -G "$pasta/timeout-*" >/dev/null; then
    echo "achado em $nome: veja $pasta" >&2
    exit 1
  fi
done
