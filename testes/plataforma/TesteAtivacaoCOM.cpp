#include <gtest/gtest.h>

#include "plataforma/ServidorDeTeste.h"

namespace {

using namespace qmx::testes;

TEST(Guid, TextoDeRegistroIdaEVolta) {
  EXPECT_EQ(TextoGuid(kClasseTeste), "{5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A71}");
  EXPECT_EQ(LeGuid("{5e1d7c2a-93b4-4f06-8a1e-6c0b2d9f4a71}"), kClasseTeste);
  EXPECT_EQ(LeGuid(TextoGuid(IServidorTeste::kIID)), IServidorTeste::kIID);
  for (const char* ruim : {"", "5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A71", "{5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A7}",
                           "{0026C16C-45B0-11D4-9274+00A0C9ACA8C4}", "{0026C16G-45B0-11D4-9274-00A0C9ACA8C4}"})
    EXPECT_FALSE(LeGuid(ruim).has_value()) << ruim;
}

HRESULT Ativa(std::uint32_t contexto, const COSERVERINFO* servidor, MULTI_QI* consultas, std::uint32_t quantos) {
  return CoCreateInstanceEx(kClasseTeste, nullptr, contexto, servidor, quantos, consultas);
}

TEST(AtivacaoCOM, VariasInterfacesCadaUmaComSeuResultado) {
  auto* fabrica = FabricaRoteirizada::Cria();
  CFabricaRegistrada registro(kClasseTeste, fabrica);
  fabrica->Release();
  const IID servidor = IServidorTeste::kIID, seguranca = IClientSecurity::kIID, fabricaIid = IClassFactory::kIID;
  MULTI_QI consultas[3] = {{&servidor, nullptr, S_OK}, {&fabricaIid, nullptr, S_OK}, {&seguranca, nullptr, S_OK}};
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, consultas, 3), CO_S_NOTALLINTERFACES);
  EXPECT_EQ(std::tuple(consultas[0].hr, consultas[1].hr, consultas[2].hr), std::tuple(S_OK, E_NOINTERFACE, S_OK));
  EXPECT_EQ(consultas[1].pItf, nullptr);
  EXPECT_EQ(fabrica->historico->objetosVivos, 1);  // held by the two interfaces handed back
  consultas[0].pItf->Release();
  consultas[2].pItf->Release();
  EXPECT_EQ(fabrica->historico->objetosVivos, 0);

  MULTI_QI soFabrica{&fabricaIid, nullptr, S_OK};
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &soFabrica, 1), E_NOINTERFACE);
  EXPECT_EQ(fabrica->historico->objetosVivos, 0);
}

TEST(AtivacaoCOM, BlanketSoParaQuemTemSeguranca) {
  auto* fabrica = FabricaRoteirizada::Cria();
  CFabricaRegistrada registro(kClasseTeste, fabrica);
  const IID iid = IServidorTeste::kIID;
  MULTI_QI consulta{&iid, nullptr, S_OK};
  ASSERT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), S_OK);
  EXPECT_EQ(CoSetProxyBlanket(consulta.pItf, RPC_C_AUTHN_NONE, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_NONE,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            S_OK);
  EXPECT_EQ(fabrica->historico->nivelAutenticacao, RPC_C_AUTHN_LEVEL_NONE);
  EXPECT_EQ(fabrica->historico->nivelPersonificacao, RPC_C_IMP_LEVEL_IMPERSONATE);
  consulta.pItf->Release();
  // The factory itself is no proxy.
  EXPECT_EQ(CoSetProxyBlanket(fabrica, 0, 0, nullptr, 1, 3, nullptr, 0), E_NOINTERFACE);
  EXPECT_EQ(CoSetProxyBlanket(nullptr, 0, 0, nullptr, 1, 3, nullptr, 0), E_INVALIDARG);
  fabrica->Release();
}

