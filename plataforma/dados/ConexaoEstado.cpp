#include "plataforma/dados/ConexaoEstado.h"

#include <cctype>
#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

com::HRESULT Preenche(const std::vector<LinhaDados>& linhas, REG_ESTADOPS* registro) {
  if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
  const auto& l = linhas.front();
  REG_ESTADOPS r;
  std::memset(&r, 0, sizeof r);
  r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
  CopiaTexto(r.Sigla, l.Texto(1));
  CopiaTexto(r.Nome, l.Texto(2));
  *registro = r;
  return com::S_OK;
}

}  // namespace

com::HRESULT CConexaoEstado::Le(std::uint16_t codigo, REG_ESTADOPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    return Preenche(s.Consulta("SELECT codigo, sigla, nome FROM estado WHERE codigo = ?", {codigo}), registro);
  });
}

com::HRESULT CConexaoEstado::LePorSigla(const char* sigla, REG_ESTADOPS* registro) {
  if (!registro || !sigla) return com::E_POINTER;
  std::string maiusculas;
  for (const char* c = sigla; *c; ++c) maiusculas += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return Executa([&](CSessaoDados& s) {
    return Preenche(s.Consulta("SELECT codigo, sigla, nome FROM estado WHERE UPPER(sigla) = ?", {maiusculas}),
                    registro);
  });
}

}  // namespace qmx::dados
