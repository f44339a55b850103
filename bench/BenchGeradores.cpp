// Every file generator on the big store of the demonstration, on SQLite
// (motor 0) and on PostgreSQL (motor 1, when QMX_TESTE_POSTGRES names a
// server), for half of November 2026 and for the whole month, each against
// its limit (LimiteArquivos.h): the rows the file is made of, by its layout,
// read the fastest way the engine allows, and as many bytes written (and
// digested and signed, as every file here but the SPED extract is). Each case runs paired rounds (QMX_BENCH_RODADAS, 5
// unless told), the generation and the limit one after the other, the
// order swapped every round so that neither always finds the caches warm.
//
// Counters: linhas (rows the limit read), s (median generation, signing
// included), s_limite (median limit), razao (median of the rounds' ratios),
// pico_MB (the generation's highest peak resident memory, VmHWM reset before
// each), MB (the file). The peak must not grow from half the month to the
// month. scripts/bench-loja-grande.sh prints them as one table.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "LimiteArquivos.h"
#include "LojaGrande.h"
#include "arquivos/SaidaTemporaria.h"
#include "arquivos/efd/GeradorEFD.h"
#include "arquivos/efd/GeradorVendaPeriodo.h"
#include "arquivos/paf/GeradorDAVs.h"
#include "arquivos/paf/GeradorEstoque.h"
#include "arquivos/paf/GeradorMovimentos.h"
#include "arquivos/paf/GeradorTabelaProdutos.h"
#include "arquivos/relatorios/RelatorioMeiosPagamento.h"
#include "arquivos/sintegra/GeradorSintegra.h"
#include "fisco/AssinaturaEAD.h"
#include "frame/QMXGenerica.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace {

using namespace qmx;
using namespace qmx::bench;

NumeroDia Dia(int dia) { return CodificaDia(static_cast<std::uint16_t>(dia), 11, 2026); }

int Rodadas() {
  const char* texto = std::getenv("QMX_BENCH_RODADAS");
  const int n = texto ? std::atoi(texto) : 5;
  return n > 0 ? n : 5;
}

double Mediana(std::vector<double> valores) {
  std::sort(valores.begin(), valores.end());
  const std::size_t meio = valores.size() / 2;
  return valores.size() % 2 ? valores[meio] : (valores[meio - 1] + valores[meio]) / 2;
}

// What a generation is given: the company's triple, the period and where
// its file goes. It answers nothing: the file's size is read from the disk.
struct Pedido {
  TriploConexao triplo;
  NumeroDia inicial, final;
  std::string caminho;
};

// Signs a file written whole, as the exports do before storing it.
void Assina(const std::string& caminho) {
  if (!AssinaturaEAD::AssinaArquivo(caminho)) std::abort();
}

// Writes what a temporary output holds to the file the generation names.
void Guarda(CSaidaTemporaria& saida, const std::string& caminho) {
  saida.Fecha();
  fs::copy_file(texto::CaminhoNativo(saida.Caminho()), caminho, fs::copy_options::overwrite_existing);
  Assina(caminho);
}

template <class Gera>
void Mede(benchmark::State& estado, const char* arquivo, Gera&& gera) {
  if (!Disponivel(estado)) return;
  const int motor = static_cast<int>(estado.range(0));
  const int dias = static_cast<int>(estado.range(1));
  const Loja& loja = Lojas::Instancia().Pega(motor);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  const fs::path pasta = fs::path(Lojas::Instancia().Registro()).parent_path();
  const Pedido pedido{{Chave(motor), 1, 0}, Dia(1), Dia(dias), (pasta / "gerado.txt").string()};
  const LimiteArquivo& limite = LimiteDe(arquivo);
  // Movimentos is the file of ECF 1.
  const PeriodoLimite periodo{1, pedido.inicial, pedido.final, 1};
  for (auto _ : estado) {
    std::vector<double> geracoes, limites, razoes;
    long pico = 0;
    long long linhas = 0;
    std::uintmax_t bytes = 0;
    const auto gerar = [&] {
      fs::remove(pedido.caminho);
      ZeraPico();
      const auto inicio = Relogio::now();
      {
        // The generation reads in one snapshot, as the exports have it read.
        const dados::CInstanteLeitura instante(pedido.triplo.chaveEmpresa);
        gera(pedido);
      }
      geracoes.push_back(Segundos(inicio));
      pico = std::max(pico, MemoriaKB("VmHWM:"));
      bytes = fs::exists(pedido.caminho) ? fs::file_size(pedido.caminho) : 0;
    };
    const auto limitar = [&] {
      const auto inicio = Relogio::now();
      linhas = motor == 0 ? LeNoSQLite(ArquivoSQLite(loja.endereco), limite, periodo)
                          : LeNoPostgres(loja.endereco, limite, periodo);
      if (bytes) EscreveEDigere((pasta / "limite.txt").string(), bytes, limite);
      limites.push_back(Segundos(inicio));
    };
    // The first generation tells how many bytes the limit writes.
    gerar();
    limitar();
    razoes.push_back(geracoes.back() / limites.back());
    for (int rodada = 1; rodada < Rodadas(); ++rodada) {
      if (rodada % 2) {
        limitar();
        gerar();
      } else {
        gerar();
        limitar();
      }
      razoes.push_back(geracoes.back() / limites.back());
    }
    estado.SetIterationTime(Mediana(geracoes));
    estado.counters["linhas"] = static_cast<double>(linhas);
    estado.counters["s"] = Mediana(geracoes);
    estado.counters["s_limite"] = Mediana(limites);
    estado.counters["razao"] = Mediana(razoes);
    estado.counters["rodadas"] = static_cast<double>(razoes.size());
    estado.counters["pico_MB"] = pico / 1024.0;
    estado.counters["MB"] = static_cast<double>(bytes) / 1e6;
  }
  fs::remove(pedido.caminho);
  fs::remove(pasta / "limite.txt");
}

