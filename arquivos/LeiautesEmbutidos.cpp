#include "arquivos/LeiautesEmbutidos.h"

#include <stdexcept>
#include <string>

namespace qmx::validacao {

std::vector<std::vector<std::string_view>> LinhasDoLeiaute(std::string_view nome) {
  const LeiauteEmbutido* tabela = kLeiautesEmbutidos;
  while (tabela->nome && nome != tabela->nome) ++tabela;
  if (!tabela->nome) throw std::logic_error("tabela de leiaute ausente: " + std::string(nome));
  std::vector<std::vector<std::string_view>> linhas;
  std::string_view texto = tabela->texto;
  bool cabecalho = true;
  while (!texto.empty()) {
    const std::size_t fim = texto.find('\n');
    std::string_view linha = texto.substr(0, fim);
    texto = fim == std::string_view::npos ? std::string_view() : texto.substr(fim + 1);
    if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
    if (linha.empty() || linha[0] == '#') continue;
    if (cabecalho) {
      cabecalho = false;
      continue;
    }
    std::vector<std::string_view> colunas;
    std::size_t inicio = 0;
    for (;;) {
      const std::size_t tab = linha.find('\t', inicio);
      colunas.push_back(linha.substr(inicio, tab - inicio));
      if (tab == std::string_view::npos) break;
      inicio = tab + 1;
    }
    linhas.push_back(std::move(colunas));
  }
  return linhas;
}

}  // namespace qmx::validacao
