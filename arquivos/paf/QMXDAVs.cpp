#include "arquivos/paf/QMXDAVs.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/FalhaArquivo.h"
#include "arquivos/paf/GeradorDAVs.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/impressora/RelatorioGerencial.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

bool CQMXDAVs::OnInitDialog() {
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, IDC_EMISSORA, IDC_NOME_EMISSORA);
  CheckRadioButton(IDC_RELATORIO, IDC_ARQUIVO, IDC_RELATORIO);
  // Last, so that the first date edit ends with the focus.
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::InicioSistema,
                 CVerificacaoPeriodo::Regras::ComInicioSistema);
  return true;
}

void CQMXDAVs::OnOK() {
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTituloArquivo, ui::CProgresso::Unidade::Bytes);
  if (!ConfirmaFilialEmissora(kTituloFiltro)) return;
  const NumeroDia inicial = m_edDataInicial.GetData();
  const NumeroDia final = m_edDataFinal.GetData();
  if (IsDlgButtonChecked(IDC_ARQUIVO) == ui::BST_CHECKED) GeraArquivo(inicial, final);
  else ImprimeRelatorio(inicial, final);
}

void CQMXDAVs::ReportaFalhaDados(const CErroDadosArquivo& erro) const {
  mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, "QMXDAVs", erro.Linha(),
                          QMX_CARIMBO_COMPILACAO);
}

// Without a DAV in the period nothing is printed and the dialog stays open
// for another period.
void CQMXDAVs::ImprimeRelatorio(NumeroDia dataInicial, NumeroDia dataFinal) {
  std::vector<REG_DAVPS> davs;
  try {
    davs = dav::CGeradorDAVs(m_triplo).ListaDAVs(m_regEmissora.Numero, dataInicial, dataFinal);
  } catch (const CErroDadosArquivo& erro) {
    ReportaFalhaDados(erro);
    return;
  }
  if (davs.empty()) {
    ui::CaixaMensagem("Não existem DAVs a serem impressos", "DAVs Emitidos", ui::MB_OK | ui::MB_ICONINFORMATION);
    return;
  }
  impressora::ImprimeRelatorioGerencial("DAV EMITIDOS", dav::CGeradorDAVs::PecasRelatorio(davs, dataInicial, dataFinal));
  EndDialog(ui::IDOK);
}

// The file is written as it is read, signed and stored; once stored, its
// temporary file stays in the temporary folder, as the point of sale
// expects of this file (an unsigned or unstored one is removed).
// A temporary file that cannot be made closes the dialog without a word; a
// failed data-server call is reported and the dialog stays open.
void CQMXDAVs::GeraArquivo(NumeroDia dataInicial, NumeroDia dataFinal) {
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  CSaidaTemporaria saida;
  if (!saida.Cria()) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  try {
    dav::CGeradorDAVs(m_triplo).EscreveArquivo(m_regFilial, m_razaoSocial, m_regEmissora, dataInicial, dataFinal,
                                               saida);
    saida.Fecha();
  } catch (const CErroDadosArquivo& erro) {
    ReportaFalhaDados(erro);
    return;
  } catch (const CExcecaoArquivo& falha) {
    AvisaFalhaArquivo(kTituloArquivo, saida.Caminho(), CausaDaFalha(falha));
    EndDialog(ui::IDCANCEL);
    return;
  }
  const std::string nome = dav::CGeradorDAVs::NomeArquivo(m_regEmissora.NumeroSerie, dataInicial, dataFinal);
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  const bool enviado = envio.AssinaEEnvia(saida.Caminho(), nome, {kTituloArquivo, AvisoArquivoGerado::Forma::DAV});
  if (enviado) saida.Mantem();
  EndDialog(enviado ? ui::IDOK : ui::IDCANCEL);
}

}  // namespace qmx
