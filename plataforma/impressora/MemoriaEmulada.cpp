#include "plataforma/impressora/MemoriaEmulada.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/impressora/TotalizadoresParciais.h"
#include "plataforma/registro/Registro.h"

namespace qmx::impressora {

namespace {

std::string SemBrancosNasPontas(const char* texto) {
  std::string s = texto;
  const auto inicio = s.find_first_not_of(' ');
  if (inicio == std::string::npos) return {};
  return s.substr(inicio, s.find_last_not_of(' ') - inicio + 1);
}

bool MesmaSerie(const char* a, const std::string& b) {
  const std::string x = SemBrancosNasPontas(a), y = SemBrancosNasPontas(b.c_str());
  if (x.size() != y.size() || x.empty()) return false;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(x[i])) != std::toupper(static_cast<unsigned char>(y[i]))) return false;
  return true;
}

}  // namespace

NumeroDia DiaDoTexto(const char* texto) {
  if (!texto) return 0;
  std::string digitos;
  for (const char* c = texto; *c; ++c)
    if (std::isdigit(static_cast<unsigned char>(*c))) digitos += *c;
  if (digitos.size() != 8 && digitos.size() != 6) return 0;
  const auto dia = static_cast<unsigned>(std::stoi(digitos.substr(0, 2)));
  const auto mes = static_cast<unsigned>(std::stoi(digitos.substr(2, 2)));
  auto ano = static_cast<unsigned>(std::stoi(digitos.substr(4)));
  if (digitos.size() == 6) ano = LeAnoDoisDigitos(ano);
  if (dia < 1 || dia > 31 || mes < 1 || mes > 12) return 0;
  return CodificaDia(dia, mes, ano);
}

CMemoriaEmulada::CMemoriaEmulada(const ConfiguracaoImpressora& c) {
  const auto empresa = registro::Registro::LeValor("SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal", "Empresa");
  if (!empresa || empresa->empty()) return;
  dados::CConexaoEmissora emissoras;
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  if (emissoras.Inicializa(*empresa, 0, 0) < 0 || emissoras.Lista(&quantidade, &lista) < 0) return;
  for (const auto& e : lista) {
    if (!MesmaSerie(e.NumeroSerie, c.numeroSerie)) continue;
    std::vector<REG_EMISSOR_ALIQUOTA> aliquotas;
    if (emissoras.Le(e.Numero, &m_emissora) < 0) return;
    emissoras.LeAliquotas(m_emissora.TabelaAliquotas, &aliquotas);
    m_codigosAliquota = CodigosAliquotas(aliquotas);
    m_temEmissora = true;
    break;
  }
  if (!m_temEmissora) return;
  dados::CConexaoFilial filiais;
  if (filiais.Inicializa(*empresa, 0, 0, false) >= 0) {
    filiais.Le(m_emissora.Filial, &m_filial);
    wchar_t* razao = nullptr;
    if (filiais.GetRazaoSocial(m_emissora.Filial, &razao) >= 0 && razao) {
      // The wide text holds Windows-1252 characters one per unit.
      for (const wchar_t* w = razao; *w; ++w) m_razaoSocial += static_cast<char>(*w & 0xFF);
      dados::LiberaTextoLargo(razao);
    }
  }
  dados::CConexaoMestre mestre;
  REG_EC_MESTREPS m{};
  if (mestre.Inicializa(*empresa, 0, 0) >= 0 && mestre.Le(&m) >= 0) m_descontoISSQN = m.DescontoISSQN != 0;
  dados::CConexaoFormaPagamento formas;
  std::vector<REG_FORMA_PAGAMENTOPS> listaFormas;
  if (formas.Inicializa(*empresa, 0, 0) >= 0 && formas.Lista(&listaFormas) >= 0)
    for (const auto& f : listaFormas) m_formas[f.Codigo] = f.Nome;
  m_caixa.Inicializa(*empresa, 0, 0);
  m_catalogo.Inicializa(*empresa, 0, 0);
}

std::vector<REG_REDUCAO_ZPS> CMemoriaEmulada::Reducoes(bool porCRZ, std::uint32_t inicio, std::uint32_t fim) {
  std::vector<REG_REDUCAO_ZPS> reducoes;
  if (!m_temEmissora) return reducoes;
  m_caixa.ListaReducoesZ(m_emissora.Numero, porCRZ, inicio, fim, &reducoes);
  std::erase_if(reducoes, [](const REG_REDUCAO_ZPS& z) { return z.CRZ == 0; });
  return reducoes;
}

