#include "arquivos/ContagemRegistros.h"

#include <cstdio>
#include <cstring>

namespace qmx::venda {

void CContagemRegistros::Acrescenta(std::uint32_t quantidade, const char* registro) {
  REG_REGISTRO_ARQUIVO entrada{quantidade, {}};
  std::strncpy(entrada.Registro, registro, sizeof entrada.Registro - 1);
  m_lista.push_back(entrada);
}

LinhasBloco CContagemRegistros::Envolve(char bloco, std::uint32_t n) {
  char linha[64];
  LinhasBloco linhas;
  std::snprintf(linha, sizeof linha, "|%c001|%d|\r\n", bloco, n > 0 ? 0 : 1);
  linhas.abertura = linha;
  std::snprintf(linha, sizeof linha, "|%c990|%u|\r\n", bloco, n + 2);
  linhas.fechamento = linha;
  const char abre[] = {bloco, '0', '0', '1', 0};
  const char fecha[] = {bloco, '9', '9', '0', 0};
  Acrescenta(1, abre);
  Acrescenta(1, fecha);
  return linhas;
}

std::string CContagemRegistros::Bloco9() {
  Acrescenta(1, "9001");
  Acrescenta(1, "9990");
  Acrescenta(1, "9999");
  std::string linhas9900;
  char linha[64];
  std::uint32_t k = 1;
  std::uint64_t soma = 0;
  for (const auto& entrada : m_lista) {
    soma += entrada.Quantidade;
    if (entrada.Quantidade == 0) continue;
    std::snprintf(linha, sizeof linha, "|9900|%s|%u|\r\n", entrada.Registro, entrada.Quantidade);
    linhas9900 += linha;
    ++k;
  }
  std::snprintf(linha, sizeof linha, "|9900|9900|%u|\r\n", k);
  linhas9900 += linha;
  // The block's own wrapper: 9001 and 9990 are counted above already.
  std::string texto;
  std::snprintf(linha, sizeof linha, "|9001|0|\r\n");
  texto += linha;
  texto += linhas9900;
  std::snprintf(linha, sizeof linha, "|9990|%u|\r\n", k + 3);
  texto += linha;
  std::snprintf(linha, sizeof linha, "|9999|%llu|\r\n", static_cast<unsigned long long>(soma + k));
  texto += linha;
  return texto;
}

}  // namespace qmx::venda
