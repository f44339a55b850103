#include "plataforma/dados/ConexaoGradeContabil.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoGradeContabil::LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) {
  return LeUm("SELECT codigo, descricao, conta_debito, conta_credito FROM grade_contabil WHERE codigo = ?", {codigo},
              registro, [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_GRADE_CONTABILPS>();
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                CopiaTexto(r.ContaDebito, l.Texto(2));
                CopiaTexto(r.ContaCredito, l.Texto(3));
                return r;
              });
}

}  // namespace qmx::dados
