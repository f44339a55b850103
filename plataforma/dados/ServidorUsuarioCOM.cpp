#include "plataforma/dados/ServidorUsuarioCOM.h"

#include <cstring>
#include <string>

#include "plataforma/com/ObjetoCOM.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/dados/ComponenteServidor.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/FreioLogin.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::dados {

namespace {

// A text field of a record, up to its terminator or its end.
template <std::size_t N>
std::string Campo(const char (&campo)[N]) {
  return std::string(campo, strnlen(campo, N));
}

void RegistraFalhaLogin(const std::string& login, int falhas) {
  eventos::CLogEventos log(mensagens::kFonteEventos);
  log.Reporta(eventos::EVENTLOG_WARNING_TYPE, 0, 0,
              {"Login recusado para o usuário \"" + login + "\"",
               std::to_string(falhas) + " falha(s) seguida(s)"});
}

class CServidorUsuario : public com::CObjetoCOM<IZTDF_AcessoUsuario> {
 public:
  com::HRESULT Abre(REG_CONEXAO_SERVIDORPS conexao) override {
    return m_conexao.Inicializa(Campo(conexao.Empresa), conexao.Usuario, conexao.Contexto);
  }

  com::HRESULT Login(REG_LOGIN_USUARIOPS login, std::uint16_t* usuario, std::int32_t* naoUsado,
                     std::int32_t) override {
    if (!usuario) return com::E_POINTER;
    *usuario = 0;
    if (naoUsado) *naoUsado = 0;
    if (!m_conexao.Inicializada()) return QMX_E_NAO_INICIALIZADA;
    const std::string nome = Campo(login.Usuario);
    std::string senha = Campo(login.Senha);
    cripto::LimpaMemoria(login.Senha, sizeof login.Senha);
    FreioLogin().AguardaVez(nome);
    const com::HRESULT resultado = m_conexao.Autentica(nome, senha, usuario);
    cripto::LimpaMemoria(senha.data(), senha.size());
    if (com::FAILED(resultado)) return resultado;
    if (*usuario == 0) RegistraFalhaLogin(nome, FreioLogin().RegistraFalha(nome));
    else FreioLogin().RegistraSucesso(nome);
    return com::S_OK;
  }

  com::HRESULT VinculosFiliais(std::uint16_t usuario, REG_VINCULO_FILIAISPS* vinculos) override {
    if (!vinculos) return com::E_POINTER;
    REG_USUARIOPS registro{};
    const com::HRESULT resultado = m_conexao.Le(usuario, &registro);
    if (com::FAILED(resultado)) return resultado;
    vinculos->Usuario = registro.Codigo;
    static_assert(sizeof vinculos->Filiais == sizeof registro.Filiais);
    std::memcpy(vinculos->Filiais, registro.Filiais, sizeof vinculos->Filiais);
    return com::S_OK;
  }

 private:
  CConexaoUsuario m_conexao;
};

}  // namespace

void RegistraServidorUsuario() { RegistraFabricaServidor<CServidorUsuario>(kClasseServidorUsuario); }

}  // namespace qmx::dados
