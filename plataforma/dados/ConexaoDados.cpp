#include "plataforma/dados/ConexaoDados.h"

#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/TransacaoDados.h"

namespace qmx::dados {

CConexaoDados::~CConexaoDados() { Finaliza(); }

com::HRESULT CConexaoDados::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                       std::int32_t contexto) {
  Finaliza();
  LimpaFalhaDados();
  m_triplo = {chaveEmpresa, usuario, contexto};
  if (const auto falha = FalhaInicializacaoAgora()) return *falha;
  const auto endereco = ResolveBaseEmpresa(chaveEmpresa);
  if (!endereco) return com::RPC_S_SERVER_UNAVAILABLE;
  try {
    // Reached now, so that a database that cannot be opened is known at
    // once; the session waits in the pool for the first operation.
    CSessaoEmprestada(*endereco).Devolve();
    m_endereco = *endereco;
    return com::S_OK;
  } catch (const CErroDados& erro) {
    RegistraFalhaDados(erro.Resultado(), erro.what());
    return erro.Resultado();
  } catch (...) {
    return com::E_FAIL;
  }
}

void CConexaoDados::Finaliza() { m_endereco.clear(); }

CSessaoDados* CConexaoDados::SessaoDaTransacao() const { return CTransacaoDados::SessaoDaBase(m_endereco); }

// Every operation starts without a cause recorded: the one shown with a
// failure is always that of the last operation.
void CConexaoDados::PassoOperacao() {
  LimpaFalhaDados();
  EscritaInjetadaAgora();
  if (const auto codigo = FalhaInjetadaAgora())
    throw CErroDados(*codigo, "falha injetada por um teste");
}

com::HRESULT CConexaoDados::Falhou() {
  try {
    throw;
  } catch (const CErroDados& erro) {
    if (erro.Resultado() == com::RPC_S_SERVER_UNAVAILABLE) m_endereco.clear();
    RegistraFalhaDados(erro.Resultado(), erro.what());
    return erro.Resultado();
  } catch (const std::bad_alloc&) {
    return com::E_OUTOFMEMORY;
  } catch (...) {
    return com::E_FAIL;
  }
}

}  // namespace qmx::dados
