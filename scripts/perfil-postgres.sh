#!/usr/bin/env bash
# Where a generator's time goes on PostgreSQL. Builds the big store
# (`qmx demo --loja-grande`) in a throw-away server that keeps
# pg_stat_statements, generates the month's file once and prints: the
# time, the client's CPU, the server's CPU (its processes, the ended
# sessions included), the statements by the server's time spent in them
# and, when perf can record the whole machine, where each side's CPU went.
#
#   scripts/perfil-postgres.sh [sintegra | sped-fiscal | venda-periodo]
#
# The same generation on SQLite, for the comparison: `qmx demo --loja-grande`
# into a folder and the same command on it.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
gerador="${1:-sintegra}"
[[ -x "$qmx" ]] || { echo "sem $qmx: compile antes (cmake --build build)"; exit 1; }
periodo=(--data-inicial 01/11/2026 --data-final 30/11/2026)
case "$gerador" in
  sintegra) comando=(sintegra --filial 1 "${periodo[@]}" --ok) ;;
  sped-fiscal) comando=(sped-fiscal --filial 1 --ecf 0 "${periodo[@]}" --ok) ;;
  venda-periodo) comando=(venda-periodo --filial 1 "${periodo[@]}" --leiaute cotepe --perfil A --ok) ;;
  *) echo "uso: $0 [sintegra | sped-fiscal | venda-periodo]"; exit 2 ;;
esac

source "$raiz/scripts/postgres-teste.sh"
trabalho="$(mktemp -d)"
trap 'para_postgres_teste; rm -rf "$trabalho"' EXIT
QMX_PG_OPCOES="-c shared_preload_libraries=pg_stat_statements -c pg_stat_statements.track=all" \
  inicia_postgres_teste > /dev/null
base="$QMX_TESTE_POSTGRES"
postmaster=$(head -n 1 "$QMX_PG_PASTA/dados/postmaster.pid")

echo "montando a loja grande no PostgreSQL..."
"$qmx" demo --mes 11/2026 --loja-grande --base "$base" --pasta "$trabalho/loja" > "$trabalho/demo.log" 2>&1 ||
  { tail -n 5 "$trabalho/demo.log"; exit 1; }
psql "$base" -qc "CREATE EXTENSION pg_stat_statements" -c "SELECT pg_stat_statements_reset()" > /dev/null

# The server's CPU so far, in clock ticks: its main process and the
# sessions it has reaped (utime, stime, cutime, cstime).
cpu_servidor() { awk '{ print $14 + $15 + $16 + $17 }' "/proc/$postmaster/stat"; }
tique=$(getconf CLK_TCK)

gera=(/usr/bin/time -o "$trabalho/tempo" -f "%e %U %S"
      "$qmx" --registro "$trabalho/loja/registro.ini" --empresa DEMO --usuario 1 "${comando[@]}" --resposta ok)
antes=$(cpu_servidor)
com_perf=0
if command -v perf > /dev/null && perf record -a -q -o "$trabalho/perf.data" -- true 2> /dev/null; then
  com_perf=1
  perf record -a -q -o "$trabalho/perf.data" -- "${gera[@]}" > "$trabalho/gera.log" 2>&1
else
  "${gera[@]}" > "$trabalho/gera.log" 2>&1
fi
depois=$(cpu_servidor)
grep -q "Arquivo gerado em" "$trabalho/gera.log" || { tail -n 5 "$trabalho/gera.log"; exit 1; }

read -r parede usuario sistema < "$trabalho/tempo"
awk -v p="$parede" -v u="$usuario" -v s="$sistema" -v a="$antes" -v d="$depois" -v t="$tique" -v g="$gerador" 'BEGIN {
  printf "%s do mês: %.1f s; CPU do cliente %.1f s (%.1f usuário, %.1f sistema); CPU do servidor %.1f s\n",
         g, p, u + s, u, s, (d - a) / t }'

echo
echo "comandos pelo tempo do servidor (pg_stat_statements):"
# Each cursor has a name of its own: its statements are summed under one.
psql "$base" -P pager=off -c "
  SELECT sum(calls) AS vezes, sum(rows) AS linhas, round(sum(total_exec_time)) AS ms,
         round((100 * sum(total_exec_time) / sum(sum(total_exec_time)) OVER ())::numeric, 1) AS \"%\",
         left(regexp_replace(regexp_replace(query, 'qmx_cursor_[0-9]+', 'qmx_cursor_N', 'g'), '\\s+', ' ', 'g'), 90)
           AS comando
  FROM pg_stat_statements
  WHERE query NOT ILIKE '%pg_stat_statements%'
  GROUP BY 5 ORDER BY 3 DESC LIMIT 10"

if (( com_perf )); then
  echo "CPU da máquina por processo e biblioteca (perf, a máquina toda):"
  perf report -i "$trabalho/perf.data" --no-children --sort comm,dso --stdio 2> /dev/null |
    grep -v '^#' | grep '%' | awk 'NR <= 12'
  echo
  echo "o servidor por função:"
  perf report -i "$trabalho/perf.data" --no-children --comm postgres --sort symbol --stdio 2> /dev/null |
    grep -v '^#' | grep '%' | awk 'NR <= 20'
fi
