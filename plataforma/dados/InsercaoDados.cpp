#include "plataforma/dados/InsercaoDados.h"

#include <algorithm>

namespace qmx::dados {

void InsereOuSubstitui(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                       std::size_t colunasChave, const std::vector<ParametroDados>& valores) {
  std::string sql = "INSERT INTO " + tabela + " (";
  std::string marcas, chave, atualiza;
  for (std::size_t i = 0; i < colunas.size(); ++i) {
    sql += (i ? ", " : "") + colunas[i];
    marcas += i ? ", ?" : "?";
    if (i < colunasChave) chave += (i ? ", " : "") + colunas[i];
    else atualiza += (atualiza.empty() ? "" : ", ") + colunas[i] + " = excluded." + colunas[i];
  }
  sql += ") VALUES (" + marcas + ") ON CONFLICT (" + chave + ") DO ";
  sql += atualiza.empty() ? "NOTHING" : "UPDATE SET " + atualiza;
  sessao.Enfileira(sql, valores);
}

void InsereLinhas(CSessaoDados& sessao, const std::string& tabela, const std::vector<std::string>& colunas,
                  const std::vector<ParametroDados>& valores) {
  const std::size_t largura = colunas.size();
  if (largura == 0 || valores.empty()) return;
  std::string inicio = "INSERT INTO " + tabela + " (", linha = "(";
  for (std::size_t i = 0; i < largura; ++i) {
    inicio += (i ? ", " : "") + colunas[i];
    linha += i ? ", ?" : "?";
  }
  inicio += ") VALUES ";
  linha += ")";
  const std::size_t linhas = valores.size() / largura;
  // Pieces of a power of two rows: a session prepares each statement once
  // and keeps it, so a table has at most a handful of them.
  for (std::size_t primeira = 0; primeira < linhas;) {
    std::size_t quantas = kLinhasPorInsercao;
    while (quantas > linhas - primeira) quantas /= 2;
    std::string sql = inicio;
    sql.reserve(inicio.size() + quantas * (linha.size() + 2));
    for (std::size_t l = 0; l < quantas; ++l) (sql += l ? ", " : "") += linha;
    if (quantas == linhas) {
      sessao.Enfileira(sql, valores);
    } else {
      const auto de = valores.begin() + static_cast<std::ptrdiff_t>(primeira * largura);
      sessao.Enfileira(sql, std::vector<ParametroDados>(de, de + static_cast<std::ptrdiff_t>(quantas * largura)));
    }
    primeira += quantas;
  }
}

}  // namespace qmx::dados
