#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "integracao/LogIntegracao.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoGradeContabil.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroIntegracao.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// The accounting of a stock movement. A sale's movement leaves the stock at
// its value: debit the product's cost account, credit its stock account.
// The product's accounting grid gives both accounts and the product's own
// cost and stock accounts take their place when filled; an account that
// requires a managerial account gets the storage place's business account
// through the apportionment. The entry is recorded by the accounting
// server, whose refusal comes back as a numbered text. Every problem is
// written to the integration log.
class CESContabilizacao {
 public:
  CESContabilizacao(dados::IZTDF_Integracao& integracao, dados::IZTDF_Plano& plano, dados::IZTCN_Filial& filiais,
                    const CLogIntegracao& log)
      : m_integracao(integracao), m_plano(plano), m_filiais(filiais), m_log(log) {}

  // Whether the movement can be accounted (grid, accounts, managerial
  // account, open period); logs what is missing.
  bool TestaContabilizacao(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                           const REG_LOCAL_ESTOQUEPS* local);
  // Records the entry of a written movement; false, logged, when it cannot.
  bool Contabiliza(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                   const REG_LOCAL_ESTOQUEPS* local);

 private:
  struct Partidas {
    std::string debito;
    std::string credito;
    std::string gerencial;
  };
  std::optional<Partidas> MontaPartidas(const REG_ES_MOVIMENTOPS& movimento, const REG_PRODUTOPS& produto,
                                        const REG_LOCAL_ESTOQUEPS* local);
  std::optional<REG_PLANO_CONTAPS> Conta(const std::string& codigo);
  bool PeriodoBloqueado(std::uint16_t filial, NumeroDia data);
  void Log(const std::string& texto) const { m_log.Escreve(texto); }

  dados::IZTDF_Integracao& m_integracao;
  dados::IZTDF_Plano& m_plano;
  dados::IZTCN_Filial& m_filiais;
  const CLogIntegracao& m_log;
  std::map<std::uint16_t, std::optional<REG_GRADE_CONTABILPS>> m_grades;
  std::map<std::string, std::optional<REG_PLANO_CONTAPS>> m_contas;
  std::map<std::uint16_t, std::uint16_t> m_mesesBloqueados;  // branch -> month code
};

}  // namespace qmx
