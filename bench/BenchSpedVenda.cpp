// The SPED Fiscal extract (profile A) and the Venda do Período file (digital
// bookkeeping layout, profile B) of a big store's month, each against a bare
// scan of the same rows plus writing the same number of bytes, on SQLite.
//
// For each file and period the benchmark prints the generation's time
// (the reported time), the items per second, the peak resident memory of the
// generation (VmHWM, reset before it) and the ratio to the bare scan. The
// same files over 8 days and over the whole month show whether the peak
// grows with the period.
//
// Size: QMX_BENCH_ECFS ECFs (6 by default) with QMX_BENCH_CUPONS cupons each
// per day (150), about five items a cupom, for the 31 days of October 2026;
// 20 consumer notas a day, 300 notas fiscais, an inventory of every product.
// The big store is QMX_BENCH_ECFS=20 QMX_BENCH_CUPONS=600.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "arquivos/efd/GeradorEFD.h"
#include "arquivos/efd/GeradorVendaPeriodo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorEmpresa.h"
#include "plataforma/dados/GravadorMovimento.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/impressora/ApuracaoReducaoZ.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace {

namespace fs = std::filesystem;
using namespace qmx;
using namespace qmx::dados;
using Relogio = std::chrono::steady_clock;

constexpr const char* kChave = "BENCHEFD";
constexpr std::uint32_t kProdutos = 3000;
constexpr std::uint32_t kServicos = 20;

int Ambiente(const char* nome, int padrao) {
  const char* valor = std::getenv(nome);
  return valor && std::atoi(valor) > 0 ? std::atoi(valor) : padrao;
}

// The peak resident memory since the last reset, in megabytes.
double PicoRSS() {
  std::ifstream status("/proc/self/status");
  std::string linha;
  while (std::getline(status, linha))
    if (linha.rfind("VmHWM:", 0) == 0) return std::stod(linha.substr(6)) / 1024.0;
  return 0;
}

void ZeraPicoRSS() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The store's month, written once per run of the program.
class LojaGrande {
 public:
  LojaGrande() : m_ecfs(Ambiente("QMX_BENCH_ECFS", 6)), m_cupons(Ambiente("QMX_BENCH_CUPONS", 150)) {
    char modelo[] = "/tmp/qmx-bench-efd-XXXXXX";
    if (!mkdtemp(modelo)) std::abort();
    m_pasta = modelo;
    fs::create_directories(m_pasta / "EC");
    const std::string base = "sqlite:" + (m_pasta / "EC" / "empresa.db").string();
    std::ofstream(m_pasta / "registro.ini") << "[SOFTWARE\\ZT Redudeva\\Empresas\\" << kChave << "]\nEC="
                                             << (m_pasta / "EC").string() << "/\nBaseDados=" << base << "\n";
    setenv("QMX_REGISTRO", (m_pasta / "registro.ini").c_str(), 1);
    Preenche(base);
  }
  ~LojaGrande() {
    CPoolSessoes::Instancia().Descarta("sqlite:" + (m_pasta / "EC" / "empresa.db").string());
    fs::remove_all(m_pasta);
  }

  int Ecfs() const { return m_ecfs; }
  // The cupom items up to a day, and with them the items of the consumer
  // notas and notas fiscais.
  std::uint64_t ItensAte(NumeroDia data, bool todos) const {
    std::uint64_t n = 0;
    for (const auto& [dia, cupons, outros] : m_itensPorDia)
      if (dia <= data) n += cupons + (todos ? outros : 0);
    return n;
  }
  fs::path Saida(const std::string& nome) const { return m_pasta / nome; }

