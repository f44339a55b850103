#include "arquivos/memorias/QMXLeituraMemoriaFiscal.h"

#include <cstdio>

#include "arquivos/RetornoImpressora.h"
#include "fisco/QMXFisco.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {
namespace {

// Digits of a Z-reduction counter in its edit.
constexpr int kDigitosReducao = 4;
// The longest range texts the printer layer takes: a date with its slashes,
// a Z-reduction counter.
constexpr std::size_t kTamanhoData = 10;
constexpr std::size_t kTamanhoReducao = 8;

}  // namespace

bool CQMXLeituraMemoriaFiscal::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                          std::int32_t contexto, const std::string& tipo) {
  CQMXFiltroArquivo::Inicializa(chaveEmpresa, usuario, contexto);
  m_strTipo = tipo;
  return true;
}

bool CQMXLeituraMemoriaFiscal::OnInitDialog() {
  if (m_strTipo == "c") {
    SetWindowText("Leitura Memória Fiscal Completa");
    m_strEtiqueta = "LMFCompleta";
  } else if (m_strTipo == "s") {
    SetWindowText("Leitura Memória Fiscal Simplificada");
    m_strEtiqueta = "LMFSimplificada";
  }

  if (!m_triplo.chaveEmpresa.empty()) LeControleECFPorFilial();

  m_edReducaoInicial.SubclassDlgItem(IDC_REDUCAO_INICIAL, this, kDigitosReducao);
  m_edReducaoFinal.SubclassDlgItem(IDC_REDUCAO_FINAL, this, kDigitosReducao);
  m_edReducaoInicial.SetValor(1);
  m_edReducaoFinal.SetValor(1);
  const NumeroDia hoje = CQMXRelogio::PegaDiaHoje();
  m_edCotepeInicial.SubclassDlgItem(IDC_COTEPE_INICIAL, this);
  m_edCotepeFinal.SubclassDlgItem(IDC_COTEPE_FINAL, this);
  m_edCotepeInicial.SetData(hoje);
  m_edCotepeFinal.SetData(hoje);
  m_periodoCotepe.Configura(this, &m_edCotepeInicial, &m_edCotepeFinal, CVerificacaoPeriodo::Regras::SemInicioSistema);

  CheckDlgButton(IDC_POR_PERIODO, ui::BST_CHECKED);
  CheckDlgButton(IDC_POR_REDUCAO, ui::BST_UNCHECKED);
  CheckDlgButton(IDC_ATO_COTEPE, ui::BST_UNCHECKED);
  AtualizaHabilitacao();
  // Last, so that the first date edit ends with the focus.
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::SemInicioSistema);
  return true;
}

int CQMXLeituraMemoriaFiscal::TipoEscolhido() const {
  // The export check box sits between the radio ids, so the buttons are
  // named one by one rather than as a range of ids.
  if (IsDlgButtonChecked(IDC_POR_PERIODO) == ui::BST_CHECKED) return PorPeriodo;
  if (IsDlgButtonChecked(IDC_POR_REDUCAO) == ui::BST_CHECKED) return PorReducao;
  if (IsDlgButtonChecked(IDC_ATO_COTEPE) == ui::BST_CHECKED) return AtoCotepe;
  return -1;
}

void CQMXLeituraMemoriaFiscal::AtualizaHabilitacao() {
  const int tipo = TipoEscolhido();
  GetDlgItem(IDC_DATA_INICIAL).EnableWindow(tipo == PorPeriodo);
  GetDlgItem(IDC_DATA_FINAL).EnableWindow(tipo == PorPeriodo);
  GetDlgItem(IDC_REDUCAO_INICIAL).EnableWindow(tipo == PorReducao);
  GetDlgItem(IDC_REDUCAO_FINAL).EnableWindow(tipo == PorReducao);
  GetDlgItem(IDC_COTEPE_INICIAL).EnableWindow(tipo == AtoCotepe);
  GetDlgItem(IDC_COTEPE_FINAL).EnableWindow(tipo == AtoCotepe);
  GetDlgItem(IDC_EXPORTA).EnableWindow(tipo != AtoCotepe);
}

void CQMXLeituraMemoriaFiscal::OnIdle() { AtualizaHabilitacao(); }

