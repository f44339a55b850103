#include "plataforma/dados/InsercaoDados.h"

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

}  // namespace qmx::dados
