#include "arquivos/QMXFiltroArquivo.h"

#include "frame/CarimboCompilacao.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/dados/ConexaoECF.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/dados/ZTDadosInicializacao.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {
namespace {

// The point-of-sale system's number in the initialisation data.
constexpr std::uint16_t kSistemaPontoVenda = 19;

}  // namespace

bool CQMXFiltroArquivo::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_triplo = {chaveEmpresa, usuario, contexto};
  m_generica.Inicializa(chaveEmpresa.c_str(), usuario, contexto);
  return true;
}

void CQMXFiltroArquivo::PreparaPeriodo(int idInicial, int idFinal, InicioPeriodo inicio,
                                       CVerificacaoPeriodo::Regras regras, int tipoData) {
  m_edDataInicial.SubclassDlgItem(idInicial, this, tipoData);
  m_edDataFinal.SubclassDlgItem(idFinal, this, tipoData);
  const NumeroDia hoje = CQMXRelogio::PegaDiaHoje();
  if (regras == CVerificacaoPeriodo::Regras::ComInicioSistema || regras == CVerificacaoPeriodo::Regras::VendaPeriodo ||
      inicio == InicioPeriodo::InicioSistema)
    m_generica.LeMestre(&m_mestre);
  m_edDataFinal.SetData(hoje);
  m_edDataInicial.SetData(inicio == InicioPeriodo::InicioSistema ? m_mestre.DataInicioSistema : hoje);
  m_periodo.Configura(this, &m_edDataInicial, &m_edDataFinal, regras);
  m_periodo.SetInicioSistema(m_mestre.DataInicioSistema);
  GotoDlgCtrl(idInicial);
}

void CQMXFiltroArquivo::PreparaFilialEmissora(int idFilial, int idRotuloFilial, int idEmissora,
                                              int idRotuloEmissora, bool filialZeroComoTodas) {
  m_idFilial = idFilial;
  m_idEmissora = idEmissora;
  if (m_idEmissora != 0) GetDlgItem(m_idEmissora).EnableWindow(false);
  if (m_triplo.chaveEmpresa.empty()) return;

  LeControleECFPorFilial();
  ContaFiliaisPermitidas();
  m_edFilial.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  m_edFilial.SubclassDlgItem(idFilial, this);
  m_edFilial.SetLabel(idRotuloFilial);
  m_edFilial.SetFilialZeroComoTodas(filialZeroComoTodas);
  m_edFilial.CriaLink();
  if (m_idEmissora != 0) {
    m_edEmissora.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
    m_edEmissora.SubclassDlgItem(idEmissora, this);
    m_edEmissora.SetLabel(idRotuloEmissora);
    m_edEmissora.CriaLink();
  }
  if (m_filiaisLegiveis <= 1) {
    m_edFilial.SetFilial(m_primeiraFilial);
    if (m_idEmissora != 0) {
      m_edEmissora.SetFilial(m_primeiraFilial);
      GetDlgItem(m_idEmissora).EnableWindow(true);
    }
  }
}

void CQMXFiltroArquivo::LeControleECFPorFilial() {
  dados::CZTDadosInicializacao inicializacao;
  inicializacao.BuscaDados(dados::CZTParametroInicializacao(m_triplo.chaveEmpresa, m_triplo.usuario,
                                                            m_triplo.contexto, kSistemaPontoVenda));
  m_ecfPorFilial = inicializacao.GetTipoSistemas()[dados::QMX_TIPO_ECF_POR_FILIAL] == 1;
  if (!m_ecfPorFilial) return;
  dados::CConexaoECF ecf;
  const com::HRESULT resultado = ecf.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::FAILED(resultado))
    mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, m_fonte, __LINE__,
                            QMX_CARIMBO_COMPILACAO);
}

