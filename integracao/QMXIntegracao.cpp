#include "integracao/QMXIntegracao.h"

namespace qmx {

CQMXIntegracao::CQMXIntegracao(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                               int modo)
    : m_strEmpresa(chaveEmpresa), m_nUsuario(usuario), m_nContexto(contexto), m_nModo(modo) {}

std::int32_t CQMXIntegracao::IntegraContabilidade(const REG_QMX_PARAMETROS_INTEGRACAO&) { return com::E_NOTIMPL; }
std::int32_t CQMXIntegracao::IntegraFiscal(const REG_QMX_PARAMETROS_INTEGRACAO&) { return com::E_NOTIMPL; }
std::int32_t CQMXIntegracao::IntegraEstoque(const REG_QMX_PARAMETROS_INTEGRACAO&) { return com::E_NOTIMPL; }
std::int32_t CQMXIntegracao::IntegraFinanceiro(const REG_QMX_PARAMETROS_INTEGRACAO&) { return com::E_NOTIMPL; }
std::int32_t CQMXIntegracao::IntegraCupomEstoque(void*, std::int32_t, std::int32_t, std::int32_t) {
  return com::E_NOTIMPL;
}

}  // namespace qmx
