#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "frame/MapaMFC.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::efd {

// What the ECF lines need of a product or service, read once per code.
struct ItemLido {
  bool encontrado = false;            // false: not in the catalogue
  std::string unidade;                // the unit's code text
  bool semUnidade = false;            // it names a unit that is not registered
  std::string cst;                    // the product's tax situation in the branch
  bool producao = false;              // a product made by the company
  std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS> pisCofins;  // products
  std::uint16_t pisServico = 0;       // services: hundredths of a percent
  std::uint16_t cofinsServico = 0;
};

// A service taxed by ISS is outside ICMS: the files give it the tax
// situation of what ICMS does not tax (origin 0, 41), with no ICMS rate,
// base or tax, as the Guia's rule for CST x41 asks (an ICMS line with the
// ISS rate and a zero base breaks its rule for CST x00).
inline constexpr const char* kSituacaoServicoISS = "041";

// The tax situation an item was sold under: the one its document kept,
// else (a document written before they kept it) the register's.
inline std::string_view SituacaoVendida(const char* doDocumento, const ItemLido& lido) {
  return *doDocumento ? std::string_view(doDocumento) : std::string_view(lido.cst);
}

struct PisCofins {
  std::int64_t pis = 0;
  std::int64_t cofins = 0;
};

// The products and services sold in the period, with their units: read
// from the catalogue on their first sale and kept in maps that iterate as
// the Windows collections do (the 0190 and 0200 lines come out in that
// order). A look-up table beside the maps answers the later sales without
// walking the maps' chains. A server failure throws CErroDadosEFD. A code
// no longer in the catalogue is taken as its latest document sold it (its
// description, unit, NCM and tax data), so that every item a file names
// has its 0200; one that no document names either is answered with an
// empty ItemLido and stays out of the maps.
class CItensEFD {
 public:
  CItensEFD(const TriploConexao& triplo, std::uint16_t filial);

  const ItemLido& Produto(std::uint32_t codigo);
  const ItemLido& Servico(std::uint32_t codigo);

  // The PIS and COFINS of an item's value at a date: for a product, every
  // rate of its lists whose validity contains the date (an end of 0 is
  // open) contributes value × rate; for a service, its two rates.
  static PisCofins Calcula(const ItemLido& item, bool servico, std::int64_t valor4, NumeroDia data);

  CMapaMFC<std::uint32_t, REG_PRODUTOPS> produtos;
  CMapaMFC<std::uint32_t, REG_SERVICOSPS> servicos;
  CMapaMFC<std::uint16_t, REG_UNIDADES_MEDIDAPS> unidades;
  CMapaMFC<std::uint16_t, REG_UNIDADES_MEDIDA_SERVICOSPS> unidadesServico;

  // The 0190 lines of the units gathered, products' then services'. The
  // unit given to items registered without one is left out when a
  // registered unit already carries its code text.
  std::uint32_t Linhas0190(std::string& texto) const;

 private:
  // An item registered without a unit is counted by the piece: its 0200
  // and every line that names it (C170, C321, C425, C470, H010) carry "UN",
  // declared in 0190 under the code 0. The published layout requires a
  // unit in those fields and refuses an empty one.
  std::string UnidadeAvulsa();
  std::string UnidadeAvulsaServico();

  // The unit's code text, or nothing for a unit that is not registered.
  const std::optional<std::string>& Unidade(std::uint16_t codigo);
  const std::optional<std::string>& UnidadeServico(std::uint16_t codigo);

  dados::CConexaoProduto m_catalogo;
  std::unordered_map<std::uint16_t, std::optional<std::string>> m_unidadesLidas, m_unidadesServicoLidas;
  std::uint16_t m_filial;
  std::unordered_map<std::uint32_t, ItemLido> m_produtosLidos;
  std::unordered_map<std::uint32_t, ItemLido> m_servicosLidos;
};

}  // namespace qmx::efd