bool CQMXLeituraMemoriaFiscal::OnCommand(int id, int notificacao) {
  if (notificacao == ui::BN_CLICKED && (id == IDC_POR_PERIODO || id == IDC_POR_REDUCAO || id == IDC_ATO_COTEPE)) {
    // The Ato COTEPE reading is always a file; the other two start printed.
    CheckDlgButton(IDC_EXPORTA, id == IDC_ATO_COTEPE ? ui::BST_CHECKED : ui::BST_UNCHECKED);
    AtualizaHabilitacao();
    return true;
  }
  if (notificacao == ui::EN_CHANGE && id == IDC_REDUCAO_INICIAL) {
    m_edReducaoInicial.AoMudar();
    return true;
  }
  if (notificacao == ui::EN_CHANGE && id == IDC_REDUCAO_FINAL) {
    m_edReducaoFinal.AoMudar();
    return true;
  }
  return false;
}

void CQMXLeituraMemoriaFiscal::OnKillFocus(int idControle) {
  CQMXFiltroArquivo::OnKillFocus(idControle);
  if (idControle == IDC_COTEPE_INICIAL || idControle == IDC_COTEPE_FINAL)
    m_periodoCotepe.AoPerderFoco(idControle, CQMXRelogio::PegaDiaHoje());
}

