// Tabela de Produtos and Estoque of a catalogue of 200 000 products, each
// against its file's limit (bench/LimiteArquivos.h: the rows the file is
// made of, read by queries of the benchmark's own, as many bytes written
// and digested). A company database is
// built once, in a folder of its own, with the writers the company's own
// programs use: one branch, 200 000 products with their tax data, a
// product price table holding all of them and a service table, each
// product's stock position of the day before, and a big store's day of
// cupons (12 ECFs, 500 cupons each, 10 items a cupom). The counter
// "razao" is the generator's time over the limit's.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "LimiteArquivos.h"
#include "arquivos/paf/GeradorEstoque.h"
#include "arquivos/paf/GeradorTabelaProdutos.h"
#include "arquivos/SaidaTemporaria.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorEmpresa.h"
#include "plataforma/dados/GravadorMovimento.h"

namespace {

namespace fs = std::filesystem;
using namespace qmx;
using namespace qmx::dados;

constexpr std::uint32_t kProdutos = 200000;
constexpr std::uint16_t kServicos = 50;
constexpr std::uint16_t kEmissoras = 12;
constexpr int kCuponsPorEmissora = 500;
constexpr int kItensPorCupom = 10;
const NumeroDia kHoje = CodificaDia(15, 6, 2026);
const TriploConexao kTriplo{"BENCHTABELA", 1, 0};

template <std::size_t N>
void Copia(char (&destino)[N], const std::string& texto) {
  std::snprintf(destino, N, "%s", texto.c_str());
}

class EmpresaTabela {
 public:
  EmpresaTabela() {
    char modelo[] = "qmx-bench-tabela-XXXXXX";
    std::string caminho = (fs::temp_directory_path() / modelo).string();
    if (!mkdtemp(caminho.data())) std::abort();
    m_pasta = caminho;
    std::ofstream(m_pasta / "registro.ini") << "[SOFTWARE\\ZT Redudeva\\Empresas\\BENCHTABELA]\nBaseDados=sqlite:"
                                            << (m_pasta / "empresa.db").string() << "\n";
    setenv("QMX_REGISTRO", (m_pasta / "registro.ini").c_str(), 1);
    setenv("TMPDIR", m_pasta.c_str(), 1);
    const auto inicio = std::chrono::steady_clock::now();
    Preenche("sqlite:" + (m_pasta / "empresa.db").string());
    std::fprintf(stderr, "empresa de %u produtos montada em %.1f s\n", kProdutos,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
  }
  ~EmpresaTabela() { fs::remove_all(m_pasta); }

  const REG_FILIALPS& Filial() const { return m_filial; }
  std::string Base() const { return (m_pasta / "empresa.db").string(); }
  std::string Pasta() const { return m_pasta.string(); }

 private:
  void Preenche(const std::string& endereco) {
    CGravadorEmpresa empresa(endereco, true);
    CGravadorCatalogo catalogo(empresa.Sessao());
    CGravadorMovimento movimento(empresa.Sessao());
    empresa.Inicia();
    m_filial.Numero = 1;
    Copia(m_filial.NomeFantasia, "Hipermercado Ávila");
    Copia(m_filial.Cnpj, "12.345.678/0001-95");
    Copia(m_filial.InscricaoEstadual, "110.042.490.114");
    Copia(m_filial.UF, "SP");
    empresa.GravaFilial(m_filial, "Comércio de Alimentos Ávila Ltda");
    for (std::uint16_t n = 1; n <= kEmissoras; ++n) {
      REG_EMISSORPS e{};
      e.Numero = n;
      e.Filial = 1;
      Copia(e.NumeroSerie, "BE09100000000000" + std::to_string(1000 + n));
      empresa.GravaEmissora(e);
    }
    catalogo.GravaUnidade({1, "UN", "UNIDADE"});
    catalogo.GravaUnidade({2, "KG", "QUILOGRAMA"});
    catalogo.GravaUnidadeServico({1, "SV", "SERVICO"});
    catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, 1, "VAREJO"});
    catalogo.GravaTabelaPreco({QMX_TABELA_SERVICOS, 2, "SERVICOS"});
    const char letras[] = {'T', 'T', 'T', 'F', 'I', 'N'};
    for (std::uint32_t codigo = 1; codigo <= kProdutos; ++codigo) {
      REG_PRODUTOPS p{};
      p.Codigo = codigo;
      Copia(p.Descricao, "PRODUTO DE MERCEARIA NUMERO " + std::to_string(codigo));
      p.Unidade = codigo % 7 == 0 ? 2 : 1;
      p.UnidadeInterrogacao = codigo % 7 == 0;
      p.Situacao = 'A';
      p.Filial = 1;
      p.Tributacao = letras[codigo % 6];
      p.AliquotaICMS = p.Tributacao == 'T' ? 1800 : 0;
      catalogo.GravaProduto(p);
      catalogo.GravaItemTabelaPreco({QMX_TABELA_PRODUTOS, 1, codigo, CY{static_cast<std::int64_t>(codigo % 5000) * 100 + 99}});
      movimento.GravaPosicao({1, codigo, kHoje - 1, CY{static_cast<std::int64_t>(codigo % 300) * 10000}});
    }
    for (std::uint16_t codigo = 1; codigo <= kServicos; ++codigo) {
      REG_SERVICOSPS s{};
      s.Codigo = codigo * 4001u;
      Copia(s.Descricao, "SERVICO " + std::to_string(s.Codigo));
      s.Unidade = 1;
      s.AliquotaISS = 500;
      s.Ativo = 1;
      catalogo.GravaServico(s);
      catalogo.GravaItemTabelaPreco({QMX_TABELA_SERVICOS, 2, s.Codigo, CY{150000}});
    }
    std::uint32_t sorteio = 12345;
    std::vector<REG_EC_CX_CIPS> itens(kItensPorCupom);
    for (std::uint16_t ecf = 1; ecf <= kEmissoras; ++ecf)
      for (int n = 1; n <= kCuponsPorEmissora; ++n) {
        REG_EC_CXPS c{};
        c.Filial = 1;
        c.Emissora = ecf;
        c.Data = kHoje;
        c.Hora = 100000;
        c.COO = c.CCF = c.Sequencia = static_cast<std::uint32_t>(n);
        c.QuantidadeItens = kItensPorCupom;
        for (int i = 0; i < kItensPorCupom; ++i) {
          sorteio = sorteio * 1103515245u + 12345u;
          auto& item = itens[static_cast<std::size_t>(i)];
          item = REG_EC_CX_CIPS{};
          item.Item = static_cast<std::uint16_t>(i + 1);
          item.Codigo = sorteio % kProdutos + 1;
          item.Quantidade = CY{10000 * (1 + i % 3)};
          item.ValorUnitario = CY{25000};
          item.ValorTotal = CY{item.Quantidade.int64 * 25000 / 10000};
          item.TipoTributacao = 'T';
          item.AliquotaCentesimos = 1800;
          item.Cancelado = i == 9 && n % 10 == 0;
        }
        movimento.GravaCupom(c, itens, {});
      }
    empresa.Confirma();
  }

