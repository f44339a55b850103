#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, on the loopback address.
#
#   source scripts/postgres-teste.sh; inicia_postgres_teste; ...; para_postgres_teste
#
# inicia_postgres_teste makes a data folder in a temporary folder, starts a
# server on 127.0.0.1 and a free port, creates the database "qmx_teste" and
# exports its connection string in QMX_TESTE_POSTGRES. As root the server
# runs as the "postgres" user. QMX_PG_OPCOES, when set, goes to the server's
# command line (say "-c shared_preload_libraries=pg_stat_statements" to see
# where a benchmark's server time goes). para_postgres_teste stops the
# server and removes the folder.

_pg_bin() {
  local bin
  bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
  if [[ -n "$bin" && -x "$bin/initdb" ]]; then echo "$bin"; else return 1; fi
}

_pg_como_dono() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u postgres -- "$@"; else "$@"; fi
}

_pg_porta_livre() {
  local porta
  for porta in $(seq 55432 55532); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$porta") 2>/dev/null; then
      echo "$porta"
      return 0
    fi
  done
  return 1
}

inicia_postgres_teste() {
  local bin porta
  bin=$(_pg_bin) || { echo "PostgreSQL não instalado" >&2; return 1; }
  QMX_PG_PASTA=$(mktemp -d -t qmx-postgres-XXXXXX)
  chmod 755 "$QMX_PG_PASTA"
  if [[ $(id -u) -eq 0 ]]; then chown postgres: "$QMX_PG_PASTA"; fi
  porta=$(_pg_porta_livre) || { echo "nenhuma porta livre" >&2; return 1; }
  _pg_como_dono "$bin/initdb" -D "$QMX_PG_PASTA/dados" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
  _pg_como_dono "$bin/pg_ctl" -D "$QMX_PG_PASTA/dados" -l "$QMX_PG_PASTA/servidor.log" -w \
    -o "-c listen_addresses=127.0.0.1 -p $porta -k $QMX_PG_PASTA -c max_connections=200 -c fsync=off ${QMX_PG_OPCOES:-}" start >/dev/null
  QMX_PG_BIN="$bin"
  _pg_como_dono "$bin/createdb" -h 127.0.0.1 -p "$porta" -U postgres qmx_teste
  export QMX_TESTE_POSTGRES="host=127.0.0.1 port=$porta user=postgres dbname=qmx_teste"
  echo "PostgreSQL de teste em 127.0.0.1:$porta"
}

para_postgres_teste() {
  if [[ -n "${QMX_PG_PASTA:-}" && -d "$QMX_PG_PASTA/dados" ]]; then
    _pg_como_dono "$QMX_PG_BIN/pg_ctl" -D "$QMX_PG_PASTA/dados" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  if [[ -n "${QMX_PG_PASTA:-}" ]]; then rm -rf "$QMX_PG_PASTA"; fi
  unset QMX_PG_PASTA QMX_TESTE_POSTGRES
  return 0
}
