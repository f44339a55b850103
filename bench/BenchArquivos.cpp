// The file generators on the big store (SQLite), each against what it can
// not do without: a bare scan of the same cupom items with SQLite's own
// interface plus writing a file of the same size with the same writer.
// - BM_SintegraLojaGrande: the Sintegra file of branch 1 for a week and
//   for the month (every ECF);
// - BM_MovimentosLojaGrande: the Movimentos file of ECF 1 for the month
//   (its bare scan reads the cupons and payments too);
// - BM_MeiosPagamentoLojaGrande: the Meios de Pagamento report of the
//   month on the emulated printer (its bare part: the scan alone).
// Each gives its time, items per second, the ratio and its peak resident
// memory, which must not grow from a week to the month.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <string>

#include "arquivos/paf/GeradorMovimentos.h"
#include "arquivos/sintegra/GeradorSintegra.h"
#include "arquivos/relatorios/RelatorioMeiosPagamento.h"
#include "bench/LojaGrande.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXGenerica.h"
#include "plataforma/arquivos/ArquivoTexto.h"

namespace {

using namespace qmx;
using namespace qmx::bench;

NumeroDia Dia(int dia) { return CodificaDia(static_cast<std::uint16_t>(dia), 11, 2026); }

// Every item of the ECFs 1..emissoras and the first days, as the walks read
// them: the bare cost of reading the month.
long long EscaneiaItens(const std::string& arquivo, int emissoras, int dias) {
  sqlite3* base = nullptr;
  if (sqlite3_open_v2(arquivo.c_str(), &base, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) std::abort();
  sqlite3_stmt* comando = nullptr;
  const char* sql =
      "SELECT i.cupom, i.item, i.codigo, i.descricao, i.quantidade, i.valor_unitario, i.valor_total, i.aliquota, "
      "i.tributacao, i.cancelado FROM cupom c JOIN cupom_item i ON i.cupom = c.id "
      "WHERE c.emissora = ? AND c.data = ? ORDER BY c.sequencia, i.item";
  if (sqlite3_prepare_v2(base, sql, -1, &comando, nullptr) != SQLITE_OK) std::abort();
  long long itens = 0, soma = 0;
  for (int e = 1; e <= emissoras; ++e)
    for (int dia = 1; dia <= dias; ++dia) {
      sqlite3_bind_int(comando, 1, e);
      sqlite3_bind_int(comando, 2, Dia(dia));
      while (sqlite3_step(comando) == SQLITE_ROW) {
        for (int c : {0, 1, 2, 4, 5, 6, 7, 9}) soma += sqlite3_column_int64(comando, c);
        benchmark::DoNotOptimize(sqlite3_column_text(comando, 3));
        benchmark::DoNotOptimize(sqlite3_column_text(comando, 8));
        ++itens;
      }
      sqlite3_reset(comando);
    }
  benchmark::DoNotOptimize(soma);
  sqlite3_finalize(comando);
  sqlite3_close(base);
  return itens;
}

// The cupons and the payments of ECF 1 over the first days: with the items,
// every row the Movimentos file reads.
long long EscaneiaCuponsEPagamentos(const std::string& arquivo, int dias) {
  sqlite3* base = nullptr;
  if (sqlite3_open_v2(arquivo.c_str(), &base, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) std::abort();
  long long linhas = 0, soma = 0;
  for (const char* sql :
       {"SELECT c.id, c.coo, c.ccf, c.subtotal, c.desconto, c.total, c.cancelado, c.documento_cliente, "
        "c.nome_cliente FROM cupom c WHERE c.emissora = ? AND c.data = ? ORDER BY c.sequencia",
        "SELECT p.cupom, p.forma, p.valor, p.gnf FROM cupom c JOIN cupom_pagamento p ON p.cupom = c.id "
        "WHERE c.emissora = ? AND c.data = ? ORDER BY c.sequencia, p.sequencia"}) {
    sqlite3_stmt* comando = nullptr;
    if (sqlite3_prepare_v2(base, sql, -1, &comando, nullptr) != SQLITE_OK) std::abort();
    for (int dia = 1; dia <= dias; ++dia) {
      sqlite3_bind_int(comando, 1, 1);
      sqlite3_bind_int(comando, 2, Dia(dia));
      while (sqlite3_step(comando) == SQLITE_ROW) {
        for (int c = 0; c < 4; ++c) soma += sqlite3_column_int64(comando, c);
        ++linhas;
      }
      sqlite3_reset(comando);
    }
    sqlite3_finalize(comando);
  }
  benchmark::DoNotOptimize(soma);
  sqlite3_close(base);
  return linhas;
}

// Writes as many bytes, in lines of 128, with the generators' own writer.
void EscreveIgual(const std::string& caminho, std::uintmax_t bytes) {
  CArquivoTexto arquivo;
  if (!arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
  const std::string linha = std::string(126, 'x') + "\r\n";
  for (std::uintmax_t escritos = 0; escritos < bytes; escritos += linha.size())
    arquivo.EscreverTexto(std::string_view(linha).substr(0, std::min<std::uintmax_t>(linha.size(), bytes - escritos)));
  arquivo.Fechar();
}

// Runs a generation, then the bare scan and the bare write of its size, and
// gives the figures.
template <class Gera>
void Compara(benchmark::State& estado, int emissoras, int dias, Gera&& gera, bool comCuponsEPagamentos = false) {
  const Loja& loja = Lojas::Instancia().Pega(0);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  const std::string arquivo = ArquivoSQLite(loja.endereco);
  const fs::path saida = fs::path(arquivo).parent_path() / "gerado.txt";
  const fs::path igual = fs::path(arquivo).parent_path() / "igual.txt";
  for (auto _ : estado) {
    ZeraPico();
    auto inicio = Relogio::now();
    gera(saida.string());
    const double segundos = Segundos(inicio);
    const long pico = MemoriaKB("VmHWM:");
    const auto bytes = fs::exists(saida) ? fs::file_size(saida) : 0;
    inicio = Relogio::now();
    const long long itens = EscaneiaItens(arquivo, emissoras, dias);
    if (comCuponsEPagamentos) benchmark::DoNotOptimize(EscaneiaCuponsEPagamentos(arquivo, dias));
    const double escaneia = Segundos(inicio);
    inicio = Relogio::now();
    EscreveIgual(igual.string(), bytes);
    const double escreve = Segundos(inicio);
    estado.SetIterationTime(segundos);
    estado.counters["itens"] = static_cast<double>(itens);
    estado.counters["itens_por_s"] = static_cast<double>(itens) / segundos;
    estado.counters["MB_arquivo"] = static_cast<double>(bytes) / 1e6;
    estado.counters["s_escaneia"] = escaneia;
    estado.counters["s_escreve"] = escreve;
    estado.counters["razao"] = segundos / (escaneia + escreve);
    estado.counters["pico_MB"] = pico / 1024.0;
  }
  fs::remove(saida);
  fs::remove(igual);
}

void BM_SintegraLojaGrande(benchmark::State& estado) {
  const int dias = static_cast<int>(estado.range(0));
  Compara(estado, kEmissoras, dias, [&](const std::string& caminho) {
    sintegra::FiltroSintegra filtro;
    filtro.filial = 1;
    filtro.dataInicial = Dia(1);
    filtro.dataFinal = Dia(dias);
    sintegra::CGeradorSintegra({Chave(0), 1, 0}).Gera(filtro, caminho);
  });
}
BENCHMARK(BM_SintegraLojaGrande)->ArgName("dias")->Arg(7)->Arg(30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_MovimentosLojaGrande(benchmark::State& estado) {
  Compara(estado, 1, 30, [&](const std::string& caminho) {
    movimentos::DadosMovimentos d;
    d.triplo = {Chave(0), 1, 0};
    CQMXGenerica generica;
    generica.Inicializa(Chave(0), 1, 0);
    generica.LeEmissora(1, &d.emissora, &d.aliquotas);
    d.filial.Numero = 1;
    d.dataInicial = Dia(1);
    d.dataFinal = Dia(30);
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    movimentos::EscreveMovimentos(d, arquivo);
    arquivo.Fechar();
  }, true);
}
BENCHMARK(BM_MovimentosLojaGrande)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_MeiosPagamentoLojaGrande(benchmark::State& estado) {
  // The report goes to a printer that is not there: what is measured is
  // the month's reading and summing, against the bare scan.
  Compara(estado, kEmissoras, 30, [&](const std::string&) {
    CRelatorioMeiosPagamento({Chave(0), 1, 0}).Imprime(1, Dia(1), Dia(30));
  });
}
BENCHMARK(BM_MeiosPagamentoLojaGrande)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
