#include "plataforma/dados/ServidorUsuarioCOM.h"

#include <cstring>
#include <string>

#include "plataforma/com/ObjetoCOM.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/dados/ComponenteServidor.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/FreioLogin.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::dados {

namespace {

// A text field of a record, up to its terminator or its end.
template <std::size_t N>
std::string Campo(const char (&campo)[N]) {
  return std::string(campo, strnlen(campo, N));
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
    const com::HRESULT resultado = CFreioLogin(m_conexao).Autentica(nome, senha, usuario);
    cripto::LimpaMemoria(senha.data(), senha.size());
    return resultado;
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