#if !defined(_WIN32)
// The answers of the process's own class table. The Windows build activates
// through the system's COM, which has its own answers for these cases (the
// entries' results when the class is not found; the contexts, the
// authentication settings and the reserved fields of a request; a second
// registration of a class); the activation tests with retries run there
// against it.
TEST(AtivacaoCOM, ClasseSemFabricaNaoEstaRegistrada) {
  const IID iid = IServidorTeste::kIID;
  MULTI_QI consulta{&iid, nullptr, S_OK};
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(consulta.hr, REGDB_E_CLASSNOTREG);
  EXPECT_EQ(consulta.pItf, nullptr);

  // Registered, then revoked: gone again.
  auto* fabrica = FabricaRoteirizada::Cria();
  {
    CFabricaRegistrada registro(kClasseTeste, fabrica, CLSCTX_LOCAL_SERVER);
    ASSERT_EQ(registro.Resultado(), S_OK);
    // A context the factory does not run in finds nothing.
    EXPECT_EQ(Ativa(CLSCTX_INPROC_SERVER, nullptr, &consulta, 1), REGDB_E_CLASSNOTREG);
    ASSERT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), S_OK);
    auto* servidor = static_cast<IServidorTeste*>(static_cast<void*>(consulta.pItf));
    EXPECT_EQ(servidor->Soma(2, 3), 5);
    servidor->Release();
  }
  EXPECT_EQ(fabrica->historico->objetosVivos, 0);
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), REGDB_E_CLASSNOTREG);
  fabrica->Release();
}

TEST(AtivacaoCOM, PedidosMalFormadosEFalhasDaFabrica) {
  auto* fabrica = FabricaRoteirizada::Cria({RPC_S_SERVER_UNAVAILABLE});
  CFabricaRegistrada registro(kClasseTeste, fabrica, CLSCTX_INPROC_SERVER);
  fabrica->Release();
  const IID iid = IServidorTeste::kIID;
  MULTI_QI consulta{&iid, nullptr, S_OK};
  MULTI_QI semIid{nullptr, nullptr, S_OK};
  COAUTHINFO autenticacao;
  COSERVERINFO servidor;
  servidor.pAuthInfo = &autenticacao;
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 0), E_INVALIDARG);
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &semIid, 1), E_INVALIDARG);
  // Authentication settings for a class that runs only in this process.
  EXPECT_EQ(Ativa(CLSCTX_ALL, &servidor, &consulta, 1), E_INVALIDARG);
  EXPECT_EQ(fabrica->chamadas, 0);
  // The factory's own answer comes back as it is.
  EXPECT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(consulta.hr, RPC_S_SERVER_UNAVAILABLE);
  // Server information without authentication is fine.
  servidor.pAuthInfo = nullptr;
  ASSERT_EQ(Ativa(CLSCTX_ALL, &servidor, &consulta, 1), S_OK);
  consulta.pItf->Release();
  servidor.dwReserved1 = 1;
  EXPECT_EQ(Ativa(CLSCTX_ALL, &servidor, &consulta, 1), E_INVALIDARG);
}

TEST(AtivacaoCOM, ARegistroMaisNovoResponde) {
  auto* antiga = FabricaRoteirizada::Cria();
  auto* nova = FabricaRoteirizada::Cria();
  CFabricaRegistrada primeira(kClasseTeste, antiga);
  const IID iid = IServidorTeste::kIID;
  MULTI_QI consulta{&iid, nullptr, S_OK};
  {
    CFabricaRegistrada segunda(kClasseTeste, nova);
    ASSERT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), S_OK);
    consulta.pItf->Release();
    EXPECT_EQ(nova->chamadas, 1);
  }
  ASSERT_EQ(Ativa(CLSCTX_ALL, nullptr, &consulta, 1), S_OK);
  consulta.pItf->Release();
  EXPECT_EQ(antiga->chamadas, 1);
  EXPECT_EQ(CoRevokeClassObject(0xFFFFFFF0u), E_INVALIDARG);
  antiga->Release();
  nova->Release();
}
#endif  // !_WIN32

}  // namespace
