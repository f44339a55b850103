#!/usr/bin/env bash
# A chain's month closed by an accounting office: `qmx demo --rede N` in a
# throw-away PostgreSQL server, then the month of every branch (Sintegra,
# the SPED extract, Venda do Período of the COTEPE layout's profile A and
# Movimentos of each of its ECFs) closed by 1, 2, 4 and 8 workers at once,
# each worker a terminal of its own (its own qmx processes, its own local
# folder) taking the next branch still to close.
#
#   scripts/bench-rede.sh [FILIAIS (8)] [CUPONS_POR_DIA (250)]
#
# Prints, for each number of workers: the time, the branches closed a
# minute, the CPU the workers' processes used and the CPU the server used
# (its processes, those that ended included), and how many times a look at
# the server's locks, twice a second, found a session waiting for one.
# Every branch's files must be the same bytes whatever the number of
# workers; a difference, or a command that fails, ends the script with 1.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
filiais="${1:-8}"
cupons="${2:-250}"
[[ -x "$qmx" ]] || { echo "sem $qmx: compile antes (cmake --build build)"; exit 1; }

source "$raiz/scripts/postgres-teste.sh"
trabalho="$(mktemp -d)"
trap 'para_postgres_teste; rm -rf "$trabalho"' EXIT
inicia_postgres_teste > /dev/null
base="$QMX_TESTE_POSTGRES"
postmaster=$(head -n 1 "$QMX_PG_PASTA/dados/postmaster.pid")

conta() { awk "BEGIN { print $1 }"; }

inicio=$(date +%s.%N)
"$qmx" demo --mes 11/2026 --rede "$filiais" --cupons-por-dia "$cupons" --base "$base" --pasta "$trabalho/rede" \
  > "$trabalho/demo.log" 2>&1 || { tail -5 "$trabalho/demo.log"; exit 1; }
fim=$(date +%s.%N)
itens=$(psql "$base" -Atc "SELECT COUNT(*) FROM cupom_item")
cupons_mes=$(psql "$base" -Atc "SELECT COUNT(*) FROM cupom")
printf 'rede de %d filiais: %d cupons, %d itens no mês, montada em %.1f s\n' \
  "$filiais" "$cupons_mes" "$itens" "$(conta "$fim - $inicio")"

# The server's CPU so far, in clock ticks: its main process and the
# sessions it has reaped (utime, stime, cutime, cstime).
cpu_servidor() { awk '{ print $14 + $15 + $16 + $17 }' "/proc/$postmaster/stat"; }
tique=$(getconf CLK_TCK)

# Closes the month of one branch: its files are kept as
# $trabalho/rodada-W/FILIAL-KIND.txt. Each branch's clock runs ten minutes
# a branch apart, so that two branches never name their files in the same
# second.
fecha_filial() {
  local filial=$1 pasta=$2 registro local saida
  local="$trabalho/local-$filial"
  mkdir -p "$local"
  registro="$trabalho/registro-$filial.ini"
  sed "s|^LocalTorvo=.*|LocalTorvo=$local/|" "$trabalho/rede/registro.ini" > "$registro"
  local minutos=$((filial * 10))
  export ZT_DATETIME
  ZT_DATETIME=$(printf '1;01/01/2026;%02d:%02d:00:000;01/01/2026;00:00:00:000' $((minutos / 60)) $((minutos % 60)))
  local comum=(--registro "$registro" --empresa DEMO)
  local periodo=(--data-inicial 01/11/2026 --data-final 30/11/2026)
  guarda() {
    local nome=$1
    shift
    if ! saida=$("$qmx" "${comum[@]}" "$@" --resposta ok 2>&1); then
      echo "filial $filial, $nome: $saida" >&2
      return 1
    fi
    local arquivo
    arquivo=$(grep -A1 "Arquivo gerado em" <<< "$saida" | tail -n 1 | sed 's/ (resposta 1)$//')
    mv "$arquivo" "$pasta/$filial-$nome.txt"
  }
  guarda sintegra sintegra --filial "$filial" "${periodo[@]}" --ok
  guarda extrato sped-fiscal --filial "$filial" --ecf 0 "${periodo[@]}" --ok
  guarda venda-periodo venda-periodo --filial "$filial" "${periodo[@]}" --leiaute cotepe --perfil A --ok
  for ecf in $(psql "$base" -Atc "SELECT numero FROM emissora WHERE filial = $filial ORDER BY numero"); do
    guarda "movimentos-$ecf" movimentos --automatico --filial "$filial" --ecf "$ecf" "${periodo[@]}"
  done
}
export -f fecha_filial
export qmx trabalho base

printf '\n%-9s %9s %16s %13s %14s %8s\n' trabalhos "tempo s" "filiais/minuto" "CPU qmx s" "CPU servidor s" esperas
falhou=0
uma=""
for trabalhos in 1 2 4 8; do
  pasta="$trabalho/rodada-$trabalhos"
  mkdir -p "$pasta"
  esperas="$trabalho/esperas-$trabalhos"
  : > "$esperas"
  (while sleep 0.5; do psql "$base" -Atc "SELECT COUNT(*) FROM pg_locks WHERE NOT granted" >> "$esperas" 2>/dev/null; done) &
  olhando=$!
  antes=$(cpu_servidor)
  inicio=$(date +%s.%N)
  TIMEFORMAT='%U %S'
  { time (seq "$filiais" | xargs -P "$trabalhos" -I{} bash -c 'set -e; fecha_filial "$1" "$2"' _ {} "$pasta" \
      2> "$trabalho/erros"); } 2> "$trabalho/cpu" || { cat "$trabalho/erros"; falhou=1; }
  fim=$(date +%s.%N)
  kill "$olhando" 2>/dev/null; wait "$olhando" 2>/dev/null || true
  sleep 1  # the sessions of the last processes end
  depois=$(cpu_servidor)
  read -r usuario sistema < <(tail -n 1 "$trabalho/cpu")
  tempo=$(conta "$fim - $inicio")
  printf '%-9d %9.1f %16.2f %13.1f %14.1f %8d\n' "$trabalhos" "$tempo" "$(conta "$filiais * 60 / $tempo")" \
    "$(conta "$usuario + $sistema")" "$(conta "($depois - $antes) / $tique")" \
    "$(awk '$1 > 0' "$esperas" | wc -l)"
  if [[ -z "$uma" ]]; then
    uma="$pasta"
  elif ! diff -rq "$uma" "$pasta" > "$trabalho/diferencas"; then
    echo "arquivos diferentes com $trabalhos trabalhos:"; cat "$trabalho/diferencas"; falhou=1
    # The first lines that differ in each file.
    for arquivo in $(awk '{ print $2 }' "$trabalho/diferencas"); do
      diff "$arquivo" "$pasta/$(basename "$arquivo")" | head -n 8
    done
  fi
done
arquivos=$(find "$uma" -name '*.txt' | wc -l)
megas=$(du -sm "$uma" | cut -f1)
echo "$arquivos arquivos por rodada ($megas MB); os mesmos bytes em todas: $([[ $falhou == 0 ]] && echo sim || echo não)"
echo "máquina: $(nproc) núcleos, cliente e servidor nela"
exit "$falhou"
