#pragma once

#include <cstdint>
#include <string>

#include "arquivos/QMXFiltroArquivo.h"

namespace qmx {

// Filter dialog of the SPED Fiscal extract. It can be preset with the
// whole filter (by its export and by the Venda do Período dialog) and tells
// afterwards the path of the file it produced.
class CQMXRegistrosEFD : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14029;
  CQMXRegistrosEFD() : CQMXFiltroArquivo(IDD, "QMXRegistrosEFD") {}

  void Preset(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
              std::uint16_t filial, std::uint16_t ecf, std::uint16_t dataInicial,
              std::uint16_t dataFinal, char perfil);

  // The path of the file written by the last OK, empty when none was.
  const std::string& GetCaminhoArquivo() const { return m_strCaminhoArquivo; }

  std::uint16_t Filial() const { return m_nFilial; }
  std::uint16_t Ecf() const { return m_nEcf; }
  std::uint16_t DataInicial() const { return m_nDataInicial; }
  std::uint16_t DataFinal() const { return m_nDataFinal; }
  char Perfil() const { return m_cPerfil; }

 private:
  std::uint16_t m_nFilial = 0;
  std::uint16_t m_nEcf = 0;
  std::uint16_t m_nDataInicial = 0;
  std::uint16_t m_nDataFinal = 0;
  char m_cPerfil = 0;
  std::string m_strCaminhoArquivo;
};

}  // namespace qmx
