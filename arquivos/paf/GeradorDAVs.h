#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arquivos/SaidaTemporaria.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dav {

// How many DAV and item lines a file holds.
struct ContagemDAV {
  int linhasD2 = 0;
  int linhasD3 = 0;
};

// The DAVs that an ECF issued in a period (both ends included), as the
// gerencial report "DAV EMITIDOS" or as the file of records D1, D2, D3
// and D9. DAVs and items keep the data server's order. A failed
// data-server call throws CErroDadosArquivo; a file that cannot take its
// text throws CExcecaoArquivo.
class CGeradorDAVs {
 public:
  explicit CGeradorDAVs(const TriploConexao& triplo) : m_triplo(triplo) {}

  // The DAVs of the period, without their items.
  std::vector<REG_DAVPS> ListaDAVs(std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal);

  // Writes D1, one D2 line per DAV, one D3 line per item of each DAV, and
  // D9. The DAVs are walked twice, once for each family of lines, so that
  // only one DAV is held at a time.
  ContagemDAV EscreveArquivo(const REG_FILIALPS& filial, const std::string& razaoSocial,
                             const REG_EMISSORPS& emissora, NumeroDia dataInicial, NumeroDia dataFinal,
                             CSaidaTemporaria& saida);

  // The pieces of the gerencial report, each printed on its own.
  static std::vector<std::string> PecasRelatorio(const std::vector<REG_DAVPS>& davs, NumeroDia dataInicial,
                                                 NumeroDia dataFinal);

  // The tax situation of an item as the file writes it: "S" and "D" (ISS
  // and the like) as "N", "R" as "T", any other as it is.
  static char SituacaoTributaria(char codigo);

  // "DAVs-<serial>-<DDMMAAAA>-<DDMMAAAA>.txt".
  static std::string NomeArquivo(const std::string& serie, NumeroDia dataInicial, NumeroDia dataFinal);

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx::dav