  fs::path m_pasta;
  REG_FILIALPS m_filial{};
};

const EmpresaTabela& Empresa() {
  static EmpresaTabela empresa;
  return empresa;
}

std::size_t TabelaProdutos(int& linhas) {
  CSaidaTemporaria saida;
  if (!saida.Cria()) std::abort();
  linhas = tabela_produtos::CGeradorTabelaProdutos(kTriplo).Escreve(1, 1, 2, saida);
  saida.Fecha();
  return saida.Bytes();
}

// The file's limit: its rows read by the benchmark's own queries, as many
// bytes written and digested.
void Limite(const char* arquivo, std::size_t bytes) {
  const bench::LimiteArquivo& limite = bench::LimiteDe(arquivo);
  bench::LeNoSQLite(Empresa().Base(), limite, {1, kHoje, kHoje, 1});
  bench::EscreveEDigere(Empresa().Pasta() + "/limite.txt", bytes, limite);
}

std::size_t Estoque(int& linhas) {
  estoque::CabecalhoEstoque cabecalho;
  cabecalho.filial = &Empresa().Filial();
  cabecalho.razaoSocial = "Comércio de Alimentos Ávila Ltda";
  cabecalho.data = kHoje;
  CSaidaTemporaria saida;
  if (!saida.Cria()) std::abort();
  linhas = estoque::CGeradorEstoque(kTriplo).Escreve(1, cabecalho, {}, saida);
  saida.Fecha();
  return saida.Bytes();
}

double Segundos(const std::function<void()>& funcao) {
  const auto inicio = std::chrono::steady_clock::now();
  funcao();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

// The generator timed by the benchmark; the file's limit, timed three
// times beside it (the best counts).
template <class Gera>
void Compara(benchmark::State& estado, Gera&& gera, const char* arquivo) {
  Empresa();
  int linhas = 0;
  std::size_t bytes = 0;
  double gerador = 0;
  for (auto _ : estado) {
    const double s = Segundos([&] { bytes = gera(linhas); });
    gerador += s;
  }
  double limite = 1e9;
  for (int vez = 0; vez < 3; ++vez) limite = std::min(limite, Segundos([&] { Limite(arquivo, bytes); }));
  estado.counters["linhas"] = linhas;
  estado.counters["MB"] = static_cast<double>(bytes) / 1e6;
  estado.counters["limite_ms"] = limite * 1000;
  estado.counters["razao"] = gerador / static_cast<double>(estado.iterations()) / limite;
}

void BM_TabelaProdutos(benchmark::State& estado) { Compara(estado, TabelaProdutos, "TabelaProdutos"); }
BENCHMARK(BM_TabelaProdutos)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Estoque(benchmark::State& estado) { Compara(estado, Estoque, "Estoque"); }
BENCHMARK(BM_Estoque)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
