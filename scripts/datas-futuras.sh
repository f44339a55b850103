#!/usr/bin/env bash
# The demonstration with the library clock in each year from 2027 to 2099
# (or the years given: datas-futuras.sh 2031 2099): the clock on the 10th
# of a month that changes from year to year, the demonstration building the
# month before it. Each run must answer true (every export true, every EAD
# signature valid) and every file must carry that month's dates. A long run
# (about ten seconds a year): not part of CI. Uses the qmx of build/ (or of
# QMX_BUILD), built beforehand.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX_BUILD:-$raiz/build}/cli/qmx"
[[ -x "$qmx" ]] || { echo "falta $qmx: rode scripts/construir.sh qmx" >&2; exit 2; }
anos=("$@")
[[ ${#anos[@]} -gt 0 ]] || mapfile -t anos < <(seq 2027 2099)
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT

falhas=0
falha() { echo "  FALHOU $1" >&2; falhas=$((falhas + 1)); }
tem() { grep -qaF -- "$2" "$1" || falha "$(basename "$1") sem $2"; }

for ano in "${anos[@]}"; do
  mes=$(( (ano - 2027) % 12 + 1 ))
  hoje="$(printf '10/%02d/%04d' "$mes" "$ano")"
  primeiro="$(date -d "$(printf '%04d-%02d-10' "$ano" "$mes") -1 month" +%Y-%m-01)"
  ultimo="$(date -d "$primeiro +1 month -1 day" +%Y-%m-%d)"
  dma() { date -d "$1" +%d%m%Y; }
  amd() { date -d "$1" +%Y%m%d; }
  pasta="$trabalho/$ano"
  mkdir -p "$pasta"
  printf '[SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\nZT_DATETIME=1;%s;10:00:00:000;%s;%s:000\n' \
    "$hoje" "$(date +%d/%m/%Y)" "$(date +%H:%M:%S)" > "$pasta/registro.ini"
  if ! QMX_REGISTRO="$pasta/registro.ini" "$qmx" demo --pasta "$pasta/demo" > "$pasta/saida.txt" 2>&1; then
    falha "$hoje: qmx demo respondeu falso"
    tail -20 "$pasta/saida.txt" >&2
    continue
  fi
  tem "$pasta/saida.txt" "Movimento de $(date -d "$primeiro" +%d/%m/%Y) a $(date -d "$ultimo" +%d/%m/%Y)"
  arquivos="$pasta/demo/DEMO/Arquivos-Eletronicos"
  sped="$arquivos/TorvoECF-SpedFiscal-$(date -d "$ultimo" +%m%Y).txt"
  [[ -f "$sped" ]] && tem "$sped" "|0000|004|0|$(dma "$primeiro")|$(dma "$ultimo")|" || falha "sem $sped"
  for nome in "DAVs-QMX0000000000000001-$(dma "$primeiro")-$(dma "$ultimo").txt" \
              "QMX0000000000000001 _$(dma "$primeiro")_$(dma "$ultimo").txt"; do
    [[ -f "$arquivos/$nome" ]] || falha "sem $nome"
  done
  ls "$arquivos"/*"$(dma "$ultimo").txt" > /dev/null 2>&1 || falha "sem o arquivo de Movimentos"
  estoque="$arquivos/Estoque$(date -d "$(printf '%04d-%02d-10' "$ano" "$mes")" +%d%m%y).txt"
  [[ -f "$estoque" ]] && tem "$estoque" "$(printf '%04d%02d10' "$ano" "$mes")10" || falha "sem $estoque"
  # Sintegra (register 10) and Venda do Período (register 0000).
  grep -qaF "$(amd "$primeiro")$(amd "$ultimo")" "$arquivos"/ZTR* || falha "Sintegra sem o período"
  grep -qaF "|0000|006|0|$(dma "$primeiro")|$(dma "$ultimo")|" "$arquivos"/ZTR* || falha "Venda do Período sem o período"
  echo "$hoje: $(date -d "$primeiro" +%m/%Y) certo"
  rm -rf "$pasta"
done
echo "${#anos[@]} anos, $falhas falhas"
[[ $falhas -eq 0 ]]
