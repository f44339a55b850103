#pragma once

#include <cstdint>

#include "plataforma/com/Interfaces.h"

// Records of the users' server, packed as the server takes them.
#pragma pack(push, 1)
// The connection of the server to a company: key (31 characters and the
// terminator), user code and context code.
typedef struct tagREG_CONEXAO_SERVIDORPS
{
    char Empresa[32];
    std::uint16_t Usuario;
    std::int32_t Contexto;
} REG_CONEXAO_SERVIDORPS;

// A login: name and password, each zero-terminated in 18 bytes.
typedef struct tagREG_LOGIN_USUARIOPS
{
    char Usuario[18];
    char Senha[18];
} REG_LOGIN_USUARIOPS;

// The branches a user may work in: after the user's code, one mark per
// branch (non-zero: linked).
typedef struct tagREG_VINCULO_FILIAISPS
{
    std::uint16_t Usuario;
    std::uint8_t Filiais[1000];
} REG_VINCULO_FILIAISPS;
#pragma pack(pop)

static_assert(sizeof(REG_CONEXAO_SERVIDORPS) == 38);
static_assert(sizeof(REG_LOGIN_USUARIOPS) == 36);
static_assert(sizeof(REG_VINCULO_FILIAISPS) == 1002);

namespace qmx::dados {

// The users' server as a component activated by its class id: it opens a
// company, checks logins against the salted password hashes and tells the
// branches a user is linked to.
inline constexpr com::CLSID kClasseServidorUsuario{
    0x93B2A83E, 0x315E, 0x11D4, {0x83, 0x91, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};

class IZTDF_AcessoUsuario : public com::IUnknown {
 public:
  static constexpr com::IID kIID{0x93B2A83D, 0x315E, 0x11D4, {0x83, 0x91, 0x00, 0xA0, 0xC9, 0xDE, 0x80, 0xD1}};

  // Opens the company of the record.
  virtual com::HRESULT Abre(REG_CONEXAO_SERVIDORPS conexao) = 0;
  // The user's code, or 0 when the name or the password is not accepted.
  // Failed logins go to the system log with the name (never the password)
  // and slow down further tries of that name (FreioLogin.h). `naoUsado` is
  // set to 0; `reservado` is ignored.
  virtual com::HRESULT Login(REG_LOGIN_USUARIOPS login, std::uint16_t* usuario, std::int32_t* naoUsado,
                             std::int32_t reservado) = 0;
  virtual com::HRESULT VinculosFiliais(std::uint16_t usuario, REG_VINCULO_FILIAISPS* vinculos) = 0;

 protected:
  ~IZTDF_AcessoUsuario() = default;
};

// Registers the component's class factory in the process, once.
void RegistraServidorUsuario();

}  // namespace qmx::dados
