#!/usr/bin/env bash
# Kills and full disks, generator by generator, on a store of the
# demonstration (the big store unless --tamanho N or --cupons N is given): each generation
# is run once to time it, then killed at ten moments spread over that time,
# then run again; and once more with too little room for its file (a file
# size limit), and once stopped by the operator from its progress window.
# After every kill, each file under a final name in the
# company's electronic-files folder must be whole and signed (the SPED
# extract, which has no EAD line, must pass the validator); after the next
# run, no temporary may be left anywhere (the company's folders and the
# temporary folder): no temporary beside a target, no marked temporary file
# of a generated text, no folder of a killed qmx. (The DAV file's temporary
# stays in the temporary folder once stored, unmarked, as the point of sale
# expects; a temporary made in the last three seconds is left for a later
# run, as its writer may not hold it yet, so the next run waits that long.) The run with too little room must end with a box that
# names the folder, and leave no file. Prints a line per generator with its
# time; exits 1 on any fault.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
escala=(--loja-grande)
case "${1:-}" in
  --tamanho) escala=(--tamanho "$2") ;;
  # The big store's shape with N cupons a day per ECF (1000 in the big one).
  --cupons) escala=(--loja-grande --cupons-por-dia "$2") ;;
esac

trabalho="$(mktemp -d)"
trap 'umount "$trabalho/loja/DEMO/Arquivos-Eletronicos" "$trabalho/tmp" 2> /dev/null; rm -rf "$trabalho"' EXIT
export TMPDIR="$trabalho/tmp"
mkdir -p "$TMPDIR"
inicio_total=$(date +%s)
if ! "$qmx" demo --pasta "$trabalho/loja" "${escala[@]}" > "$trabalho/demo.log" 2>&1; then
  echo "qmx demo falhou:"; tail -20 "$trabalho/demo.log"; exit 1
fi
arquivos="$trabalho/loja/DEMO/Arquivos-Eletronicos"
comum=(--registro "$trabalho/loja/registro.ini" --empresa DEMO --usuario 1)
primeiro=$(date -d "$(date +%Y-%m-01) -1 month" +%d/%m/%Y)
ultimo=$(date -d "$(date +%Y-%m-01) -1 day" +%d/%m/%Y)
primeiro_curto="${primeiro:0:6}${primeiro:8:2}"
ultimo_curto="${ultimo:0:6}${ultimo:8:2}"

geradores=(
  "sintegra|sintegra --filial 1 --data-inicial $primeiro --data-final $ultimo --natureza 3"
  "sped-fiscal|sped-fiscal --filial 1 --ecf 0 --data-inicial $primeiro --data-final $ultimo"
  "venda-periodo|venda-periodo --filial 1 --data-inicial $primeiro --data-final $ultimo --leiaute cotepe --perfil B"
  "movimentos|movimentos --data-inicial $primeiro --data-final $ultimo --ecf 1 --filial 1 --automatico"
  "davs|davs --filial 1 --ecf 1 --data-inicial $primeiro --data-final $ultimo --opcao 13011"
  "tab-produtos|tab-produtos --filial 1 --tabela-produtos 1 --tabela-servicos 1"
  "estoque|estoque --filial 1"
  "arq-mfd|arq-mfd --data-inicial $primeiro_curto --data-final $ultimo_curto"
  "lmf|lmf --data-inicial $primeiro --data-final $ultimo --arquivo"
)

falhas=0
falha() { echo "  FALHA: $*"; falhas=$((falhas + 1)); }

# Every file under a final name that this generator's runs wrote (since the
# mark) is whole and signed.
confere_finais() {
  local f
  while IFS= read -r -d '' f; do
    case "$(basename "$f")" in
      TorvoECF-SpedFiscal-*) "$qmx" validar "$f" > /dev/null 2>&1 || falha "$1: $(basename "$f") não passa no validador" ;;
      *) "$qmx" verificar "$f" > /dev/null 2>&1 || falha "$1: $(basename "$f") sem assinatura válida" ;;
    esac
  done < <(find "$trabalho/loja" -type f -path '*Arquivos-Eletronicos*' ! -name '.*' -newer "$trabalho/marca" -print0)
}

# No temporary of any kind is left.
confere_temporarios() {
  local sobras
  sobras=$(find "$trabalho" \( -name '*.qmx-parcial-*' -o -name '*.qmx-dono' -o -name '.qmx-agora-*' \
    -o \( -path "$TMPDIR/*" -type d -name 'qmx-*' \) \) -print)
  [[ -z "$sobras" ]] || falha "$1: temporários deixados: $sobras"
}

