#include "integracao/QMXIntegracao.h"

#include <cstdio>

#include "frame/CarimboCompilacao.h"
#include "frame/InstanciaServidor.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "integracao/CamposIntegracao.h"
#include "plataforma/dados/ServidoresIntegracaoCOM.h"
#include "plataforma/mensagens/MensagemSistema.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {

using campos::Formata;

namespace {

constexpr const char* kFonte = "QMXIntegracao";


}  // namespace

CQMXIntegracao::CQMXIntegracao(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                               int modo)
    : m_strEmpresa(chaveEmpresa), m_nUsuario(usuario), m_nContexto(contexto), m_nModo(modo) {
  // A connection that cannot be made shows up as the failure of the first
  // operation that needs it, with the server's own code.
  for (dados::CConexaoDados* conexao :
       std::initializer_list<dados::CConexaoDados*>{&m_produtos, &m_mestre, &m_cupons, &m_emissoras, &m_filiais,
                                                    &m_integracao, &m_naturezas, &m_movimentos, &m_locais, &m_plano, &m_clientes,
                                                    &m_condicoes, &m_formas, &m_receber, &m_contabilizaBCR})
    conexao->Inicializa(chaveEmpresa, usuario, contexto);
}

CQMXIntegracao::~CQMXIntegracao() = default;

void CQMXIntegracao::ReportaFalha(com::HRESULT resultado, int linha) const {
  mensagens::ZTTrataErro2(resultado, 0, 0, m_strEmpresa, kFonte, linha, QMX_CARIMBO_COMPILACAO);
  // The box is gone when the operator closes it: the log keeps the failure
  // with the day's other lines (only where there is a log file, as the box
  // has told it already).
  if (!m_log.Arquivo().empty()) {
    std::string texto = mensagens::TextoErroSistema(static_cast<std::uint32_t>(resultado));
    if (texto.empty()) texto = "Erro não especificado.";
    char codigo[16];
    std::snprintf(codigo, sizeof codigo, "0x%08X", static_cast<std::uint32_t>(resultado));
    Log(Formata("Falha: %s (%s, linha %d)", texto.c_str(), codigo, linha));
  }
}

com::HRESULT CQMXIntegracao::EmissoraDoDia(std::uint16_t ecf, REG_EMISSORPS* registro, int linha) {
  const com::HRESULT lida = LeEmissora(ecf, registro);
  if (lida != dados::QMX_E_REGISTRO_INEXISTENTE) return com::FAILED(lida) ? Falhou(lida, linha) : lida;
  const std::string texto = "O ECF " + std::to_string(ecf) + " não está cadastrado.";
  ui::CaixaMensagem(texto, "Integração", ui::MB_OK | ui::MB_ICONERROR);
  if (!m_log.Arquivo().empty()) Log("Falha: " + texto);
  return lida;
}

std::optional<com::HRESULT> CQMXIntegracao::DiaAberto(std::uint16_t ecf, NumeroDia data, REG_EMISSORPS* registro,
                                                      int linha) {
  if (const com::HRESULT lida = EmissoraDoDia(ecf, registro, linha); com::FAILED(lida)) return lida;
  com::HRESULT falha = com::S_OK;
  switch (MesDaFilial(registro->Filial, data, &falha)) {
    case Mes::Falha: return Falhou(falha, linha);
    case Mes::Bloqueado: return kIntegracaoInterrompida;
    case Mes::Aberto: break;
  }
  return std::nullopt;
}

CQMXIntegracao::Mes CQMXIntegracao::MesDaFilial(std::uint16_t filial, NumeroDia data, com::HRESULT* falha) {
  auto lido = m_mesesBloqueados.find(filial);
  if (lido == m_mesesBloqueados.end()) {
    REG_FILIALPS registro{};
    const com::HRESULT resultado = m_filiais.Le(filial, &registro);
    lido = m_mesesBloqueados.emplace(filial, std::make_pair(resultado, registro.MesBloqueadoContabil)).first;
  }
  if (com::FAILED(lido->second.first)) {
    if (falha) *falha = lido->second.first;
    return Mes::Falha;
  }
  const DiaMesAno dia = DecodificaDia(data);
  const std::uint16_t mes = CodificaMes(dia.mes, dia.ano);
  if (lido->second.second == 0 || mes != lido->second.second) return Mes::Aberto;
  if (!m_bloqueiosAnotados[{filial, mes}]) {
    m_bloqueiosAnotados[{filial, mes}] = true;
    Log(Formata("Bloqueio de integração/lançamento contábil %02u/%02u", dia.mes, dia.ano % 100));
  }
  return Mes::Bloqueado;
}

NumeroDia CQMXIntegracao::DataDosParametros(const REG_QMX_PARAMETROS_INTEGRACAO& parametros) {
  return LeDiaDezesseisBits(parametros.nData);
}

std::string CQMXIntegracao::TextoData(NumeroDia data) const { return qmx::TextoData(data, true); }

com::HRESULT CQMXIntegracao::LeEmissora(std::uint16_t emissora, REG_EMISSORPS* registro) {
  auto achada = m_emissorasLidas.find(emissora);
  if (achada == m_emissorasLidas.end()) {
    REG_EMISSORPS lida{};
    const com::HRESULT resultado = m_emissoras.Le(emissora, &lida);
    achada = m_emissorasLidas.emplace(emissora, std::make_pair(resultado, lida)).first;
  }
  *registro = achada->second.second;
  return achada->second.first;
}