void CQMXLeituraMemoriaFiscal::Aviso(const std::string& texto) const {
  ui::CaixaMensagem(texto, kTitulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

void CQMXLeituraMemoriaFiscal::OnOK() {
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  if (m_ecfPorFilial && !ConfirmaECFDaFilial()) return;
  const int tipo = TipoEscolhido();
  if (!Valida(tipo)) return;
  if (tipo == AtoCotepe) GeraAtoCotepe();
  else LeMemoria(tipo);
}

// The connected printer must be one of the company's ECFs, and its branch
// enabled for ECF use. These are not mistakes the operator can mend in the
// dialog: each failure closes it with Cancel.
bool CQMXLeituraMemoriaFiscal::ConfirmaECFDaFilial() {
  const std::int32_t ecf = m_generica.PegaECFAtivo();
  if (ecf < 1) {
    mensagens::ZTMensagem(122, "EC");
    EndDialog(ui::IDCANCEL);
    return false;
  }
  REG_EMISSORPS emissora{};
  dados::CConexaoEmissora emissoras;
  com::HRESULT resultado = emissoras.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::SUCCEEDED(resultado)) resultado = emissoras.Le(static_cast<std::uint16_t>(ecf), &emissora);
  emissoras.Finaliza();
  if (com::FAILED(resultado)) {
    mensagens::ZTMensagem(238, "EC");
    EndDialog(ui::IDCANCEL);
    return false;
  }
  if (FilialHabilitadaParaECF(emissora.Filial)) return true;
  EndDialog(ui::IDCANCEL);  // message 162 or 161; 161 has closed it already
  return false;
}

bool CQMXLeituraMemoriaFiscal::Valida(int tipo) {
  if (tipo < PorPeriodo || tipo > AtoCotepe) {
    Aviso("Tipo de leitura de MFD selecionado é inválido.");
    return false;
  }
  const std::string rotulo = tipo == PorReducao ? "Redução" : "Data";
  std::uint32_t inicial = 0, final = 0;
  if (tipo == PorReducao) {
    inicial = m_edReducaoInicial.GetValor();
    final = m_edReducaoFinal.GetValor();
  } else {
    const ui::CZTEditData& edInicial = tipo == PorPeriodo ? m_edDataInicial : m_edCotepeInicial;
    const ui::CZTEditData& edFinal = tipo == PorPeriodo ? m_edDataFinal : m_edCotepeFinal;
    inicial = static_cast<std::uint32_t>(edInicial.GetData());
    final = static_cast<std::uint32_t>(edFinal.GetData());
    // Deliberate, beyond the reading's own checks: an edit that holds no
    // date can be neither compared nor sent to the printer, so it is
    // refused with a box of its own.
    if (inicial == 0) {
      Aviso("Data Inicial inválida.");
      return false;
    }
    if (final == 0) {
      Aviso("Data Final inválida.");
      return false;
    }
  }
  if (final < inicial) {
    Aviso(rotulo + " Inicial maior do que a " + rotulo + " Final.");
    return false;
  }
  if (tipo == PorReducao) {
    if (inicial == 0) {
      Aviso("Redução Inicial deve ser maior do que zero.");
      return false;
    }
    if (final == 0) {
      Aviso("Redução Final deve ser maior do que zero.");
      return false;
    }
    return true;
  }
  const auto hoje = static_cast<std::uint32_t>(CQMXRelogio::PegaDiaHoje());
  if (inicial > hoje) {
    Aviso("Data Inicial maior que a data atual.");
    return false;
  }
  if (final > hoje) {
    Aviso("Data Final maior que a data atual.");
    return false;
  }
  return true;
}

// The fiscal memory in the Ato COTEPE 17/04 layout: the printer layer writes it into its answer
// folder under the serial number and the two dates; it is signed there,
// stored and then removed.
void CQMXLeituraMemoriaFiscal::GeraAtoCotepe() {
  const std::string inicial = DataInvertida(m_edCotepeInicial.GetData(), false);
  const std::string final = DataInvertida(m_edCotepeFinal.GetData(), false);
  const auto serie = retorno_impressora::NumeroSerie();
  const std::string nome = retorno_impressora::NomeAtoCotepe(serie.value_or(""), inicial, final);
  // The fiscal memory, not the detail memory's documents. The printer's
  // answer is not examined: a file it did not write shows up when signing
  // it fails.
  impressora::ArquivoMF(inicial.c_str(), final.c_str(), "D", "01");

  const auto pasta = retorno_impressora::PastaRetorno();
  if (!pasta) {
    Aviso("Não foi possível ler caminho do arquivo de retorno.");
    EndDialog(ui::IDCANCEL);
    return;
  }
  const std::string local = *pasta + nome;
  bool semEspaco = false;
  if (!retorno_impressora::AssinaRetorno(local, kTitulo, &semEspaco)) {
    // Not for want of room (that box was shown): the printer wrote nothing.
    if (!semEspaco) Aviso("Não foi possível localizar o retorno da impressora");
    EndDialog(ui::IDCANCEL);
    return;
  }
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  if (!envio.EnviaEAvisa(local, nome, {kTitulo, AvisoArquivoGerado::Forma::Padrao})) {
    EndDialog(ui::IDCANCEL);  // the signed file stays for another try
    return;
  }
  retorno_impressora::ApagaSeExiste(local);
  EndDialog(ui::IDOK);
}

// By period or by Z reductions: printed, or written by the printer layer to
// its answer file, which is then signed and stored under a name of its own.
void CQMXLeituraMemoriaFiscal::LeMemoria(int tipo) {
  std::string inicial, final;
  if (tipo == PorPeriodo) {
    inicial = ui::CZTEditData::TextoData(m_edDataInicial.GetData(), 0).substr(0, kTamanhoData);
    final = ui::CZTEditData::TextoData(m_edDataFinal.GetData(), 0).substr(0, kTamanhoData);
  } else {
    inicial = m_edReducaoInicial.GetTexto().substr(0, kTamanhoReducao);
    final = m_edReducaoFinal.GetTexto().substr(0, kTamanhoReducao);
  }
  const bool exporta = IsDlgButtonChecked(IDC_EXPORTA) == ui::BST_CHECKED;
  // The answer file has one name whatever the reading: an earlier one goes
  // before the printer is asked, so that a reading the printer could not
  // write never passes an earlier one off as its own.
  std::string arquivoRetorno;
  if (exporta && impressora::PegaPathArqRetorno(&arquivoRetorno)) retorno_impressora::ApagaSeExiste(arquivoRetorno);
  // The reading's own answer is not looked at: a printer that failed shows
  // up as a missing or unsigned file.
  if (tipo == PorPeriodo)
    impressora::LeituraMemoriaFiscalData(inicial.c_str(), final.c_str(), exporta, m_strTipo.c_str());
  else
    impressora::LeituraMemoriaFiscalReducao(inicial.c_str(), final.c_str(), exporta, m_strTipo.c_str());
  if (!exporta) {
    EndDialog(ui::IDOK);
    return;
  }

  // Path lookups and signatures that fail end the reading without a word
  // (a full disk excepted, which has its box); the answer file stays where
  // the printer left it.
  const auto serie = retorno_impressora::NumeroSerie();
  if (!serie || !impressora::PegaPathArqRetorno(&arquivoRetorno) ||
      !retorno_impressora::AssinaRetorno(arquivoRetorno, kTitulo)) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  const std::string nome = m_strEtiqueta + retorno_impressora::SemBarras(inicial) +
                           retorno_impressora::SemBarras(final) + *serie + ".txt";
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  EndDialog(envio.EnviaEAvisa(arquivoRetorno, nome, {kTitulo, AvisoArquivoGerado::Forma::Padrao}) ? ui::IDOK
                                                                                                 : ui::IDCANCEL);
}

}  // namespace qmx
