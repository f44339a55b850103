#include "dialogos/QMXAutorizacao.h"


#include <algorithm>
#include <cstring>

#include "frame/CarimboCompilacao.h"
#include "frame/InstanciaServidor.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/ModuloRecursos.h"

namespace {

namespace com = qmx::com;
namespace ui = qmx::ui;

// Each check reports a fixed line, the one the support staff look these
// failures up by, whatever becomes of this file's layout.
constexpr int kLinhaAtivacao = 146;
constexpr int kLinhaAbertura = 159;
constexpr int kLinhaLogin = 100;
constexpr int kLinhaVinculos = 66;

// The server's connection to the company: the key cut to its field, the
// user code of no operator in particular and context 0.
constexpr std::uint16_t kUsuarioServidor = 65535;

template <std::size_t N>
void CopiaCampo(char (&destino)[N], const std::string& texto) {
  const std::size_t n = std::min(texto.size(), N - 1);
  std::memcpy(destino, texto.data(), n);
  std::memset(destino + n, 0, N - n);
}

}  // namespace

// The caller runs this dialog from its own resources: the library's
// templates are found through the chain it registers in when loaded.
CQMXAutorizacao::CQMXAutorizacao(ui::CDialogo* pai) : ui::CDialogo(IDD, pai) { ui::ModuloBiblioteca(); }

CQMXAutorizacao::~CQMXAutorizacao() { LiberaServidor(); }

void CQMXAutorizacao::SetEmpresa(const char* empresa) { m_strEmpresa = empresa ? empresa : ""; }

void CQMXAutorizacao::DoDataExchange(ui::CDataExchange* pDX) {
  ui::DDX_Control(pDX, IDC_SENHA, m_edSenha);
  ui::DDX_Control(pDX, IDC_USUARIO, m_edUsuario);
}

bool CQMXAutorizacao::OnInitDialog() {
  m_edUsuario.LimitText(kTamanhoCampo);
  m_edSenha.LimitText(kTamanhoCampo);

  LiberaServidor();
  qmx::dados::RegistraServidorUsuario();
  void* servidor = nullptr;
  const com::HRESULT ativado =
      qmx::InstanciaServidor(qmx::dados::kClasseServidorUsuario, nullptr, com::CLSCTX_ALL,
                             qmx::dados::IZTDF_AcessoUsuario::kIID, &servidor,
                             qmx::kInstanciaRegistraEventos | qmx::kInstanciaRepeteIndisponivel);
  if (com::FAILED(ativado) || !servidor) {
    Reporta(ativado, 267601, 0, kLinhaAtivacao);
    return false;
  }
  m_pServidor = static_cast<qmx::dados::IZTDF_AcessoUsuario*>(servidor);

  CopiaCampo(m_regConexao.Empresa, m_strEmpresa);
  m_regConexao.Usuario = kUsuarioServidor;
  m_regConexao.Contexto = 0;
  const com::HRESULT aberto = m_pServidor->Abre(m_regConexao);
  if (com::FAILED(aberto)) {
    LiberaServidor();
    Reporta(aberto, 267619, 6, kLinhaAbertura);
    return false;
  }
  m_edUsuario.SetFocus();
  return true;
}

void CQMXAutorizacao::OnOK() {
  // Without a server (its failure was reported) there is nobody to ask:
  // the dialog ends as cancelled rather than leave the operator stuck.
  if (!m_pServidor) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  REG_LOGIN_USUARIOPS login{};
  CopiaCampo(login.Usuario, m_edUsuario.GetWindowText());
  std::string senha = m_edSenha.GetWindowText();
  CopiaCampo(login.Senha, senha);
  qmx::cripto::LimpaMemoria(senha.data(), senha.size());

  std::uint16_t usuario = 0;
  std::int32_t naoUsado = 0;
  const com::HRESULT resultado = m_pServidor->Login(login, &usuario, &naoUsado, 0);
  qmx::cripto::LimpaMemoria(&login, sizeof login);
  if (com::FAILED(resultado)) {
    LiberaServidor();
    Reporta(resultado, 267627, 4, kLinhaLogin);
    return;
  }
  if (usuario == 0) return RecusaTentativa(1529);
  if (UsuarioTemVinculoComFilial(usuario) != 1) return RecusaTentativa(5535);
  m_bAutorizado = true;
  m_nUsuario = usuario;
  LiberaServidor();
  EndDialog(ui::IDOK);
}

void CQMXAutorizacao::OnCancel() {
  LiberaServidor();
  ui::CDialogo::OnCancel();
}

void CQMXAutorizacao::OnClose() {
  LiberaServidor();
  ui::CDialogo::OnClose();
}

bool CQMXAutorizacao::OnHelpInfo(ui::HELPINFO*) {
  ui::AbreAjuda("EC");
  return true;
}

void CQMXAutorizacao::OnHelp() {
  ui::HELPINFO ajuda{FocoAtual()};
  OnHelpInfo(&ajuda);
}

int CQMXAutorizacao::UsuarioTemVinculoComFilial(std::uint16_t usuario) {
  if (!m_pServidor) return 0;
  REG_VINCULO_FILIAISPS vinculos{};
  const com::HRESULT resultado = m_pServidor->VinculosFiliais(usuario, &vinculos);
  if (com::FAILED(resultado)) {
    LiberaServidor();
    Reporta(resultado, 224693, 7, kLinhaVinculos);
    return 0;
  }
  return std::any_of(std::begin(vinculos.Filiais), std::end(vinculos.Filiais), [](std::uint8_t m) { return m != 0; })
             ? 1
             : 0;
}

void CQMXAutorizacao::LiberaServidor() {
  if (m_pServidor) m_pServidor->Release();
  m_pServidor = nullptr;
}

void CQMXAutorizacao::Reporta(std::int32_t resultado, std::uint32_t mensagem, std::uint32_t detalhe,
                              int linha) const {
  qmx::mensagens::ZTTrataErro2(resultado, mensagem, detalhe, m_strEmpresa, "QMXAutorizacao", linha,
                               QMX_CARIMBO_COMPILACAO);
}

// A name, password or user that is not accepted: the catalogue's message,
// and the operator starts again from the name.
void CQMXAutorizacao::RecusaTentativa(std::uint32_t mensagem) {
  qmx::mensagens::ZTMensagem(mensagem, "DF");
  m_edUsuario.SetFocus();
}
