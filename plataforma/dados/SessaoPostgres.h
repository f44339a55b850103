#pragma once

#include <map>
#include <string>
#include <vector>

#include "plataforma/dados/SessaoDados.h"

struct pg_conn;
struct pg_result;

namespace qmx::dados {

// A session on a PostgreSQL server, for installations where several
// terminals share one company server. Statements are prepared on the
// server once per session. A session whose server went away is opened
// again once, outside a transaction, before the failure is reported; a
// server that cannot be reached is "server unavailable". Inside a write
// transaction, writes whose answer nobody reads travel in libpq's pipeline
// mode: they are sent at once and their answers collected by the next
// statement that waits for one, so a cupom's rows cost one round trip
// instead of one each.
class CSessaoPostgres : public CSessaoDados {
 public:
  explicit CSessaoPostgres(const std::string& conexao);
  ~CSessaoPostgres() override;

  std::vector<LinhaDados> Consulta(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  // Inside a transaction the reads travel together in the pipeline, with
  // the writes sent ahead of them: one round trip.
  std::vector<std::vector<LinhaDados>> ConsultaJuntas(const std::vector<LeituraDados>& leituras) override;
  // Inside a transaction the rows come kLinhasPorLote at a time from a
  // server-side cursor; outside one they come whole, as for Consulta. They
  // are read in place.
  std::unique_ptr<CCursorDados> Abre(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  std::int64_t Executa(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  void Enfileira(const std::string& sql, const std::vector<ParametroDados>& parametros) override;
  void ExecutaScript(const std::string& sql) override;
  void IniciaLeitura() override;
  void BloqueiaEsquema() override;
  bool Valida() const override;
  bool EmTransacao() const override { return m_transacao; }
  const char* Motor() const override { return "postgres"; }
  const char* TravaLinhasLidas() const override { return " FOR UPDATE"; }

  // "?" placeholders become PostgreSQL's "$1", "$2", ... (outside quotes).
  static std::string Numera(const std::string& sql);

  // Inside a transaction a cursor is a server-side cursor read this many
  // rows at a time; the next rows of one are fetched with Busca.
  static constexpr int kLinhasPorLote = 5000;
  pg_result* Busca(const std::string& cursor);
  // Asks for a cursor's next rows without waiting for them, so that the
  // server produces them while the caller walks the rows it has; Busca
  // then collects them. One such request is in flight per session at a
  // time (a second is simply not sent), and any other statement first
  // collects it and keeps it for its cursor.
  void Adianta(const std::string& cursor);
  // Reads what of the request in flight has arrived, without waiting, so
  // the server never stops for want of a reader.
  void Absorve();
  // A cursor going away: its rows asked for ahead are dropped.
  void Esquece(const std::string& cursor);

 protected:
  void IniciaNoMotor() override;
  void ConfirmaNoMotor() override;
  void DesfazNoMotor() override;
  // A savepoint is held back, with the writes made under it, until a
  // statement waits for an answer: one released first never reaches the
  // server (its writes go on as the enclosing level's), one returned to
  // first drops its writes here. Most of a cupom's savepoints (its own and
  // each item's) are never sent; each sent one costs the server a
  // subtransaction.
  void MarcaPontoNoMotor(const std::string& nome) override;
  void LiberaPontoNoMotor(const std::string& nome) override;
  void VoltaAoPontoNoMotor(const std::string& nome) override;

 private:
  pg_result* Roda(const std::string& sql, const std::vector<ParametroDados>& parametros);
  pg_result* Tenta(const std::string& sql, const std::vector<ParametroDados>& parametros);
  [[noreturn]] void Falha(pg_result* resultado, const std::string& contexto);
  // Opens the connection again after its server was lost; false when it
  // cannot. What was prepared is forgotten.
  bool Reabre();
  // Reads sent together in the pipeline, one round trip.
  std::vector<std::vector<LinhaDados>> EnviaJuntas(const std::vector<LeituraDados>& leituras);
  // Sends a statement into the pipeline (entering it when empty) without
  // waiting for its answer; guarda marks one whose answer is wanted.
  void Envia(const std::string& sql, const std::vector<ParametroDados>& parametros, bool guarda);
  // Collects the answers of the statements sent ahead and leaves pipeline
  // mode; throws the first failure among the writes. Quietly, for a
  // rollback. The answers wanted come back in guardadas, in the order sent,
  // whatever they say, for the caller to judge and clear.
  void Escoa(bool calado = false, std::vector<pg_result*>* guardadas = nullptr);
  // A result's rows, the result cleared.
  static std::vector<LinhaDados> Linhas(pg_result* resultado);
  // A statement libpq could not send: what was sent is collected and the
  // failure thrown.
  [[noreturn]] void NaoEnviou(const std::string& sql);
  // Collects the answer of the request in flight, if any, for its cursor:
  // the connection is then free for another statement.
  void Recolhe();
  // Sends the savepoints held back and the writes made under them, in
  // order, into the pipeline; before any statement that waits.
  void EnviaAdiados();

  // A statement sent ahead: its SQL (the key of m_preparados) and whether it
  // is the statement's preparation rather than a run of it.
  struct NaFila {
    const std::string* sql;
    bool preparo;
    bool guarda;  // a read whose answer is wanted
  };

  pg_conn* m_conexao = nullptr;
  std::map<std::string, std::string> m_preparados;  // SQL -> statement name
  int m_proximo = 0;
  int m_cursores = 0;
  bool m_transacao = false;
  std::vector<NaFila> m_fila;
  // Savepoints not sent yet and the writes made since the outermost of
  // them (each savepoint is an entry too), in order; where each of those
  // savepoints sits in it, outermost first.
  struct Adiado {
    std::string sql;
    std::vector<ParametroDados> parametros;
  };
  std::vector<Adiado> m_adiados;
  std::vector<std::size_t> m_pontosAdiados;
  std::string m_adiantado;                      // cursor whose next rows are in flight
  std::map<std::string, pg_result*> m_guardados;  // next rows collected for their cursors
};

}  // namespace qmx::dados