// The operator's record holds one mark per branch; every permitted branch
// that can be read counts.
void CQMXFiltroArquivo::ContaFiliaisPermitidas() {
  m_filiaisLegiveis = 0;
  m_primeiraFilial = 0;
  dados::CConexaoUsuario usuarios;
  dados::CConexaoFilial filiais;
  if (com::FAILED(usuarios.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto)) ||
      com::FAILED(filiais.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto, false)))
    return;
  REG_USUARIOPS usuario{};
  if (com::FAILED(usuarios.Le(m_triplo.usuario, &usuario))) return;
  for (std::uint16_t filial = 1; filial <= 999; ++filial) {
    if (usuario.Filiais[filial] == 0) continue;
    REG_FILIALPS registro{};
    if (com::FAILED(filiais.Le(filial, &registro))) continue;
    if (m_filiaisLegiveis++ == 0) m_primeiraFilial = filial;
  }
}

void CQMXFiltroArquivo::AoMudarFilial() {
  if (m_idEmissora == 0 || m_triplo.chaveEmpresa.empty()) return;
  const std::uint16_t filial = m_edFilial.GetFilial();
  m_edEmissora.SetFilial(filial);
  GetDlgItem(m_idEmissora).EnableWindow(filial >= 1);
  if (filial >= 1) GotoDlgCtrl(m_idEmissora);
}

void CQMXFiltroArquivo::OnKillFocus(int idControle) {
  if (idControle != 0 && idControle == m_idFilial) {
    // With Shift held the ECF edit keeps its binding.
    if (!ui::ShiftPressionado()) AoMudarFilial();
    return;
  }
  if (idControle == m_edDataInicial.Id() || idControle == m_edDataFinal.Id())
    m_periodo.AoPerderFoco(idControle, CQMXRelogio::PegaDiaHoje());
}

