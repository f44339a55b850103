#include "plataforma/ui/HostUI.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "plataforma/arquivos/LeituraRegular.h"
#include "plataforma/processo/ProcessoComPipe.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/JanelasDoAmbiente.h"

namespace qmx::ui {
namespace {

HostUI* g_host = nullptr;

// The default host reads its script once, when first needed.
HostRoteirizado& HostPadrao() {
  static std::unique_ptr<HostRoteirizado> host = [] {
    auto novo = std::make_unique<HostRoteirizado>();
    if (const char* caminho = std::getenv("QMX_ROTEIRO"); caminho && *caminho) {
      // Only a regular file: a FIFO named here would hang the program. A
      // step the dialog cannot take cancels it: the program that wrote the
      // script learns it from the record, and nothing is done half-meant.
      novo->CarregaRoteiro(LeituraRegular::Le(caminho).value_or(std::string()));
      novo->ParaNoErro(true);
    }
    if (const char* registro = std::getenv("QMX_ROTEIRO_REGISTRO"); registro && *registro)
      novo->GravaRegistroEm(registro);
    // The command line asks for long work to be drawn on its terminal.
    if (const char* terminal = std::getenv("QMX_PROGRESSO_TERMINAL"); terminal && *terminal == '1')
      novo->DesenhaProgressoEm(2);
    return novo;
  }();
  return *host;
}

}  // namespace

HostUI::~HostUI() = default;

std::string HostUI::TituloPrograma() const {
  std::string nome = processo::CaminhoPrograma();
  nome.erase(0, nome.find_last_of("/\\") + 1);
  if (const auto ponto = nome.find_last_of('.'); ponto != std::string::npos && ponto > 0) nome.erase(ponto);
  // A program whose path cannot be read still gets a caption.
  return nome.empty() ? "QMXUTIL" : nome;
}

int RespostaPadrao(unsigned flags) {
  static constexpr int kBotoes[6][3] = {
      {IDOK, IDOK, IDOK},         {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL},    {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL}};
  const unsigned tipo = flags & 0xF;
  const unsigned padrao = (flags >> 8) & 0xF;
  if (tipo > 5) return IDOK;
  return kBotoes[tipo][padrao > 2 ? 0 : padrao];
}

bool RespostaValida(unsigned flags, int resposta) {
  switch (flags & 0xF) {
    case MB_OK: return resposta == IDOK;
    case MB_OKCANCEL: return resposta == IDOK || resposta == IDCANCEL;
    case MB_ABORTRETRYIGNORE: return resposta == IDABORT || resposta == IDRETRY || resposta == IDIGNORE;
    case MB_YESNOCANCEL: return resposta == IDYES || resposta == IDNO || resposta == IDCANCEL;
    case MB_YESNO: return resposta == IDYES || resposta == IDNO;
    case MB_RETRYCANCEL: return resposta == IDRETRY || resposta == IDCANCEL;
    default: return resposta == IDOK;
  }
}

HostUI& HostAtual() {
  if (g_host) return *g_host;
  // The windows the environment asks for are turned on once, when a host
  // is first needed and no program set one.
  static const bool janelas = AtivaJanelasDoAmbiente();
  if (janelas && g_host) return *g_host;
  return HostPadrao();
}

HostUI* DefineHost(HostUI* host) {
  HostUI* anterior = g_host;
  g_host = host;
  return anterior;
}

int CaixaMensagem(const std::string& texto, const std::string& titulo, unsigned flags) {
  HostUI& host = HostAtual();
  return host.MostraCaixa(texto, titulo.empty() ? host.TituloPrograma() : titulo, flags);
}

void AbreAjuda(const std::string& modulo) { HostAtual().AbreAjuda(modulo); }

bool ShiftPressionado() { return HostAtual().ShiftPressionado(); }

CWaitCursor::CWaitCursor() { HostAtual().CursorEspera(true); }

CWaitCursor::~CWaitCursor() { HostAtual().CursorEspera(false); }

}  // namespace qmx::ui
