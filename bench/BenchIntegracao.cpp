// The integration passes on the big store, on SQLite and (when a server is
// named) on PostgreSQL:
// - BM_IntegracaoEstoqueECFDia: the stock pass over one ECF-day (1 000
//   cupons, 8 000 items), each item a movement and an accounting entry
//   written in the cupom's transaction;
// - BM_IntegracaoDiaLojaGrande: the four passes (stock, accounting,
//   fiscal, financial) over every ECF of one day (160 000 items).
// Each iteration starts from a day not integrated; items per second are
// the counter to watch, with the round trips to the server per cupom
// (none on SQLite, which runs inside the process) in all and, for the whole
// day, per pass. Engine 2 is PostgreSQL across the delaying relay; the
// round trip it gives, measured with bare statements before the passes, is
// reported too.
#include <benchmark/benchmark.h>

#include <map>
#include <string>

#include "LojaGrande.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/SessaoDados.h"

namespace {

using namespace qmx;
using namespace qmx::bench;

const NumeroDia kDia = CodificaDia(3, 11, 2026);

// Undoes what the passes wrote for the day, so that the next one does it all.
void DesfazDia(const Loja& loja) {
  auto sessao = AbreSessao(loja.endereco);
  sessao->Inicia();
  sessao->Executa("DELETE FROM lancamento_contabil WHERE movimento IN (SELECT id FROM movimento_estoque WHERE data = ?)",
                  {kDia});
  sessao->Executa("DELETE FROM movimento_estoque WHERE data = ?", {kDia});
  sessao->Executa("DELETE FROM saldo_local", {});
  sessao->Executa("UPDATE cupom_item SET integrado_estoque = 0 WHERE cupom IN (SELECT id FROM cupom WHERE data = ?)",
                  {kDia});
  sessao->Confirma();
}

// Runs the passes over the ECFs of the day, one iteration each.
template <class Passes>
void Integra(benchmark::State& estado, int emissoras, long long itensPorECF, Passes&& passes) {
  const int motor = static_cast<int>(estado.range(0));
  if (motor >= 1 && !Lojas::TemPostgres()) {
    estado.SkipWithError("sem QMX_TESTE_POSTGRES");
    return;
  }
  const Loja& loja = Lojas::Instancia().Pega(motor);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  QMX_Inicializa(Chave(motor), 1, 0);
  QMX_SetDiretorio((fs::temp_directory_path() / ("qmx-bench-integracao-" + std::to_string(getpid()) + ".log")).c_str());
  const auto cupons =
      AbreSessao(loja.endereco)
          ->Consulta("SELECT COUNT(*) FROM cupom WHERE data = ? AND emissora <= ?", {kDia, emissoras})
          .front()
          .Inteiro(0);
  if (motor == 2) {
    auto sessao = AbreSessao(loja.endereco);
    sessao->Consulta("SELECT 1", {});
    const auto inicio = Relogio::now();
    for (int i = 0; i < 200; ++i) sessao->Consulta("SELECT 1", {});
    estado.counters["ida_e_volta_ms"] = Segundos(inicio) * 1000.0 / 200.0;
  }
  std::int64_t idasEVoltas = 0;
  std::map<std::string, std::int64_t> porPasso;  // round trips of each pass
  const auto passo = [&](const char* nome, auto&& chamada) {
    const std::int64_t antes = dados::CSessaoDados::IdasEVoltasDoProcesso();
    const bool certo = chamada() >= 0;
    porPasso[nome] += dados::CSessaoDados::IdasEVoltasDoProcesso() - antes;
    return certo;
  };
  for (auto _ : estado) {
    estado.PauseTiming();
    DesfazDia(loja);
    const std::int64_t antes = dados::CSessaoDados::IdasEVoltasDoProcesso();
    estado.ResumeTiming();
    for (int ecf = 1; ecf <= emissoras; ++ecf) {
      REG_QMX_PARAMETROS_INTEGRACAO parametros{};
      parametros.nData = DiaDezesseisBits(kDia);
      parametros.nEcf = static_cast<std::uint16_t>(ecf);
      if (!passes(parametros, passo)) estado.SkipWithError("a integração falhou");
    }
    idasEVoltas += dados::CSessaoDados::IdasEVoltasDoProcesso() - antes;
  }
  fs::remove(fs::temp_directory_path() / ("qmx-bench-integracao-" + std::to_string(getpid()) + ".log"));
  QMX_SetDiretorio("");
  estado.SetItemsProcessed(estado.iterations() * emissoras * itensPorECF);
  estado.counters["cupons"] = static_cast<double>(cupons);
  const auto porCupom = [&](std::int64_t idas) {
    return cupons ? static_cast<double>(idas) / static_cast<double>(estado.iterations() * cupons) : 0.0;
  };
  estado.counters["idas_e_voltas_por_cupom"] = porCupom(idasEVoltas);
  if (porPasso.size() > 1)
    for (const auto& [nome, idas] : porPasso) estado.counters["idas_e_voltas_" + nome] = porCupom(idas);
}

void BM_IntegracaoEstoqueECFDia(benchmark::State& estado) {
  Integra(estado, 1, 8000, [](const REG_QMX_PARAMETROS_INTEGRACAO& p, auto&& passo) {
    return passo("ES", [&] { return QMX_ProcIntegraES(p); });
  });
}
BENCHMARK(BM_IntegracaoEstoqueECFDia)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_IntegracaoDiaLojaGrande(benchmark::State& estado) {
  Integra(estado, kEmissoras, 8000, [](const REG_QMX_PARAMETROS_INTEGRACAO& p, auto&& passo) {
    return passo("ES", [&] { return QMX_ProcIntegraES(p); }) && passo("CN", [&] { return QMX_ProcIntegraCN(p); }) &&
           passo("EF", [&] { return QMX_ProcIntegraEF(p); }) && passo("FN", [&] { return QMX_ProcIntegraFN(p); });
  });
}
BENCHMARK(BM_IntegracaoDiaLojaGrande)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
