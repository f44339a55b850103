#include "plataforma/dados/Migracoes.h"

#include <optional>
#include <string>

#include "plataforma/dados/MigracoesEmbutidas.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::dados {

namespace {

int VersaoAtual(CSessaoDados& sessao) {
  const auto linhas = sessao.Consulta("SELECT COALESCE(MAX(versao), 0) FROM qmx_esquema", {});
  return linhas.empty() ? 0 : static_cast<int>(linhas.front().Inteiro(0));
}

// The recorded version by a plain read, which never waits for a writer;
// nothing when the database has no version table yet (or cannot say).
std::optional<int> VersaoSemBloquear(CSessaoDados& sessao) {
  try {
    return VersaoAtual(sessao);
  } catch (const CErroDados&) {
    return std::nullopt;
  }
}

void RecusaMaisNova(int versao) {
  if (versao > VersaoMaisRecente())
    throw CErroDados(QMX_E_BASE_MAIS_NOVA, "a base de dados está na versão " + std::to_string(versao) +
                                               ", mais nova que a " + std::to_string(VersaoMaisRecente()) +
                                               " desta biblioteca; atualize o programa");
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
  // Nearly every open finds the schema current: a read tells so without the
  // schema lock, so that an export that only reads never waits for another
  // process's write transaction.
  if (const auto lida = VersaoSemBloquear(sessao); lida && *lida >= VersaoMaisRecente()) {
    RecusaMaisNova(*lida);
    return *lida;
  }
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
  RecusaMaisNova(versao);
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
