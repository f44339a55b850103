#include "arquivos/efd/DiaECFEFD.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <set>

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::efd {

namespace {

// The number a text's digits make (the CST "060" is 60, the CFOP "5.102"
// is 5102).
std::int64_t NumeroDe(std::string_view texto) {
  std::int64_t n = 0;
  for (char c : texto)
    if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
  return n;
}

// The key of a day's analytic line. The maps of the layout key it by a
// floating value; ours holds the tax situation and the CFOP in the integer
// part and the rate in the fraction, so that the key is exact, the three
// parts stay distinct keys, and the bucket (taken from the integer part,
// as the maps truncate floating keys) depends on the situation and CFOP.
double ChaveAnalitica(std::string_view cst, std::string_view cfop, std::uint16_t aliquota) {
  return static_cast<double>(NumeroDe(cst) % 1000 * 10000 + NumeroDe(cfop) % 10000) + aliquota / 10000.0;
}

// An ICMS-taxed product item has its value as base; every other item none.
std::int64_t BaseICMS(const REG_EC_CX_CIPS& item) {
  return (!item.Servico && item.TipoTributacao == 'T' && item.AliquotaCentesimos != 0) ? item.ValorTotal.int64 : 0;
}

// The ICMS rate a product item shows in C470, and so in the C490 that sums
// it: none for tax substitution, whatever the ECF recorded (the Guia's C490
// consolidates its C470 lines, so both carry the same rate).
std::uint16_t AliquotaICMS(const REG_EC_CX_CIPS& item) {
  return item.Servico || item.TipoTributacao == 'F' ? 0 : item.AliquotaCentesimos;
}

// How many of a day's analytic lines are looked at before the map.
constexpr std::size_t kAnaliticosConhecidos = 32;

}  // namespace

ContadoresC400& ContadoresC400::operator+=(const ContadoresC400& o) {
  c400 += o.c400; c405 += o.c405; c410 += o.c410; c420 += o.c420; c425 += o.c425;
  c460 += o.c460; c470 += o.c470; c490 += o.c490; c495 += o.c495; total += o.total;
  return *this;
}

void CDiaECF::Inicia(NumeroDia data, bool escreve) {
  m_data = data;
  m_escreve = escreve;
  m_pis = m_cofins = 0;
  m_c460.clear();
  m_linhasC460 = m_linhasC470 = 0;
  m_c425.clear();
  m_c490.RemoveAll();
  m_analiticos.clear();
}

// Which of the ECF's four CFOPs an item takes, and its text.
unsigned CDiaECF::QualCfop(const REG_EC_CX_CIPS& item, const ItemLido& lido) {
  if (item.Servico) return 3;
  if (item.TipoTributacao == 'F') return 1;
  return lido.producao ? 2 : 0;
}

const std::string& CDiaECF::Cfop(unsigned qual) const {
  switch (qual) {
    case 1: return m_cfops.substituicao;
    case 2: return m_cfops.producao;
    case 3: return m_cfops.servico;
    default: return m_cfops.venda;
  }
}

// The day's analytic line of a tax situation, CFOP and rate. A day's
// items fall in few of them, so the ones met are looked at first, by a
// key that packs which CFOP it is, the rate and the situation's text (of
// at most four characters; a longer one goes to the map every time). A
// day of unusually many lines keeps its first ones there, the rest are
// found through the map.
CDiaECF::SomaC490& CDiaECF::Analitico(std::string_view cst, unsigned qualCfop, std::uint16_t aliquota) {
  std::uint32_t situacao = 0;
  const bool curta = cst.size() <= sizeof situacao;
  if (curta) std::memcpy(&situacao, cst.data(), cst.size());
  const std::uint64_t chave = std::uint64_t{qualCfop} << 48 | std::uint64_t{aliquota} << 32 | situacao;
  if (curta)
    for (const auto& [conhecida, soma] : m_analiticos)
      if (conhecida == chave) return *soma;
  const std::string& cfop = Cfop(qualCfop);
  SomaC490& soma = m_c490[ChaveAnalitica(cst, cfop, aliquota)];
  if (soma.cfop.empty()) {
    soma.cst = cst;
    soma.cfop = cfop;
    soma.aliquota = aliquota;
  }
  if (curta && m_analiticos.size() < kAnaliticosConhecidos) m_analiticos.emplace_back(chave, &soma);
  return soma;
}

// The key of a partial totalizer: its letter and, for a rate ("T1800",
// "S0500"), the rate; F1, I1 and N1 by their letter alone.
std::uint32_t CDiaECF::ChaveTotalizador(char letra, unsigned aliquota) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(letra)) << 16 | aliquota % 10000;
}

