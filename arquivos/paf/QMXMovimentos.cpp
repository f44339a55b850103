#include "arquivos/paf/QMXMovimentos.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/FalhaArquivo.h"
#include "arquivos/paf/GeradorMovimentos.h"
#include "fisco/QMXFisco.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

bool CQMXMovimentos::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                std::int32_t contexto, NumeroDia dataInicial,
                                NumeroDia dataFinal, std::uint16_t ecf, std::uint16_t filial,
                                std::uint8_t automatico) {
  CQMXFiltroArquivo::Inicializa(chaveEmpresa, usuario, contexto);
  m_nDataInicial = dataInicial;
  m_nDataFinal = dataFinal;
  m_nEcf = ecf;
  m_nFilial = filial;
  m_bAutomatico = automatico != 0;
  return true;
}

bool CQMXMovimentos::OnInitDialog() {
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, IDC_EMISSORA, IDC_NOME_EMISSORA);
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::InicioSistema,
                 CVerificacaoPeriodo::Regras::ComInicioSistema);
  // Automatic: the filter came with the call, nobody fills the dialog in.
  if (m_bAutomatico) OnOK();
  return true;
}

void CQMXMovimentos::OnKillFocus(int idControle) {
  CQMXFiltroArquivo::OnKillFocus(idControle);
  if (idControle == IDC_FILIAL && !m_triplo.chaveEmpresa.empty() && m_edFilial.GetFilial() == 0) {
    ui::CaixaMensagem("Selecione apenas uma Filial", "Torvo ECF - Arquivo Eletrônico", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    GotoDlgCtrl(IDC_FILIAL);
  }
}

void CQMXMovimentos::OnOK() {
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  movimentos::DadosMovimentos d;
  d.triplo = m_triplo;
  std::uint16_t filial = m_nFilial, ecf = m_nEcf;
  if (m_bAutomatico) {
    d.dataInicial = m_nDataInicial;
    d.dataFinal = m_nDataFinal;
  } else {
    filial = m_edFilial.GetFilial();
    d.dataInicial = m_edDataInicial.GetData();
    d.dataFinal = m_edDataFinal.GetData();
  }
  if (filial == 0) {
    ui::CaixaMensagem("Selecione apenas uma Filial", "Torvo ECF - Arquivo Eletrônico", ui::MB_OK | ui::MB_ICONEXCLAMATION);
    if (m_bAutomatico) EndDialog(ui::IDCANCEL);
    else GotoDlgCtrl(IDC_FILIAL);
    return;
  }
  if (m_ecfPorFilial && !FilialHabilitadaParaECF(filial)) return;
  // A missing or reversed period, or an ECF that does not exist or is of
  // another branch, makes no file (a file of blanks would be signed), in
  // automatic runs too.
  if (!ConfirmaPeriodo(d.dataInicial, d.dataFinal, kTitulo)) {
    if (m_bAutomatico) EndDialog(ui::IDCANCEL);
    return;
  }
  if (!m_bAutomatico) {
    const auto digitado = EmissoraDoEdit(filial, kTitulo);
    if (!digitado) return;
    ecf = *digitado;
  }
  if (ecf == 0) {
    ui::CaixaMensagem("Selecione um ECF", kTitulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    if (m_bAutomatico) EndDialog(ui::IDCANCEL);
    return;
  }
  if (!ConfirmaEmissora(filial, ecf, kTitulo)) {
    if (m_bAutomatico) EndDialog(ui::IDCANCEL);
    return;
  }
  m_generica.LeEmissora(ecf, &d.emissora, &d.aliquotas);
  wchar_t* razao = nullptr;
  m_generica.LeFilial(filial, &d.filial, &razao);
  dados::LiberaTextoLargo(razao);
  m_generica.LeMestre(&d.mestre);
  char versao[20], data[20], hora[20], caixa[impressora::kTamanhoNumeroCaixa];
  if (impressora::VerificaInformacoesSB(versao, data, hora)) d.software = {versao, data, hora, {}};
  if (impressora::NumeroCaixa(caixa)) d.software.numeroCaixa = caixa;
  char md5[33] = {};
  CQMXFisco(m_triplo.chaveEmpresa.c_str(), m_triplo.usuario, m_triplo.contexto).GerarListaArquivos(md5, false, filial);
  d.md5Lista = md5;

  CQMXEnvioArquivo envio(m_triplo, Fonte());
  bool gerado = false;
  try {
    gerado = envio.EscreveEEnvia(movimentos::NomeArquivoMovimentos(d.emissora, d.dataFinal),
                                 [&](CArquivoTexto& saida) { movimentos::EscreveMovimentos(d, saida); },
                                 {kTitulo, AvisoArquivoGerado::Forma::Padrao});
  } catch (const CErroDadosArquivo& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, Fonte(), erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
  } catch (const CExcecaoArquivo& falha) {
    // The temporary file could not be written: nothing was signed or
    // stored.
    AvisaFalhaArquivo(kTitulo, falha);
  }
  if (gerado) EndDialog(ui::IDOK);
  else if (m_bAutomatico) EndDialog(ui::IDCANCEL);
}

}  // namespace qmx