// Registers a generator for both engines, half the month and the whole.
#define QMX_GERADOR(Nome)                                                                                      \
  BENCHMARK(Nome)->ArgNames({"motor", "dias"})->ArgsProduct({{0, 1}, {15, 30}})->Iterations(1)->UseManualTime() \
      ->Unit(benchmark::kSecond)

void BM_Sintegra(benchmark::State& estado) {
  Mede(estado, "Sintegra", [](const Pedido& p) {
    sintegra::FiltroSintegra filtro;
    filtro.filial = 1;
    filtro.dataInicial = p.inicial;
    filtro.dataFinal = p.final;
    sintegra::CGeradorSintegra(p.triplo).Gera(filtro, p.caminho, AssinaturaEAD::AoGuardar());
  });
}
QMX_GERADOR(BM_Sintegra);

void BM_ExtratoSped(benchmark::State& estado) {
  Mede(estado, "ExtratoSped", [](const Pedido& p) {
    efd::CGeradorEFD gerador(p.triplo, {1, 0, p.inicial, p.final, 'A'});
    gerador.GeraRegistrosECF();
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(p.caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    gerador.EscreveArquivo(arquivo);
    arquivo.Fechar();
  });
}
QMX_GERADOR(BM_ExtratoSped);

template <char perfil>
void BM_VendaPeriodo(benchmark::State& estado) {
  Mede(estado, "VendaPeriodo", [](const Pedido& p) {
    efd::CGeradorEFD ecf(p.triplo, {1, 0, p.inicial, p.final, perfil});
    ecf.GeraRegistrosECF();
    if (!venda::CGeradorVendaPeriodo(p.triplo, {1, p.inicial, p.final, perfil}, ecf)
             .Gera(p.caminho, AssinaturaEAD::AoGuardar()))
      std::abort();
  });
}
QMX_GERADOR(BM_VendaPeriodo<'A'>);
QMX_GERADOR(BM_VendaPeriodo<'B'>);

void BM_Movimentos(benchmark::State& estado) {
  Mede(estado, "Movimentos", [](const Pedido& p) {
    movimentos::DadosMovimentos d;
    d.triplo = p.triplo;
    CQMXGenerica generica;
    generica.Inicializa(p.triplo.chaveEmpresa.c_str(), 1, 0);
    generica.LeEmissora(1, &d.emissora, &d.aliquotas);
    d.filial.Numero = 1;
    d.dataInicial = p.inicial;
    d.dataFinal = p.final;
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(p.caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    arquivo.DigereAoEscrever();
    movimentos::EscreveMovimentos(d, arquivo);
    arquivo.Fechar(AssinaturaEAD::AoGuardar());
  });
}
QMX_GERADOR(BM_Movimentos);

void BM_DAVs(benchmark::State& estado) {
  Mede(estado, "DAVs", [](const Pedido& p) {
    CQMXGenerica generica;
    generica.Inicializa(p.triplo.chaveEmpresa.c_str(), 1, 0);
    REG_EMISSORPS emissora{};
    generica.LeEmissora(1, &emissora);
    REG_FILIALPS filial{};
    filial.Numero = 1;
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    dav::CGeradorDAVs(p.triplo).EscreveArquivo(filial, "Loja Grande Ltda", emissora, p.inicial, p.final, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_DAVs);

// The catalogue is the same whatever the period: "dias" only repeats it.
void BM_TabelaProdutos(benchmark::State& estado) {
  Mede(estado, "TabelaProdutos", [](const Pedido& p) {
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    tabela_produtos::CGeradorTabelaProdutos(p.triplo).Escreve(1, 1, 1, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_TabelaProdutos);

// The stock of the period's last day: the positions of the day before and
// that day's cupons.
void BM_Estoque(benchmark::State& estado) {
  Mede(estado, "Estoque", [](const Pedido& p) {
    REG_FILIALPS filial{};
    filial.Numero = 1;
    estoque::CabecalhoEstoque cabecalho;
    cabecalho.filial = &filial;
    cabecalho.razaoSocial = "Loja Grande Ltda";
    cabecalho.data = p.final;
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    estoque::CGeradorEstoque(p.triplo).Escreve(1, cabecalho, {}, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_Estoque);

// A report for the printer, which is not there: the period's reading and
// summing, no file.
void BM_MeiosPagamento(benchmark::State& estado) {
  Mede(estado, "MeiosPagamento", [](const Pedido& p) { CRelatorioMeiosPagamento(p.triplo).Imprime(1, p.inicial, p.final); });
}
QMX_GERADOR(BM_MeiosPagamento);

}  // namespace
