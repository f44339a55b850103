#include "plataforma/impressora/RelatorioGerencial.h"

#include <cstring>
#include <memory>

#include "plataforma/impressora/ImpressoraFiscal.h"

namespace qmx::impressora {

CRelatorioGerencial::CRelatorioGerencial(const std::string& titulo) {
  unsigned char indice = 255;
  if (BuscaIndiceRelatorioGerencial(titulo, indice) && indice != 255) AbreRelatorioGerencial(indice);
}

CRelatorioGerencial::~CRelatorioGerencial() { FechaRelatorioGerencial(); }

void CRelatorioGerencial::Imprime(const std::string& peca) {
  auto copia = std::make_unique<char[]>(peca.size() + 1);  // zero-filled
  std::memcpy(copia.get(), peca.data(), peca.size());
  RelatorioGerencial(copia.get());
}

void ImprimeRelatorioGerencial(const std::string& titulo, const std::vector<std::string>& pecas) {
  CRelatorioGerencial relatorio(titulo);
  for (const auto& peca : pecas) relatorio.Imprime(peca);
}

}  // namespace qmx::impressora
