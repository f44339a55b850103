#include "plataforma/impressora/RelatorioGerencial.h"

#include <cstring>
#include <memory>

#include "plataforma/impressora/ImpressoraFiscal.h"

namespace qmx::impressora {

void ImprimeRelatorioGerencial(const std::string& titulo, const std::vector<std::string>& pecas) {
  unsigned char indice = 255;
  if (BuscaIndiceRelatorioGerencial(titulo, indice) && indice != 255) AbreRelatorioGerencial(indice);
  for (const auto& peca : pecas) {
    auto copia = std::make_unique<char[]>(peca.size() + 1);  // zero-filled
    std::memcpy(copia.get(), peca.data(), peca.size());
    RelatorioGerencial(copia.get());
  }
  FechaRelatorioGerencial();
}

}  // namespace qmx::impressora
