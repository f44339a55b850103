#pragma once

#include <cstdint>
#include <string>

#include "frame/QMXUTIL.h"
#include "plataforma/com/HResult.h"

namespace qmx {

// Carries a day's cupons of an ECF into the back-office modules (accounting,
// fiscal books, stock, financial), one pass per call, with a log.
class CQMXIntegracao {
 public:
  // Mode 0 for the accounting, fiscal and financial passes, 1 for stock.
  CQMXIntegracao(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                 int modo);
  virtual ~CQMXIntegracao() = default;

  void SetArquivoLog(const std::string& caminho) { m_strArquivoLog = caminho; }
  const std::string& ArquivoLog() const { return m_strArquivoLog; }
  int Modo() const { return m_nModo; }

  // The passes need the cupons', stock, accounting and financial servers;
  // until those are reachable every pass answers "not implemented"
  // (E_NOTIMPL) without touching anything.
  std::int32_t IntegraContabilidade(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraFiscal(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraEstoque(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraFinanceiro(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraCupomEstoque(void* cupom, std::int32_t item, std::int32_t valor1, std::int32_t valor2);



 private:
  std::string m_strEmpresa;
  std::uint16_t m_nUsuario;
  std::int32_t m_nContexto;
  int m_nModo;
  std::string m_strArquivoLog;
};

}  // namespace qmx
