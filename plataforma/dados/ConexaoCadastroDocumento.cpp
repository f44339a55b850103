#include "plataforma/dados/ConexaoCadastroDocumento.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

com::HRESULT CConexaoCadastroDocumento::Le(std::uint16_t codigo, REG_TIPO_DOCUMENTOPS* registro) {
  return LeUm("SELECT codigo, descricao, documento_fiscal FROM tipo_documento WHERE codigo = ?", {codigo}, registro,
              [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_TIPO_DOCUMENTOPS>();
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                r.DocumentoFiscal = static_cast<std::uint16_t>(l.Inteiro(2));
                return r;
              });
}

com::HRESULT CConexaoCadastroDocumento::GetDocFiscal(std::uint16_t tipoDocumento, REG_DOC_FISCAIS* registro) {
  return LeUm(
      "SELECT d.codigo, d.modelo, d.descricao FROM tipo_documento t JOIN documento_fiscal d "
      "ON d.codigo = t.documento_fiscal WHERE t.codigo = ?",
      {tipoDocumento}, registro, [](const LinhaDados& l) {
        auto r = leitura::Zerado<REG_DOC_FISCAIS>();
        r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
        CopiaTexto(r.Modelo, l.Texto(1));
        CopiaTexto(r.Descricao, l.Texto(2));
        return r;
      });
}

com::HRESULT GetDocFiscal(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                          std::uint16_t tipoDocumento, REG_DOC_FISCAIS* registro) {
  CConexaoCadastroDocumento conexao;
  const auto resultado = conexao.Inicializa(chaveEmpresa, usuario, contexto);
  if (resultado < 0) return resultado;
  return conexao.GetDocFiscal(tipoDocumento, registro);
}

}  // namespace qmx::dados
