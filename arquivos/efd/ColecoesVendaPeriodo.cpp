#include "arquivos/efd/ColecoesVendaPeriodo.h"

namespace qmx::venda {

namespace {

std::uint32_t Numero(const char* texto) {
  std::uint32_t n = 0;
  for (const char* c = texto; *c; ++c)
    if (*c >= '0' && *c <= '9') n = n * 10 + static_cast<std::uint32_t>(*c - '0');
  return n;
}

}  // namespace

std::uint32_t HashChaveMFC(const REG_COTEPE_CHAVE_ANALITICO& chave) {
  return HashInteiroMFC(static_cast<std::int32_t>(chave.Cst * 10000u + Numero(chave.Cfop) % 10000u));
}

REG_COTEPE_CHAVE_ANALITICO ChaveAnalitica(const std::string& cst, const std::string& cfop, std::uint16_t aliquota) {
  REG_COTEPE_CHAVE_ANALITICO chave{};
  chave.Cst = static_cast<std::uint16_t>(Numero(cst.c_str()) % 1000);
  std::strncpy(chave.Cfop, cfop.c_str(), sizeof chave.Cfop - 1);
  chave.Aliquota = aliquota;
  return chave;
}

}  // namespace qmx::venda