 private:
  void Preenche(const std::string& base) {
    CGravadorEmpresa g(base, true);
    CGravadorCatalogo catalogo(g.Sessao());
    CGravadorMovimento movimento(g.Sessao());
    std::mt19937 aleatorio(2026);
    g.Inicia();
    REG_FILIALPS f{};
    f.Numero = 1;
    f.Municipio = 1;
    std::strcpy(f.Cnpj, "12.345.678/0001-95");
    std::strcpy(f.UF, "SP");
    g.GravaFilial(f, "Loja Grande Ltda");
    REG_MUNICIPIO_PS municipio{1, "Sao Paulo", "SP", 3550308};
    g.GravaMunicipio(municipio);
    const std::vector<REG_EMISSOR_ALIQUOTA> tabela = {{1, 1, 'T', 1800}, {1, 2, 'T', 1200}, {1, 3, 'T', 700},
                                                      {1, 4, 'S', 500}};
    for (const auto& a : tabela) g.GravaAliquota(a);
    for (int n = 1; n <= m_ecfs; ++n) {
      REG_EMISSORPS e{};
      e.Numero = static_cast<std::uint16_t>(n);
      e.Filial = 1;
      std::snprintf(e.NumeroSerie, sizeof e.NumeroSerie, "BE0910000000000%04d", n % 10000);
      std::strcpy(e.Modelo, "QMX-1");
      e.TabelaAliquotas = 1;
      g.GravaEmissora(e);
    }
    REG_EC_MESTREPS mestre{};
    mestre.NaturezaVenda = 5102;
    mestre.NaturezaVendaST = 5405;
    mestre.NaturezaServico = 5933;
    mestre.NaturezaProducao = 5101;
    g.GravaMestre(mestre);
    catalogo.GravaNatureza({5101, "VENDA PRODUCAO", "5101"});
    catalogo.GravaNatureza({5102, "VENDA", "5102"});
    catalogo.GravaNatureza({5405, "VENDA ST", "5405"});
    catalogo.GravaNatureza({5933, "SERVICO", "5933"});
    catalogo.GravaUnidade({1, "UN", "UNIDADE"});
    catalogo.GravaUnidade({2, "KG", "QUILOGRAMA"});
    catalogo.GravaUnidadeServico({1, "SV", "SERVICO"});
    catalogo.GravaDocumentoFiscal({1, "01", ""});
    catalogo.GravaTipoDocumento({1, "NOTA", 1});
    catalogo.GravaCfrt([] {
      ZTCFRT c{};
      c.Codigo = 1;
      std::strcpy(c.Nome, "CLIENTE");
      c.TipoPessoa = 'F';
      std::strcpy(c.CnpjCpf, "123.456.789-09");
      return c;
    }());
    const char letras[] = {'T', 'T', 'T', 'F', 'I', 'N'};
    const std::uint16_t aliquotas[] = {1800, 1200, 700};
    std::vector<REG_PRODUTOPS> produtos(kProdutos + 1);
    for (std::uint32_t p = 1; p <= kProdutos; ++p) {
      REG_PRODUTOPS& r = produtos[p];
      r = REG_PRODUTOPS{};
      r.Codigo = p;
      std::snprintf(r.Descricao, sizeof r.Descricao, "PRODUTO %u", p);
      r.Unidade = static_cast<std::uint16_t>(p % 7 == 0 ? 2 : 1);
      std::strcpy(r.NCM, "10063021");
      r.Revenda = 1;
      r.Situacao = 'A';
      r.Filial = 1;
      r.Tributacao = letras[p % 6];
      r.AliquotaICMS = r.Tributacao == 'T' ? aliquotas[p % 3] : 0;
      std::strcpy(r.SituacaoTributaria, r.Tributacao == 'F' ? "060" : r.Tributacao == 'T' ? "000" : "040");
      catalogo.GravaProduto(r);
      if (p % 3 == 0) {
        catalogo.GravaPisCofins({p, 1, CodificaDia(1, 1, 2026), 0, 165});
        catalogo.GravaPisCofins({p, 2, CodificaDia(1, 1, 2026), 0, 760});
      }
    }
    for (std::uint32_t s = 1; s <= kServicos; ++s) {
      REG_SERVICOSPS r{};
      r.Codigo = s;
      std::snprintf(r.Descricao, sizeof r.Descricao, "SERVICO %u", s);
      r.Unidade = 1;
      std::strcpy(r.CodigoLST, "1401");
      r.AliquotaISS = 500;
      r.AliquotaPIS = 65;
      r.AliquotaCOFINS = 300;
      r.Ativo = 1;
      catalogo.GravaServico(r);
    }
    g.Confirma();

    std::vector<std::uint32_t> coo(m_ecfs + 1, 0), crz(m_ecfs + 1, 0);
    std::vector<CY> grandeTotal(m_ecfs + 1, CY{0});
    const NumeroDia primeiro = CodificaDia(1, 10, 2026);
    std::uint32_t numeroConsumidor = 1, numeroNota = 1;
    for (NumeroDia dia = primeiro; dia < primeiro + 31; ++dia) {
      g.Inicia();
      std::uint64_t itensDoDia = 0, outrosDoDia = 0;
      for (int e = 1; e <= m_ecfs; ++e) {
        impressora::CApuracaoReducaoZ apuracao(static_cast<std::uint16_t>(e), dia, tabela);
        for (int k = 0; k < m_cupons; ++k) {
          REG_EC_CXPS c{};
          c.Filial = 1;
          c.Emissora = static_cast<std::uint16_t>(e);
          c.Data = dia;
          c.Hora = 100000;
          c.COO = ++coo[e];
          c.CCF = c.COO;
          c.Sequencia = c.COO;
          c.Cancelado = aleatorio() % 50 == 0;
          c.Cliente = aleatorio() % 20 == 0 ? 1 : 0;
          std::vector<REG_EC_CX_CIPS> itens(1 + aleatorio() % 8);
          std::int64_t total = 0;
          for (std::size_t i = 0; i < itens.size(); ++i) {
            REG_EC_CX_CIPS& it = itens[i];
            it = REG_EC_CX_CIPS{};
            it.Item = static_cast<std::uint16_t>(i + 1);
            const bool servico = aleatorio() % 40 == 0;
            it.Servico = servico;
            it.Codigo = servico ? 1 + aleatorio() % kServicos : 1 + aleatorio() % kProdutos;
            std::snprintf(it.Descricao, sizeof it.Descricao, "ITEM %u", it.Codigo);
            it.Quantidade = CY{10000 * static_cast<std::int64_t>(1 + aleatorio() % 3)};
            it.ValorUnitario = CY{static_cast<std::int64_t>(1000 + aleatorio() % 200000)};
            it.ValorTotal = CY{it.Quantidade.int64 / 10000 * it.ValorUnitario.int64};
            it.TipoTributacao = static_cast<std::uint8_t>(servico ? 'S' : produtos[it.Codigo].Tributacao);
            it.AliquotaCentesimos = servico ? 500 : produtos[it.Codigo].AliquotaICMS;
            it.Cancelado = aleatorio() % 30 == 0;
            if (!it.Cancelado) total += it.ValorTotal.int64;
          }
          c.Subtotal = c.Total = CY{total};
          itensDoDia += itens.size();
          REG_EC_CX_PAGAMENTOPS dinheiro{};
          dinheiro.Sequencia = dinheiro.Forma = 1;
          dinheiro.Valor = c.Total;
          c.Id = movimento.GravaCupom(c, itens, {dinheiro});
          apuracao.AcumulaCupom(c, itens);
        }
        const auto z = apuracao.Fecha(++crz[e], 1, ++coo[e], grandeTotal[e], dia, 230000);
        grandeTotal[e] = z.reducao.GrandeTotal;
        movimento.GravaReducaoZ(z.reducao, z.aliquotas, z.naoFiscais);
      }
      for (int k = 0; k < 20; ++k) {
        REG_EC_CXPS n{};
        n.Filial = 1;
        n.Emissora = 1;
        n.Data = dia;
        n.Sequencia = 100000 + static_cast<std::uint32_t>(k);
        n.Status = QMX_STATUS_NOTA_CONSUMIDOR;
        n.NumeroInicial = numeroConsumidor;
        n.NumeroFinal = numeroConsumidor + 4;
        numeroConsumidor += 5;
        n.Cancelado = k == 7;
        std::vector<REG_EC_CX_CIPS> itens(3);
        std::int64_t total = 0;
        for (std::size_t i = 0; i < itens.size(); ++i) {
          itens[i] = REG_EC_CX_CIPS{};
          itens[i].Item = static_cast<std::uint16_t>(i + 1);
          itens[i].Codigo = 1 + aleatorio() % kProdutos;
          itens[i].Quantidade = CY{10000};
          itens[i].ValorUnitario = itens[i].ValorTotal = CY{50000};
          itens[i].TipoTributacao = static_cast<std::uint8_t>(produtos[itens[i].Codigo].Tributacao);
          itens[i].AliquotaCentesimos = produtos[itens[i].Codigo].AliquotaICMS;
          total += 50000;
        }
        n.Subtotal = n.Total = CY{total};
        movimento.GravaCupom(n, itens, {});
        outrosDoDia += itens.size();
      }
      for (int k = 0; k < 10; ++k) {
        REG_NOTA_FISCALPS nota{};
        nota.Filial = 1;
        nota.TipoDocumento = 1;
        std::strcpy(nota.Serie, "1");
        nota.Numero = numeroNota++;
        nota.Data = dia;
        nota.Participante = 1;
        std::vector<REG_ITENS_NF_PS> itens(3);
        for (std::size_t i = 0; i < itens.size(); ++i) {
          itens[i] = REG_ITENS_NF_PS{};
          itens[i].Sequencia = static_cast<std::uint16_t>(i + 1);
          itens[i].Codigo = 1 + aleatorio() % kProdutos;
          itens[i].Quantidade = CY{20000};
          itens[i].ValorItem = CY{100000};
          itens[i].Natureza = 5102;
          nota.ValorTotal.int64 += 100000;
        }
        movimento.GravaNota(nota, itens);
        outrosDoDia += itens.size();
      }
      m_itensPorDia.emplace_back(dia, itensDoDia, outrosDoDia);
      g.Confirma();
    }
    g.Inicia();
    const NumeroDia ultimo = primeiro + 30;
    for (std::uint32_t p = 1; p <= kProdutos; ++p)
      movimento.GravaSaldoInventario({1, ultimo, p, CY{50000}, CY{12345}, CY{61725}});
    g.Confirma();
  }