// The partial totalizer an item sums into.
std::uint32_t CDiaECF::Totalizador(const REG_EC_CX_CIPS& item) {
  const char letra = static_cast<char>(item.TipoTributacao);
  if (letra == 'F' || letra == 'I' || letra == 'N') return ChaveTotalizador(letra, 0);
  return ChaveTotalizador(item.Servico ? 'S' : 'T', item.AliquotaCentesimos);
}

const ZTCFRT* CDiaECF::Cliente(std::uint32_t codigo) {
  auto achado = m_clientesLidos.find(codigo);
  if (achado == m_clientesLidos.end()) {
    ZTCFRT cliente{};
    const auto resultado = m_clientes.Le(codigo, &cliente);
    if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(resultado, __LINE__);
    else cliente.Codigo = 0;  // remembered as missing
    achado = m_clientesLidos.emplace(codigo, cliente).first;
  }
  return achado->second.Codigo ? &achado->second : nullptr;
}

void CDiaECF::Cupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens) {
  // Consumer notas are not cupons of this file.
  if (cupom.Status == QMX_STATUS_NOTA_CONSUMIDOR) return;
  m_itensDoCupom.clear();
  for (const auto& item : itens) {
    const ItemLido& lido = item.Servico ? m_itens.Servico(item.Codigo) : m_itens.Produto(item.Codigo);
    m_itensDoCupom.push_back({&lido, {}});
    // Cancelled sales carry no taxes and sum into no line but Can-T.
    if (!m_escreve || cupom.Cancelado || item.Cancelado) continue;
    const PisCofins pc = CItensEFD::Calcula(lido, item.Servico != 0, item.ValorTotal.int64, cupom.Data);
    m_itensDoCupom.back().pc = pc;
    m_pis += pc.pis;
    m_cofins += pc.cofins;
    if (!m_perfilA) {
      const std::uint32_t chave = item.Codigo | (item.Servico ? 0x80000000u : 0u);
      auto& soma = m_c425[Totalizador(item)][chave];
      soma.codigo = item.Codigo;
      soma.servico = item.Servico != 0;
      soma.lido = &lido;
      soma.quantidade += item.Quantidade.int64;
      soma.valor += item.ValorTotal.int64;
      soma.pis += pc.pis;
      soma.cofins += pc.cofins;
    }
    const std::string_view cst = item.Servico ? kSituacaoServicoISS : SituacaoVendida(item.CST, lido);
    SomaC490& analitico = Analitico(cst, QualCfop(item, lido), AliquotaICMS(item));
    analitico.operacao += item.ValorTotal.int64;
    analitico.base += BaseICMS(item);
  }
  if (m_escreve && m_perfilA) Cupom460(cupom, itens);
}

