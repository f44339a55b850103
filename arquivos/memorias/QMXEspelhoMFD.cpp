#include "arquivos/memorias/QMXEspelhoMFD.h"

#include <cstdlib>

#include "arquivos/RetornoImpressora.h"
#include "fisco/QMXFisco.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/RelogioBiblioteca.h"
#include "frame/TabelaSistemas.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {
namespace {

// Range texts are zero-padded to this width at least and cut to the
// longest text the printer layer takes.
constexpr std::size_t kLarguraMinima = 6;
constexpr std::size_t kLarguraMaxima = 10;

std::string Ajusta(std::string texto) {
  if (texto.size() < kLarguraMinima) texto.insert(0, kLarguraMinima - texto.size(), '0');
  return texto.substr(0, kLarguraMaxima);
}

// A folder of the registry with the separator its files are appended to.
std::string ComSeparador(std::string pasta) {
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
  return pasta;
}

// The installation folder of the point-of-sale system, where the work files
// lie. Without one they go to the temporary folder rather than to whatever
// folder the program runs in.
std::string PastaInstalacao() {
  std::string pasta;
  const SistemaZT* sistema = CTabelaSistemas::PorModulo("EC");
  if (sistema)
    impressora::GetInfRegHKey(impressora::HKEY::HKEY_LOCAL_MACHINE,
                              std::string("SOFTWARE\\ZT Redudeva\\") + sistema->titulo, "Path", &pasta);
  if (pasta.empty()) return ArquivoTemporario::Pasta().value_or("");
  return ComSeparador(pasta);
}

}  // namespace

bool CQMXEspelhoMFD::OnInitDialog() {
  PreparaIntervalo(CVerificacaoPeriodo::Regras::SemInicioSistema);
  return true;
}

void CQMXEspelhoMFD::OnOK() {
  if (ui::CaixaMensagem("Este processo fará o Download da Memória Fiscal.\nIsto poderá levar alguns minutos.\n\n"
                        "Deseja continuar com a operação?",
                        kTitulo, ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_SYSTEMMODAL) != ui::IDYES)
    return;
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);

  // A printer that cannot tell its serial number would give a file of no
  // ECF's name; it is treated as a printer that cannot be read.
  const auto serie = retorno_impressora::NumeroSerie();
  if (!serie) return FalhaMemoriaFiscal();
  const DiaMesAno hoje = DecodificaDia(CQMXRelogio::PegaDiaHoje());
  const std::string nome = "EspelhoMFD" + *serie + "-" + std::to_string(hoje.ano * 10000 + hoje.mes * 100 + hoje.dia) +
                           ".txt";

  char primeiroCOO[impressora::kTamanhoCOO] = {};
  char ultimoCOO[impressora::kTamanhoCOO] = {};
  if (!impressora::InicioFimCOOsMFD(primeiroCOO, ultimoCOO)) return FalhaMemoriaFiscal();

  Intervalo intervalo;
  if (!MontaIntervalo(std::strtol(ultimoCOO, nullptr, 10), intervalo)) return;

  std::string local;
  if (!GeraEspelho(*serie, intervalo, local)) return FalhaMemoriaFiscal();
  // A mirror that cannot be signed is not stored, and nothing is said.
  if (CQMXFisco().AssinarArquivo(local.c_str()))
    CQMXEnvioArquivo(m_triplo, Fonte()).EnviaEAvisa(local, nome, {kTitulo, AvisoArquivoGerado::Forma::EspelhoMFD});
  EndDialog(ui::IDOK);
}

bool CQMXEspelhoMFD::MontaIntervalo(long ultimoCOO, Intervalo& intervalo) {
  if (IsDlgButtonChecked(IDC_TOTAL) == ui::BST_CHECKED) {
    intervalo = {"0", "000001", Ajusta(std::to_string(ultimoCOO))};
    return true;
  }
  if (IsDlgButtonChecked(IDC_POR_COO) == ui::BST_CHECKED) {
    long inicial = m_edCOOInicial.GetValor();
    long final = m_edCOOFinal.GetValor();
    if (inicial < 1) inicial = 1;
    if (final > ultimoCOO) final = ultimoCOO;
    intervalo = {"2", Ajusta(std::to_string(inicial)), Ajusta(std::to_string(final))};
    return true;
  }
  // By period: the dates as the edits show them, without slashes. A text
  // that is no date is refused before the printer is asked.
  const NumeroDia inicial = m_edDataInicial.GetData();
  const NumeroDia final = m_edDataFinal.GetData();
  if (inicial == 0 || final == 0) {
    ui::CaixaMensagem(inicial == 0 ? "Data Inicial inválida." : "Data Final inválida.", kTitulo,
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  intervalo = {"1", Ajusta(retorno_impressora::SemBarras(ui::CZTEditData::TextoData(inicial, 0))),
               Ajusta(retorno_impressora::SemBarras(ui::CZTEditData::TextoData(final, 0)))};
  return true;
}

bool CQMXEspelhoMFD::GeraEspelho(const std::string& serie, const Intervalo& intervalo, std::string& local) {
  const std::string& inicial = intervalo.inicial;
  const std::string& final = intervalo.final;
  if (retorno_impressora::ModeloMinusculo().find("daruma") != std::string::npos) {
    // The Daruma driver downloads the whole type "0" request and answers in
    // "Retorno.txt" of its own folder.
    if (!impressora::DownloadMFD("DownloadMFD.txt", "0", inicial.c_str(), final.c_str(), "0")) return false;
    std::string pastaDaruma;
    impressora::GetInfRegHKey(impressora::HKEY::HKEY_LOCAL_MACHINE, "SOFTWARE\\Daruma\\ECF\\", "Path", &pastaDaruma);
    local = ComSeparador(pastaDaruma) + "Retorno.txt";
    return true;
  }
  const std::string pasta = PastaInstalacao();
  const std::string imagem = pasta + "EspelhoMFD" + serie + ".mfd";
  const std::string espelho = pasta + "EspelhoMFD" + serie + ".txt";
  char usuario[impressora::kTamanhoCOO] = {};
  impressora::NumeroSubstituicoesProprietario(usuario);
  if (!impressora::DownloadMFD(imagem.c_str(), intervalo.tipo.c_str(), inicial.c_str(), final.c_str(), usuario))
    return false;
  if (!impressora::FormatoDadosMFD(imagem.c_str(), espelho.c_str(), "0", intervalo.tipo.c_str(), inicial.c_str(),
                                   final.c_str(), usuario))
    return false;
  local = espelho;
  return true;
}

}  // namespace qmx
