// Exports that open the filter dialogs of the fiscal files and reports. The
// dates the program hands in are 16-bit day numbers, read in the window of
// today before they reach the dialogs.
#include <cstring>

#include "arquivos/memorias/QMXArquivoMFD.h"
#include "arquivos/paf/QMXDAVs.h"
#include "arquivos/memorias/QMXEspelhoMFD.h"
#include "arquivos/paf/QMXEstoque.h"
#include "arquivos/memorias/QMXLeituraMemoriaFiscal.h"
#include "arquivos/relatorios/QMXMeiosPagamento.h"
#include "arquivos/paf/QMXMovimentos.h"
#include "arquivos/efd/QMXRegistrosEFD.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "arquivos/relatorios/QMXTabIndiceTecnicoProd.h"
#include "arquivos/paf/QMXTabProdutos.h"
#include "arquivos/efd/QMXVendaPeriodo.h"
#include "dialogos/QMXHistCliDlg.h"
#include "frame/LancaDialogo.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/JanelaDatas.h"

using namespace qmx;

namespace {

// A dialog that takes only the connection triple.
template <class TDialogo>
int LancaComTriplo() {
  return LancaDialogo<TDialogo>([](TDialogo& dialogo, const TriploConexao& triplo) {
    return dialogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto);
  });
}

// Exports that return true whatever the dialog did.
template <class TDialogo>
QMX_BOOL SempreVerdadeiro(const char* nome) {
  return Protegido(nome, QMX_BOOL{1}, [] {
    LancaComTriplo<TDialogo>();
    return QMX_BOOL{1};
  });
}

// Exports that return whether the dialog closed with OK.
template <class TDialogo>
QMX_BOOL VerdadeiroComOK(const char* nome) {
  return Protegido(nome, QMX_BOOL{0}, [] { return QMX_BOOL{LancaComTriplo<TDialogo>() == ui::IDOK}; });
}

}  // namespace

extern "C" {

QMX_BOOL QMX_Sintegra() { return SempreVerdadeiro<CQMXSintegra>("QMX_Sintegra"); }
QMX_BOOL QMX_VendaPeriodo() { return SempreVerdadeiro<CQMXVendaPeriodo>("QMX_VendaPeriodo"); }
QMX_BOOL QMX_EspelhoMFD() { return SempreVerdadeiro<CQMXEspelhoMFD>("QMX_EspelhoMFD"); }
QMX_BOOL QMX_ArqMFD() { return SempreVerdadeiro<CQMXArquivoMFD>("QMX_ArqMFD"); }
QMX_BOOL QMX_TabProdutos() { return SempreVerdadeiro<CQMXTabProdutos>("QMX_TabProdutos"); }
QMX_BOOL QMX_Estoque() { return SempreVerdadeiro<CQMXEstoque>("QMX_Estoque"); }
QMX_BOOL QMX_TabIndiceTecnicoProducao() {
  return SempreVerdadeiro<CQMXTabIndiceTecnicoProd>("QMX_TabIndiceTecnicoProducao");
}
QMX_BOOL QMX_MeiosPagamento() { return VerdadeiroComOK<CQMXMeiosPagamento>("QMX_MeiosPagamento"); }
QMX_BOOL QMX_DAVs() { return VerdadeiroComOK<CQMXDAVs>("QMX_DAVs"); }

QMX_BOOL QMX_LMF(const char* tipo) {
  return Protegido("QMX_LMF", QMX_BOOL{0}, [&] {
    const std::string tipoCopiado = TextoDoChamador(tipo);
    const int resultado = LancaDialogo<CQMXLeituraMemoriaFiscal>(
        [&](CQMXLeituraMemoriaFiscal& dialogo, const TriploConexao& triplo) {
          return dialogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto, tipoCopiado);
        });
    return QMX_BOOL{resultado == ui::IDOK};
  });
}

QMX_BOOL QMX_SpedFiscal(char** caminho, std::uint16_t filial, std::uint16_t ecf, std::uint16_t dataInicial,
                        std::uint16_t dataFinal) {
  if (!caminho) return 0;
  return Protegido("QMX_SpedFiscal", QMX_BOOL{0}, [&] {
    return LancaDialogo<CQMXRegistrosEFD>(
        [&](CQMXRegistrosEFD& dialogo, const TriploConexao& triplo) {
          dialogo.Preset(triplo.chaveEmpresa, triplo.usuario, triplo.contexto, filial, ecf,
                         LeDiaDezesseisBits(dataInicial), LeDiaDezesseisBits(dataFinal), 'A');
          return true;
        },
        [&](CQMXRegistrosEFD& dialogo, int) {
          const std::string& produzido = dialogo.GetCaminhoArquivo();
          if (produzido.empty()) return QMX_BOOL{0};
          // The caller owns the copy and frees it with QMX_LiberaTexto (or
          // delete[], from C++ built with the same runtime).
          char* copia = new char[produzido.size() + 1];
          std::memcpy(copia, produzido.c_str(), produzido.size() + 1);
          *caminho = copia;
          return QMX_BOOL{1};
        });
  });
}

QMX_BOOL QMX_Movimentos(std::uint16_t dataInicial, std::uint16_t dataFinal, std::uint16_t ecf,
                        std::uint16_t filial, std::uint8_t automatico) {
  return Protegido("QMX_Movimentos", QMX_BOOL{1}, [&] {
    LancaDialogo<CQMXMovimentos>([&](CQMXMovimentos& dialogo, const TriploConexao& triplo) {
      return dialogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto,
                                LeDiaDezesseisBits(dataInicial), LeDiaDezesseisBits(dataFinal), ecf, filial,
                                automatico);
    });
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_BuscaHistorico(std::uint16_t data, std::uint16_t ecf, std::uint32_t numeroCupom) {
  return Protegido("QMX_BuscaHistorico", QMX_BOOL{1}, [&] {
    LancaDialogo<CQMXHistCliDlg>([&](CQMXHistCliDlg& dialogo, const TriploConexao& triplo) {
      return dialogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto, numeroCupom,
                                LeDiaDezesseisBits(data), ecf);
    });
    return QMX_BOOL{1};
  });
}


}  // extern "C"
