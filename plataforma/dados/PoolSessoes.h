#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// The process's idle sessions, per database address, so that the
// short-lived connection objects do not each open the database anew. The
// first session of an address in a process also brings the database's
// schema up to date. A child process made by fork() never touches its
// parent's sessions: it starts with an empty pool.
class CPoolSessoes {
 public:
  static CPoolSessoes& Instancia();

  // An idle session of the address, or a new one. Throws CErroDados.
  std::unique_ptr<CSessaoDados> Pega(const std::string& endereco);
  // Gives a session back; a broken one, or one left in a transaction, is closed.
  void Devolve(const std::string& endereco, std::unique_ptr<CSessaoDados> sessao);
  // Closes the idle sessions of an address and forgets its schema check
  // (the database was removed or replaced).
  void Descarta(const std::string& endereco);
  std::size_t Ociosas(const std::string& endereco);

 private:
  CPoolSessoes();
  void VerificaProcesso();

  std::mutex m_trava;
  std::map<std::string, std::vector<std::unique_ptr<CSessaoDados>>> m_ociosas;
  std::set<std::string> m_migradas;
  long m_processo;
};

// A session lent by the pool for the life of the object.
class CSessaoEmprestada {
 public:
  CSessaoEmprestada() = default;
  explicit CSessaoEmprestada(const std::string& endereco);
  ~CSessaoEmprestada() { Devolve(); }
  CSessaoEmprestada(CSessaoEmprestada&&) = default;
  // The session held before goes back to the pool first.
  CSessaoEmprestada& operator=(CSessaoEmprestada&& outra) noexcept {
    if (this != &outra) {
      Devolve();
      m_endereco = std::move(outra.m_endereco);
      m_sessao = std::move(outra.m_sessao);
    }
    return *this;
  }

  explicit operator bool() const { return m_sessao != nullptr; }
  CSessaoDados& operator*() const { return *m_sessao; }
  CSessaoDados* operator->() const { return m_sessao.get(); }
  void Devolve();
  const std::string& Endereco() const { return m_endereco; }

 private:
  std::string m_endereco;
  std::unique_ptr<CSessaoDados> m_sessao;
};

}  // namespace qmx::dados
