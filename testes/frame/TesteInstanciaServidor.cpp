#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "frame/Espera.h"
#include "frame/InstanciaServidor.h"
#include "frame/RegistraEventoServidor.h"
#include "frame/ServidorRemoto.h"
#include "plataforma/ServidorDeTeste.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/processo/ProcessoComPipe.h"

namespace {

using namespace qmx::testes;
using qmx::eventos::CCapturaEventos;
using qmx::eventos::EVENTLOG_ERROR_TYPE;
using qmx::eventos::EVENTLOG_WARNING_TYPE;

// A data server registered for the test, the waits counted instead of
// slept, and the event log captured.
class Ativacao : public ::testing::Test {
 protected:
  void Registra(std::deque<HRESULT> respostas, std::uint32_t contextos = CLSCTX_LOCAL_SERVER) {
    m_fabrica = FabricaRoteirizada::Cria(std::move(respostas));
    m_registro.emplace(kClasseTeste, m_fabrica, contextos);
    m_fabrica->Release();
  }
  HRESULT Instancia(std::uint32_t flags = 3) {
    return qmx::InstanciaServidor(kClasseTeste, nullptr, CLSCTX_ALL, IServidorTeste::kIID,
                                  reinterpret_cast<void**>(&m_servidor), flags);
  }
  void TearDown() override {
    if (m_servidor) m_servidor->Release();
  }

  RegistroTemporario m_registroMaquina;  // no AppID for the class
  CCapturaEventos m_eventos;
  std::vector<std::uint32_t> m_esperas;
  qmx::EsperaSubstituida m_espera{[this](std::uint32_t ms) { m_esperas.push_back(ms); }};
  FabricaRoteirizada* m_fabrica = nullptr;
  std::optional<CFabricaRegistrada> m_registro;
  IServidorTeste* m_servidor = nullptr;
};

TEST_F(Ativacao, PrimeiraTentativaNaoEscreveNada) {
  Registra({});
  ASSERT_EQ(Instancia(), S_OK);
  ASSERT_NE(m_servidor, nullptr);
  EXPECT_EQ(m_servidor->Soma(40, 2), 42);
  EXPECT_TRUE(m_eventos.Eventos().empty());
  EXPECT_TRUE(m_esperas.empty());
  // The proxy blanket: no authentication, impersonation.
  const auto& h = *m_fabrica->historico;
  EXPECT_EQ(std::tuple(h.blanketsDefinidos, h.servicoAutenticacao, h.nivelAutenticacao, h.nivelPersonificacao),
            std::tuple(1, RPC_C_AUTHN_NONE, RPC_C_AUTHN_LEVEL_NONE, RPC_C_IMP_LEVEL_IMPERSONATE));
}

TEST_F(Ativacao, IndisponivelDuasVezesDepoisResponde) {
  Registra({RPC_S_SERVER_UNAVAILABLE, RPC_S_SERVER_UNAVAILABLE});
  ASSERT_EQ(Instancia(), S_OK);
  EXPECT_EQ(m_fabrica->chamadas, 3);
  EXPECT_EQ(m_esperas, (std::vector<std::uint32_t>{500, 500}));
  const auto& eventos = m_eventos.Eventos();
  ASSERT_EQ(eventos.size(), 3u);
  EXPECT_EQ(std::tuple(eventos[0].tipo, eventos[0].textos[0], eventos[0].id),
            std::tuple(EVENTLOG_WARNING_TYPE, "\n\nA primeira tentativa de instanciar o servidor falhou", 0x800706BAu));
  // No remote server configured.
  EXPECT_EQ(std::tuple(eventos[1].tipo, eventos[1].textos[0]), std::tuple(EVENTLOG_ERROR_TYPE, "Falta informar o IP"));
  EXPECT_EQ(std::tuple(eventos[2].tipo, eventos[2].textos[0], eventos[2].id),
            std::tuple(EVENTLOG_WARNING_TYPE, "Instancia estabelecida com sucesso na vez 2", 0u));
  for (const auto& evento : eventos) {
    EXPECT_EQ(evento.fonte, "ZT Redudeva");
    EXPECT_EQ(evento.categoria, 0);
    ASSERT_EQ(evento.textos.size(), 2u);
  }
  const std::string detalhe = "\nHR: 0x800706BA (O servidor RPC n\xE3o est\xE1 dispon\xEDvel.)\nCLSID: "
                              "{5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A71}\nPrograma: " +
                              qmx::processo::CaminhoPrograma() + "\n";
  EXPECT_EQ(eventos[0].textos[1], detalhe);
  EXPECT_EQ(m_fabrica->historico->blanketsDefinidos, 1);
}

TEST_F(Ativacao, ArgumentoInvalidoTentaSemInformacaoDeServidor) {
  // A class that runs only in-process refuses the authentication settings
  // of the first request; the second, without them, gets through.
  Registra({}, CLSCTX_INPROC_SERVER);
  ASSERT_EQ(Instancia(), S_OK);
  EXPECT_EQ(m_fabrica->chamadas, 1);
  EXPECT_TRUE(m_esperas.empty());

  // The answer of the second request decides: unavailable goes on.
  m_servidor->Release();
  m_servidor = nullptr;
  Registra({E_INVALIDARG, RPC_S_SERVER_UNAVAILABLE, E_INVALIDARG, S_OK});
  ASSERT_EQ(Instancia(), S_OK);
  EXPECT_EQ(m_fabrica->chamadas, 4);
  EXPECT_EQ(m_esperas.size(), 1u);
  EXPECT_TRUE(m_eventos.Eventos().empty());
}

TEST(ServidorRemoto, NomeDaConfiguracaoDeComponentes) {
  const std::string clsid = "{5E1D7C2A-93B4-4F06-8A1E-6C0B2D9F4A71}";
  const std::string appId = "{11111111-2222-3333-4444-555555555555}";
  const std::string classe = "[SOFTWARE\\Classes\\CLSID\\" + clsid + "]\nAppID=" + appId + "\n";
  const auto nome = [&](const std::string& servidor) {
    return classe + "[SOFTWARE\\Classes\\AppID\\" + appId + "]\nRemoteServerName=" + servidor + "\n";
  };
  RegistroTemporario registro(nome("servidor-dados"));
  EXPECT_EQ(qmx::PegaServidorRemoto(kClasseTeste), "servidor-dados");
  // A class without an AppID, an AppID without the name, values too long.
  EXPECT_EQ(qmx::PegaServidorRemoto(IServidorTeste::kIID), "");
  registro.Reescreve(classe);
  EXPECT_EQ(qmx::PegaServidorRemoto(kClasseTeste), "");
  registro.Reescreve(nome(std::string(256, 'h')));
  EXPECT_EQ(qmx::PegaServidorRemoto(kClasseTeste), "");
  registro.Reescreve(nome(std::string(255, 'h')));
  EXPECT_EQ(qmx::PegaServidorRemoto(kClasseTeste), std::string(255, 'h'));
}

}  // namespace
