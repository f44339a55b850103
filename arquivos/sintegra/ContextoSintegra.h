#pragma once

#include <cstdint>
#include <string>

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/LeiauteFixo.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/RegistroCupomItem.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::sintegra {

// A data server answered with a failure: the generation stops, and the
// dialog reports the result with the line where it was found.
using CErroDadosSintegra = CErroDadosArquivo;
inline void Exige(com::HRESULT resultado, int linha) { ExigeDados(resultado, linha); }

// What every part of one generation shares: who asks, for which branch and
// period, and where the lines go (written as they are made, one reused
// line at a time).
struct ContextoSintegra {
  TriploConexao triplo;
  REG_FILIALPS filial{};
  NumeroDia dataInicial = 0;
  NumeroDia dataFinal = 0;
  CArquivoTexto* saida = nullptr;
  CEscritorRegistro escritor;
  // The CFOP of a sale (the point-of-sale master's nature), for a voided
  // number that has no item to take it from.
  std::string cfopVenda = "5102";

  void Escreve(const std::string& linha) { saida->EscreverTexto(linha); }
};

// An item's code as the records write it: "P" and the product's code, or
// "S" and the service's.
std::string CodigoItem(bool servico, std::uint32_t codigo);

// An item's ICMS base and tax, with four decimals: a product taxed at a
// rate ('T' and a rate above 0) has its value as base and the rate's part
// of it, cut, as tax; every other item (substitution, exempt, not taxed,
// services, cancelled) has none.
struct ImpostoItem {
  std::int64_t base = 0;
  std::int64_t icms = 0;
};
ImpostoItem ImpostoDoItem(const REG_EC_CX_CIPS& item, bool cancelado);

// A state registration as the Convênio writes it: its letters and digits
// without punctuation, or "ISENTO" when there is none.
std::string InscricaoSintegra(const char* inscricao);

// The tax situation of 60D, 60I and 60R, from the Convênio's table: the
// rate of an item taxed by ICMS (four digits), "ISS" for a service, "CANC"
// for a cancelled item, and F, I and N as the item's letter says (an item
// marked taxed with no rate is not taxed).
std::string SituacaoTributaria(bool cancelado, bool servico, char letra, std::uint16_t aliquota);

// A rate in hundredths of a percent as the amounts' four-decimal value.
constexpr std::int64_t Percentual(std::uint16_t centesimos) { return static_cast<std::int64_t>(centesimos) * 100; }

}  // namespace qmx::sintegra
