#pragma once

#include <map>
#include <set>
#include <string>

#include "plataforma/dados/SessaoDados.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qmx::dados {

// A session on a SQLite database file: one company, shared by the
// processes of one machine through the write-ahead log. A missing file is
// the "server unavailable" of a data server unless the caller asks for
// the file to be created.
class CSessaoSQLite : public CSessaoDados {
 public:
  CSessaoSQLite(const std::string& arquivo, bool cria);
  ~CSessaoSQLite() override;

  std::vector<LinhaDados> Consulta(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  std::unique_ptr<CCursorDados> Abre(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  std::int64_t Executa(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  void ExecutaScript(const std::string& sql) override;
  void IniciaLeitura() override;
  void BloqueiaEsquema() override {}  // the write transaction already excludes every other writer
  bool Valida() const override { return m_base != nullptr; }
  bool EmTransacao() const override { return m_transacao; }
  const char* Motor() const override { return "sqlite"; }

 protected:
  void IniciaNoMotor() override;
  void ConfirmaNoMotor() override;
  void DesfazNoMotor() override;

 private:
  class CCursorSQLite;

  void RecusaBaseEstranha(const std::string& arquivo);

  sqlite3_stmt* Prepara(const std::string& sql, const std::vector<ParametroDados>& parametros);
  void Vincula(sqlite3_stmt* comando, const std::string& sql, const std::vector<ParametroDados>& parametros);
  [[noreturn]] void Falha(const std::string& contexto) const;

  sqlite3* m_base = nullptr;
  std::map<std::string, sqlite3_stmt*> m_preparados;
  // Kept statements that an open cursor is walking: a second cursor on the
  // same SQL prepares a statement of its own.
  std::set<sqlite3_stmt*> m_emUso;
  bool m_transacao = false;
};

}  // namespace qmx::dados
