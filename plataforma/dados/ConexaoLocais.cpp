#include "plataforma/dados/ConexaoLocais.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoLocais::Le(std::uint16_t codigo, REG_LOCAL_ESTOQUEPS* registro) {
  return LeUm("SELECT codigo, descricao, conta_empresarial, permite_negativo FROM local_estoque WHERE codigo = ?",
              {codigo}, registro, [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_LOCAL_ESTOQUEPS>();
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                CopiaTexto(r.ContaEmpresarial, l.Texto(2));
                r.PermiteNegativo = static_cast<std::uint8_t>(l.Inteiro(3));
                return r;
              });
}

}  // namespace qmx::dados
