#pragma once

#include <cstdint>
#include <string>

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Filter dialog of the Movimentos por ECF file. With the automatic flag the
// filter comes from the export's arguments instead of the controls.
class CQMXMovimentos : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14017;
  CQMXMovimentos() : CQMXFiltroArquivo(IDD, "QMXMovimentos") {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                  NumeroDia dataInicial, NumeroDia dataFinal, std::uint16_t ecf,
                  std::uint16_t filial, std::uint8_t automatico);

  static constexpr int IDC_FILIAL = 14016;
  static constexpr int IDC_EMISSORA = 14018;
  static constexpr int IDC_DATA_INICIAL = 14019;
  static constexpr int IDC_DATA_FINAL = 14020;
  static constexpr int IDC_NOME_FILIAL = 14021;
  static constexpr int IDC_NOME_EMISSORA = 14022;
  static constexpr const char* kTitulo = "Torvo ECF - Arquivo Eletrônico Movimentos";

  NumeroDia DataInicial() const { return m_nDataInicial; }
  NumeroDia DataFinal() const { return m_nDataFinal; }
  std::uint16_t Ecf() const { return m_nEcf; }
  std::uint16_t Filial() const { return m_nFilial; }
  bool Automatico() const { return m_bAutomatico; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnKillFocus(int idControle) override;

 private:
  NumeroDia m_nDataInicial = 0;
  NumeroDia m_nDataFinal = 0;
  std::uint16_t m_nEcf = 0;
  std::uint16_t m_nFilial = 0;
  bool m_bAutomatico = false;
};

}  // namespace qmx