CQMXIntegracao::LeituraCupons CQMXIntegracao::LeCupons(NumeroDia data, std::uint16_t emissora) {
  LeituraCupons lidos;
  REG_EC_CX_CHAVEPS chave{};
  chave.Cupom = 0;  // every cupom of the date and ECF
  chave.Data = data;
  chave.Emissora = emissora;
  std::vector<std::uint32_t> encontrados;
  lidos.busca = m_cupons.Busca(chave, &encontrados);
  if (com::FAILED(lidos.busca)) return lidos;
  lidos.leitura = m_cupons.Le(encontrados, &lidos.cupons);
  return lidos;
}

bool CQMXIntegracao::IniciaIntegracao(dados::CTransacaoDados& transacao, std::uint16_t emissora,
                                      std::int32_t* numero) {
  return com::SUCCEEDED(transacao.Inicia(m_strEmpresa)) && com::SUCCEEDED(m_integracao.TravaEmissora(emissora)) &&
         com::SUCCEEDED(m_integracao.NovoNumeroIntegracao(numero));
}

com::HRESULT CQMXIntegracao::AtivaServidor(const com::CLSID& classe, const com::IID& interface) {
  dados::RegistraServidoresIntegracao();
  void* servidor = nullptr;
  const com::HRESULT ativado = InstanciaServidor(classe, nullptr, 23, interface, &servidor,
                                                 kInstanciaRegistraEventos | kInstanciaRepeteIndisponivel);
  if (servidor) static_cast<com::IUnknown*>(servidor)->Release();
  return ativado;
}

bool CQMXIntegracao::FazChaveQuemGerouIntegracaoECF(const char* modulo, NumeroDia data, std::uint16_t emissora,
                                                    std::int32_t sev, std::int32_t fac, std::int32_t cod) {
  std::vector<REG_EC_CHAVES_INTEGRACAOPS> chaves;
  if (com::FAILED(m_mestre.LeChavesIntegracao(modulo, data, emissora, &chaves))) {
    Log(Formata("CQMXIntegracao::FazChaveQuemGerouIntegracaoECF: Falha ao ler as chaves de integração. "
                "Data=%i, ECF=%i, SEV=%i, FAC=%i, COD=%i",
                data, emissora, sev, fac, cod));
    return false;
  }
  for (const auto& c : chaves)
    if (c.SEV == sev && c.FAC == fac && c.COD == cod) return true;
  REG_EC_CHAVES_INTEGRACAOPS nova{};
  std::snprintf(nova.Modulo, sizeof nova.Modulo, "%s", modulo);
  nova.Data = data;
  nova.Emissora = emissora;
  nova.SEV = sev;
  nova.FAC = fac;
  nova.COD = cod;
  if (com::FAILED(m_mestre.GravaChaveIntegracao(nova))) {
    Log(Formata("CQMXIntegracao::FazChaveQuemGerouIntegracaoECF: Falha ao gravar chave de integração. "
                "Posição=%i, SEV=%i, FAC=%i, COD=%i",
                static_cast<int>(chaves.size()) + 1, sev, fac, cod));
    return false;
  }
  return true;
}

bool CQMXIntegracao::RemoveIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora) {
  std::vector<REG_EC_CHAVES_INTEGRACAOPS> chaves;
  if (com::FAILED(m_mestre.LeChavesIntegracao(modulo, data, emissora, &chaves))) return false;
  for (const auto& c : chaves)
    if (com::FAILED(m_integracao.ExcluiIntegracao(c.FAC, c.COD))) return false;
  return com::SUCCEEDED(m_mestre.ExcluiChavesIntegracao(modulo, data, emissora));
}

bool CQMXIntegracao::RemoveIntegracaoFN(NumeroDia data, std::uint16_t emissora) {
  std::vector<REG_EC_CHAVES_INTEGRACAOPS> chaves;
  if (com::FAILED(m_mestre.LeChavesIntegracao("FN", data, emissora, &chaves))) {
    Log(Formata("CQMXIntegracao::RemoveIntegracaoFN: Falha ao ler chaves de integração. "
                "Data=%i, ECF=%i, SEV=%i, FAC=%i, COD=%i",
                data, emissora, 0, dados::kIntegracaoFinanceira, 0));
    return false;
  }
  for (const auto& c : chaves) {
    if (com::FAILED(m_receber.ExcluiTitulos(c.COD)) || com::FAILED(m_contabilizaBCR.ExcluiContabilizacao(c.COD))) {
      Log(Formata("CQMXIntegracao::RemoveIntegracaoFN: Falha ao excluir integrações anterirores. "
                  "SEV=%i, FAC=%i, COD=%i",
                  c.SEV, c.FAC, c.COD));
      return false;
    }
  }
  // The keys of what was removed go with it.
  if (com::FAILED(m_mestre.ExcluiChavesIntegracao("FN", data, emissora))) {
    const auto& ultima = chaves.empty() ? REG_EC_CHAVES_INTEGRACAOPS{} : chaves.back();
    Log(Formata("CQMXIntegracao::RemoveIntegracaoFN: Falha ao gravar chave de integração. "
                "Posição=%i, SEV=%i, FAC=%i, COD=%i",
                static_cast<int>(chaves.size()), ultima.SEV, ultima.FAC, ultima.COD));
    return false;
  }
  return true;
}

}  // namespace qmx
