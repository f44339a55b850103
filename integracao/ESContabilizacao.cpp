#include "integracao/ESContabilizacao.h"

#include "plataforma/calendario/DataCodificada.h"
#include "integracao/CamposIntegracao.h"
#include "integracao/RateioGerencial.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

namespace {

// The accounting server's code for a date inside a blocked period.
constexpr std::uint16_t kPeriodoBloqueado = 21;

}  // namespace

std::optional<REG_PLANO_CONTAPS> CESContabilizacao::Conta(const std::string& codigo) {
  auto achada = m_contas.find(codigo);
  if (achada == m_contas.end()) {
    // An account the chart does not hold requires nothing here: the
    // accounting server refuses it with its own code.
    REG_PLANO_CONTAPS conta{};
    const com::HRESULT lida = m_plano.Le(codigo, &conta);
    const bool conhecida = lida >= 0 || lida == dados::QMX_E_REGISTRO_INEXISTENTE;
    if (lida < 0) conta = REG_PLANO_CONTAPS{};
    achada = m_contas.emplace(codigo, conhecida ? std::optional(conta) : std::nullopt).first;
  }
  return achada->second;
}

bool CESContabilizacao::PeriodoBloqueado(std::uint16_t filial, NumeroDia data) {
  auto achado = m_mesesBloqueados.find(filial);
  if (achado == m_mesesBloqueados.end()) {
    REG_FILIALPS registro{};
    const bool lida = m_filiais.Le(filial, &registro) >= 0;
    achado = m_mesesBloqueados.emplace(filial, lida ? registro.MesBloqueadoContabil : 0).first;
  }
  if (achado->second == 0) return false;
  const DiaMesAno dia = DecodificaDia(data);
  return CodificaMes(dia.mes, dia.ano) == achado->second;
}

std::optional<CESContabilizacao::Partidas> CESContabilizacao::MontaPartidas(const REG_ES_MOVIMENTOPS& movimento,
                                                                            const REG_PRODUTOPS& produto,
                                                                            const REG_LOCAL_ESTOQUEPS* local) {
  if (produto.GradeContabil == 0) {
    Log("Falta configurar a grade contábil");
    return std::nullopt;
  }
  auto grade = m_grades.find(produto.GradeContabil);
  if (grade == m_grades.end()) {
    REG_GRADE_CONTABILPS lida{};
    const bool ok = m_integracao.LeGrade(produto.GradeContabil, &lida) >= 0;
    grade = m_grades.emplace(produto.GradeContabil, ok ? std::optional(lida) : std::nullopt).first;
  }
  if (!grade->second) {
    Log("Erro ao ler a grade contábil");
    return std::nullopt;
  }
  Partidas partidas;
  partidas.debito = Texto(produto.ContaCusto);
  if (partidas.debito.empty()) partidas.debito = Texto(grade->second->ContaDebito);
  partidas.credito = Texto(produto.ContaEstoque);
  if (partidas.credito.empty()) partidas.credito = Texto(grade->second->ContaCredito);
  if (partidas.credito.empty()) {
    Log("Falta informar a \"conta estoque\" do produto.");
    return std::nullopt;
  }
  if (partidas.debito.empty()) {
    Log("Falta informar a \"conta custo\" do produto.");
    return std::nullopt;
  }
  const auto debito = Conta(partidas.debito);
  const auto credito = Conta(partidas.credito);
  if (!debito || !credito) {
    Log("Erro ao verificar gerenciais");
    return std::nullopt;
  }
  CRateioGerencial rateio;
  rateio.Inicializa(local ? Texto(local->ContaEmpresarial) : std::string());
  if (!rateio.SetConta(partidas.debito, debito->ExigeGerencial != 0) ||
      !rateio.SetConta(partidas.credito, credito->ExigeGerencial != 0)) {
    Log(local ? "Falta informar a conta empresarial do local" : "Falta informar a conta empresarial");
    return std::nullopt;
  }
  // Both sides carry the same value; the apportionment must cover it whole.
  for (const auto& gerencial : rateio.GetLancamentosGerenciais(movimento.Valor.int64)) {
    if (gerencial.valor != movimento.Valor.int64) {
      Log("Total de débitos diferente do total de créditos");
      return std::nullopt;
    }
  }
  partidas.gerencial = rateio.Gerencial();
  if (PeriodoBloqueado(movimento.Filial, movimento.Data)) {
    const ResultadoContabil r = TraduzResultadoContabil(kPeriodoBloqueado);
    Log(Formata("%s (ES %u)", r.texto.c_str(), r.numero));
    return std::nullopt;
  }
  return partidas;
}

bool CESContabilizacao::TestaContabilizacao(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                                            const REG_LOCAL_ESTOQUEPS* local) {
  return MontaPartidas(movimento, produto, local).has_value();
}

bool CESContabilizacao::Contabiliza(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                                    const REG_LOCAL_ESTOQUEPS* local) {
  const auto partidas = MontaPartidas(movimento, produto, local);
  if (!partidas) return false;
  REG_CONTABILIDADEPS lancamento{};
  lancamento.Filial = movimento.Filial;
  lancamento.Data = movimento.Data;
  Copia(lancamento.ContaDebito, partidas->debito);
  Copia(lancamento.ContaCredito, partidas->credito);
  lancamento.Valor = movimento.Valor;
  Copia(lancamento.Historico, Formata("Baixa de estoque - ECF %u Documento %s Item %u", movimento.Emissora,
                                     Texto(movimento.Documento).c_str(), movimento.Item));
  Copia(lancamento.Gerencial, partidas->gerencial);
  Copia(lancamento.Origem, "ES");
  lancamento.Movimento = movimento.Id;
  lancamento.Emissora = movimento.Emissora;
  std::uint16_t codigo = 0;
  if (m_integracao.GravaLancamento(lancamento, &codigo) < 0) {
    Log("Erro ao contabilizar movimento do estoque");
    return false;
  }
  if (codigo != 0) {
    const ResultadoContabil r = TraduzResultadoContabil(codigo);
    Log(Formata("%s (ES %u)", r.texto.c_str(), r.numero));
    return false;
  }
  return true;
}

}  // namespace qmx
