#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCadastros.h"

namespace qmx::dados {

// The users server's operations.
class IZTDF_Usuario {
 public:
  virtual ~IZTDF_Usuario() = default;
  // The user with the table of the branches the user may work in.
  virtual com::HRESULT Le(std::uint16_t codigo, REG_USUARIOPS* registro) = 0;
  // Checks a login name and password (Windows-1252): the user's code, or 0
  // when the name is unknown or the password wrong (the answer takes as
  // long either way).
  virtual com::HRESULT Autentica(const std::string& login, const std::string& senha, std::uint16_t* codigo) = 0;
};

// Connection to the users of a company.
class CConexaoUsuario : public CConexaoDados, public IZTDF_Usuario {
 public:
  IZTDF_Usuario* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_USUARIOPS* registro) override;
  com::HRESULT Autentica(const std::string& login, const std::string& senha, std::uint16_t* codigo) override;
};

}  // namespace qmx::dados