void CDiaECF::Cupom460(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens) {
  // The COO with at least six digits ("%06u"), zeros on the left.
  char numero[16];
  {
    char digitos[12];
    const auto fim = std::to_chars(digitos, digitos + sizeof digitos, static_cast<unsigned>(cupom.COO)).ptr;
    const auto n = static_cast<std::size_t>(fim - digitos);
    const std::size_t zeros = n < 6 ? 6 - n : 0;
    std::memset(numero, '0', zeros);
    std::memcpy(numero + zeros, digitos, n);
    numero[zeros + n] = '\0';
  }
  ++m_linhasC460;
  if (cupom.Cancelado) {
    CLinhaEFD(m_c460, "C460").Texto("2D").Texto("02").Literal(numero).Literal("|||||||").Fim();
    return;
  }
  std::int64_t pis = 0, cofins = 0;
  for (const auto& i : m_itensDoCupom) {
    pis += i.pc.pis;
    cofins += i.pc.cofins;
  }
  CLinhaEFD linha(m_c460, "C460");
  linha.Texto("2D").Texto("00").Texto(numero).Data(cupom.Data).N14(cupom.Total.int64).N14(pis).N14(cofins);
  const ZTCFRT* cliente = cupom.Cliente ? Cliente(cupom.Cliente) : nullptr;
  // The buyer's CPF or CNPJ is a number of the layout: the digits of what
  // was typed on the cupom, without its dots and dashes.
  // A foreign customer has neither: the field takes 11 or 14 digits only.
  if (cliente && cliente->Estrangeiro) linha.Vazio().Texto(cliente->Nome);
  else if (cliente) linha.Numerico(cliente->CnpjCpf, cliente->TipoPessoa == 'F' ? 11 : 14).Texto(cliente->Nome);
  else linha.Texto(SoDigitos(cupom.DocumentoCliente)).Vazio();
  linha.Fim();

  for (std::size_t i = 0; i < itens.size(); ++i) {
    const auto& item = itens[i];
    const bool servico = item.Servico != 0;
    const ItemLido& lido = *m_itensDoCupom[i].lido;
    const PisCofins& pc = m_itensDoCupom[i].pc;
    CLinhaEFD c470(m_c460, "C470");
    c470.Codigo(servico ? 'S' : 'P', item.Codigo)
        .N14(item.Quantidade.int64, 3)
        .N14(item.Cancelado ? item.Quantidade.int64 : 0, 3)
        .Texto(lido.unidade)
        .N14(item.ValorTotal.int64)
        .Texto(servico ? kSituacaoServicoISS : SituacaoVendida(item.CST, lido))
        .Cfop(Cfop(QualCfop(item, lido)))
        .Aliquota6(AliquotaICMS(item));
    c470.N14(pc.pis).N14(pc.cofins).Fim();
    ++m_linhasC470;
  }
}

