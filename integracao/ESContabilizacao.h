#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "integracao/LogIntegracao.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/ConexaoGradeContabil.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx {

// The accounting of a stock movement. A sale's movement leaves the stock at
// its value: debit the product's cost account, credit its stock account.
// The product's accounting grid gives both accounts and the product's own
// cost and stock accounts take their place when filled; an account that
// requires a managerial account gets the storage place's business account
// through the apportionment. The entry is recorded by the accounting
// server, whose refusal (a blocked month among them) comes back as a
// numbered text. A movement that returns an exit reverses that exit's
// entries: the same accounts the other way round, the same values. Every
// problem is written to the integration log; a failure of a server is kept
// apart (Falha) so that the pass stops on it instead of leaving the item
// pending.
class CESContabilizacao {
 public:
  CESContabilizacao(dados::IZTDF_Integracao& integracao, dados::IZTDF_Plano& plano, const CLogIntegracao& log)
      : m_integracao(integracao), m_plano(plano), m_log(log) {}

  // Whether the movement can be accounted (grid, accounts, managerial
  // account); logs what is missing.
  bool TestaContabilizacao(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                           const REG_LOCAL_ESTOQUEPS* local);
  // Records the entry of a written movement; false, logged, when it cannot.
  bool Contabiliza(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                   const REG_LOCAL_ESTOQUEPS* local);
  // Records the reversal of the exit `saida` for the written movement
  // `retorno` that gives it back; false, logged, when it cannot.
  bool Estorna(const REG_ES_MOVIMENTOPS& saida, const REG_ES_MOVIMENTOPS& retorno);

  // The failure of a server behind the last false answer; S_OK when it was
  // the register's or the accounting server's refusal.
  com::HRESULT Falha() const { return m_falha; }

 private:
  struct Partidas {
    std::string debito;
    std::string credito;
    std::string gerencial;
  };
  std::optional<Partidas> MontaPartidas(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                                        const REG_LOCAL_ESTOQUEPS* local);
  std::optional<REG_PLANO_CONTAPS> Conta(const std::string& codigo);
  // Has the accounting server record an entry; false, logged, when it
  // refuses or fails.
  bool Grava(const REG_CONTABILIDADEPS& lancamento);
  void Log(const std::string& texto) const { m_log.Escreve(texto); }

  dados::IZTDF_Integracao& m_integracao;
  dados::IZTDF_Plano& m_plano;
  const CLogIntegracao& m_log;
  std::map<std::uint16_t, std::optional<REG_GRADE_CONTABILPS>> m_grades;
  std::map<std::string, std::optional<REG_PLANO_CONTAPS>> m_contas;
  com::HRESULT m_falha = com::S_OK;
};

}  // namespace qmx
