#include "plataforma/impressora/ApuracaoReducaoZ.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace qmx::impressora {

namespace {

void Soma(CY& total, CY valor) { total.int64 += valor.int64; }

}  // namespace

CApuracaoReducaoZ::CApuracaoReducaoZ(std::uint16_t emissora, NumeroDia data,
                                     const std::vector<REG_EMISSOR_ALIQUOTA>& tabela) {
  std::memset(&m_apurada.reducao, 0, sizeof m_apurada.reducao);
  m_apurada.reducao.Emissora = emissora;
  m_apurada.reducao.Data = data;
  for (const auto& a : tabela) {
    REG_REDUCAO_Z_ALIQUOTAPS totalizador{};
    totalizador.Posicao = a.Posicao;
    totalizador.Tipo = a.Tipo;
    totalizador.Aliquota = a.Aliquota;
    m_apurada.aliquotas.push_back(totalizador);
  }
  std::sort(m_apurada.aliquotas.begin(), m_apurada.aliquotas.end(),
            [](const auto& x, const auto& y) { return x.Posicao < y.Posicao; });
}

CY& CApuracaoReducaoZ::TotalizadorDoItem(const REG_EC_CX_CIPS& item) {
  auto& z = m_apurada.reducao;
  const char letra = static_cast<char>(item.TipoTributacao);
  if (item.Servico && letra != 'S')
    throw std::invalid_argument("item de serviço sem ISS: " + std::to_string(item.Codigo));
  switch (letra) {
    case 'F': return z.Substituicao;
    case 'I': return z.Isento;
    case 'N': return z.NaoTributado;
    case 'T':
    case 'S': {
      const char tipo = letra;
      for (auto& a : m_apurada.aliquotas)
        if (a.Tipo == tipo && a.Aliquota == item.AliquotaCentesimos) return a.Valor;
      throw std::invalid_argument("alíquota fora da tabela do ECF: " + std::to_string(item.AliquotaCentesimos));
    }
    default: throw std::invalid_argument(std::string("tributação desconhecida: ") + letra);
  }
}

void CApuracaoReducaoZ::AcumulaCupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens) {
  if (cupom.Status == QMX_STATUS_NOTA_CONSUMIDOR) return;
  if (cupom.COO && (m_primeiroCOO == 0 || cupom.COO < m_primeiroCOO)) m_primeiroCOO = cupom.COO;
  auto& z = m_apurada.reducao;
  for (const auto& item : itens) {
    if (cupom.Cancelado || item.Cancelado) {
      Soma(z.Cancelamentos, item.ValorTotal);
      continue;
    }
    Soma(TotalizadorDoItem(item), item.ValorTotal);
    Soma(z.Descontos, item.Desconto);
  }
}

void CApuracaoReducaoZ::AcumulaNaoFiscal(std::uint8_t codigo, CY valor) {
  auto& totais = m_apurada.naoFiscais;
  auto achado = std::find_if(totais.begin(), totais.end(), [&](const auto& t) { return t.Codigo == codigo; });
  if (achado == totais.end()) {
    REG_TOTALIZADOR_NAO_FISCALPS novo{};
    novo.Codigo = codigo;
    achado = totais.insert(std::upper_bound(totais.begin(), totais.end(), novo,
                                            [](const auto& x, const auto& y) { return x.Codigo < y.Codigo; }),
                           novo);
  }
  Soma(achado->Valor, valor);
}

ReducaoZApurada CApuracaoReducaoZ::Fecha(std::uint32_t crz, std::uint32_t cro, std::uint32_t cooReducao,
                                         CY grandeTotalAnterior, NumeroDia dataEmissao,
                                         std::int32_t horaEmissao) const {
  ReducaoZApurada apurada = m_apurada;
  auto& z = apurada.reducao;
  z.CRZ = crz;
  z.CRO = cro;
  z.COOInicial = m_primeiroCOO ? m_primeiroCOO : cooReducao;
  z.COOFinal = cooReducao;
  z.DataEmissao = dataEmissao;
  z.HoraEmissao = horaEmissao;
  CY bruta{0};
  for (const auto& a : apurada.aliquotas) {
    Soma(bruta, a.Valor);
    if (a.Tipo == 'S') Soma(z.ISS, a.Valor);
  }
  for (CY parcela : {z.Substituicao, z.Isento, z.NaoTributado, z.Descontos, z.Cancelamentos}) Soma(bruta, parcela);
  z.VendaBruta = bruta;
  z.GrandeTotal = CY{grandeTotalAnterior.int64 + bruta.int64};
  return apurada;
}

}  // namespace qmx::impressora
