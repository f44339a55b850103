#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/ZTParametroInicializacao.h"

namespace qmx::dados {

// Positions of the system-type flags.
constexpr int QMX_TIPOS_SISTEMAS = 100;
// The flag that puts ECFs under per-branch control.
constexpr int QMX_TIPO_ECF_POR_FILIAL = 45;

// The initialisation data of a system: a table of one-digit flags, read
// as GetTipoSistemas()[position]. Positions count from 0, as the array is
// indexed; a position the company never set reads 0.
class CZTDadosInicializacao : private CConexaoDados {
 public:
  CZTDadosInicializacao();

  // Opens the company, reads the system's flags and closes again. The
  // flags stay all 0 when this fails.
  com::HRESULT BuscaDados(const CZTParametroInicializacao& parametro);
  const std::uint8_t* GetTipoSistemas() const { return m_tipos; }

 private:
  std::uint8_t m_tipos[QMX_TIPOS_SISTEMAS];
};

}  // namespace qmx::dados
