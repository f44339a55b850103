#include "plataforma/dados/ZTDadosInicializacao.h"

#include <cstring>

namespace qmx::dados {

CZTDadosInicializacao::CZTDadosInicializacao() { std::memset(m_tipos, 0, sizeof m_tipos); }

com::HRESULT CZTDadosInicializacao::BuscaDados(const CZTParametroInicializacao& parametro) {
  std::memset(m_tipos, 0, sizeof m_tipos);
  com::HRESULT resultado = Inicializa(parametro.ChaveEmpresa(), parametro.Usuario(), parametro.Contexto());
  if (com::FAILED(resultado)) return resultado;
  resultado = Executa([&](CSessaoDados& s) {
    const auto linhas =
        s.Consulta("SELECT tipos_sistemas FROM dados_inicializacao WHERE sistema = ?", {parametro.Sistema()});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const std::string& digitos = linhas.front().Texto(0);
    for (std::size_t i = 0; i < digitos.size() && i < QMX_TIPOS_SISTEMAS; ++i)
      if (digitos[i] >= '0' && digitos[i] <= '9') m_tipos[i] = static_cast<std::uint8_t>(digitos[i] - '0');
    return com::S_OK;
  });
  Finaliza();
  return resultado;
}

}  // namespace qmx::dados
