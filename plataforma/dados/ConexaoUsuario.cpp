#include "plataforma/dados/ConexaoUsuario.h"

#include <cstring>

#include "plataforma/dados/SenhaUsuario.h"
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

com::HRESULT CConexaoUsuario::Autentica(const std::string& login, const std::string& senha, std::uint16_t* codigo) {
  if (!codigo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(
        "SELECT codigo, senha_sal, senha_hash, senha_iteracoes FROM usuario WHERE login = ? AND login <> ''",
        {TextoParaBase(login.c_str(), login.size())});
    SenhaGuardada guardada;
    if (!linhas.empty()) {
      guardada.sal = linhas.front().Texto(1);
      guardada.hash = linhas.front().Texto(2);
      guardada.iteracoes = static_cast<int>(linhas.front().Inteiro(3));
    }
    // An unknown name costs a hash too, so the time does not tell it apart.
    static const SenhaGuardada kNinguem = GuardaSenha("", kIteracoesSenha);
    const bool confere = ConfereSenha(TextoParaBase(senha.c_str(), senha.size()), linhas.empty() ? kNinguem : guardada);
    *codigo = (confere && !linhas.empty()) ? static_cast<std::uint16_t>(linhas.front().Inteiro(0)) : 0;
    return com::S_OK;
  });
}

com::HRESULT CConexaoUsuario::LeFalhasLogin(const std::string& login, int* seguidas, std::int64_t* ultima) {
  if (!seguidas || !ultima) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas =
        s.Consulta("SELECT seguidas, ultima FROM login_falha WHERE login = ?", {TextoParaBase(login.c_str(), login.size())});
    *seguidas = linhas.empty() ? 0 : static_cast<int>(linhas.front().Inteiro(0));
    *ultima = linhas.empty() ? 0 : linhas.front().Inteiro(1);
    return com::S_OK;
  });
}

com::HRESULT CConexaoUsuario::RegistraFalhaLogin(const std::string& login, std::int64_t agora, std::int64_t janela,
                                                 int* seguidas) {
  if (!seguidas) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    s.Executa("DELETE FROM login_falha WHERE ultima <= ?", {agora - janela});
    // One statement, so that two terminals failing at once both count.
    const auto linhas = s.Consulta(
        "INSERT INTO login_falha (login, seguidas, ultima) VALUES (?, 1, ?) ON CONFLICT (login) DO UPDATE SET "
        "seguidas = CASE WHEN excluded.ultima - login_falha.ultima >= ? THEN 1 "
        "WHEN login_falha.seguidas >= 1000 THEN 1000 ELSE login_falha.seguidas + 1 END, "
        "ultima = excluded.ultima RETURNING seguidas",
        {TextoParaBase(login.c_str(), login.size()), agora, janela});
    *seguidas = linhas.empty() ? 1 : static_cast<int>(linhas.front().Inteiro(0));
    return com::S_OK;
  });
}

com::HRESULT CConexaoUsuario::LimpaFalhasLogin(const std::string& login) {
  return Executa([&](CSessaoDados& s) {
    s.Executa("DELETE FROM login_falha WHERE login = ?", {TextoParaBase(login.c_str(), login.size())});
    return com::S_OK;
  });
}

}  // namespace qmx::dados
