#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arquivos/efd/DiaECFEFD.h"
#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/ItensEFD.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::efd {

// The filter of the extract: a branch, one ECF or all of them (0), a
// period and the profile letter.
struct FiltroEFD {
  std::uint16_t filial = 0;
  std::uint16_t emissora = 0;
  NumeroDia dataInicial = 0;
  NumeroDia dataFinal = 0;
  char perfil = 'A';
};

// The CFOPs of the ECF items from the natures of the point-of-sale master
// (a nature that is not registered gives an empty CFOP). Throws
// CErroDadosEFD when a server fails.
CfopsECF LeCfopsECF(const TriploConexao& triplo);

// Builds the ECF part of the digital fiscal bookkeeping of a branch and
// period: 0000, 0190, 0200 and, per ECF with movement, C400 with its days.
//
// The ECF lines of a month are far too many to keep in memory, and the
// file puts the units and items that they use before them. So the ECFs are
// walked once, day by day: the products and services of every cupom go into
// the item maps as they are met, and the C400 group goes to a temporary
// file; the head of the file (0000, 0190, 0200) is written afterwards and
// the group copied behind it. A failing data server ends the ECF or day it
// was reading (reported with the source name QMXRegistrosEFD); only the
// list of ECFs and the point-of-sale master are needed by the whole run,
// and their failure throws CErroDadosEFD.
class CGeradorEFD {
 public:
  CGeradorEFD(const TriploConexao& triplo, const FiltroEFD& filtro);

  // Walks the ECFs of the filter: C400 group, item maps, counters.
  void GeraRegistrosECF();

  // The head of the file: 0000, and 0190 and 0200 when some ECF had
  // movement (they come with the first ECF that has).
  std::string Cabecalho() const;
  // The whole extract: head and C400 group.
  void EscreveArquivo(CArquivoTexto& saida);

  CDespejoTexto& GrupoC400() { return m_grupoC400; }
  const ContadoresC400& Contadores() const { return m_contadores; }
  CItensEFD& Itens() { return m_itens; }

  // The file name: "TorvoECF-SpedFiscal-MMYYYY.txt" of the final date.
  static std::string NomeArquivo(NumeroDia dataFinal);

 private:
  void EmissorasDoFiltro();
  void GeraEmissora(const REG_EMISSORPS& emissora);
  void Reporta(const CErroDadosEFD& erro) const;

  TriploConexao m_triplo;
  FiltroEFD m_filtro;
  std::vector<REG_EMISSORPS> m_emissoras;
  CfopsECF m_cfops;
  CItensEFD m_itens;
  CDespejoTexto m_grupoC400;
  ContadoresC400 m_contadores;
};

}  // namespace qmx::efd