void CDiaECF::Escreve(const REG_REDUCAO_ZPS& z, const std::vector<REG_REDUCAO_Z_ALIQUOTAPS>& totalizadores,
                      const std::vector<REG_TOTALIZADOR_NAO_FISCALPS>& naoFiscais,
                      const std::vector<REG_EMISSOR_ALIQUOTA>& tabela, CDespejoTexto& grupo,
                      ContadoresC400& contadores) {
  std::string& texto = m_texto;
  texto.clear();
  ContadoresC400 dia;
  CLinhaEFD(texto, "C405")
      .Data(z.Data)
      .NumericoInteiro(z.CRO, 3)
      .NumericoInteiro(z.CRZ, 6)
      .NumericoInteiro(z.COOFinal, 6)
      .N14(z.GrandeTotal.int64)
      .N14(z.VendaBruta.int64)
      .Fim();
  ++dia.c405;
  if (z.VendaBruta.int64 == 0) {
    grupo.Escreve(texto);
    dia.total = dia.c405;
    contadores += dia;
    return;
  }
  // The day's PIS and COFINS: always in profile A; in profile B whenever
  // the day's items carry any (the Guia Prático's C410 is due "sempre que
  // houver produtos totalizados na Redução Z que acarretem valores de PIS e
  // COFINS", whatever the profile).
  if (m_perfilA || m_pis != 0 || m_cofins != 0) {
    CLinhaEFD(texto, "C410").N14(m_pis).N14(m_cofins).Fim();
    ++dia.c410;
  }

  // A partial totalizer with a value and its number in NR_TOT (the rate
  // totalizers' position in the ECF's table: "T1800" number 01), followed
  // in profile B by its items.
  // A totalizer without items has the key 0.
  const auto totalizador = [&](std::string_view codigo, std::int64_t valor, const char* posicao, std::uint32_t chave) {
    if (valor == 0) return;
    CLinhaEFD linha(texto, "C420");
    linha.Texto(codigo).N14(valor);
    if (posicao) linha.Numerico(posicao, 2);
    else linha.Vazio();
    linha.Vazio().Fim();
    ++dia.c420;
    if (m_perfilA || chave == 0) return;
    const auto itens = m_c425.find(chave);
    if (itens == m_c425.end()) return;
    for (const auto& [chave, soma] : itens->second) {
      CLinhaEFD(texto, "C425")
          .Codigo(soma.servico ? 'S' : 'P', soma.codigo)
          .N14(soma.quantidade, 3)
          .Texto(soma.lido->unidade)
          .N14(soma.valor)
          .N14(soma.pis)
          .N14(soma.cofins)
          .Fim();
      ++dia.c425;
    }
  };
  // Two positions of one rate are two totalizers of one code told apart by
  // their number (NR_TOT); the day's items of that rate go under the first.
  std::set<std::uint32_t> comItens;
  for (const auto& t : totalizadores) {
    const REG_EMISSOR_ALIQUOTA* achada = nullptr;
    for (const auto& a : tabela) {
      if (a.Tipo != t.Tipo || a.Aliquota != t.Aliquota) continue;
      if (!achada || a.Posicao == t.Posicao) achada = &a;
      if (a.Posicao == t.Posicao) break;
    }
    if (!achada) continue;
    char codigo[8], posicao[8];
    std::snprintf(codigo, sizeof codigo, "%c%04u", t.Tipo == 'S' ? 'S' : 'T', static_cast<unsigned>(t.Aliquota % 10000));
    std::snprintf(posicao, sizeof posicao, "%u", static_cast<unsigned>(achada->Posicao));
    const std::uint32_t chave = ChaveTotalizador(codigo[0], t.Aliquota);
    totalizador(codigo, t.Valor.int64, posicao, t.Valor.int64 != 0 && comItens.insert(chave).second ? chave : 0);
  }
  totalizador("F1", z.Substituicao.int64, nullptr, ChaveTotalizador('F', 0));
  totalizador("I1", z.Isento.int64, nullptr, ChaveTotalizador('I', 0));
  totalizador("N1", z.NaoTributado.int64, nullptr, ChaveTotalizador('N', 0));
  // Discounts, surcharges, cancellations and the non-fiscal operations
  // (codes 252 to 255) have no items under them.
  totalizador("DT", z.Descontos.int64, nullptr, 0);
  totalizador("AT", z.Acrescimos.int64, nullptr, 0);
  totalizador("Can-T", z.Cancelamentos.int64, nullptr, 0);
  std::int64_t operacoesNaoFiscais = 0;
  for (const auto& t : naoFiscais)
    if (t.Codigo >= 0xFC) operacoesNaoFiscais += t.Valor.int64;
  totalizador("OPNF", operacoesNaoFiscais, nullptr, 0);

  grupo.Escreve(texto);
  texto.clear();
  if (m_perfilA) {
    grupo.Escreve(m_c460);
    dia.c460 = m_linhasC460;
    dia.c470 = m_linhasC470;
  }
  for (const auto& [chave, soma] : m_c490) {
    CLinhaEFD(texto, "C490")
        .Numerico(soma.cst, 3)
        .Cfop(soma.cfop)
        .Aliquota6(soma.aliquota)
        .N14(soma.operacao)
        .N14(soma.base)
        .N14(ParteDoValor(soma.base, soma.aliquota))
        .Vazio()
        .Fim();
    ++dia.c490;
  }
  grupo.Escreve(texto);
  dia.total = dia.c405 + dia.c410 + dia.c420 + dia.c425 + dia.c460 + dia.c470 + dia.c490;
  contadores += dia;
}

}  // namespace qmx::efd
