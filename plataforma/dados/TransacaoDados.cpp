#include "plataforma/dados/TransacaoDados.h"

#include <utility>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::dados {

namespace {

thread_local CTransacaoDados* t_aberta = nullptr;
thread_local const std::string* t_endereco = nullptr;

}  // namespace

CTransacaoDados::~CTransacaoDados() { Desfaz(); }

com::HRESULT CTransacaoDados::Inicia(const std::string& chaveEmpresa) { return Abre(chaveEmpresa, false); }

com::HRESULT CTransacaoDados::IniciaLeitura(const std::string& chaveEmpresa) { return Abre(chaveEmpresa, true); }

com::HRESULT CTransacaoDados::Abre(const std::string& chaveEmpresa, bool leitura) {
  if (t_aberta) return com::E_UNEXPECTED;
  const auto endereco = ResolveBaseEmpresa(chaveEmpresa);
  if (!endereco) return com::RPC_S_SERVER_UNAVAILABLE;
  try {
    // A snapshot is no step of its own: the reads it holds are.
    if (!leitura) CConexaoDados::PassoOperacao();
    m_sessao = CSessaoEmprestada(*endereco);
    if (leitura) m_sessao->IniciaLeitura();
    else m_sessao->Inicia();
  } catch (const CErroDados& erro) {
    m_sessao = CSessaoEmprestada();
    return erro.Resultado();
  } catch (...) {
    m_sessao = CSessaoEmprestada();
    return com::E_FAIL;
  }
  t_aberta = this;
  t_endereco = &m_sessao.Endereco();
  return com::S_OK;
}

com::HRESULT CTransacaoDados::Confirma() {
  if (!m_sessao) return com::E_UNEXPECTED;
  try {
    CConexaoDados::PassoOperacao();
    m_sessao->Confirma();
    Encerra();
    return com::S_OK;
  } catch (const CErroDados& erro) {
    Desfaz();
    return erro.Resultado();
  } catch (...) {
    Desfaz();
    return com::E_FAIL;
  }
}

void CTransacaoDados::Desfaz() {
  if (!m_sessao) return;
  try {
    if (m_sessao->EmTransacao()) m_sessao->Desfaz();
  } catch (...) {
    // A session that cannot undo is not pooled again (the pool closes one
    // left in a transaction), and closing it undoes the work.
  }
  Encerra();
}

void CTransacaoDados::Encerra() {
  if (t_aberta == this) {
    t_aberta = nullptr;
    t_endereco = nullptr;
  }
  m_sessao.Devolve();
}

CSessaoDados* CTransacaoDados::SessaoDaBase(const std::string& endereco) {
  if (!t_aberta || !t_endereco || *t_endereco != endereco) return nullptr;
  return &*t_aberta->m_sessao;
}

CSessaoDados* CTransacaoDados::SessaoAberta() { return t_aberta ? &*t_aberta->m_sessao : nullptr; }

namespace {

template <class Passo>
com::HRESULT ExecutaPasso(Passo&& passo) {
  try {
    CConexaoDados::PassoOperacao();
    passo();
    return com::S_OK;
  } catch (const CErroDados& erro) {
    return erro.Resultado();
  } catch (...) {
    return com::E_FAIL;
  }
}

}  // namespace

com::HRESULT CPontoTransacao::Marca() {
  CSessaoDados* sessao = CTransacaoDados::SessaoAberta();
  if (!sessao) return com::E_UNEXPECTED;
  const com::HRESULT resultado = ExecutaPasso([&] { sessao->MarcaPonto(); });
  if (com::SUCCEEDED(resultado)) m_sessao = sessao;
  return resultado;
}

com::HRESULT CPontoTransacao::Libera() {
  if (!m_sessao) return com::E_UNEXPECTED;
  const com::HRESULT resultado = ExecutaPasso([&] { m_sessao->LiberaPonto(); });
  if (com::SUCCEEDED(resultado)) m_sessao = nullptr;
  return resultado;
}

void CPontoTransacao::Volta() {
  if (!m_sessao) return;
  CSessaoDados* sessao = std::exchange(m_sessao, nullptr);
  try {
    sessao->VoltaAoPonto();
  } catch (...) {
    // The transaction itself is then undone by its owner.
  }
}

}  // namespace qmx::dados
