#pragma once

#include <cstdint>
#include <string>

#include "plataforma/com/HResult.h"
#include "plataforma/dados/PoolSessoes.h"

namespace qmx::dados {

// A write transaction that the connection objects of one thread share.
// While it is open, every connection to the same company database runs its
// operations on the transaction's session, so that what several servers
// write (stock movements, their accounting, the cupom's marks) commits
// together or is undone together. One transaction per thread at a time.
class CTransacaoDados {
 public:
  CTransacaoDados() = default;
  // Undoes what was not confirmed.
  ~CTransacaoDados();
  CTransacaoDados(const CTransacaoDados&) = delete;
  CTransacaoDados& operator=(const CTransacaoDados&) = delete;

  // Begins on the company's database: S_OK, RPC_S_SERVER_UNAVAILABLE when
  // it cannot be reached, E_UNEXPECTED when the thread already has one open.
  com::HRESULT Inicia(const std::string& chaveEmpresa);
  // A read transaction instead (a file's snapshot): the thread's reads of
  // the company see one instant of it until it ends; it writes nothing.
  com::HRESULT IniciaLeitura(const std::string& chaveEmpresa);
  com::HRESULT Confirma();
  void Desfaz();
  bool Aberta() const { return static_cast<bool>(m_sessao); }

  // The session of the thread's open transaction on that database, if any.
  static CSessaoDados* SessaoDaBase(const std::string& endereco);
  // The session of the thread's open transaction, if any.
  static CSessaoDados* SessaoAberta();

 private:
  com::HRESULT Abre(const std::string& chaveEmpresa, bool leitura);
  void Encerra();

  CSessaoEmprestada m_sessao;
};

// A generation's reads at one instant of the company's database: while the
// object lives, every read of the thread sees the database as it was when
// it began, whatever other terminals commit meanwhile, so that a file never
// shows half of what a till wrote in one transaction (a DAV's items without
// its head, half a day). Without it (the database unreachable, or the
// thread inside a transaction already, whose reads are then the ones) the
// reads go on as they would.
class CInstanteLeitura {
 public:
  explicit CInstanteLeitura(const std::string& chaveEmpresa) { m_transacao.IniciaLeitura(chaveEmpresa); }

 private:
  CTransacaoDados m_transacao;
};

// A savepoint inside the thread's open transaction: what was written after
// Marca is undone by Volta (or by the destructor when not released), and
// kept by Libera.
class CPontoTransacao {
 public:
  CPontoTransacao() = default;
  ~CPontoTransacao() { Volta(); }
  CPontoTransacao(const CPontoTransacao&) = delete;
  CPontoTransacao& operator=(const CPontoTransacao&) = delete;

  // E_UNEXPECTED without an open transaction on the thread.
  com::HRESULT Marca();
  com::HRESULT Libera();
  void Volta();

 private:
  CSessaoDados* m_sessao = nullptr;
};

}  // namespace qmx::dados
