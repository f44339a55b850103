#include "plataforma/dados/ConexaoNatureza.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoNatureza::Le(std::uint16_t codigo, REG_NATUREZAPS* registro) {
  return LeUm("SELECT codigo, descricao, cfop FROM natureza WHERE codigo = ?", {codigo}, registro,
              [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_NATUREZAPS>();
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                CopiaTexto(r.Cfop, l.Texto(2));
                return r;
              });
}

}  // namespace qmx::dados
