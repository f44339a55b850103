#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plataforma/com/HResult.h"

namespace qmx::dados {

// A failure of the database engine, with the result code the connection
// classes hand back to their callers.
class CErroDados : public std::runtime_error {
 public:
  CErroDados(com::HRESULT resultado, const std::string& mensagem)
      : std::runtime_error(mensagem), m_resultado(resultado) {}
  com::HRESULT Resultado() const { return m_resultado; }

 private:
  com::HRESULT m_resultado;
};

// One value bound to a statement's "?" placeholder: an integer, a text
// (UTF-8, as stored) or NULL.
struct ParametroDados {
  enum class Tipo { Nulo, Inteiro, Texto } tipo = Tipo::Nulo;
  std::int64_t inteiro = 0;
  std::string texto;

  ParametroDados() = default;
  ParametroDados(std::int64_t valor) : tipo(Tipo::Inteiro), inteiro(valor) {}
  ParametroDados(int valor) : tipo(Tipo::Inteiro), inteiro(valor) {}
  ParametroDados(unsigned valor) : tipo(Tipo::Inteiro), inteiro(valor) {}
  ParametroDados(std::string valor) : tipo(Tipo::Texto), texto(std::move(valor)) {}
  ParametroDados(const char* valor) : tipo(Tipo::Texto), texto(valor) {}
};

// A read among several sent together (CSessaoDados::ConsultaJuntas).
struct LeituraDados {
  std::string sql;
  std::vector<ParametroDados> parametros;
};

// One row of a result: every column as text (NULL is absent), read back as
// the column's type asks.
class LinhaDados {
 public:
  explicit LinhaDados(std::vector<std::optional<std::string>> colunas) : m_colunas(std::move(colunas)) {}
  std::size_t Colunas() const { return m_colunas.size(); }
  bool Nulo(std::size_t i) const { return !m_colunas.at(i).has_value(); }
  // NULL reads as an empty text or 0.
  const std::string& Texto(std::size_t i) const;
  std::int64_t Inteiro(std::size_t i) const;

 private:
  std::vector<std::optional<std::string>> m_colunas;
};

// A result walked row by row, for reads too large to hold: the columns of
// the current row are read in place (a text stays valid until the next
// row). At most as many rows as the engine fetches at once are in memory.
// A failure while walking throws CErroDados.
class CCursorDados {
 public:
  virtual ~CCursorDados();
  // Moves to the next row; false when there is none.
  virtual bool Proxima() = 0;
  virtual bool Nulo(int i) const = 0;
  // NULL reads as 0 or an empty text.
  virtual std::int64_t Inteiro(int i) const = 0;
  virtual std::string_view Texto(int i) const = 0;
};

// A session with one company database. Statements are written once with
// "?" placeholders and prepared on first use; a session keeps its prepared
// statements for its whole life, so a statement that runs again is not
// parsed again. A session is used by one connection object at a time.
class CSessaoDados {
 public:
  virtual ~CSessaoDados();

  // Runs a statement and returns its rows.
  virtual std::vector<LinhaDados> Consulta(const std::string& sql, const std::vector<ParametroDados>& parametros) = 0;
  // Runs several reads and returns their rows, in order. An engine on a
  // server sends them together and waits once (inside a write transaction
  // with the writes sent ahead of them; outside one, a lost server is
  // reached again and the reads sent once more); elsewhere one Consulta
  // each.
  virtual std::vector<std::vector<LinhaDados>> ConsultaJuntas(const std::vector<LeituraDados>& leituras);
  // Runs a statement whose rows are walked with the cursor. Several
  // cursors may be open at once on one session (a merge of sorted
  // results); the session must outlive them.
  virtual std::unique_ptr<CCursorDados> Abre(const std::string& sql, const std::vector<ParametroDados>& parametros) = 0;
  // Runs a statement that returns no rows; answers the rows it changed.
  virtual std::int64_t Executa(const std::string& sql, const std::vector<ParametroDados>& parametros) = 0;
  // Runs a write whose count of changed rows nobody reads. Inside a write
  // transaction an engine on a server sends it without waiting for its
  // answer, together with the writes that follow; a failure among them is
  // thrown by the next statement that waits for an answer (Consulta, Abre,
  // Executa) or by Confirma, and nothing of the transaction is kept.
  // Elsewhere it is Executa.
  virtual void Enfileira(const std::string& sql, const std::vector<ParametroDados>& parametros) {
    Executa(sql, parametros);
  }
  // Runs plain SQL text without parameters (schema changes, several
  // statements at once).
  virtual void ExecutaScript(const std::string& sql) = 0;

