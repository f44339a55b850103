#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroFilial.h"

namespace qmx::dados {

// The branch server's operations.
class IZTCN_Filial {
 public:
  virtual ~IZTCN_Filial() = default;
  virtual com::HRESULT Le(std::uint16_t filial, REG_FILIALPS* registro) = 0;
  // The legal name as a wide text allocated here; the caller frees it with
  // LiberaTextoLargo (TextoRegistro.h).
  virtual com::HRESULT GetRazaoSocial(std::uint16_t filial, wchar_t** razaoSocial) = 0;
  virtual com::HRESULT GetDadosAtoCotepe(std::uint16_t filial, REG_DADOS_ATO_COTEPE_PS* dados) = 0;
};

// Connection to the branches of a company.
class CConexaoFilial : public CConexaoDados, public IZTCN_Filial {
 public:
  // The fourth argument is always false in the library's calls; this
  // server has a single way of opening, so it changes nothing.
  com::HRESULT Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                          bool exclusiva);
  IZTCN_Filial* GetInterface() { return Inicializada() ? this : nullptr; }

  com::HRESULT Le(std::uint16_t filial, REG_FILIALPS* registro) override;
  com::HRESULT GetRazaoSocial(std::uint16_t filial, wchar_t** razaoSocial) override;
  com::HRESULT GetDadosAtoCotepe(std::uint16_t filial, REG_DADOS_ATO_COTEPE_PS* dados) override;
};

}  // namespace qmx::dados
