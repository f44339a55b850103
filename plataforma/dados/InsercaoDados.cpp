#include "plataforma/dados/InsercaoDados.h"

#include <utility>

namespace qmx::dados {

namespace {

// "INSERT INTO t (a, b) VALUES " and one row's "(?, ?)".
std::pair<std::string, std::string> InicioELinha(const std::string& tabela, const std::vector<std::string>& colunas) {
  std::string inicio = "INSERT INTO " + tabela + " (";
  for (std::size_t i = 0; i < colunas.size(); ++i) inicio += (i ? ", " : "") + colunas[i];
  return {inicio + ") VALUES ", "(" + ListaDeMarcadores(colunas.size()) + ")"};
}

}  // namespace

void InsereOuSubstitui(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                       std::size_t colunasChave, const std::vector<ParametroDados>& valores) {
  const auto [inicio, linha] = InicioELinha(tabela, colunas);
  std::string chave, atualiza;
  for (std::size_t i = 0; i < colunas.size(); ++i) {
    if (i < colunasChave) chave += (i ? ", " : "") + colunas[i];
    else atualiza += (atualiza.empty() ? "" : ", ") + colunas[i] + " = excluded." + colunas[i];
  }
  std::string sql = inicio + linha + " ON CONFLICT (" + chave + ") DO ";
  sql += atualiza.empty() ? "NOTHING" : "UPDATE SET " + atualiza;
  sessao.Enfileira(sql, valores);
}

void InsereLinhas(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                  const std::vector<ParametroDados>& valores) {
  const std::size_t largura = colunas.size();
  if (largura == 0 || valores.empty()) return;
  const auto [inicio, linha] = InicioELinha(tabela, colunas);
  const std::size_t linhas = valores.size() / largura;
  PercorrePedacos(linhas, [&](std::size_t primeira, std::size_t quantas) {
    const std::string sql = inicio + ListaDeMarcadores(quantas, linha);
    if (quantas == linhas) {
      sessao.Enfileira(sql, valores);
    } else {
      const auto de = valores.begin() + static_cast<std::ptrdiff_t>(primeira * largura);
      sessao.Enfileira(sql, std::vector<ParametroDados>(de, de + static_cast<std::ptrdiff_t>(quantas * largura)));
    }
  });
}

void PercorrePedacos(std::size_t total, const std::function<void(std::size_t, std::size_t)>& porPedaco) {
  for (std::size_t primeira = 0; primeira < total;) {
    std::size_t quantas = kLinhasPorInsercao;
    while (quantas > total - primeira) quantas /= 2;
    porPedaco(primeira, quantas);
    primeira += quantas;
  }
}

std::string ListaDeMarcadores(std::size_t quantos, std::string_view marcador) {
  std::string lista;
  lista.reserve(quantos * (marcador.size() + 2));
  for (std::size_t i = 0; i < quantos; ++i) (lista += i ? ", " : "") += marcador;
  return lista;
}

void LePorPedacos(CSessaoDados& sessao, std::size_t total,
                  const std::function<LeituraDados(std::size_t, std::size_t)>& leituraDoPedaco,
                  const std::function<void(const LinhaDados&)>& porLinha) {
  std::vector<LeituraDados> leituras;
  PercorrePedacos(total, [&](std::size_t primeira, std::size_t quantas) {
    leituras.push_back(leituraDoPedaco(primeira, quantas));
  });
  if (leituras.empty()) return;
  for (const auto& linhas : sessao.ConsultaJuntas(leituras))
    for (const auto& l : linhas) porLinha(l);
}

}  // namespace qmx::dados
