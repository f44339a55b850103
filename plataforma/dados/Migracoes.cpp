#include "plataforma/dados/Migracoes.h"

#include "plataforma/dados/MigracoesEmbutidas.h"

namespace qmx::dados {

namespace {

int VersaoAtual(CSessaoDados& sessao) {
  const auto linhas = sessao.Consulta("SELECT COALESCE(MAX(versao), 0) FROM qmx_esquema", {});
  return linhas.empty() ? 0 : static_cast<int>(linhas.front().Inteiro(0));
}

}  // namespace

int VersaoMaisRecente() {
  int versao = 0;
  for (const auto* m = kMigracoesEmbutidas; m->sql; ++m) versao = m->versao;
  return versao;
}

int AplicaMigracoes(CSessaoDados& sessao) {
  for (const auto* m = kMigracoesEmbutidas; m->sql; ++m) {
    sessao.Inicia();
    try {
      sessao.BloqueiaEsquema();
      sessao.ExecutaScript("CREATE TABLE IF NOT EXISTS qmx_esquema (versao INTEGER PRIMARY KEY, nome TEXT NOT NULL)");
      // Another process may have applied it while this one waited.
      if (VersaoAtual(sessao) < m->versao) {
        sessao.ExecutaScript(m->sql);
        sessao.Executa("INSERT INTO qmx_esquema (versao, nome) VALUES (?, ?)", {m->versao, m->nome});
      }
      sessao.Confirma();
    } catch (...) {
      sessao.Desfaz();
      throw;
    }
  }
  return VersaoAtual(sessao);
}

}  // namespace qmx::dados
