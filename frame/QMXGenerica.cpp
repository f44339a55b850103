#include "frame/QMXGenerica.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoMunicipio.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/ui/HostUI.h"

namespace {

std::string AparaMaiusculas(const char* texto) {
  std::string t = texto ? texto : "";
  const auto inicio = t.find_first_not_of(' ');
  const auto fim = t.find_last_not_of(' ');
  t = inicio == std::string::npos ? std::string() : t.substr(inicio, fim - inicio + 1);
  for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return t;
}

}  // namespace

CQMXGenerica::CQMXGenerica() = default;

CQMXGenerica::CQMXGenerica(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  Inicializa(chaveEmpresa, usuario, contexto);
}

CQMXGenerica::CQMXGenerica(const CQMXGenerica& outra) = default;
CQMXGenerica& CQMXGenerica::operator=(const CQMXGenerica& outra) = default;
CQMXGenerica::~CQMXGenerica() = default;

void CQMXGenerica::Inicializa(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_strEmpresa = chaveEmpresa ? chaveEmpresa : "";
  m_nUsuario = usuario;
  m_nContexto = contexto;
}

std::string CQMXGenerica::FormataCampo(const char* texto, std::uint16_t largura, bool numerico,
                                       bool mantemVirgula) {
  std::string campo = texto ? texto : "";
  if (numerico) {
    std::string limpo;
    limpo.reserve(campo.size());
    for (char c : campo)
      if (c != '/' && c != '-' && c != '.' && c != ' ' && (c != ',' || mantemVirgula)) limpo += c;
    if (largura == 0) return limpo;
    if (limpo.size() < largura) limpo.insert(0, largura - limpo.size(), '0');
    if (limpo.size() > largura) limpo.erase(0, limpo.size() - largura);
    return limpo;
  }
  campo.resize(largura, ' ');
  return campo;
}

void CQMXGenerica::FormataCampo(std::string& texto, std::uint16_t largura, bool numerico, bool mantemVirgula) const {
  texto = FormataCampo(texto.c_str(), largura, numerico, mantemVirgula);
}

std::string CQMXGenerica::InverteData(std::uint16_t numeroDia, bool anoPrimeiro) {
  return qmx::DataInvertida(qmx::LeDiaDezesseisBits(numeroDia), anoPrimeiro);
}

void CQMXGenerica::AdicionaInterrogacao(std::uint16_t largura, std::string& texto) {
  texto = FormataCampo(texto.c_str(), largura, false, false);
  for (char& c : texto)
    if (c == ' ') c = '?';
}

void CQMXGenerica::LeMestre(REG_EC_MESTREPS* mestre) const {
  qmx::dados::CConexaoMestre conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  if (auto* servidor = conexao.GetInterface()) servidor->Le(mestre);
  conexao.Finaliza();
}

void CQMXGenerica::LeEmissora(std::uint16_t ecf, REG_EMISSORPS* emissora) const {
  qmx::dados::CConexaoEmissora conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  if (auto* servidor = conexao.GetInterface()) servidor->Le(ecf, emissora);
  conexao.Finaliza();
}

void CQMXGenerica::LeEmissora(std::uint16_t ecf, REG_EMISSORPS* emissora,
                              std::vector<REG_EMISSOR_ALIQUOTA>* aliquotas) const {
  qmx::dados::CConexaoEmissora conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  if (auto* servidor = conexao.GetInterface()) {
    servidor->Le(ecf, emissora);
    if (aliquotas) {
      std::vector<REG_EMISSOR_ALIQUOTA> lidas;
      servidor->LeAliquotas(emissora->TabelaAliquotas, &lidas);
      aliquotas->assign(emissora->QuantidadeAliquotas, REG_EMISSOR_ALIQUOTA{});
      for (size_t i = 0; i < lidas.size() && i < aliquotas->size(); ++i) (*aliquotas)[i] = lidas[i];
    }
  }
  conexao.Finaliza();
}

void CQMXGenerica::LeFilial(std::uint16_t filial, REG_FILIALPS* registro, wchar_t** razaoSocial) const {
  qmx::dados::CConexaoFilial conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto, false);
  if (auto* servidor = conexao.GetInterface()) {
    servidor->Le(filial, registro);
    if (razaoSocial) servidor->GetRazaoSocial(filial, razaoSocial);
  }
  conexao.Finaliza();
}

void CQMXGenerica::GetRazaoSocial(std::uint16_t filial, wchar_t** razaoSocial) const {
  qmx::dados::CConexaoFilial conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto, false);
  if (auto* servidor = conexao.GetInterface()) servidor->GetRazaoSocial(filial, razaoSocial);
  conexao.Finaliza();
}

REG_DADOS_ATO_COTEPE_PS CQMXGenerica::GetDadosAtoCotepe(std::uint16_t filial) const {
  REG_DADOS_ATO_COTEPE_PS dados;
  std::memset(&dados, 0, sizeof dados);
  qmx::dados::CConexaoFilial conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto, false);
  if (auto* servidor = conexao.GetInterface()) servidor->GetDadosAtoCotepe(filial, &dados);
  conexao.Finaliza();
  return dados;
}

void CQMXGenerica::LeMunicipio(std::uint16_t municipio, REG_MUNICIPIO_PS* registro) const {
  qmx::dados::CConexaoMunicipio conexao;
  conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  if (auto* servidor = conexao.GetInterface()) servidor->Le(municipio, registro);
  conexao.Finaliza();
}

std::int32_t CQMXGenerica::PegaECFAtivo() const {
  char serie[qmx::impressora::kTamanhoNumeroSerie] = {};
  if (!qmx::impressora::PegaNumeroSerie(serie)) {
    qmx::ui::CaixaMensagem(
        "Não foi possível determinar que modelo de Emissor \nde Cupom Fiscal que será utilizado nesse "
        "computador.\nExecute o QMVConfImp, selecionando o modelo do \nEmissor e Porta Serial a qual o "
        "mesmo está conectado.",
        {}, qmx::ui::MB_ICONEXCLAMATION | qmx::ui::MB_SYSTEMMODAL);
    return -1;
  }
  qmx::dados::CConexaoEmissora conexao;
  if (qmx::com::FAILED(conexao.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto))) return -1;
  auto* servidor = conexao.GetInterface();
  if (!servidor) return -1;
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  if (qmx::com::FAILED(servidor->Lista(&quantidade, &lista))) return -1;
  const std::string procurada = AparaMaiusculas(serie);
  for (std::uint16_t i = 0; i < quantidade && i < lista.size(); ++i)
    if (AparaMaiusculas(lista[i].NumeroSerie) == procurada) return i + 1;
  return -1;
}
