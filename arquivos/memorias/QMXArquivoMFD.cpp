#include "arquivos/memorias/QMXArquivoMFD.h"

#include <cstdio>

#include "arquivos/RetornoImpressora.h"
#include "fisco/QMXFisco.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {
namespace {

// The date edits show two-digit years.
constexpr int kTipoData = 1;
// Both keys the printer layer takes are blank texts of this length.
constexpr std::size_t kTamanhoChave = 257;
// The Ato COTEPE file of this dialog is the layer's second generation.
constexpr int kGeracao = 1;

std::string COO(long valor) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%.6li", valor);
  return texto;
}

}  // namespace

bool CQMXArquivoMFD::ModeloGeraArquivo(const std::string& modelo) {
  std::string minusculo = modelo;
  for (char& c : minusculo)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const char* semArquivo : {"daruma", "epson", "elgin", "sweda"})
    if (minusculo.find(semArquivo) != std::string::npos) return false;
  return true;
}

bool CQMXArquivoMFD::OnInitDialog() {
  // Like the other MFD filter, the COO range starts at 1.
  PreparaIntervalo(CVerificacaoPeriodo::Regras::ArquivoMFD, kTipoData);
  return true;
}

void CQMXArquivoMFD::OnOK() {
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTituloArquivo, ui::CProgresso::Unidade::Bytes);
  if (!ModeloGeraArquivo(retorno_impressora::ModeloMinusculo())) {
    ui::CaixaMensagem("Função não suportada pelo modelo de ECF utilizado", "Torvo ECF - Leitura Memória Fiscal",
                      ui::MB_OK);
    EndDialog(ui::IDCANCEL);
    return;
  }

  // A printer that cannot tell its serial number would give a file of no
  // ECF's name; it is treated as a printer that cannot be read.
  const auto serie = retorno_impressora::NumeroSerie();
  if (!serie) return FalhaMemoriaFiscal();
  const std::string chave(kTamanhoChave, ' ');

  std::string tipo, inicial, final;
  if (IsDlgButtonChecked(IDC_POR_COO) == ui::BST_CHECKED) {
    tipo = "C";
    long coo = m_edCOOInicial.GetValor();
    inicial = COO(coo < 1 ? 1 : coo);
    final = COO(m_edCOOFinal.GetValor());
  } else {
    const NumeroDia dataInicial = m_edDataInicial.GetData();
    const NumeroDia dataFinal = m_edDataFinal.GetData();
    // Deliberate: a text that is no date is refused with a box of its own
    // before the printer is asked.
    if (dataInicial == 0 || dataFinal == 0) {
      ui::CaixaMensagem(dataInicial == 0 ? "Data Inicial inválida." : "Data Final inválida.", kTituloArquivo,
                        ui::MB_OK | ui::MB_ICONEXCLAMATION);
      return;
    }
    tipo = "D";
    inicial = retorno_impressora::SemBarras(ui::CZTEditData::TextoData(dataInicial, kTipoData));
    final = retorno_impressora::SemBarras(ui::CZTEditData::TextoData(dataFinal, kTipoData));
  }

  const auto pasta = retorno_impressora::PastaRetorno();
  if (!pasta) {
    mensagens::ZTMensagem(152, "EC");
    EndDialog(ui::IDCANCEL);
    return;
  }
  // The second generation of the layer leaves every "0" out of the name.
  std::string nome = retorno_impressora::NomeAtoCotepe(*serie, inicial, final);
  std::erase(nome, '0');
  const std::string local = *pasta + nome;

  if (!impressora::ArquivoMFD("", inicial.c_str(), final.c_str(), tipo.c_str(), "01", kGeracao, chave.c_str(),
                              chave.c_str(), 1))
    return FalhaMemoriaFiscal();

  // An unsigned file is never stored; a file that could not be stored stays
  // in the answer folder for another try. The stored file leaves the answer
  // folder before the operator is told where it is.
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  if (!retorno_impressora::AssinaRetorno(local, kTituloArquivo) || !envio.Envia(local, nome, kTituloArquivo)) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  retorno_impressora::ApagaSeExiste(local);
  envio.Avisa(nome, {kTituloArquivo, AvisoArquivoGerado::Forma::ArquivoMFD});
  EndDialog(ui::IDOK);
}

}  // namespace qmx
