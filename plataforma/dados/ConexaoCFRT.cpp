#include "plataforma/dados/ConexaoCFRT.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoCFRT::Le(std::uint32_t codigo, ZTCFRT* registro) {
  return LeUm("SELECT " QMX_COLUNAS_CFRT " FROM cfrt WHERE codigo = ?", {codigo}, registro,
              leitura::Cfrt<LinhaDados>);
}

}  // namespace qmx::dados
