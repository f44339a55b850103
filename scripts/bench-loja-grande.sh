#!/usr/bin/env bash
# The big store's benchmarks on both engines, printed as one table.
#
#   scripts/bench-loja-grande.sh [BUILD_FOLDER]
#
# Builds the benchmarks, starts a throw-away PostgreSQL server (unless
# QMX_TESTE_POSTGRES already names one), writes the big store of the
# demonstration (20 ECFs, November 2026, about 4.8 million items) into
# SQLite and into PostgreSQL, and runs: the loading, every file generator
# for half the month and for the month against its limit (the medians of
# QMX_BENCH_RODADAS paired rounds, 5 unless told), and the four integration
# passes over one day, on SQLite, on PostgreSQL over the loopback and on
# PostgreSQL through a relay that delays each direction by
# QMX_BENCH_ATRASO_US (500 µs: a 1 ms round trip), with the round trips
# per cupom. About an hour on two cores.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
construcao=${1:-$raiz/build}
cmake --build "$construcao" --target qmx_bench >/dev/null
if [[ -z "${QMX_TESTE_POSTGRES:-}" ]]; then
  # shellcheck source=postgres-teste.sh
  source "$raiz/scripts/postgres-teste.sh"
  trap para_postgres_teste EXIT
  inicia_postgres_teste >/dev/null
fi
resultado=$(mktemp -t qmx-bench-XXXXXX.json)
"$construcao/bench/qmx_bench" \
  --benchmark_filter='^BM_(Sintegra|ExtratoSped|VendaPeriodo|Movimentos|DAVs|TabelaProdutos|Estoque|MeiosPagamento|CargaLojaGrande|IntegracaoDiaLojaGrande)' \
  --benchmark_out="$resultado" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$resultado" <<'PY'
import json, re, sys
casos = json.load(open(sys.argv[1]))["benchmarks"]
motores = {"0": "SQLite", "1": "PostgreSQL", "2": "PostgreSQL a 1 ms"}
def partes(nome):
    return dict(re.findall(r"(motor|dias):(\d+)", nome)), nome.split("/")[0][3:]
geradores, carga, integracao = {}, {}, {}
for c in casos:
    if c.get("error_occurred"):
        continue
    p, nome = partes(c["name"])
    if nome == "CargaLojaGrande":
        carga[p["motor"]] = c
    elif nome == "IntegracaoDiaLojaGrande":
        integracao[c["name"].split("/")[1]] = c
    elif "dias" in p:
        geradores[(nome, p["dias"], p["motor"])] = c
rodadas = {int(c["rodadas"]) for c in geradores.values() if "rodadas" in c}
print(f"rodadas pareadas por caso: {', '.join(map(str, sorted(rodadas)))}")
print()
print("| gerador | motor | dias | linhas lidas | s | limite s | razão | pico MB | MB | ÷ SQLite |")
print("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|")
for (nome, dias, motor), c in geradores.items():
    sqlite = geradores.get((nome, dias, "0"))
    vezes = f"{c['s'] / sqlite['s']:.2f}" if motor == "1" and sqlite else ""
    print(f"| {nome.replace('<', ' ').replace('>', '').replace(chr(39), '')} | {motores[motor]} | {dias} | "
          f"{c['linhas']:.0f} | {c['s']:.3f} | {c['s_limite']:.3f} | {c['razao']:.2f} | {c['pico_MB']:.1f} | "
          f"{c['MB']:.2f} | {vezes} |")
print()
for motor, c in sorted(carga.items()):
    vacuo = f" (VACUUM ANALYZE {c['s_vacuo']:.1f} s)" if c.get("s_vacuo") else ""
    print(f"carga {motores[motor]}: {c['linhas']:.0f} linhas em {c['real_time']:.1f} s{vacuo}, "
          f"{c['linhas_por_s']:.0f} linhas/s")
tempos = {k: c["real_time"] / 1000 for k, c in integracao.items()}
for k, s in sorted(tempos.items()):
    viagens = integracao[k].get("idas_e_voltas_por_cupom", 0)
    rede = integracao[k].get("ida_e_volta_ms")
    medida = f" (ida e volta medida: {rede:.2f} ms)" if rede else ""
    print(f"quatro integrações de um dia, {motores.get(k, k)}{medida}: {s:.1f} s, "
          f"{viagens:.2f} idas e voltas ao servidor por cupom")
if "0" in tempos and "1" in tempos:
    print(f"PostgreSQL ÷ SQLite nas integrações: {tempos['1'] / tempos['0']:.2f}")
if "0" in tempos and "2" in tempos:
    print(f"PostgreSQL a 1 ms ÷ SQLite nas integrações: {tempos['2'] / tempos['0']:.2f}")
PY
rm -f "$resultado"
