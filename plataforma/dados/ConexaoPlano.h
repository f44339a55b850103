#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The chart of accounts server.
class IZTDF_Plano {
 public:
  virtual ~IZTDF_Plano() = default;
  virtual com::HRESULT Le(const std::string& codigo, REG_PLANO_CONTAPS* registro) = 0;
};

// Connection to the chart of accounts. Its Inicializa takes two selectors
// more (which chart, which view); this server keeps one chart, so they
// change nothing. CConexaoPlanoContabil is the same server.
class CConexaoPlano : public CConexaoDados, public IZTDF_Plano {
 public:
  using CConexaoDados::Inicializa;
  com::HRESULT Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                          std::uint8_t seletor1, std::uint8_t seletor2) {
    (void)seletor1;
    (void)seletor2;
    return CConexaoDados::Inicializa(chaveEmpresa, usuario, contexto);
  }
  IZTDF_Plano* GetInterface() { return Inicializada() ? this : nullptr; }
  // The code in Windows-1252, as the records hold it.
  com::HRESULT Le(const std::string& codigo, REG_PLANO_CONTAPS* registro) override;
  // The accounts of many codes, read together, keyed by code; a code the
  // chart lacks is simply absent.
  com::HRESULT LeContas(const std::vector<std::string>& codigos, std::map<std::string, REG_PLANO_CONTAPS>* contas);
};

class CConexaoPlanoContabil : public CConexaoPlano {};

}  // namespace qmx::dados
