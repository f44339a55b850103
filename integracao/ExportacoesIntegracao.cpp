// Integration exports: each builds the worker with the connection triple
// and a mode, runs one pass and returns its result.
#include <cstddef>

#include "frame/ContextoBiblioteca.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXUTIL.h"
#include "integracao/QMXIntegracao.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/processo/Andamento.h"

using namespace qmx;

namespace {

using com::E_FAIL;

// The installed header's record is the cash data's, field for field.
#define QMX_MESMO_CAMPO(campo) \
  static_assert(offsetof(QMX_CUPOM, campo) == offsetof(REG_EC_CXPS, campo), "QMX_CUPOM." #campo)
QMX_MESMO_CAMPO(Id);
QMX_MESMO_CAMPO(Filial);
QMX_MESMO_CAMPO(Emissora);
QMX_MESMO_CAMPO(Data);
QMX_MESMO_CAMPO(Hora);
QMX_MESMO_CAMPO(COO);
QMX_MESMO_CAMPO(CCF);
QMX_MESMO_CAMPO(Sequencia);
QMX_MESMO_CAMPO(Status);
QMX_MESMO_CAMPO(Origem);
QMX_MESMO_CAMPO(Cancelado);
QMX_MESMO_CAMPO(Cliente);
QMX_MESMO_CAMPO(DocumentoCliente);
QMX_MESMO_CAMPO(NomeCliente);
QMX_MESMO_CAMPO(CondicaoPagamento);
QMX_MESMO_CAMPO(Subtotal);
QMX_MESMO_CAMPO(Desconto);
QMX_MESMO_CAMPO(Total);
QMX_MESMO_CAMPO(NumeroInicial);
QMX_MESMO_CAMPO(NumeroFinal);
QMX_MESMO_CAMPO(QuantidadeItens);
QMX_MESMO_CAMPO(QuantidadeParcelas);
static_assert(sizeof(QMX_CUPOM) == sizeof(REG_EC_CXPS), "QMX_CUPOM");
#undef QMX_MESMO_CAMPO

template <class F>
std::int32_t ComTrabalhador(const char* nome, int modo, F&& passo) {
  return Protegido(nome, E_FAIL, [&] {
    const TriploConexao triplo = CopiaTriplo();
    CQMXIntegracao trabalhador(triplo.chaveEmpresa, triplo.usuario, triplo.contexto, modo);
    trabalhador.SetArquivoLog(Contexto().diretorioSaida);
    try {
      return passo(trabalhador);
    } catch (const processo::CTrabalhoCancelado&) {
      trabalhador.AnotaInterrupcao();
      return kIntegracaoInterrompida;
    }
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