  int m_ecfs;
  int m_cupons;
  fs::path m_pasta;
  std::vector<std::tuple<std::uint16_t, std::uint64_t, std::uint64_t>> m_itensPorDia;
};

LojaGrande& Loja() {
  static LojaGrande loja;
  return loja;
}

const TriploConexao kTriplo{kChave, 1, 0};

// The rows the files read, read and dropped, then as many bytes written as
// the file has.
void VarreduraNua(NumeroDia inicial, NumeroDia final, bool vendaPeriodo, std::uintmax_t bytes,
                  const fs::path& destino) {
  CConexaoECSCX caixa;
  if (com::FAILED(caixa.Inicializa(kTriplo.chaveEmpresa, 1, 0))) std::abort();
  std::int64_t soma = 0;
  REG_REDUCAO_ZPS z{};
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
  for (int e = 1; e <= Loja().Ecfs(); ++e) {
    for (NumeroDia d = inicial; d <= final; ++d) {
      caixa.LeReducaoZ(static_cast<std::uint16_t>(e), d, &z, &aliquotas, &naoFiscais);
      caixa.PercorreCupons(static_cast<std::uint16_t>(e), d, d, [&](const REG_EC_CXPS& c, const auto& itens, const auto&) {
        soma += c.Total.int64;
        for (const auto& i : itens) soma += i.Quantidade.int64;
        return true;
      });
    }
  }
  if (vendaPeriodo) {
    caixa.PercorreNotasConsumidor(1, inicial, final, [&](const REG_EC_CXPS& c, const auto& itens, const auto&) {
      soma += c.Total.int64 + static_cast<std::int64_t>(itens.size());
      return true;
    });
    CConexaoServidorEC servidor;
    servidor.Inicializa(kTriplo.chaveEmpresa, 1, 0);
    std::vector<std::uint32_t> notas;
    servidor.ListaNotas(1, inicial, final, &notas);
    REG_NOTA_FISCALPS nota{};
    std::vector<REG_ITENS_NF_PS> itens;
    for (auto id : notas) servidor.LeNota(id, &nota, &itens);
    CConexaoMovimento estoque;
    estoque.Inicializa(kTriplo.chaveEmpresa, 1, 0);
    estoque.PercorreSaldosInventario(1, final, [&](const REG_ES_SALDOS_INVENTARIOPS& s) {
      soma += s.Quantidade.int64;
      return true;
    });
  }
  benchmark::DoNotOptimize(soma);
  CArquivoTexto arquivo;
  if (!arquivo.Abrir(destino.string(), CArquivoTexto::Modo::EscritaBinaria)) std::abort();
  const std::string bloco(1 << 16, 'x');
  for (std::uintmax_t escrito = 0; escrito < bytes; escrito += bloco.size())
    arquivo.EscreverTexto(std::string_view(bloco).substr(0, std::min<std::uintmax_t>(bloco.size(), bytes - escrito)));
  arquivo.Fechar();
}