# Too little room: where the file is written (the temporary folder of the
# texts made there first, and the folder given: the electronic-files folder,
# or the printer's answer folder), a file system a quarter of the file's
# size, mounted when this machine allows it; otherwise a file-size limit of
# that size, which also stops the database's own files from growing, so it
# is used only for files of 256 KB and more. The run must end with a box
# that tells the want of room, and leave no new file anywhere.
sem_espaco() {
  local nome="$1" pasta="$2" maior limite antes depois saida novos
  maior=$(find "$arquivos" -type f ! -name '.*' -newer "$trabalho/marca" -printf '%s\n' | sort -n | tail -1)
  limite=$(( (${maior:-4096} / 4 + 4095) / 4096 * 4096 ))
  antes=$(find "$arquivos" "$pasta" -type f ! -name '.*' ! -name 'impressao-*' | sort -u)
  # (The temporary folder gets 64 KB more for qmx's own small files.)
  if mount -t tmpfs -o size="$((limite + 65536))" tmpfs "$TMPDIR" 2> /dev/null; then
    # (Mounted over the folder, an empty disk hides what it held.)
    mount -t tmpfs -o size="$limite" tmpfs "$pasta"
    saida=$("$qmx" "${comum[@]}" "${argumentos[@]}" 2>&1)
    novos=$(find "$pasta" -type f ! -name '.*' ! -name 'impressao-*')
    umount "$pasta"; umount "$TMPDIR"
    [[ -z "$novos" ]] || falha "$nome: com o disco cheio ficou um arquivo: $novos"
    modo="disco de $limite bytes"
  elif [[ "${maior:-0}" -ge 262144 ]]; then
    saida=$( (ulimit -f $(( limite / 1024 )); trap '' XFSZ; "$qmx" "${comum[@]}" "${argumentos[@]}") 2>&1 )
    modo="arquivos limitados a $limite bytes"
  else
    saida="espaço (não conferido: arquivo pequeno demais para um limite de tamanho)"
    modo="não conferido"
  fi
  depois=$(find "$arquivos" "$pasta" -type f ! -name '.*' ! -name 'impressao-*' | sort -u)
  [[ "$depois" == "$antes" ]] || falha "$nome: com o disco cheio ficou um arquivo novo: $(comm -13 <(echo "$antes") <(echo "$depois"))"
  grep -q "espaço\|tamanho que o sistema permite" <<< "$saida" || falha "$nome: disco cheio sem caixa que diga a falta de espaço: $(tail -3 <<< "$saida")"
  confere_finais "$nome (disco cheio)"
  sleep 3
  "$qmx" "${comum[@]}" "${argumentos[@]}" > /dev/null 2>&1
  confere_temporarios "$nome (disco cheio)"
}

# Stopped by the operator from its progress (every report shown at once, the
# first one answered with Cancel): the dialog ends cancelled, and no file
# is left, final or temporary.
cancelado() {
  local nome="$1" antes depois saida
  printf 'cancela-progresso\n' > "$trabalho/cancela.txt"
  antes=$(find "$trabalho/loja" -type f ! -name '.*' ! -name 'impressao-*' ! -name '*.log' | sort -u)
  saida=$(QMX_PROGRESSO_MS=0 "$qmx" "${comum[@]}" --roteiro "$trabalho/cancela.txt" "${argumentos[@]}" 2>&1)
  [[ "$(tail -1 <<< "$saida")" == "cancelado" ]] || falha "$nome: cancelada no progresso, não terminou cancelada: $(tail -2 <<< "$saida")"
  depois=$(find "$trabalho/loja" -type f ! -name '.*' ! -name 'impressao-*' ! -name '*.log' | sort -u)
  [[ "$depois" == "$antes" ]] || falha "$nome: cancelada, deixou um arquivo novo: $(comm -13 <(echo "$antes") <(echo "$depois"))"
  confere_temporarios "$nome (cancelada)"
}

for linha in "${geradores[@]}"; do
  nome="${linha%%|*}"
  # QMX_GERADORES="sintegra davs" runs only those.
  if [[ -n "${QMX_GERADORES:-}" && " $QMX_GERADORES " != *" $nome "* ]]; then continue; fi
  read -r -a argumentos <<< "${linha#*|}"
  sleep 1
  touch "$trabalho/marca"
  t0=$(date +%s%N)
  "$qmx" "${comum[@]}" "${argumentos[@]}" > /dev/null 2>&1 || falha "$nome: a geração de referência falhou"
  ms=$(( ($(date +%s%N) - t0) / 1000000 ))
  mortos=0
  for k in $(seq 1 10); do
    "$qmx" "${comum[@]}" "${argumentos[@]}" > /dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v ms="$ms" -v k="$k" 'BEGIN { printf "%.3f", ms * k / 11 / 1000 }')"
    if kill -9 "$pid" 2> /dev/null; then mortos=$((mortos + 1)); fi
    wait "$pid" 2> /dev/null
    confere_finais "$nome (morto no momento $k)"
  done
  sleep 3
  "$qmx" "${comum[@]}" "${argumentos[@]}" > /dev/null 2>&1 || falha "$nome: a geração depois das mortes falhou"
  confere_finais "$nome"
  confere_temporarios "$nome"
  sem_espaco "$nome" "$arquivos"
  cancelado "$nome"
  # The fiscal-memory files are written first by the printer, into its
  # answer folder, and signed there: once more with that folder full.
  case "$nome" in lmf|arq-mfd) sem_espaco "$nome (pasta da impressora)" "$trabalho/loja/ECF" ;; esac
  printf '%-14s %8d ms por geração, %2d mortes no meio, sem espaço: %s\n' "$nome" "$ms" "$mortos" "$modo"
done
echo "tempo total: $(( $(date +%s) - inicio_total )) s"
[[ $falhas -eq 0 ]] || { echo "$falhas falhas"; exit 1; }
echo "nenhuma falha"
