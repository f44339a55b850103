#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "arquivos/efd/GeradorEFD.h"
#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Filter dialog of the SPED Fiscal extract of the ECFs: branch, one ECF or
// all, period and profile. It can be preset with the whole filter (by its
// export and by the Venda do Período dialog), which makes it generate at
// once. It writes the extract into the machine's local folder and hands it
// to the data server, or, with the file writing switched off, only builds
// the ECF lines and keeps them for its caller.
class CQMXRegistrosEFD : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14029;
  static constexpr int IDC_DATA_INICIAL = 13048;
  static constexpr int IDC_FILIAL = 13049;
  static constexpr int IDC_EMISSORA = 13050;
  static constexpr int IDC_NOME_FILIAL = 13051;
  static constexpr int IDC_NOME_EMISSORA = 13052;
  static constexpr int IDC_DATA_FINAL = 13067;
  static constexpr int IDC_PERFIL_A = 13068;
  static constexpr int IDC_PERFIL_B = 13069;
  static constexpr const char* kTitulo = "Torvo ECF - Sped Fiscal";

  CQMXRegistrosEFD();
  ~CQMXRegistrosEFD() override;

  void Preset(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
              std::uint16_t filial, std::uint16_t ecf, NumeroDia dataInicial,
              NumeroDia dataFinal, char perfil);

  // Collect mode: the OK step builds the ECF lines without writing a file.
  void SetGravaArquivo(bool grava) { m_bGravaArquivo = grava; }

  // The path of the file written by the last OK, empty when none was.
  const std::string& GetCaminhoArquivo() const { return m_strCaminhoArquivo; }

  // What the last OK built (in collect mode: the C400 group, its counters
  // and the item maps); null before a successful OK.
  efd::CGeradorEFD* Resultado() { return m_gerador.get(); }

  std::uint16_t Filial() const { return m_nFilial; }
  std::uint16_t Ecf() const { return m_nEcf; }
  NumeroDia DataInicial() const { return m_nDataInicial; }
  NumeroDia DataFinal() const { return m_nDataFinal; }
  char Perfil() const { return m_cPerfil; }

  // The local folder of the extract: the registry's "LocalTorvo" with a
  // backslash at the end; nothing when the value is missing.
  static std::optional<std::string> PastaLocal();

 protected:
  bool OnInitDialog() override;
  void OnOK() override;

 private:
  bool Transfere(const std::string& caminho, const std::string& nome);

  std::uint16_t m_nFilial = 0;
  std::uint16_t m_nEcf = 0;
  NumeroDia m_nDataInicial = 0;
  NumeroDia m_nDataFinal = 0;
  char m_cPerfil = 0;
  bool m_bGravaArquivo = true;
  std::string m_strCaminhoArquivo;
  std::unique_ptr<efd::CGeradorEFD> m_gerador;
};

}  // namespace qmx