void CMemoriaEmulada::Totalizadores(const REG_REDUCAO_ZPS& z,
                                    const std::function<void(const std::string&, std::int64_t)>& porTotalizador) {
  REG_REDUCAO_ZPS lida{};
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
  m_caixa.LeReducaoZ(z.Emissora, z.Data, &lida, &aliquotas, &naoFiscais);
  for (const auto& a : aliquotas)
    porTotalizador(CodigoAliquota(a.Posicao, a.Tipo == 'S' ? 'S' : 'T', a.Aliquota), a.Valor.int64);
  std::int64_t naoFiscal = 0;
  for (const auto& t : naoFiscais) naoFiscal += t.Valor.int64;
  TotalizadoresFixos(z, naoFiscal, [&](const char* codigo, std::int64_t valor) { porTotalizador(codigo, valor); });
}

void CMemoriaEmulada::FaixaCOO(std::uint32_t* primeiro, std::uint32_t* ultimo) {
  *primeiro = *ultimo = 0;
  if (!m_temEmissora) return;
  NumeroDia dataInicial = 0, dataFinal = 0;
  m_caixa.FaixaCOO(m_emissora.Numero, 1, 0xFFFFFFFFu, primeiro, ultimo, &dataInicial, &dataFinal);
}

bool CMemoriaEmulada::Dias(const Faixa& faixa, NumeroDia* inicial, NumeroDia* final) {
  if (!m_temEmissora) return false;
  if (!faixa.porCOO) {
    *inicial = static_cast<NumeroDia>(faixa.inicio);
    *final = static_cast<NumeroDia>(faixa.fim);
    return faixa.inicio != 0 && faixa.inicio <= faixa.fim;
  }
  std::uint32_t primeiro = 0, ultimo = 0;
  return m_caixa.FaixaCOO(m_emissora.Numero, faixa.inicio, faixa.fim, &primeiro, &ultimo, inicial, final) >= 0 &&
         *inicial != 0;
}

void CMemoriaEmulada::PercorreCupons(const Faixa& faixa, const PorCupom& porCupom) {
  NumeroDia inicial = 0, final = 0;
  if (!Dias(faixa, &inicial, &final)) return;
  m_caixa.PercorreCupons(m_emissora.Numero, inicial, final,
                         [&](const REG_EC_CXPS& c, const auto& itens, const auto& pagamentos) {
                           if (c.Status != QMX_STATUS_NOTA_CONSUMIDOR && NaFaixa(faixa, c.COO))
                             porCupom(c, itens, pagamentos);
                           return true;
                         });
}

void CMemoriaEmulada::PercorreDocumentos(const Faixa& faixa,
                                         const std::function<void(const REG_DOCUMENTO_ECFPS&)>& porDocumento) {
  NumeroDia inicial = 0, final = 0;
  if (!Dias(faixa, &inicial, &final)) return;
  m_caixa.PercorreDocumentos(m_emissora.Numero, inicial, final, [&](const REG_DOCUMENTO_ECFPS& d) {
    if (NaFaixa(faixa, d.COO)) porDocumento(d);
    return true;
  });
}

std::string CMemoriaEmulada::Totalizador(const REG_EC_CX_CIPS& item) const {
  return CodigoTotalizadorItem(item, m_codigosAliquota);
}

bool CMemoriaEmulada::Producao(const REG_EC_CX_CIPS& item) {
  if (item.Servico) return false;
  auto achado = m_produtos.find(item.Codigo);
  if (achado == m_produtos.end()) {
    REG_PRODUTOPS p{};
    m_catalogo.LeLight(item.Codigo, &p);
    achado = m_produtos.emplace(item.Codigo, p).first;
  }
  return achado->second.Producao != 0;
}

std::string CMemoriaEmulada::Unidade(const REG_EC_CX_CIPS& item) {
  if (item.Servico) {
    REG_SERVICOSPS s{};
    REG_UNIDADES_MEDIDA_SERVICOSPS u{};
    if (m_catalogo.LeServico(item.Codigo, &s) >= 0 && s.Unidade && m_catalogo.LeUnidadeServico(s.Unidade, &u) >= 0)
      return u.Sigla;
    return {};
  }
  Producao(item);  // reads the product once
  const std::uint16_t codigo = m_produtos[item.Codigo].Unidade;
  auto achada = m_unidades.find(codigo);
  if (achada == m_unidades.end()) {
    REG_UNIDADES_MEDIDAPS u{};
    std::string sigla;
    if (codigo && m_catalogo.LeUnidade(codigo, &u) >= 0) sigla = u.Sigla;
    achada = m_unidades.emplace(codigo, sigla).first;
  }
  return achada->second;
}

std::string CMemoriaEmulada::NomeForma(std::uint16_t forma) const {
  const auto achada = m_formas.find(forma);
  return achada == m_formas.end() ? std::string() : achada->second;
}

}  // namespace qmx::impressora
