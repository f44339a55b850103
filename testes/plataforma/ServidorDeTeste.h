#pragma once

// A data server of the tests' own: a class factory that answers from a
// script of results (to inject "server unavailable" and other faults) and
// makes real objects that keep the security settings they are given.

#include <deque>
#include <memory>

#include "plataforma/com/Ativacao.h"
#include "plataforma/com/ObjetoCOM.h"

namespace qmx::testes {

using namespace qmx::com;

constexpr CLSID kClasseTeste{0x5E1D7C2A, 0x93B4, 0x4F06, {0x8A, 0x1E, 0x6C, 0x0B, 0x2D, 0x9F, 0x4A, 0x71}};

// The interface that the test server offers.
class IServidorTeste : public IUnknown {
 public:
  static constexpr IID kIID{0x0026C16B, 0x45B0, 0x11D4, {0x92, 0x74, 0x00, 0xA0, 0xC9, 0xAC, 0xA8, 0xC4}};
  virtual int Soma(int a, int b) = 0;

 protected:
  ~IServidorTeste() = default;
};

// What the objects of one factory went through.
struct HistoricoServidor {
  int objetosVivos = 0;
  int blanketsDefinidos = 0;
  std::uint32_t nivelAutenticacao = 99;
  std::uint32_t nivelPersonificacao = 99;
  std::uint32_t servicoAutenticacao = 99;
};

class ObjetoTeste : public CObjetoCOM<IServidorTeste>, public IClientSecurity {
 public:
  explicit ObjetoTeste(std::shared_ptr<HistoricoServidor> historico) : m_historico(std::move(historico)) {
    ++m_historico->objetosVivos;
  }
  ~ObjetoTeste() override { --m_historico->objetosVivos; }

  HRESULT QMX_COM QueryInterface(const IID& iid, void** objeto) override { return CObjetoCOM::QueryInterface(iid, objeto); }
  std::uint32_t QMX_COM AddRef() override { return CObjetoCOM::AddRef(); }
  std::uint32_t QMX_COM Release() override { return CObjetoCOM::Release(); }
  int Soma(int a, int b) override { return a + b; }
  HRESULT QMX_COM QueryBlanket(IUnknown*, std::uint32_t*, std::uint32_t*, wchar_t**, std::uint32_t*,
                               std::uint32_t*, void**, std::uint32_t*) override {
    return E_NOTIMPL;
  }
  HRESULT QMX_COM CopyProxy(IUnknown*, IUnknown**) override { return E_NOTIMPL; }
  HRESULT QMX_COM SetBlanket(IUnknown*, std::uint32_t servicoAutenticacao, std::uint32_t, const wchar_t*,
                     std::uint32_t nivelAutenticacao, std::uint32_t nivelPersonificacao, void*,
                     std::uint32_t) override {
    ++m_historico->blanketsDefinidos;
    m_historico->servicoAutenticacao = servicoAutenticacao;
    m_historico->nivelAutenticacao = nivelAutenticacao;
    m_historico->nivelPersonificacao = nivelPersonificacao;
    return S_OK;
  }

 protected:
  void* OutraInterface(const IID& iid) override {
    return iid == IClientSecurity::kIID ? static_cast<IClientSecurity*>(this) : nullptr;
  }

 private:
  std::shared_ptr<HistoricoServidor> m_historico;
};

// Answers each CreateInstance with the next scripted result; S_OK (and
// every call after the script runs out) makes a real object.
class FabricaRoteirizada : public CObjetoCOM<IClassFactory> {
 public:
  static FabricaRoteirizada* Cria(std::deque<HRESULT> respostas = {}) { return new FabricaRoteirizada(std::move(respostas)); }

  HRESULT QMX_COM CreateInstance(IUnknown* externo, const IID& iid, void** objeto) override {
    ++chamadas;
    HRESULT resposta = S_OK;
    if (!m_respostas.empty()) {
      resposta = m_respostas.front();
      m_respostas.pop_front();
    }
    if (FAILED(resposta)) return resposta;
    if (externo) return CLASS_E_NOAGGREGATION;
    auto* novo = new ObjetoTeste(historico);
    const HRESULT resultado = novo->QueryInterface(iid, objeto);
    novo->Release();
    return resultado;
  }
  HRESULT QMX_COM LockServer(bool) override { return S_OK; }

  int chamadas = 0;
  std::shared_ptr<HistoricoServidor> historico = std::make_shared<HistoricoServidor>();

 private:
  explicit FabricaRoteirizada(std::deque<HRESULT> respostas) : m_respostas(std::move(respostas)) {}
  std::deque<HRESULT> m_respostas;
};

}  // namespace qmx::testes
