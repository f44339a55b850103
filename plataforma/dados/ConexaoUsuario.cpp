#include "plataforma/dados/ConexaoUsuario.h"

#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoUsuario::Le(std::uint16_t codigo, REG_USUARIOPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT codigo, nome FROM usuario WHERE codigo = ?", {codigo});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto filiais = s.Consulta("SELECT filial FROM usuario_filial WHERE usuario = ?", {codigo});
    REG_USUARIOPS r;
    std::memset(&r, 0, sizeof r);
    r.Codigo = static_cast<std::uint16_t>(linhas.front().Inteiro(0));
    CopiaTexto(r.Nome, linhas.front().Texto(1));
    for (const auto& l : filiais) {
      const auto filial = l.Inteiro(0);
      if (filial >= 0 && filial < QMX_FILIAIS_USUARIO) r.Filiais[filial] = 1;
    }
    *registro = r;
    return com::S_OK;
  });
}

}  // namespace qmx::dados
