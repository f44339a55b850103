// Exports that set the library context, the ECF selection and the
// description of logged printer operations.
#include "frame/ContextoBiblioteca.h"
#include "frame/ECFAtivo.h"
#include "frame/LancaDialogo.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXLogCOO.h"
#include "frame/QMXSelFilialECFDlg.h"
#include "frame/QMXUTIL.h"

using namespace qmx;

extern "C" {

QMX_BOOL QMX_Inicializa(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  return Protegido("QMX_Inicializa", QMX_BOOL{1}, [&] {
    auto& triplo = Contexto().triplo;
    triplo.chaveEmpresa = TextoDoChamador(chaveEmpresa);
    triplo.usuario = usuario;
    triplo.contexto = contexto;
    return QMX_BOOL{1};
  });
}

// The context survives: the caller may go on using the library.
QMX_BOOL QMX_Finaliza() { return 1; }

QMX_BOOL QMX_SetFilial(std::int32_t filial, std::uint8_t flag, const char* titulo) {
  return Protegido("QMX_SetFilial", QMX_BOOL{1}, [&] {
    auto& contexto = Contexto();
    contexto.filialSelecao = filial;
    contexto.flagSelecao = flag;
    contexto.tituloSelecao = titulo;
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_SetDiretorio(const char* diretorio) {
  return Protegido("QMX_SetDiretorio", QMX_BOOL{1}, [&] {
    Contexto().diretorioSaida = TextoDoChamador(diretorio);
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_GetEmissora(std::uint16_t* ecf) {
  return Protegido("QMX_GetEmissora", QMX_BOOL{1}, [&] {
    LancaDialogo<CQMXSelFilialECFDlg>(
        [](CQMXSelFilialECFDlg& dialogo, const TriploConexao& triplo) {
          const auto& contexto = Contexto();
          dialogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto);
          return dialogo.Inicializa(static_cast<std::uint16_t>(contexto.filialSelecao),
                                    contexto.flagSelecao, contexto.tituloSelecao);
        },
        [&](CQMXSelFilialECFDlg& dialogo, int resultado) {
          if (resultado != 0 && ecf) *ecf = dialogo.GetECFSelecionado();
          return resultado;
        });
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_PegaECFAtivo(std::int32_t* posicao) {
  return Protegido("QMX_PegaECFAtivo", QMX_BOOL{1}, [&] {
    int encontrada = -1;
    PegaECFAtivo(encontrada);
    if (posicao) *posicao = encontrada;
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_DescricaoUltimoCOO(std::uint8_t codigo, const char** descricao) {
  return Protegido("QMX_DescricaoUltimoCOO", QMX_BOOL{0}, [&] {
    CQMXLogCOO log;
    return static_cast<QMX_BOOL>(log.Descricao(codigo, descricao) ? 1 : 0);
  });
}

}  // extern "C"

// A fault on the way (a host that fails, a broken script line) leaves -1,
// the answer for "no ECF found", and never reaches the caller.
bool PegaECFAtivo(int& posicao) {
  posicao = -1;
  return Protegido("PegaECFAtivo", true, [&] {
    posicao = PosicaoECFAtivo(CopiaTriplo());
    return true;
  });
}