void GeraExtrato(NumeroDia inicial, NumeroDia final, const fs::path& destino) {
  efd::CGeradorEFD gerador(kTriplo, {1, 0, inicial, final, 'A'});
  CArquivoTexto arquivo;
  if (!arquivo.Abrir(destino.string(), CArquivoTexto::Modo::EscritaBinaria)) std::abort();
  gerador.GeraRegistrosECF();
  gerador.EscreveArquivo(arquivo);
  arquivo.Fechar();
}

void GeraVendaPeriodo(NumeroDia inicial, NumeroDia final, const fs::path& destino) {
  efd::CGeradorEFD ecf(kTriplo, {1, 0, inicial, final, 'B'});
  ecf.GeraRegistrosECF();
  if (!venda::CGeradorVendaPeriodo(kTriplo, {1, inicial, final, 'B'}, ecf).Gera(destino.string())) std::abort();
}

template <class Gera>
void Mede(benchmark::State& estado, bool vendaPeriodo, Gera&& gera) {
  ui::HostRoteirizado host;
  ui::HostTemporario ativo(host);
  const NumeroDia inicial = CodificaDia(1, 10, 2026);
  const auto final = static_cast<NumeroDia>(inicial + estado.range(0) - 1);
  const fs::path arquivo = Loja().Saida(vendaPeriodo ? "venda.txt" : "extrato.txt");
  double segundos = 0, nua = 0, pico = 0;
  std::uintmax_t bytes = 0;
  // The machine is shared: each side is timed three times, alternating,
  // and the fastest run of each counts.
  for (auto _ : estado) {
    segundos = nua = 1e9;
    for (int vez = 0; vez < 3; ++vez) {
      ZeraPicoRSS();
      auto inicio = Relogio::now();
      gera(inicial, final, arquivo);
      segundos = std::min(segundos, std::chrono::duration<double>(Relogio::now() - inicio).count());
      pico = std::max(pico, PicoRSS());
      bytes = fs::file_size(arquivo);
      inicio = Relogio::now();
      VarreduraNua(inicial, final, vendaPeriodo, bytes, Loja().Saida("nua.txt"));
      nua = std::min(nua, std::chrono::duration<double>(Relogio::now() - inicio).count());
    }
    estado.SetIterationTime(segundos);
  }
  const double itens = static_cast<double>(Loja().ItensAte(final, vendaPeriodo));
  estado.counters["itens"] = itens;
  estado.counters["itens/s"] = itens / segundos;
  estado.counters["MB"] = static_cast<double>(bytes) / 1e6;
  estado.counters["pico_RSS_MB"] = pico;
  estado.counters["varredura_s"] = nua;
  estado.counters["razao"] = segundos / nua;
  if (!host.Caixas().empty()) estado.SkipWithError(host.Caixas().front().texto.c_str());
}

void BM_ExtratoSpedPerfilA(benchmark::State& estado) {
  Loja();
  Mede(estado, false, GeraExtrato);
}
BENCHMARK(BM_ExtratoSpedPerfilA)->ArgName("dias")->Arg(8)->Arg(31)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_VendaPeriodoPerfilB(benchmark::State& estado) {
  Loja();
  Mede(estado, true, GeraVendaPeriodo);
}
BENCHMARK(BM_VendaPeriodoPerfilB)->ArgName("dias")->Arg(8)->Arg(31)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
