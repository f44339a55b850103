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

  // A login name's failures in a row and the time of the last one
  // (milliseconds since 1970); 0 and 0 for a name without failures.
  virtual com::HRESULT LeFalhasLogin(const std::string& login, int* seguidas, std::int64_t* ultima) = 0;
  // Counts a failure of the name at `agora`: one more in the row, or the
  // first of a new row when the last came `janela` milliseconds or more
  // before; *seguidas answers the row with this one. Rows rested as long
  // are dropped, so that trying many names cannot fill the table.
  virtual com::HRESULT RegistraFalhaLogin(const std::string& login, std::int64_t agora, std::int64_t janela,
                                          int* seguidas) = 0;
  // Forgets the name's failures (it logged in).
  virtual com::HRESULT LimpaFalhasLogin(const std::string& login) = 0;
};

// Connection to the users of a company.
class CConexaoUsuario : public CConexaoDados, public IZTDF_Usuario {
 public:
  IZTDF_Usuario* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_USUARIOPS* registro) override;
  com::HRESULT Autentica(const std::string& login, const std::string& senha, std::uint16_t* codigo) override;
  com::HRESULT LeFalhasLogin(const std::string& login, int* seguidas, std::int64_t* ultima) override;
  com::HRESULT RegistraFalhaLogin(const std::string& login, std::int64_t agora, std::int64_t janela,
                                  int* seguidas) override;
  com::HRESULT LimpaFalhasLogin(const std::string& login) override;
};

}  // namespace qmx::dados
