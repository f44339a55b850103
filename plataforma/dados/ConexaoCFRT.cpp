#include "plataforma/dados/ConexaoCFRT.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoCFRT::Le(std::uint32_t codigo, ZTCFRT* registro) {
  return LeUm("SELECT " QMX_COLUNAS_CFRT " FROM cfrt WHERE codigo = ?", {codigo}, registro,
              leitura::Cfrt<LinhaDados>);
}

com::HRESULT CConexaoCFRT::LeCadastros(const std::vector<std::uint32_t>& codigos,
                                       std::map<std::uint32_t, ZTCFRT>* registros) {
  if (!registros) return com::E_POINTER;
  registros->clear();
  return LePorChaves(
      codigos, {}, [](const std::string& lista) { return "SELECT " QMX_COLUNAS_CFRT " FROM cfrt WHERE codigo IN (" + lista + ")"; },
      [&](const LinhaDados& l) { registros->emplace(static_cast<std::uint32_t>(l.Inteiro(0)), leitura::Cfrt(l)); });
}

}  // namespace qmx::dados
