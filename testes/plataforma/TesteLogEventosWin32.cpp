#include <gtest/gtest.h>

#include "frame/InstanciaServidor.h"
#include "plataforma/ServidorDeTeste.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/mensagens/ZTMens.h"

namespace {

using namespace qmx::testes;

// The system's event log, with no capture in the way. What ReportEvent
// received is read outside this process: under Wine the entries come out on
// its "eventlog" debug channel, and the test eventos_sistema
// (cmake/ConfereEventosWine.cmake) runs this one and reads them there.
TEST(LogEventosSistema, AtivacaoSemServidorEscreveNoLogDoSistema) {
  qmx::eventos::CLogEventos log(qmx::mensagens::kFonteEventos);
  ASSERT_TRUE(log.Registrada());
  EXPECT_TRUE(log.Reporta(qmx::eventos::EVENTLOG_WARNING_TYPE, 0, 7, {"aviso de teste", "linha 1\nlinha 2"}));

  // A class that nobody registered: one error entry, with the detail.
  IServidorTeste* servidor = nullptr;
  EXPECT_EQ(qmx::InstanciaServidor(kClasseTeste, nullptr, CLSCTX_ALL, IServidorTeste::kIID,
                                   reinterpret_cast<void**>(&servidor), 3),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(servidor, nullptr);
}

}  // namespace
