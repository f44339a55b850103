#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arquivos/SaidaTemporaria.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::estoque {

// What the file says of the establishment and of the moment of the stock.
struct CabecalhoEstoque {
  const REG_FILIALPS* filial = nullptr;
  std::string razaoSocial;
  // The ECF of the E1 line; none leaves E1 out.
  const REG_EMISSORPS* emissora = nullptr;
  NumeroDia data = 0;  // the day of the stock (today)
  std::int32_t hora = 0;   // HHMMSS
};

// The stock file of a branch: E1, one E2 line per product of the branch
// (all of them, or only those of a chosen list) sorted by the text of its
// code, E9. A failed data-server call throws CErroDadosArquivo; a file
// that cannot take its text throws CExcecaoArquivo.
class CGeradorEstoque {
 public:
  explicit CGeradorEstoque(const TriploConexao& triplo) : m_triplo(triplo) {}

  // Writes the file; answers the number of E2 lines. An empty list of
  // products writes every product of the branch.
  int Escreve(std::uint16_t filial, const CabecalhoEstoque& cabecalho, const std::vector<std::uint32_t>& parcial,
              CSaidaTemporaria& saida);

  // "Estoque" and the day as DDMMAA.
  static std::string NomeArquivo(NumeroDia dia);

  // A number whose order is the byte-wise order of the code's decimal text
  // ("10" before "9", "1" before "10"): each digit as 1 to 10, a missing
  // one as 0, in base 11 over the ten places of a 32-bit code.
  static std::uint64_t ChaveOrdem(std::uint32_t codigo);

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx::estoque
