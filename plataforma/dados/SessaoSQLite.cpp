#include "plataforma/dados/SessaoSQLite.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/processo/Andamento.h"

namespace qmx::dados {

namespace {

// How long a writer waits for another process's transaction to end.
constexpr int kEsperaMs = 10000;

// Codes that mean the database cannot be reached at all, as opposed to a
// statement that failed on a reachable database.
bool Inalcancavel(int codigo) {
  const int primario = codigo & 0xFF;
  return primario == SQLITE_CANTOPEN || primario == SQLITE_NOTADB || primario == SQLITE_IOERR ||
         primario == SQLITE_BUSY || primario == SQLITE_LOCKED || primario == SQLITE_PERM;
}

}  // namespace

// A database is created only where no file is: an existing file that is
// empty (truncated, or made by something else) would otherwise be filled
// with a new, empty company and the real one silently lost.
void RecusaArquivoVazio(const std::string& arquivo) {
  struct stat estado {};
  if (::stat(arquivo.c_str(), &estado) == 0 && S_ISREG(estado.st_mode) && estado.st_size == 0)
    throw CErroDados(QMX_E_BASE_INVALIDA, "o arquivo " + arquivo + " da base de dados da empresa está vazio");
}

CSessaoSQLite::CSessaoSQLite(const std::string& arquivo, bool cria) {
  RecusaArquivoVazio(arquivo);
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (cria ? SQLITE_OPEN_CREATE : 0);
  const int codigo = sqlite3_open_v2(arquivo.c_str(), &m_base, flags, nullptr);
  if (codigo != SQLITE_OK) {
    const std::string mensagem = m_base ? sqlite3_errmsg(m_base) : "sem memória";
    sqlite3_close(m_base);
    m_base = nullptr;
    throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "SQLite: " + arquivo + ": " + mensagem);
  }
  sqlite3_busy_timeout(m_base, kEsperaMs);
  sqlite3_extended_result_codes(m_base, 1);
  try {
    // Write-ahead log: readers never wait for the writer, and several
    // processes of this machine share the file safely.
    ExecutaScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
  } catch (const CErroDados& erro) {
    sqlite3_close(m_base);
    m_base = nullptr;
    const std::string texto = erro.what();
    // A file that is not a database at all is named as such.
    if (texto.find("not a database") != std::string::npos)
      throw CErroDados(QMX_E_BASE_INVALIDA, "o arquivo " + arquivo + " não é uma base de dados de empresa (" + texto + ")");
    throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, arquivo + ": " + texto);
  }
  if (!cria) RecusaBaseEstranha(arquivo);
}

// An existing database without the company schema's version table is
// another program's database (or one whose creation never finished): the
// migrations must not turn it into an empty company.
void CSessaoSQLite::RecusaBaseEstranha(const std::string& arquivo) {
  const auto linhas = Consulta(
      "SELECT COUNT(*), COALESCE(SUM(name = 'qmx_esquema'), 0) FROM sqlite_master WHERE type = 'table'", {});
  if (!linhas.empty() && linhas.front().Inteiro(1) == 0) {
    for (auto& [sql, comando] : m_preparados) sqlite3_finalize(comando);
    m_preparados.clear();
    sqlite3_close(m_base);
    m_base = nullptr;
    throw CErroDados(QMX_E_BASE_INVALIDA,
                     "o arquivo " + arquivo + (linhas.front().Inteiro(0) == 0 ? " é uma base de dados vazia"
                                                                             : " não é uma base de dados de empresa"));
  }
}

CSessaoSQLite::~CSessaoSQLite() {
  for (auto& [sql, comando] : m_preparados) sqlite3_finalize(comando);
  sqlite3_close(m_base);
}

void CSessaoSQLite::Falha(const std::string& contexto) const {
  const int codigo = sqlite3_extended_errcode(m_base);
  throw CErroDados(Inalcancavel(codigo) ? com::RPC_S_SERVER_UNAVAILABLE : QMX_E_FALHA_BASE,
                   "SQLite: " + std::string(sqlite3_errmsg(m_base)) + " (" + contexto + ")");
}

sqlite3_stmt* CSessaoSQLite::Prepara(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  if (!m_base) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "SQLite: sessão fechada");
  auto achado = m_preparados.find(sql);
  sqlite3_stmt* comando = nullptr;
  if (achado != m_preparados.end()) {
    comando = achado->second;
    if (m_emUso.count(comando)) throw CErroDados(QMX_E_FALHA_BASE, "comando em uso por um cursor: " + sql);
    sqlite3_reset(comando);
    sqlite3_clear_bindings(comando);
  } else {
    if (sqlite3_prepare_v3(m_base, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &comando,
                           nullptr) != SQLITE_OK)
      Falha(sql);
    m_preparados.emplace(sql, comando);
  }
  Vincula(comando, sql, parametros);
  return comando;
}

void CSessaoSQLite::Vincula(sqlite3_stmt* comando, const std::string& sql,
                            const std::vector<ParametroDados>& parametros) {
  if (static_cast<int>(parametros.size()) != sqlite3_bind_parameter_count(comando))
    throw CErroDados(QMX_E_FALHA_BASE, "parâmetros em número errado: " + sql);
  for (int i = 0; i < static_cast<int>(parametros.size()); ++i) {
    const auto& p = parametros[i];
    int codigo = SQLITE_OK;
    switch (p.tipo) {
      case ParametroDados::Tipo::Nulo: codigo = sqlite3_bind_null(comando, i + 1); break;
      case ParametroDados::Tipo::Inteiro: codigo = sqlite3_bind_int64(comando, i + 1, p.inteiro); break;
      case ParametroDados::Tipo::Texto:
        codigo = sqlite3_bind_text(comando, i + 1, p.texto.data(), static_cast<int>(p.texto.size()), SQLITE_TRANSIENT);
        break;
    }
    if (codigo != SQLITE_OK) Falha(sql);
  }
}

