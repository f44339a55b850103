#include "plataforma/dados/SessaoDados.h"

#include <cstdlib>

namespace qmx::dados {

namespace {
const std::string kVazio;
}

CSessaoDados::~CSessaoDados() = default;
CCursorDados::~CCursorDados() = default;

const std::string& LinhaDados::Texto(std::size_t i) const {
  const auto& coluna = m_colunas.at(i);
  return coluna ? *coluna : kVazio;
}

std::int64_t LinhaDados::Inteiro(std::size_t i) const {
  const auto& coluna = m_colunas.at(i);
  if (!coluna || coluna->empty()) return 0;
  return std::strtoll(coluna->c_str(), nullptr, 10);
}

}  // namespace qmx::dados
