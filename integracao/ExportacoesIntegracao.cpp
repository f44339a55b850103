// Integration exports: each builds the worker with the connection triple
// and a mode, runs one pass and returns its result.
#include "frame/ContextoBiblioteca.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXUTIL.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/com/HResult.h"

using namespace qmx;

namespace {

using com::E_FAIL;

template <class F>
std::int32_t ComTrabalhador(const char* nome, int modo, F&& passo) {
  return Protegido(nome, E_FAIL, [&] {
    const TriploConexao triplo = CopiaTriplo();
    CQMXIntegracao trabalhador(triplo.chaveEmpresa, triplo.usuario, triplo.contexto, modo);
    trabalhador.SetArquivoLog(Contexto().diretorioSaida);
    return passo(trabalhador);
  });
}

}  // namespace

extern "C" {

std::int32_t QMX_ProcIntegraCN(REG_QMX_PARAMETROS_INTEGRACAO parametros) {
  return ComTrabalhador("QMX_ProcIntegraCN", 0, [&](CQMXIntegracao& t) { return t.IntegraContabilidade(parametros); });
}

std::int32_t QMX_ProcIntegraEF(REG_QMX_PARAMETROS_INTEGRACAO parametros) {
  return ComTrabalhador("QMX_ProcIntegraEF", 0, [&](CQMXIntegracao& t) { return t.IntegraFiscal(parametros); });
}

std::int32_t QMX_ProcIntegraES(REG_QMX_PARAMETROS_INTEGRACAO parametros) {
  return ComTrabalhador("QMX_ProcIntegraES", 1, [&](CQMXIntegracao& t) { return t.IntegraEstoque(parametros); });
}

std::int32_t QMX_ProcIntegraFN(REG_QMX_PARAMETROS_INTEGRACAO parametros) {
  return ComTrabalhador("QMX_ProcIntegraFN", 0, [&](CQMXIntegracao& t) { return t.IntegraFinanceiro(parametros); });
}

std::int32_t QMX_IntegraCupomES(void* cupom, std::int32_t item, std::int32_t valor1, std::int32_t valor2) {
  return ComTrabalhador("QMX_IntegraCupomES", 1,
                        [&](CQMXIntegracao& t) { return t.IntegraCupomEstoque(cupom, item, valor1, valor2); });
}

}  // extern "C"