bool CQMXFiltroArquivo::ConfirmaFilialEmissora(const std::string& tituloArquivo) {
  const std::uint16_t filial = m_idFilial != 0 ? m_edFilial.GetFilial() : 0;
  wchar_t* razao = nullptr;
  m_generica.LeFilial(filial, &m_regFilial, &razao);
  m_razaoSocial = dados::DeTextoLargo(razao);
  dados::LiberaTextoLargo(razao);
  const std::uint16_t ecf = m_idEmissora != 0 ? m_edEmissora.GetEmissora() : 0;
  if (ecf != 0) m_generica.LeEmissora(ecf, &m_regEmissora);

  if (m_ecfPorFilial && !FilialHabilitadaParaECF(filial)) return false;
  if (m_idEmissora != 0 && ecf == 0) {
    ui::CaixaMensagem("Selecione um ECF", tituloArquivo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

bool CQMXFiltroArquivo::ConfirmaPeriodo(NumeroDia inicial, NumeroDia final, const std::string& titulo) {
  if (inicial == 0 || final == 0) {
    ui::CaixaMensagem(inicial == 0 ? "Data Inicial inválida." : "Data Final inválida.", titulo,
                      ui::MB_OK | ui::MB_ICONEXCLAMATION);
    const int id = inicial == 0 ? m_edDataInicial.Id() : m_edDataFinal.Id();
    if (id != 0) GotoDlgCtrl(id);
    return false;
  }
  if (final < inicial) {
    mensagens::ZTMensagem(110, "EC");
    return false;
  }
  return true;
}

bool CQMXFiltroArquivo::ConfirmaEmissora(std::uint16_t filial, std::uint16_t ecf, const std::string& titulo,
                                         REG_EMISSORPS* registro) {
  REG_EMISSORPS lida{};
  if (ecf != 0) {
    // A server that fails is reported as such: the ECF is not known to be
    // missing, and no file is made of an empty record.
    dados::CConexaoEmissora conexao;
    com::HRESULT resultado = conexao.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
    if (com::SUCCEEDED(resultado)) resultado = conexao.Le(ecf, &lida);
    conexao.Finaliza();
    if (com::FAILED(resultado) && resultado != dados::QMX_E_REGISTRO_INEXISTENTE) {
      mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, m_fonte, __LINE__, QMX_CARIMBO_COMPILACAO);
      return false;
    }
    if (com::FAILED(resultado)) lida = REG_EMISSORPS{};
  }
  if (ecf == 0 || lida.Numero != ecf || (filial != 0 && lida.Filial != filial)) {
    // The ECF and the branch are named when a number was given.
    ui::CaixaMensagem(ecf == 0 ? std::string("ECF não cadastrado nesta filial.")
                               : "O ECF " + std::to_string(ecf) + " não está cadastrado na filial " +
                                     std::to_string(filial) + ".",
                      titulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    if (m_idEmissora != 0) GotoDlgCtrl(m_idEmissora);
    return false;
  }
  if (registro) *registro = lida;
  return true;
}

std::optional<std::uint16_t> CQMXFiltroArquivo::EmissoraDoEdit(std::uint16_t filial, const std::string& titulo) {
  if (m_idEmissora == 0) return 0;
  // Blanks and zeros are "no ECF"; anything else must name one.
  unsigned long numero = 0;
  bool numerico = true;
  for (char c : GetDlgItemText(m_idEmissora)) {
    if (c == ' ') continue;
    if (c < '0' || c > '9' || numero > 0xFFFF) {
      numerico = false;
      break;
    }
    numero = numero * 10 + static_cast<unsigned long>(c - '0');
  }
  if (numerico && numero == 0) return 0;
  const auto ecf = numerico && numero <= 0xFFFF ? static_cast<std::uint16_t>(numero) : std::uint16_t{0};
  if (!ConfirmaEmissora(filial, ecf, titulo)) return std::nullopt;
  return ecf;
}

std::optional<std::uint16_t> CQMXFiltroArquivo::ConfirmaPeriodoFilialEmissora(NumeroDia inicial, NumeroDia final,
                                                                              std::uint16_t filial,
                                                                              const std::string& titulo) {
  if (!ConfirmaPeriodo(inicial, final, titulo)) return std::nullopt;
  if (filial == 0) {
    // A number typed that no branch has is named; an empty field asks for one.
    const std::string digitado = m_idFilial != 0 ? GetDlgItemText(m_idFilial) : std::string();
    const auto numero = digitado.find_first_not_of(" 0");
    if (numero != std::string::npos && digitado.find_first_not_of(" 0123456789") == std::string::npos)
      ui::CaixaMensagem("A filial " + digitado.substr(numero) + " não está cadastrada.", titulo,
                        ui::MB_OK | ui::MB_ICONEXCLAMATION);
    else
      mensagens::ZTMensagem(280, "EC");
    if (m_idFilial != 0) GotoDlgCtrl(m_idFilial);
    return std::nullopt;
  }
  return EmissoraDoEdit(filial, titulo);
}

bool CQMXFiltroArquivo::FilialHabilitadaParaECF(std::uint16_t filial) {
  dados::CConexaoECF conexao;
  std::int32_t resposta = 0;
  com::HRESULT resultado = conexao.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::SUCCEEDED(resultado)) resultado = conexao.GetEhFilialHabilitada_ECF(filial, &resposta);
  conexao.Finaliza();
  if (com::FAILED(resultado)) {
    mensagens::ZTMensagem(162, "EC");
    return false;
  }
  if (resposta == 1) {
    mensagens::ZTMensagem(161, "EC");
    EndDialog(ui::IDCANCEL);
    return false;
  }
  return true;
}

bool CQMXFiltroArquivo::EnviaArquivo(const std::string& nomeArquivo, const std::string& texto,
                                     const AvisoArquivoGerado& aviso, bool mantemTemporario) {
  CQMXEnvioArquivo envio(m_triplo, m_fonte);
  return envio.GeraEEnvia(nomeArquivo, texto, aviso, mantemTemporario);
}

}  // namespace qmx