// Steps a statement of the session. The session's kept statement is
// borrowed while the cursor lives; a statement prepared for this cursor
// alone is finalised with it.
class CSessaoSQLite::CCursorSQLite : public CCursorDados {
 public:
  CCursorSQLite(CSessaoSQLite& sessao, sqlite3_stmt* comando, bool proprio, std::string sql)
      : m_sessao(sessao), m_comando(comando), m_proprio(proprio), m_sql(std::move(sql)) {
    if (!m_proprio) m_sessao.m_emUso.insert(m_comando);
  }
  ~CCursorSQLite() override {
    if (m_proprio) {
      sqlite3_finalize(m_comando);
    } else {
      sqlite3_reset(m_comando);
      sqlite3_clear_bindings(m_comando);
      m_sessao.m_emUso.erase(m_comando);
    }
  }

  bool Proxima() override {
    if (m_fim) return false;
    const int codigo = sqlite3_step(m_comando);
    if (codigo == SQLITE_ROW) {
      // A long walk tells now and then how far it has gone.
      if ((++m_lidas & 4095) == 0) processo::ContaLeitura(4096);
      return true;
    }
    m_fim = true;
    if (codigo == SQLITE_DONE) return false;
    m_sessao.Falha(m_sql);
  }
  bool Nulo(int i) const override { return sqlite3_column_type(m_comando, i) == SQLITE_NULL; }
  std::int64_t Inteiro(int i) const override { return sqlite3_column_int64(m_comando, i); }
  std::string_view Texto(int i) const override {
    const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(m_comando, i));
    if (!texto) return {};
    return {texto, static_cast<std::size_t>(sqlite3_column_bytes(m_comando, i))};
  }

 private:
  CSessaoSQLite& m_sessao;
  sqlite3_stmt* m_comando;
  bool m_proprio;
  bool m_fim = false;
  std::uint32_t m_lidas = 0;
  std::string m_sql;
};

std::unique_ptr<CCursorDados> CSessaoSQLite::Abre(const std::string& sql,
                                                  const std::vector<ParametroDados>& parametros) {
  if (!m_base) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "SQLite: sessão fechada");
  auto achado = m_preparados.find(sql);
  if (achado == m_preparados.end() || !m_emUso.count(achado->second)) {
    sqlite3_stmt* comando = Prepara(sql, parametros);
    return std::make_unique<CCursorSQLite>(*this, comando, false, sql);
  }
  sqlite3_stmt* comando = nullptr;
  if (sqlite3_prepare_v3(m_base, sql.c_str(), static_cast<int>(sql.size()), 0, &comando, nullptr) != SQLITE_OK)
    Falha(sql);
  auto cursor = std::make_unique<CCursorSQLite>(*this, comando, true, sql);
  Vincula(comando, sql, parametros);
  return cursor;
}

std::vector<LinhaDados> CSessaoSQLite::Consulta(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  sqlite3_stmt* comando = Prepara(sql, parametros);
  std::vector<LinhaDados> linhas;
  const int colunas = sqlite3_column_count(comando);
  for (;;) {
    const int codigo = sqlite3_step(comando);
    if (codigo == SQLITE_DONE) break;
    if (codigo != SQLITE_ROW) {
      sqlite3_reset(comando);
      Falha(sql);
    }
    std::vector<std::optional<std::string>> valores(colunas);
    for (int c = 0; c < colunas; ++c) {
      if (sqlite3_column_type(comando, c) == SQLITE_NULL) continue;
      const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(comando, c));
      valores[c] = std::string(texto, static_cast<std::size_t>(sqlite3_column_bytes(comando, c)));
    }
    linhas.emplace_back(std::move(valores));
  }
  sqlite3_reset(comando);
  return linhas;
}

std::int64_t CSessaoSQLite::Executa(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  sqlite3_stmt* comando = Prepara(sql, parametros);
  int codigo;
  while ((codigo = sqlite3_step(comando)) == SQLITE_ROW) {
  }
  sqlite3_reset(comando);
  if (codigo != SQLITE_DONE) Falha(sql);
  return sqlite3_changes64(m_base);
}

void CSessaoSQLite::ExecutaScript(const std::string& sql) {
  if (!m_base) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "SQLite: sessão fechada");
  if (sqlite3_exec(m_base, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Falha("script");
}

void CSessaoSQLite::IniciaNoMotor() {
  Executa("BEGIN IMMEDIATE", {});
  m_transacao = true;
}

void CSessaoSQLite::IniciaLeitura() {
  Executa("BEGIN DEFERRED", {});
  m_transacao = true;
  // The snapshot is taken by the first read of the database.
  Consulta("SELECT COUNT(*) FROM sqlite_master", {});
}

void CSessaoSQLite::ConfirmaNoMotor() {
  Executa("COMMIT", {});
  m_transacao = false;
}

void CSessaoSQLite::DesfazNoMotor() {
  m_transacao = false;
  if (m_base && !sqlite3_get_autocommit(m_base)) sqlite3_exec(m_base, "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace qmx::dados
