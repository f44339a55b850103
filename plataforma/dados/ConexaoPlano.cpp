#include "plataforma/dados/ConexaoPlano.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoPlano::Le(const std::string& codigo, REG_PLANO_CONTAPS* registro) {
  return LeUm("SELECT codigo, descricao, analitica, exige_gerencial FROM plano_conta WHERE codigo = ?",
              {TextoParaBase(codigo.c_str(), codigo.size())}, registro, [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_PLANO_CONTAPS>();
                CopiaTexto(r.Codigo, l.Texto(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                r.Analitica = static_cast<std::uint8_t>(l.Inteiro(2));
                r.ExigeGerencial = static_cast<std::uint8_t>(l.Inteiro(3));
                return r;
              });
}

}  // namespace qmx::dados
