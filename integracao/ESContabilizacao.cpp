#include "integracao/ESContabilizacao.h"

#include "integracao/CamposIntegracao.h"
#include "integracao/RateioGerencial.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx {

using campos::Copia;
using campos::Formata;
using campos::Texto;

std::optional<REG_PLANO_CONTAPS> CESContabilizacao::Conta(const std::string& codigo) {
  auto achada = m_contas.find(codigo);
  if (achada == m_contas.end()) {
    // An account the chart does not hold requires nothing here: the
    // accounting server refuses it with its own code.
    REG_PLANO_CONTAPS conta{};
    const com::HRESULT lida = m_plano.Le(codigo, &conta);
    if (com::FAILED(lida) && lida != dados::QMX_E_REGISTRO_INEXISTENTE) {
      m_falha = lida;
      return std::nullopt;
    }
    if (com::FAILED(lida)) conta = REG_PLANO_CONTAPS{};
    achada = m_contas.emplace(codigo, conta).first;
  }
  return achada->second;
}

std::optional<CESContabilizacao::Partidas> CESContabilizacao::MontaPartidas(const REG_ES_MOVIMENTOPS& movimento,
                                                                            const REG_PRODUTOPS& produto,
                                                                            const REG_LOCAL_ESTOQUEPS* local) {
  m_falha = com::S_OK;
  if (produto.GradeContabil == 0) {
    Log("Falta configurar a grade contábil");
    return std::nullopt;
  }
  auto grade = m_grades.find(produto.GradeContabil);
  if (grade == m_grades.end()) {
    REG_GRADE_CONTABILPS lida{};
    const com::HRESULT resultado = m_integracao.LeGrade(produto.GradeContabil, &lida);
    if (com::FAILED(resultado) && resultado != dados::QMX_E_REGISTRO_INEXISTENTE) {
      m_falha = resultado;
      Log("Erro ao ler as Grades de contabilização do Torvo Estoque");
      return std::nullopt;
    }
    grade = m_grades.emplace(produto.GradeContabil, com::SUCCEEDED(resultado) ? std::optional(lida) : std::nullopt)
                .first;
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
  return partidas;
}

bool CESContabilizacao::TestaContabilizacao(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                                            const REG_LOCAL_ESTOQUEPS* local) {
  return MontaPartidas(movimento, produto, local).has_value();
}

bool CESContabilizacao::Grava(const REG_CONTABILIDADEPS& lancamento) {
  std::uint16_t codigo = 0;
  if (const com::HRESULT gravado = m_integracao.GravaLancamento(lancamento, &codigo); com::FAILED(gravado)) {
    m_falha = gravado;
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
  return Grava(lancamento);
}

bool CESContabilizacao::Estorna(const REG_ES_MOVIMENTOPS& saida, const REG_ES_MOVIMENTOPS& retorno) {
  m_falha = com::S_OK;
  std::vector<REG_CONTABILIDADEPS> originais;
  if (const com::HRESULT lidos = m_integracao.LeLancamentosDoMovimento(saida.Id, &originais); com::FAILED(lidos)) {
    m_falha = lidos;
    Log("Erro ao contabilizar movimento do estoque");
    return false;
  }
  for (const auto& original : originais) {
    REG_CONTABILIDADEPS estorno = original;
    Copia(estorno.ContaDebito, Texto(original.ContaCredito));
    Copia(estorno.ContaCredito, Texto(original.ContaDebito));
    estorno.Data = retorno.Data;
    estorno.Movimento = retorno.Id;
    estorno.Chave = 0;
    Copia(estorno.Historico, Formata("Estorno de baixa de estoque - ECF %u Documento %s Item %u", retorno.Emissora,
                                    Texto(retorno.Documento).c_str(), retorno.Item));
    if (!Grava(estorno)) return false;
  }
  return true;
}

}  // namespace qmx
