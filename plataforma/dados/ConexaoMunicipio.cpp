#include "plataforma/dados/ConexaoMunicipio.h"

#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoMunicipio::Le(std::uint16_t numero, REG_MUNICIPIO_PS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT numero, nome, uf, codigo_ibge FROM municipio WHERE numero = ?", {numero});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto& l = linhas.front();
    REG_MUNICIPIO_PS r;
    std::memset(&r, 0, sizeof r);
    r.Numero = static_cast<std::uint16_t>(l.Inteiro(0));
    CopiaTexto(r.Nome, l.Texto(1));
    CopiaTexto(r.UF, l.Texto(2));
    r.CodigoIBGE = static_cast<std::int32_t>(l.Inteiro(3));
    *registro = r;
    return com::S_OK;
  });
}

}  // namespace qmx::dados
