#include <gtest/gtest.h>

#include "plataforma/ServidorDeTeste.h"

namespace {

using namespace qmx::testes;

#if !defined(_WIN32)
// The answers of the process's own class table. The Windows build activates
// through the system's COM, which has its own answers for these cases (the
// entries' results when the class is not found; the contexts, the
// authentication settings and the reserved fields of a request; a second
// registration of a class); the activation tests with retries run there
// against it.
HRESULT Ativa(std::uint32_t contexto, const COSERVERINFO* servidor, MULTI_QI* consultas, std::uint32_t quantos) {
  return CoCreateInstanceEx(kClasseTeste, nullptr, contexto, servidor, quantos, consultas);
}

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