  // A write transaction. Begin waits for other writers (SQLite takes the
  // write lock at once, so two processes never deadlock on an upgrade).
  void Inicia();
  // A read transaction: until it ends (Confirma or Desfaz), every read
  // sees the database as it was when it began, whatever other sessions
  // commit meanwhile; nothing is written in it.
  virtual void IniciaLeitura() = 0;
  void Confirma();
  void Desfaz();
  // Serialises schema changes between processes for the rest of the
  // current transaction.
  virtual void BloqueiaEsquema() = 0;

  // The next number of a counter of qmx_sequencia ("movimento_estoque",
  // "integracao", ...). The counter's row stays locked until the
  // transaction ends, so two writers never share a number. Inside a write
  // transaction numbers are taken from the server a block at a time, each
  // block of a counter twice the one before (up to a limit), and the ones
  // left unused are given back before the commit: the numbers written are
  // the same as when each is taken alone, with one round trip a block
  // instead of one a number.
  std::int64_t ProximoNumero(const char* contador);

  // Savepoints, nested (a cupom's writes, and inside them an item's): the
  // latest set is released into what encloses it, or returned to (which
  // undoes what was written since it was set, numbers of the counters
  // included).
  void MarcaPonto();
  void LiberaPonto();
  void VoltaAoPonto();

  // The times this session has waited for a server's answer (a statement,
  // a batch of writes sent ahead with the read that follows them, a block
  // of a cursor's rows): its round trips. An engine inside the process
  // has none.
  std::int64_t IdasEVoltas() const { return m_idasEVoltas; }
  // The same, summed over every session of the process since it began.
  static std::int64_t IdasEVoltasDoProcesso();

  // Whether the session can still be used; a broken one is not pooled again.
  virtual bool Valida() const = 0;
  virtual bool EmTransacao() const = 0;
  // "sqlite" or "postgres".
  virtual const char* Motor() const = 0;
  // What a read ends with to lock the rows it reads until the write
  // transaction ends, taking them in the order they are read. Nothing
  // where the write transaction already holds the whole database.
  virtual const char* TravaLinhasLidas() const { return ""; }

 protected:
  // The engine's own begin, commit and rollback of a write transaction.
  virtual void IniciaNoMotor() = 0;
  virtual void ConfirmaNoMotor() = 0;
  virtual void DesfazNoMotor() = 0;
  // The engine's own savepoint commands, named: set, released into what
  // encloses it, returned to (and released).
  virtual void MarcaPontoNoMotor(const std::string& nome);
  virtual void LiberaPontoNoMotor(const std::string& nome);
  virtual void VoltaAoPontoNoMotor(const std::string& nome);
  // One more wait for the server's answer.
  void ContaIdaEVolta();

 private:
  std::int64_t m_idasEVoltas = 0;
  // Numbers taken from a counter and not yet handed out: proximo..ultimo;
  // the size of the last block taken and of all taken by the transaction.
  struct Reserva {
    std::int64_t proximo = 0;
    std::int64_t ultimo = -1;
    std::int64_t bloco = 0;
    std::int64_t tomados = 0;
  };
  std::map<std::string, Reserva> m_reservas;
  // Per counter, how many numbers the session's last committed transaction
  // handed out: the first block of the next one is that size, so a pass
  // whose transactions are alike takes one block each.
  std::map<std::string, std::int64_t> m_usadosAntes;
  // The reservations as they were when each open savepoint was set, the
  // innermost last.
  std::vector<std::map<std::string, Reserva>> m_pontos;
};

}  // namespace qmx::dados
