#include "plataforma/dados/Migracoes.h"

#include <string>

#include "plataforma/dados/MigracoesEmbutidas.h"
#include "plataforma/dados/ResultadosDados.h"

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
  // A database written by a newer library is left as it is: this one would
  // neither understand nor keep what the newer schema holds.
  sessao.Inicia();
  int versao = 0;
  try {
    sessao.BloqueiaEsquema();
    sessao.ExecutaScript("CREATE TABLE IF NOT EXISTS qmx_esquema (versao INTEGER PRIMARY KEY, nome TEXT NOT NULL)");
    versao = VersaoAtual(sessao);
    sessao.Confirma();
  } catch (...) {
    sessao.Desfaz();
    throw;
  }
  if (versao > VersaoMaisRecente())
    throw CErroDados(QMX_E_BASE_MAIS_NOVA, "a base de dados está na versão " + std::to_string(versao) +
                                               ", mais nova que a " + std::to_string(VersaoMaisRecente()) +
                                               " desta biblioteca; atualize o programa");
  for (const auto* m = kMigracoesEmbutidas; m->sql; ++m) {
    if (m->versao <= versao) continue;
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
