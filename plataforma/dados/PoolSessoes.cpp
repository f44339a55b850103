#include "plataforma/dados/PoolSessoes.h"

#include <unistd.h>

#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/Migracoes.h"

namespace qmx::dados {

namespace {
// Idle sessions kept per address; more are closed when given back.
constexpr std::size_t kMaximoOciosas = 8;
}  // namespace

CPoolSessoes::CPoolSessoes() : m_processo(static_cast<long>(::getpid())) {}

CPoolSessoes& CPoolSessoes::Instancia() {
  // Destroyed when the library is unloaded (or the process ends), which
  // closes the idle sessions: a program that unloads the library keeps no
  // database open behind it.
  static CPoolSessoes pool;
  return pool;
}

void CPoolSessoes::VerificaProcesso() {
  const long atual = static_cast<long>(::getpid());
  if (atual == m_processo) return;
  // Handles inherited through fork() belong to the parent: closing them
  // here would disturb its locks and server connections, so they are
  // dropped without being closed.
  for (auto& [endereco, sessoes] : m_ociosas)
    for (auto& sessao : sessoes) (void)sessao.release();
  m_ociosas.clear();
  m_migradas.clear();
  m_processo = atual;
}

std::unique_ptr<CSessaoDados> CPoolSessoes::Pega(const std::string& endereco) {
  bool migrada;
  {
    std::lock_guard trava(m_trava);
    VerificaProcesso();
    auto& sessoes = m_ociosas[endereco];
    while (!sessoes.empty()) {
      auto sessao = std::move(sessoes.back());
      sessoes.pop_back();
      if (sessao->Valida()) return sessao;
    }
    migrada = m_migradas.count(endereco) != 0;
  }
  auto sessao = AbreSessao(endereco);
  if (!migrada) {
    AplicaMigracoes(*sessao);
    std::lock_guard trava(m_trava);
    m_migradas.insert(endereco);
  }
  return sessao;
}

void CPoolSessoes::Devolve(const std::string& endereco, std::unique_ptr<CSessaoDados> sessao) {
  if (!sessao) return;
  if (sessao->EmTransacao()) sessao->Desfaz();
  if (!sessao->Valida()) return;
  std::lock_guard trava(m_trava);
  VerificaProcesso();
  auto& sessoes = m_ociosas[endereco];
  if (sessoes.size() < kMaximoOciosas) sessoes.push_back(std::move(sessao));
}

void CPoolSessoes::Descarta(const std::string& endereco) {
  std::lock_guard trava(m_trava);
  VerificaProcesso();
  m_ociosas.erase(endereco);
  m_migradas.erase(endereco);
}

std::size_t CPoolSessoes::Ociosas(const std::string& endereco) {
  std::lock_guard trava(m_trava);
  VerificaProcesso();
  auto achado = m_ociosas.find(endereco);
  return achado == m_ociosas.end() ? 0 : achado->second.size();
}

CSessaoEmprestada::CSessaoEmprestada(const std::string& endereco)
    : m_endereco(endereco), m_sessao(CPoolSessoes::Instancia().Pega(endereco)) {}

void CSessaoEmprestada::Devolve() {
  if (m_sessao) CPoolSessoes::Instancia().Devolve(m_endereco, std::move(m_sessao));
}

}  // namespace qmx::dados
