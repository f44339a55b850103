#pragma once

#include <cstdint>
#include <string>

#include "arquivos/sintegra/GeradorSintegra.h"
#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Filter dialog of the Sintegra file of a branch, one or all of its ECFs
// and a period, with the three codes of the file's header. Preset (by the
// Venda do Período dialog), it generates at once.
class CQMXSintegra : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14028;
  static constexpr int IDC_FILIAL = 13039;
  static constexpr int IDC_EMISSORA = 13040;
  static constexpr int IDC_DATA_INICIAL = 13041;
  static constexpr int IDC_DATA_FINAL = 13042;
  static constexpr int IDC_CONVENIO = 13043;
  static constexpr int IDC_NATUREZA = 13044;
  static constexpr int IDC_FINALIDADE = 13045;
  static constexpr int IDC_NOME_FILIAL = 13046;
  static constexpr int IDC_NOME_EMISSORA = 13047;
  static constexpr const char* kTitulo = "Torvo ECF - Arquivo Eletrônico Sintegra";

  CQMXSintegra() : CQMXFiltroArquivo(IDD, "QMXSintegra") {}

  void Preset(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto, std::uint16_t filial,
              std::uint16_t ecf, NumeroDia dataInicial, NumeroDia dataFinal);

  // The path of the file the last OK wrote, empty when none was.
  const std::string& CaminhoArquivo() const { return m_caminho; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  void PreencheLista(int id, std::initializer_list<const char*> itens, int selecionado);
  int ItemSelecionado(int id);

  sintegra::FiltroSintegra m_preset;
  bool m_preparado = false;
  std::string m_caminho;
};

}  // namespace qmx
