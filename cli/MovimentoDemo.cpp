#include "cli/MovimentoDemo.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "cli/CatalogoDemo.h"
#include "cli/SorteioDemo.h"
#include "cli/VariedadeDemo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorEmpresa.h"
#include "plataforma/dados/GravadorMovimento.h"
#include "plataforma/impressora/ApuracaoReducaoZ.h"

namespace qmx::cli {

namespace {

constexpr std::uint64_t kSemente = 0x51A7C0DE20261101ULL;

// Each ECF-day, branch-day and so on draws from a generator of its own, so
// that what one of them does never shifts another.
std::uint64_t Semente(std::uint64_t variedade, std::uint64_t a, std::uint64_t b, std::uint64_t c) {
  Sorteio s(kSemente ^ (variedade * 0x9E3779B97F4A7C15ULL) ^ (a << 40) ^ (b << 20) ^ c);
  return s.Proximo();
}


// A payment of the cupom being built; the holder's fields start empty.
REG_EC_CX_PAGAMENTOPS Pagamento(std::size_t sequencia, std::uint16_t forma, CY valor, std::uint32_t gnf) {
  REG_EC_CX_PAGAMENTOPS p{};
  p.Sequencia = static_cast<std::uint16_t>(sequencia);
  p.Forma = forma;
  p.Valor = valor;
  p.GNF = gnf;
  return p;
}

std::int32_t Hora(int segundos) { return segundos / 3600 * 10000 + segundos / 60 % 60 * 100 + segundos % 60; }

// Amounts are value times 10 000; the ECF truncates to cents.
std::int64_t Multiplica(std::int64_t a, std::int64_t b) { return a * b / 10000; }
std::int64_t Trunca(std::int64_t valor) { return valor - valor % 100; }
std::int64_t Arredonda(std::int64_t valor) { return (valor + 50) / 100 * 100; }
constexpr std::int64_t Reais(std::int64_t reais) { return reais * 10000; }

template <std::size_t N>
void CopiaTexto(char (&destino)[N], const char* texto) {
  const std::size_t n = strnlen(texto, N - 1);
  std::memcpy(destino, texto, n);
  std::memset(destino + n, 0, N - n);
}

// Operation codes of the document log (the last-COO descriptions).
enum : std::uint8_t {
  kAberturaDia = 1,
  kSuprimento = 3,
  kSangria = 4,
  kGerencial = 6,
  kGerencialTEF = 7,
  kReducaoZ = 8,
  kCancelamentoCupom = 9,
  kGerencialCheques = 13,
  kGerencialPreVendas = 14,
  kNaoFiscal = 20,
  kTrocaOperador = 31,
  kGerencialDAV = 38,
};

// Non-fiscal totalizers: receipts of customers' installments, and the
// printer's own withdrawal and float.
constexpr std::uint8_t kTotalizadorRecebimento = 1;
constexpr std::uint8_t kTotalizadorSangria = 253;
constexpr std::uint8_t kTotalizadorSuprimento = 254;

// The day's hours of sale.
constexpr int kAbertura = 8 * 3600 + 5 * 60;
constexpr int kFechamento = 21 * 3600 + 30 * 60;

constexpr const char* kNomesDigitados[] = {"JOÃO DA SILVA", "FRANCISCA OLIVEIRA", "PEDRO HENRIQUE SOUZA",
                                           "LUCIANA ALVES", "RAIMUNDO NONATO"};

struct Contadores {
  std::uint32_t coo = 0, ccf = 0, crz = 0, cro = 1, gnf = 0, grg = 0, cdc = 0;
  std::int64_t grandeTotal = 0;
};

struct EstadoEmissora {
  const EmissoraDemo* cadastro = nullptr;
  std::size_t filial = 0;  // in the generator's list of branches
  std::uint16_t aliquotaISS = 0;
  Contadores contadores;
};

struct EstadoFilial {
  const FilialDemo* cadastro = nullptr;
  bool principal = false;  // branch 1, open every day
  bool emiteDAV = false;
  double cuponsPorDia = 0;
  double itensPorCupom = 0;
  // Per product, by its place in the catalogue.
  std::vector<std::int64_t> vendido, posicao, reposicao;
  std::uint32_t ultimoDAV = 0;
  std::map<std::uint16_t, std::uint32_t> ultimaNota;
};

// Consumer notas written by hand while an ECF was out of order.
struct NotaConsumidorPlanejada {
  std::uint16_t emissora;
  int dia;
  std::uint32_t inicial, final;
  bool cancelada;
};

// A document of the log that follows a cupom (the card slip of a TEF
// payment).
struct DocumentoPendente {
  std::int32_t hora;
  std::uint32_t coo, gnf, cdc;
};

class Gerador {
 public:
  Gerador(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros, const OpcoesDemo& opcoes);
  ContagemMovimentoDemo Executa();

 private:
  bool Abre(const EstadoEmissora& e, int dia) const;
  // A branch that sells a fixed number of cupons of 8 items a day on each
  // ECF: the big store's branch 1, every branch of a chain.
  bool Grande(const EstadoFilial& f) const { return (m_opcoes.lojaGrande && f.principal) || m_opcoes.rede > 0; }
  int CuponsDoDia(Sorteio& s, const EstadoEmissora& e, int dia) const;
  void DiaDaEmissora(EstadoEmissora& e, int dia);
  void Documento(const EstadoEmissora& e, NumeroDia data, int segundos, std::uint32_t coo, std::uint8_t tipo,
                 std::uint32_t gnf = 0, std::uint32_t grg = 0, std::uint32_t cdc = 0);

  const ProdutoDemo& SorteiaProduto(Sorteio& s) const;
  std::int64_t SorteiaQuantidade(Sorteio& s, const ProdutoDemo& p) const;
  void AcrescentaItemProduto(Sorteio& s, const EstadoFilial& f, const ProdutoDemo& p, bool comDesconto);
  void AcrescentaItemServico(Sorteio& s, const EstadoEmissora& e);
  void MontaItens(Sorteio& s, const EstadoEmissora& e, int quantidade, bool cancelaveis, bool comDesconto);
  void Totaliza(REG_EC_CXPS& cupom) const;
  void Identifica(Sorteio& s, REG_EC_CXPS& cupom) const;
  void MontaPagamentos(Sorteio& s, EstadoEmissora& e, REG_EC_CXPS& cupom, int segundos, bool& cheque);
  void MontaDAV(Sorteio& s, EstadoEmissora& e, REG_DAVPS& dav, bool quitado);
  void Vende(EstadoFilial& f, const REG_EC_CXPS& cupom);
  // A cupom joins the ones its transaction writes at once (GravaCupons).
  void GravaCupom(EstadoFilial& f, REG_EC_CXPS& cupom, impressora::CApuracaoReducaoZ& apuracao);
  void GravaCupons() {
    m_movimento.GravaCupons(m_cupons);
    m_cupons.clear();
  }

  void NotasDoDia(int dia);
  void NotasDaFilialPrincipal(EstadoFilial& f, int dia);
  void NotaComum(EstadoFilial& f, int dia);
  void IniciaNota(EstadoFilial& f, int dia, std::uint16_t tipo, std::uint32_t participante, std::uint16_t condicao);
  void ItemNota(const EstadoFilial& f, std::uint32_t codigo, std::int64_t quantidade, std::uint16_t natureza,
                std::int64_t descontoUnitario = 0, bool pisPorQuantidade = false);
  void ServicoNota(std::uint32_t codigo, std::int64_t quantidade);
  enum class Situacao { Normal, Cancelada, Inutilizada, Denegada };
  void GravaNota(EstadoFilial& f, Situacao situacao, std::uint16_t forma);
  std::string ChaveNFe(const EstadoFilial& f, std::uint32_t numero) const;

  void PosicoesIniciais();
  void PosicoesDoDia(int dia);
  void Inventario();

  std::size_t IndiceProduto(std::uint32_t codigo) const { return m_indiceProduto.at(codigo); }

  dados::CGravadorEmpresa& m_gravador;
  dados::CGravadorMovimento m_movimento;
  const OpcoesDemo& m_opcoes;
  const EscolhasVariedade m_variedade;
  const std::vector<ProdutoDemo>& m_produtos;
  std::vector<EstadoFilial> m_filiais;
  std::vector<EstadoEmissora> m_emissoras;
  std::vector<NotaConsumidorPlanejada> m_notasConsumidor;
  std::map<std::uint32_t, std::size_t> m_indiceProduto;
  std::vector<int> m_procuraAcumulada;  // over the products that sell
  std::vector<std::size_t> m_vendaveis;
  std::vector<const ClienteDemo*> m_clientesCupom;
  const MesDemo& m_mes;
  NumeroDia m_ultimoDiaDoAno;
  ContagemMovimentoDemo m_contagem;

  // A rate of the ECF's table other than the products' own, given to the
  // taxed items of the cupom being built (0: each product's own).
  std::uint16_t m_outraAliquota = 0;
  // A weighed product is still to be sold in a few grams.
  bool m_gramas = false;

  // Reused for every cupom, nota and DAV.
  std::vector<REG_EC_CX_CIPS> m_itens;
  std::vector<dados::CupomCompleto> m_cupons;  // written at the end of their transaction
  std::vector<REG_EC_CX_PAGAMENTOPS> m_pagamentos;
  std::vector<REG_EC_CX_PARCELAPS> m_parcelas;
  std::vector<DocumentoPendente> m_pendentes;
  std::vector<REG_DAV_ITEMPS> m_itensDAV;
  REG_NOTA_FISCALPS m_nota{};
  std::vector<REG_ITENS_NF_PS> m_itensNota;
  std::int64_t m_servicosNota = 0;
};

Gerador::Gerador(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros, const OpcoesDemo& opcoes)
    : m_gravador(gravador),
      m_movimento(gravador.Sessao()),
      m_opcoes(opcoes),
      m_variedade(opcoes.variedade ? EscolhasDaSemente(opcoes.variedade) : EscolhasVariedade{}),
      m_produtos(ProdutosDemo()),
      m_mes(opcoes.mes),
      m_ultimoDiaDoAno(CodificaDia(31, 12, opcoes.mes.ano)) {
  m_gramas = m_variedade.quantidadeMinima;
  for (std::size_t i = 0; i < m_produtos.size(); ++i) {
    m_indiceProduto[m_produtos[i].codigo] = i;
    if (m_produtos[i].procura > 0 && !m_produtos[i].inativo) {
      m_vendaveis.push_back(i);
      m_procuraAcumulada.push_back((m_procuraAcumulada.empty() ? 0 : m_procuraAcumulada.back()) +
                                   m_produtos[i].procura);
    }
  }
  for (const auto& c : ClientesDemo())
    if (!c.estrangeiro) m_clientesCupom.push_back(&c);

  for (const auto& f : cadastros.filiais) {
    EstadoFilial estado;
    estado.cadastro = &f;
    estado.principal = f.numero == 1;
    estado.emiteDAV = estado.principal || f.uf == "SC";
    estado.vendido.assign(m_produtos.size(), 0);
    estado.posicao.assign(m_produtos.size(), 0);
    estado.reposicao.assign(m_produtos.size(), 0);
    m_filiais.push_back(std::move(estado));
  }
  for (const auto& e : cadastros.emissoras) {
    EstadoEmissora estado;
    estado.cadastro = &e;
    for (std::size_t i = 0; i < m_filiais.size(); ++i)
      if (m_filiais[i].cadastro->numero == e.filial) estado.filial = i;
    for (const auto& a : e.aliquotas)
      if (a.Tipo == 'S') estado.aliquotaISS = a.Aliquota;
    // Each ECF comes into the month with the counters of its past.
    auto& c = estado.contadores;
    c.coo = 10000 + 7919u * e.numero % 80000;
    c.ccf = c.coo * 4 / 5;
    c.crz = 100 + 13u * e.numero;
    c.cro = 1 + (e.numero % 3 == 0);
    c.gnf = c.coo / 10;
    c.grg = c.gnf / 3;
    c.cdc = c.gnf / 2;
    c.grandeTotal = Reais(3500) * c.crz;
    auto& f = m_filiais[estado.filial];
    const bool grande = Grande(f);
    f.cuponsPorDia += grande ? m_opcoes.cuponsLojaGrande : f.principal ? 60 : 25;
    f.itensPorCupom = grande ? 8 : 4.5;
    m_emissoras.push_back(estado);
  }

  // The ECF of the second branch failed on the 10th and 11th; the second
  // ECF of the list on the 20th and 21st, when the whole pad of the 21st
  // was spoilt.
  std::uint16_t segunda = 0;
  for (const auto& e : m_emissoras)
    if (e.cadastro->filial == 2 && !segunda) segunda = e.cadastro->numero;
  if (segunda) {
    m_notasConsumidor.push_back({segunda, 10, 101, 118, false});
    m_notasConsumidor.push_back({segunda, 10, 119, 121, true});
    m_notasConsumidor.push_back({segunda, 11, 122, 140, false});
  }
  if (m_emissoras.size() > 1) {
    const std::uint16_t numero = m_emissoras[1].cadastro->numero;
    m_notasConsumidor.push_back({numero, 20, 501, 526, false});
    m_notasConsumidor.push_back({numero, 21, 527, 529, true});
  }
}

ContagemMovimentoDemo Gerador::Executa() {
  const auto inicio = std::chrono::steady_clock::now();
  m_gravador.Inicia();
  PosicoesIniciais();
  m_gravador.Confirma();
  for (auto& e : m_emissoras)
    if (e.cadastro->numero == 1) m_contagem.primeiroCOOEmissora1 = e.contadores.coo + 1;
  // A varied company moves on a few days of the month drawn from its seed
  // (each with that day's events); the demonstration on every day.
  std::vector<int> dias;
  for (int dia = 1; dia <= m_mes.Dias(); ++dia) dias.push_back(dia);
  if (m_opcoes.variedade) {
    Sorteio s(Semente(m_opcoes.variedade, 0, 0, 3));
    for (std::size_t i = dias.size(); i > 1; --i) std::swap(dias[i - 1], dias[s.Proximo() % i]);
    dias.resize(static_cast<std::size_t>(s.Entre(3, 6)));
    std::sort(dias.begin(), dias.end());
  }
  if (m_opcoes.variedade) {
    // The pads written while an ECF was out of order fall on the days
    // drawn, in the order of their own days; entered from the last one
    // when the seed chose so.
    std::vector<int> planejados;
    for (const auto& p : m_notasConsumidor) planejados.push_back(p.dia);
    std::sort(planejados.begin(), planejados.end());
    planejados.erase(std::unique(planejados.begin(), planejados.end()), planejados.end());
    for (auto& p : m_notasConsumidor) {
      const auto ordem = static_cast<std::size_t>(
          std::lower_bound(planejados.begin(), planejados.end(), p.dia) - planejados.begin());
      p.dia = dias[std::min(ordem, dias.size() - 1)];
    }
    if (m_variedade.notasConsumidorForaDeOrdem) std::reverse(m_notasConsumidor.begin(), m_notasConsumidor.end());
  }
  m_contagem.primeiroDia = dias.front();
  for (const int dia : dias) {
    for (auto& e : m_emissoras) {
      if (!Abre(e, dia)) continue;
      m_gravador.Inicia();
      DiaDaEmissora(e, dia);
      GravaCupons();
      m_gravador.Confirma();
    }
    m_gravador.Inicia();
    NotasDoDia(dia);
    PosicoesDoDia(dia);
    if (dia == dias.back()) Inventario();
    GravaCupons();
    m_gravador.Confirma();
    if (m_opcoes.progresso) {
      const auto segundos =
          std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - inicio).count();
      std::fprintf(stderr, "qmx demo: %s, %lld cupons, %lld itens (%lld s)\n", m_mes.Texto(dia).c_str(),
                   m_contagem.cupons, m_contagem.itens, static_cast<long long>(segundos));
    }
  }
  for (auto& e : m_emissoras)
    if (e.cadastro->numero == 1) m_contagem.ultimoCOOEmissora1 = e.contadores.coo;
  // The supplier of the month's nota 20 left the register afterwards
  // (deleted by a program that did not ask whether documents named it).
  m_gravador.Inicia();
  m_gravador.Sessao().Executa("DELETE FROM cfrt WHERE codigo = ?", {kParticipanteExcluido});
  m_gravador.Confirma();
  return m_contagem;
}

// Branch 1 opens every day; the others close on Sundays and on All Souls'
// Day.
bool Gerador::Abre(const EstadoEmissora& e, int dia) const {
  if (m_filiais[e.filial].principal) return true;
  return m_mes.DiaDaSemana(dia) != 0 && !m_mes.Finados(dia);
}

int Gerador::CuponsDoDia(Sorteio& s, const EstadoEmissora& e, int dia) const {
  const auto& f = m_filiais[e.filial];
  // A varied company's second ECF reduced its first day without a sale.
  if (m_variedade.diaSemVenda && m_emissoras.size() > 1 && &e == &m_emissoras[1] && dia == m_contagem.primeiroDia)
    return 0;
  // A power cut kept João Pessoa from selling on the 25th.
  if (f.cadastro->uf == "PB" && dia == 25) return 0;
  if (Grande(f)) return m_opcoes.cuponsLojaGrande;
  // A varied company keeps its days short: a few cupons show every kind.
  if (m_opcoes.variedade) return f.principal ? s.Entre(4, 12) : s.Entre(1, 4);
  const int n = f.principal ? s.Entre(50, 70) : s.Entre(20, 30);
  return m_mes.DiaDaSemana(dia) == 6 ? n * 13 / 10 : n;
}

void Gerador::Documento(const EstadoEmissora& e, NumeroDia data, int segundos, std::uint32_t coo, std::uint8_t tipo,
                        std::uint32_t gnf, std::uint32_t grg, std::uint32_t cdc) {
  m_movimento.GravaDocumentoECF({e.cadastro->numero, data, Hora(segundos), coo, tipo, gnf, grg, cdc});
  ++m_contagem.documentos;
}

const ProdutoDemo& Gerador::SorteiaProduto(Sorteio& s) const {
  const int sorteado = static_cast<int>(s.Proximo() % static_cast<std::uint64_t>(m_procuraAcumulada.back()));
  const auto posicao =
      std::upper_bound(m_procuraAcumulada.begin(), m_procuraAcumulada.end(), sorteado) - m_procuraAcumulada.begin();
  return m_produtos[m_vendaveis[static_cast<std::size_t>(posicao)]];
}

// Kilograms to the gram for what is weighed; otherwise mostly one.
std::int64_t Gerador::SorteiaQuantidade(Sorteio& s, const ProdutoDemo& p) const {
  if (p.pesavel) return s.Entre(15, 250) * 100;
  const int r = s.Entre(0, 99);
  if (p.codigo == 15 && r < 20) return Reais(12);
  return Reais(r < 70 ? 1 : r < 90 ? 2 : s.Entre(3, 6));
}

void Gerador::AcrescentaItemProduto(Sorteio& s, const EstadoFilial& f, const ProdutoDemo& p, bool comDesconto) {
  auto& item = m_itens.emplace_back();
  std::memset(&item, 0, sizeof item);
  item.Item = static_cast<std::uint16_t>(m_itens.size());
  item.Codigo = p.codigo;
  CopiaTexto(item.Descricao, p.descricao);
  item.Quantidade = CY{SorteiaQuantidade(s, p)};
  item.ValorUnitario = CY{p.preco};
  // (A few grams once in a month, when the seed chose so and it is worth
  // a cent.)
  if (p.pesavel && m_gramas && Trunca(Multiplica(50, p.preco)) > 0) {
    item.Quantidade = CY{50};
    m_gramas = false;
  }
  const std::int64_t bruto = Trunca(Multiplica(item.Quantidade.int64, p.preco));
  std::int64_t desconto = 0;
  if (comDesconto && bruto >= Reais(1) && s.Chance(40)) desconto = Arredonda(bruto * (s.Chance(500) ? 5 : 10) / 100);
  item.Desconto = CY{desconto};
  item.ValorTotal = CY{bruto - desconto};
  item.ValorItem = item.ValorTotal.int64 * 10000;
  const auto& t = TributacaoNaFilial(p, f.cadastro->uf);
  item.TipoTributacao = static_cast<std::uint8_t>(t.letra);
  item.AliquotaCentesimos = t.letra != 'T' ? 0 : m_outraAliquota ? m_outraAliquota : t.aliquota;
  // What the item keeps of its product, as the register has it now.
  CopiaTexto(item.CST, t.cst);
  item.Unidade = p.unidade;
  CopiaTexto(item.NCM, p.ncm);
  item.Aliquota = CY{static_cast<std::int64_t>(item.AliquotaCentesimos) * 100};
}

// Services are taxed by ISS, at the rate of the ECF's table.
void Gerador::AcrescentaItemServico(Sorteio& s, const EstadoEmissora& e) {
  const auto& servicos = ServicosDemo();
  const auto& sv = servicos[static_cast<std::size_t>(s.Entre(0, static_cast<int>(servicos.size()) - 1))];
  auto& item = m_itens.emplace_back();
  std::memset(&item, 0, sizeof item);
  item.Item = static_cast<std::uint16_t>(m_itens.size());
  item.Servico = 1;
  item.Codigo = sv.codigo;
  CopiaTexto(item.Descricao, sv.descricao);
  item.Quantidade = CY{Reais(1)};
  item.ValorUnitario = CY{sv.preco};
  item.ValorTotal = CY{sv.preco};
  item.ValorItem = sv.preco * 10000;
  item.TipoTributacao = 'S';
  item.Unidade = sv.unidade;
  item.AliquotaCentesimos = e.aliquotaISS;
  item.Aliquota = CY{static_cast<std::int64_t>(e.aliquotaISS) * 100};
}

void Gerador::MontaItens(Sorteio& s, const EstadoEmissora& e, int quantidade, bool cancelaveis, bool comDesconto) {
  m_itens.clear();
  const auto& f = m_filiais[e.filial];
  for (int i = 0; i < quantidade; ++i) {
    if (s.Chance(15))
      AcrescentaItemServico(s, e);
    else
      AcrescentaItemProduto(s, f, SorteiaProduto(s), comDesconto);
  }
  // A few items are cancelled while the cupom is open; one always stays.
  if (!cancelaveis) return;
  std::size_t cancelados = 0;
  for (auto& item : m_itens)
    if (s.Chance(15) && cancelados + 1 < m_itens.size()) {
      item.Cancelado = 1;
      ++cancelados;
    }
}

// The subtotal before the items' discounts, the discounts and the total,
// of the items not cancelled.
void Gerador::Totaliza(REG_EC_CXPS& cupom) const {
  std::int64_t subtotal = 0, desconto = 0;
  for (const auto& item : m_itens) {
    if (item.Cancelado) continue;
    subtotal += item.ValorTotal.int64 + item.Desconto.int64;
    desconto += item.Desconto.int64;
  }
  cupom.Subtotal = CY{subtotal};
  cupom.Desconto = CY{desconto};
  cupom.Total = CY{subtotal - desconto};
  cupom.QuantidadeItens = static_cast<std::uint16_t>(m_itens.size());
}

// A few buyers are customers of the store; some more type their CPF (with
// or without punctuation) or their company's CNPJ.
void Gerador::Identifica(Sorteio& s, REG_EC_CXPS& cupom) const {
  const int r = s.Entre(0, 999);
  if (r < 30) {
    const auto& c =
        *m_clientesCupom[static_cast<std::size_t>(s.Entre(0, static_cast<int>(m_clientesCupom.size()) - 1))];
    cupom.Cliente = c.codigo;
    CopiaTexto(cupom.NomeCliente, c.nome);
  } else if (r < 110) {
    char digitos[16];
    std::string documento;
    if (s.Chance(850)) {
      std::snprintf(digitos, sizeof digitos, "%09d", s.Entre(10000000, 999999998));
      documento = CpfComDigitos(digitos);
      if (s.Chance(250))
        documento.erase(std::remove_if(documento.begin(), documento.end(), [](char c) { return c == '.' || c == '-'; }),
                        documento.end());
    } else {
      std::snprintf(digitos, sizeof digitos, "%08d0001", s.Entre(1000000, 99999999));
      documento = CnpjComDigitos(digitos);
    }
    CopiaTexto(cupom.DocumentoCliente, documento.c_str());
    if (s.Chance(400)) CopiaTexto(cupom.NomeCliente, kNomesDigitados[s.Entre(0, 4)]);
  }
}

// How the cupom was paid: cash with its change, cards with their slips,
// cheques, installments for what was sold on credit.
void Gerador::MontaPagamentos(Sorteio& s, EstadoEmissora& e, REG_EC_CXPS& cupom, int segundos, bool& cheque) {
  m_pagamentos.clear();
  m_parcelas.clear();
  m_pendentes.clear();
  auto& c = e.contadores;
  const std::int64_t total = cupom.Total.int64;
  auto paga = [&](std::uint16_t forma, std::int64_t valor) {
    std::uint32_t gnf = 0;
    if (forma == kFormaCartaoCredito || forma == kFormaCartaoDebito) {
      gnf = ++c.gnf;
      m_pendentes.push_back({Hora(segundos + 5 + static_cast<int>(m_pendentes.size())), 0, gnf, ++c.cdc});
    }
    auto& pagamento = m_pagamentos.emplace_back(Pagamento(m_pagamentos.size() + 1, forma, CY{valor}, gnf));
    // A card's or cheque's holder: the cupom's buyer when named, else the
    // name the operator typed; the branch's city; a mobile number. The
    // cheque carries the operator's note of its check. (Nothing drawn:
    // the rest of the month stays as it was.)
    if (forma == kFormaCartaoCredito || forma == kFormaCartaoDebito || forma == kFormaCheque) {
      CopiaTexto(pagamento.Titular, cupom.NomeCliente[0] ? cupom.NomeCliente : kNomesDigitados[cupom.COO % 5]);
      CopiaTexto(pagamento.Cidade, m_filiais[e.filial].cadastro->municipio.c_str());
      char telefone[16];
      std::snprintf(telefone, sizeof telefone, "(%02u) 9%04u-%04u", static_cast<unsigned>(11 + e.filial % 80),
                    cupom.COO % 10000u, cupom.COO * 7u % 10000u);
      CopiaTexto(pagamento.Telefone, telefone);
      if (forma == kFormaCheque) CopiaTexto(pagamento.Mensagem, "CHEQUE CONSULTADO E APROVADO");
    }
  };
  auto parcela = [&](int parcelas, int intervalo, std::uint16_t tipoDocumento) {
    while (parcelas > 1 && cupom.Data + intervalo * parcelas > m_ultimoDiaDoAno) --parcelas;
    const std::int64_t valor = Trunca(total / parcelas);
    for (int j = 1; j <= parcelas; ++j)
      m_parcelas.push_back({0, static_cast<std::uint16_t>(j),
                            CY{j == parcelas ? total - valor * (parcelas - 1) : valor}, tipoDocumento,
                            cupom.Data + intervalo * j});
    return parcelas;
  };

  const int r = s.Entre(0, 999);
  if (r < 500) {
    // Cash: the customer hands notes; the change comes back as change, as a
    // credit voucher, or less the coins the store has not got.
    std::int64_t entregue = total;
    if (!s.Chance(300)) {
      static constexpr std::int64_t kNotas[] = {Reais(10), Reais(20), Reais(50)};
      const std::int64_t nota = total > Reais(300) ? Reais(100) : kNotas[s.Entre(0, 2)];
      entregue = (total + nota - 1) / nota * nota;
    }
    paga(kFormaDinheiro, entregue);
    std::int64_t troco = entregue - total;
    if (troco > 0 && s.Chance(30)) {
      paga(kFormaContravale, troco);
    } else if (troco > 0) {
      const std::int64_t moedas = troco % 500;
      if (moedas && s.Chance(200)) {
        paga(kFormaArredondamento, moedas);
        troco -= moedas;
      }
      if (troco) paga(kFormaTroco, troco);
    }
  } else if (r < 750) {
    paga(kFormaCartaoDebito, total);
  } else if (r < 920) {
    paga(kFormaCartaoCredito, total);
    if (parcela(s.Entre(1, 3), 15, kTipoFaturaCartao) > 1) cupom.CondicaoPagamento = kCondicaoCartaoParcelado;
  } else if (r < 960) {
    paga(kFormaCheque, total);
    cheque = true;
    if (s.Chance(400)) {
      parcela(s.Entre(1, 2), 30, kTipoChequePre);
      cupom.CondicaoPagamento = kCondicao30Dias;
    }
  } else if (total >= Reais(2)) {
    const std::int64_t dinheiro = total / 2 / Reais(1) * Reais(1);
    paga(kFormaDinheiro, dinheiro);
    paga(kFormaCartaoDebito, total - dinheiro);
  } else {
    paga(kFormaDinheiro, total);
  }
}

// A DAV printed on the ECF: a quotation of a few products, sometimes with a
// line given up, rarely with nothing at all. One that a cupom settles has
// no surcharge (the cupom's items carry none).
void Gerador::MontaDAV(Sorteio& s, EstadoEmissora& e, REG_DAVPS& dav, bool quitado) {
  auto& f = m_filiais[e.filial];
  m_itensDAV.clear();
  std::memset(&dav, 0, sizeof dav);
  dav.Filial = f.cadastro->numero;
  dav.Emissora = e.cadastro->numero;
  dav.Numero = ++f.ultimoDAV;
  dav.Cliente = s.Chance(500) ? static_cast<std::uint32_t>(s.Entre(1, 6)) : 0;
  if (!quitado && s.Chance(100)) return;
  const int quantidade = s.Entre(1, 5);
  for (int i = 0; i < quantidade; ++i) {
    // Every 25th quotation starts with the basic-food kit.
    const auto& p = i == 0 && dav.Numero % 25 == 1 ? m_produtos[IndiceProduto(39)] : SorteiaProduto(s);
    const auto& t = TributacaoNaFilial(p, f.cadastro->uf);
    auto& item = m_itensDAV.emplace_back();
    std::memset(&item, 0, sizeof item);
    item.Item = static_cast<std::uint16_t>(i + 1);
    item.Produto = p.codigo;
    item.Quantidade = CY{SorteiaQuantidade(s, p)};
    item.ValorUnitario = CY{p.preco};
    const std::int64_t bruto = Trunca(Multiplica(item.Quantidade.int64, p.preco));
    if (bruto >= Reais(1) && s.Chance(200)) item.Desconto = CY{Arredonda(bruto / 20)};
    if (!quitado && s.Chance(100)) item.Acrescimo = CY{Reais(1)};
    item.ValorTotal = CY{bruto - item.Desconto.int64 + item.Acrescimo.int64};
    // A reduced base shows as its own code in the DAV.
    item.Tributacao = p.reducaoBase ? 'R' : t.letra;
    item.Aliquota = t.letra == 'T' ? t.aliquota : 0;
    item.Cancelado = i > 0 && s.Chance(80);
    if (!item.Cancelado) dav.Valor.int64 += item.ValorTotal.int64;
  }
  dav.QuantidadeItens = static_cast<std::uint16_t>(m_itensDAV.size());
}

void Gerador::Vende(EstadoFilial& f, const REG_EC_CXPS& cupom) {
  if (cupom.Cancelado) return;
  for (const auto& item : m_itens)
    if (!item.Cancelado && !item.Servico) f.vendido[IndiceProduto(item.Codigo)] += item.Quantidade.int64;
}

void Gerador::GravaCupom(EstadoFilial& f, REG_EC_CXPS& cupom, impressora::CApuracaoReducaoZ& apuracao) {
  cupom.QuantidadeParcelas = static_cast<std::uint16_t>(m_parcelas.size());
  cupom.Id = 0;
  m_cupons.push_back({cupom, m_itens, m_pagamentos, m_parcelas});
  apuracao.AcumulaCupom(cupom, m_itens);
  Vende(f, cupom);
  ++m_contagem.cupons;
  m_contagem.itens += static_cast<long long>(m_itens.size());
  m_contagem.pagamentos += static_cast<long long>(m_pagamentos.size());
  m_contagem.parcelas += static_cast<long long>(m_parcelas.size());
}

// One ECF's working day: the opening, the float, the cupons with the
// documents around them, the withdrawal, the closing reports and the Z
// reduction summed from the day's cupons.
void Gerador::DiaDaEmissora(EstadoEmissora& e, int dia) {
  Sorteio s(Semente(m_opcoes.variedade, e.cadastro->numero, static_cast<std::uint64_t>(dia), 1));
  auto& f = m_filiais[e.filial];
  auto& c = e.contadores;
  const std::uint16_t numero = e.cadastro->numero;
  const NumeroDia data = m_mes.Dia(dia);
  impressora::CApuracaoReducaoZ apuracao(numero, data, e.cadastro->aliquotas);
  std::uint32_t sequencia = 0;
  // A technician's intervention on the third ECF of the list.
  if (m_emissoras.size() > 2 && &e == &m_emissoras[2] && dia == 16) ++c.cro;

  Documento(e, data, 7 * 3600 + 58 * 60, ++c.coo, kAberturaDia);
  ++c.gnf;
  Documento(e, data, 8 * 3600, ++c.coo, kSuprimento, c.gnf);
  apuracao.AcumulaNaoFiscal(kTotalizadorSuprimento, CY{Reais(f.principal ? 200 : 100)});

  const int n = CuponsDoDia(s, e, dia);
  const int passo = n ? (kFechamento - kAbertura) / n : 0;
  const int davPorMil = f.emiteDAV && n ? std::max(1, 1500 / n) : 0;
  const int itensGrandes = Grande(f) ? 8 : 0;
  bool cheques = false;
  for (int k = 0; k < n; ++k) {
    const int segundos = kAbertura + k * passo + (passo > 3 ? s.Entre(0, passo / 3) : 0);
    // On the first day, when the seed chose so, every other cupom of the
    // list's first ECF sells its taxed products at the table's last rate:
    // the same product at two rates in one day.
    m_outraAliquota = 0;
    if (m_variedade.itemDuasAliquotas && &e == &m_emissoras.front() && dia == m_contagem.primeiroDia && k % 2)
      for (const auto& a : e.cadastro->aliquotas)
        if (a.Tipo == 'T') m_outraAliquota = a.Aliquota;
    if (k == n / 2) Documento(e, data, segundos - 4, ++c.coo, kTrocaOperador);
    if (k == 2 * n / 3) {
      ++c.gnf;
      Documento(e, data, segundos - 3, ++c.coo, kSangria, c.gnf);
      apuracao.AcumulaNaoFiscal(kTotalizadorSangria, CY{Reais(f.principal ? 500 : 200)});
    }
    if (k == n / 4 && s.Chance(300)) {
      ++c.gnf;
      Documento(e, data, segundos - 2, ++c.coo, kNaoFiscal, c.gnf);
      apuracao.AcumulaNaoFiscal(kTotalizadorRecebimento, CY{Reais(s.Entre(30, 300))});
    }
    if (k == n / 3)
      for (const auto& planejada : m_notasConsumidor) {
        if (planejada.emissora != numero || planejada.dia != dia) continue;
        REG_EC_CXPS nota{};
        nota.Filial = f.cadastro->numero;
        nota.Emissora = numero;
        nota.Data = data;
        nota.Hora = Hora(segundos - 2);
        nota.Sequencia = ++sequencia;
        nota.Status = QMX_STATUS_NOTA_CONSUMIDOR;
        nota.NumeroInicial = planejada.inicial;
        nota.NumeroFinal = planejada.final;
        nota.Cancelado = planejada.cancelada;
        nota.CondicaoPagamento = kCondicaoAVista;
        MontaItens(s, e, s.Entre(4, 10), false, m_variedade.notasConsumidorComDesconto);
        Totaliza(nota);
        m_pagamentos.assign(1, Pagamento(1, kFormaDinheiro, nota.Total, 0));
        m_parcelas.clear();
        GravaCupom(f, nota, apuracao);
      }

    // A DAV printed before this cupom, which the cupom may settle.
    REG_DAVPS dav{};
    const bool comDAV = davPorMil && s.Chance(davPorMil);
    const bool quitado = comDAV && s.Chance(700);
    if (comDAV) {
      MontaDAV(s, e, dav, quitado);
      ++c.gnf;
      ++c.grg;
      dav.Data = data;
      dav.COODAV = ++c.coo;
      Documento(e, data, segundos - 1, dav.COODAV, kGerencialDAV, c.gnf, c.grg);
    }

    REG_EC_CXPS cupom{};
    cupom.Filial = f.cadastro->numero;
    cupom.Emissora = numero;
    cupom.Data = data;
    cupom.Hora = Hora(segundos);
    cupom.COO = ++c.coo;
    cupom.CCF = ++c.ccf;
    cupom.Sequencia = ++sequencia;
    cupom.CondicaoPagamento = kCondicaoAVista;
    if (quitado) {
      m_itens.clear();
      for (const auto& d : m_itensDAV) {
        if (d.Cancelado) continue;
        const auto& p = m_produtos[IndiceProduto(d.Produto)];
        AcrescentaItemProduto(s, f, p, false);
        auto& item = m_itens.back();
        item.Quantidade = d.Quantidade;
        item.Desconto = d.Desconto;
        item.ValorTotal = d.ValorTotal;
        item.ValorItem = d.ValorTotal.int64 * 10000;
      }
      cupom.Origem = 1;
      cupom.Cliente = dav.Cliente;
      if (dav.Cliente) CopiaTexto(cupom.NomeCliente, ClientesDemo()[dav.Cliente - 1].nome);
    } else {
      int quantidade = itensGrandes;
      if (!quantidade) {
        quantidade = s.Entre(1, 3);
        if (s.Chance(500)) quantidade += s.Entre(0, 6);
        if (s.Chance(100)) quantidade += s.Entre(5, 15);
      }
      MontaItens(s, e, quantidade, true, true);
      cupom.Cancelado = s.Chance(8) || (m_variedade.ultimoCupomCancelado && &e == &m_emissoras.front() &&
                                        dia == m_contagem.primeiroDia && k == n - 1 && n > 1);
      Identifica(s, cupom);
    }
    Totaliza(cupom);
    MontaPagamentos(s, e, cupom, segundos, cheques);
    for (auto& pendente : m_pendentes) pendente.coo = ++c.coo;
    GravaCupom(f, cupom, apuracao);
    for (const auto& pendente : m_pendentes) {
      m_movimento.GravaDocumentoECF(
          {numero, data, pendente.hora, pendente.coo, kGerencialTEF, pendente.gnf, 0, pendente.cdc});
      ++m_contagem.documentos;
    }
    if (cupom.Cancelado) Documento(e, data, segundos + 10, ++c.coo, kCancelamentoCupom);
    if (comDAV) {
      dav.COOCupom = quitado ? cupom.COO : 0;
      m_movimento.GravaDAV(dav, m_itensDAV);
      ++m_contagem.davs;
    }
  }

  m_outraAliquota = 0;

  // Closing: the day's reports, then the reduction. Outside branch 1 the
  // Saturday reduction is issued on Monday morning.
  int segundos = kFechamento + 10 * 60;
  ++c.gnf;
  Documento(e, data, segundos, ++c.coo, kGerencial, c.gnf, ++c.grg);
  if (cheques) {
    ++c.gnf;
    Documento(e, data, segundos += 60, ++c.coo, kGerencialCheques, c.gnf, ++c.grg);
  }
  if (f.principal) {
    ++c.gnf;
    Documento(e, data, segundos += 60, ++c.coo, kGerencialPreVendas, c.gnf, ++c.grg);
  }
  const std::uint32_t cooReducao = ++c.coo;
  ++c.crz;
  const bool naSegunda = !f.principal && m_mes.DiaDaSemana(dia) == 6;
  const NumeroDia emissao = naSegunda ? data + 2 : data;
  const int horaReducao = naSegunda ? 7 * 3600 + 55 * 60 : segundos + 300;
  const auto z = apuracao.Fecha(c.crz, c.cro, cooReducao, CY{c.grandeTotal}, emissao, Hora(horaReducao));
  c.grandeTotal = z.reducao.GrandeTotal.int64;
  m_movimento.GravaReducaoZ(z.reducao, z.aliquotas, z.naoFiscais);
  ++m_contagem.reducoes;
  Documento(e, emissao, horaReducao, cooReducao, kReducaoZ);
}

// ---------------------------------------------------------------------------
// Notas fiscais

void Gerador::IniciaNota(EstadoFilial& f, int dia, std::uint16_t tipo, std::uint32_t participante,
                         std::uint16_t condicao) {
  static const std::map<std::uint16_t, std::uint32_t> kPrimeiroNumero = {
      {kTipoNotaFiscal, 4500}, {kTipoNotaAvulsa, 120},  {kTipoNotaProdutor, 60},
      {kTipoNFe, 12000},       {kTipoCupomFiscal, 900}, {kTipoRomaneio, 300}};
  std::memset(&m_nota, 0, sizeof m_nota);
  m_itensNota.clear();
  m_servicosNota = 0;
  auto& ultima = f.ultimaNota[tipo];
  if (!ultima) ultima = kPrimeiroNumero.at(tipo);
  m_nota.Filial = f.cadastro->numero;
  m_nota.TipoDocumento = tipo;
  CopiaTexto(m_nota.Serie, tipo == kTipoNotaAvulsa ? "890" : tipo == kTipoRomaneio ? "" : "1");
  m_nota.Numero = ++ultima;
  m_nota.Data = m_mes.Dia(dia);
  m_nota.Participante = participante;
  m_nota.CondicaoPagamento = condicao;
  if (tipo == kTipoNFe) CopiaTexto(m_nota.ChaveNFe, ChaveNFe(f, m_nota.Numero).c_str());
}

// A product sold on the nota at its wholesale price when it has one. The
// nota's natures outside the state, for export and for goods sent for
// repair carry no ICMS of the branch's rate.
void Gerador::ItemNota(const EstadoFilial& f, std::uint32_t codigo, std::int64_t quantidade, std::uint16_t natureza,
                       std::int64_t descontoUnitario, bool pisPorQuantidade) {
  const auto& p = m_produtos[IndiceProduto(codigo)];
  const auto& t = TributacaoNaFilial(p, f.cadastro->uf);
  auto& i = m_itensNota.emplace_back();
  std::memset(&i, 0, sizeof i);
  i.Sequencia = static_cast<std::uint16_t>(m_itensNota.size());
  i.Codigo = codigo;
  CopiaTexto(i.Descricao, p.descricao);
  i.Quantidade = CY{quantidade};
  const std::int64_t preco = PrecoAtacado(p) ? PrecoAtacado(p) : p.preco;
  i.ValorItem = CY{Trunca(Multiplica(quantidade, preco))};
  i.DescontoUnitario = descontoUnitario;
  const std::int64_t desconto = Trunca(Multiplica(descontoUnitario / 10000, quantidade));
  const std::int64_t valor = i.ValorItem.int64 - desconto;
  const bool venda = natureza == kNaturezaVenda;
  i.Natureza = !venda ? natureza : p.producao ? kNaturezaProducao : t.letra == 'F' ? kNaturezaVendaST : natureza;
  const bool tributado = t.letra == 'T' && natureza != kNaturezaExportacao && natureza != kNaturezaRemessa;
  // A taxed good that leaves without ICMS is issued under the situation
  // that says why: an export is outside ICMS (41), a shipment suspended (50).
  if (t.letra == 'T' && !tributado) {
    const char cst[4] = {t.cst && t.cst[0] ? t.cst[0] : '0', natureza == kNaturezaExportacao ? '4' : '5',
                         natureza == kNaturezaExportacao ? '1' : '0', '\0'};
    CopiaTexto(i.CST, cst);
  }
  if (tributado) {
    i.AliquotaICMS = natureza == kNaturezaInterestadual ? 1200 : t.aliquota;
    const std::int64_t base = Trunca(valor * (10000 - p.reducaoBase) / 10000);
    i.BaseICMS = CY{base};
    i.ReducaoBase = CY{valor - base};
    i.ICMS = CY{Arredonda(base * i.AliquotaICMS / 10000)};
  }
  if (p.codigo == 8) {
    i.BaseIPI = CY{valor};
    i.AliquotaIPI = 500;
    i.IPI = CY{Arredonda(valor * 500 / 10000)};
  }
  if (pisPorQuantidade) {
    // PIS and COFINS by quantity: an amount per unit.
    i.CstPIS = i.CstCOFINS = 3;
    i.AliquotaPIS = 15;
    i.AliquotaCOFINS = 70;
    i.PIS = CY{Trunca(Multiplica(quantidade, 1500))};
    i.COFINS = CY{Trunca(Multiplica(quantidade, 7000))};
  } else if (t.letra == 'F') {
    i.CstPIS = i.CstCOFINS = 4;
  } else if (t.letra != 'T') {
    i.CstPIS = i.CstCOFINS = 6;
  } else {
    i.CstPIS = i.CstCOFINS = 1;
    i.BasePIS = i.BaseCOFINS = CY{valor};
    i.AliquotaPIS = 165;
    i.AliquotaCOFINS = 760;
    i.PIS = CY{Arredonda(valor * 165 / 10000)};
    i.COFINS = CY{Arredonda(valor * 760 / 10000)};
  }
  auto& n = m_nota;
  n.ValorMercadorias.int64 += i.ValorItem.int64;
  n.Desconto.int64 += desconto;
  n.BaseICMS.int64 += i.BaseICMS.int64;
  n.ICMS.int64 += i.ICMS.int64;
  n.IPI.int64 += i.IPI.int64;
  n.PIS.int64 += i.PIS.int64;
  n.COFINS.int64 += i.COFINS.int64;
  if (!tributado) {
    if (t.letra == 'F' || natureza == kNaturezaRemessa)
      n.Outras.int64 += valor;
    else
      n.Isentas.int64 += valor;
  }
}

void Gerador::ServicoNota(std::uint32_t codigo, std::int64_t quantidade) {
  for (const auto& sv : ServicosDemo()) {
    if (sv.codigo != codigo) continue;
    auto& i = m_itensNota.emplace_back();
    std::memset(&i, 0, sizeof i);
    i.Sequencia = static_cast<std::uint16_t>(m_itensNota.size());
    i.Servico = 1;
    i.Codigo = codigo;
    CopiaTexto(i.Descricao, sv.descricao);
    i.Quantidade = CY{quantidade};
    i.ValorItem = CY{Trunca(Multiplica(quantidade, sv.preco))};
    i.Natureza = kNaturezaServico;
    i.CstPIS = i.CstCOFINS = 1;
    i.BasePIS = i.BaseCOFINS = i.ValorItem;
    i.AliquotaPIS = 65;
    i.AliquotaCOFINS = 300;
    i.PIS = CY{Arredonda(i.ValorItem.int64 * 65 / 10000)};
    i.COFINS = CY{Arredonda(i.ValorItem.int64 * 300 / 10000)};
    m_servicosNota += i.ValorItem.int64;
    m_nota.PIS.int64 += i.PIS.int64;
    m_nota.COFINS.int64 += i.COFINS.int64;
    m_nota.Outras.int64 += i.ValorItem.int64;
  }
}

void Gerador::GravaNota(EstadoFilial& f, Situacao situacao, std::uint16_t forma) {
  auto& n = m_nota;
  n.ValorTotal = CY{n.ValorMercadorias.int64 + m_servicosNota - n.Desconto.int64 + n.Frete.int64 + n.Seguro.int64 +
                    n.OutrasDespesas.int64 + n.IPI.int64 + n.ICMSST.int64};
  n.Cancelada = situacao == Situacao::Cancelada;
  n.Inutilizada = situacao == Situacao::Inutilizada;
  n.Denegada = situacao == Situacao::Denegada;
  std::vector<REG_NF_PAGAMENTOPS> pagamentos;
  if (situacao == Situacao::Normal) {
    pagamentos.push_back({0, 1, forma, n.ValorTotal});
    for (const auto& i : m_itensNota)
      if (!i.Servico) f.vendido[IndiceProduto(i.Codigo)] += i.Quantidade.int64;
  }
  m_movimento.GravaNota(n, m_itensNota, pagamentos);
  ++m_contagem.notas;
}

// The NF-e access key: state, year and month, CNPJ, model, series, number,
// emission form, a code of the nota, and the check digit (modulo 11).
std::string Gerador::ChaveNFe(const EstadoFilial& f, std::uint32_t numero) const {
  static const std::map<std::string, int> kCodigoUF = {{"SP", 35}, {"MG", 31}, {"RJ", 33}, {"DF", 53}, {"SC", 42},
                                                       {"PB", 25}, {"PR", 41}, {"RS", 43}, {"BA", 29}, {"PE", 26},
                                                       {"AL", 27}, {"GO", 52}, {"AM", 13}};
  char raiz[16];
  std::snprintf(raiz, sizeof raiz, "12345678%04d", f.cadastro->numero % 10000);
  std::string cnpj;
  for (char c : CnpjComDigitos(raiz))
    if (c >= '0' && c <= '9') cnpj += c;
  char chave[48];
  std::snprintf(chave, sizeof chave, "%02d%02u%02u%s55001%09u1%08u", kCodigoUF.at(f.cadastro->uf), m_mes.ano % 100,
                m_mes.mes, cnpj.c_str(), numero, numero * 7919u % 100000000u);
  int soma = 0, peso = 2;
  for (int i = 42; i >= 0; --i) {
    soma += (chave[i] - '0') * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  const int resto = soma % 11;
  return std::string(chave) + static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

// Branch 1's notas of the month: every model, situation and participant
// the files treat apart.
void Gerador::NotasDaFilialPrincipal(EstadoFilial& f, int dia) {
  auto unidades = [](int n) { return Reais(n); };
  switch (dia) {
    case 3:
      IniciaNota(f, dia, kTipoNotaFiscal, 3, kCondicao30Dias);
      CopiaTexto(m_nota.Observacao, "Pedido de compra 4471.");
      ItemNota(f, 1, unidades(20), kNaturezaVenda);
      ItemNota(f, 6, unidades(48), kNaturezaVenda);
      ItemNota(f, 15, unidades(120), kNaturezaVenda);
      ItemNota(f, 38, unidades(50), kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    case 5:
      IniciaNota(f, dia, kTipoNFe, 4, kCondicaoAVista);
      ItemNota(f, 20, unidades(12), kNaturezaInterestadual);
      ItemNota(f, 21, unidades(24), kNaturezaInterestadual);
      ItemNota(f, 33, unidades(30), kNaturezaInterestadual);
      GravaNota(f, Situacao::Normal, kFormaCartaoCredito);
      break;
    case 6:
      IniciaNota(f, dia, kTipoNFe, 1, kCondicaoAVista);
      ItemNota(f, 4, unidades(2), kNaturezaVenda);
      ItemNota(f, 5, unidades(3), kNaturezaVenda);
      GravaNota(f, Situacao::Cancelada, kFormaDinheiro);
      break;
    case 9:
      IniciaNota(f, dia, kTipoNFe, 10, kCondicaoAVista);
      ItemNota(f, 2, unidades(10), kNaturezaVenda);
      GravaNota(f, Situacao::Denegada, kFormaDinheiro);
      break;
    case 10:
      IniciaNota(f, dia, kTipoNFe, 5, 0);
      m_nota.ChaveNFe[0] = '\0';
      CopiaTexto(m_nota.Observacao, "Número inutilizado por falha na transmissão.");
      GravaNota(f, Situacao::Inutilizada, 0);
      break;
    case 12:
      IniciaNota(f, dia, kTipoNotaAvulsa, 11, kCondicaoAVista);
      ItemNota(f, 11, 400000, kNaturezaVenda);
      ItemNota(f, 13, 250000, kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    case 13:
      IniciaNota(f, dia, kTipoNotaProdutor, 11, kCondicaoAVista);
      ItemNota(f, 12, 180000, kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    case 16:
      IniciaNota(f, dia, kTipoNotaFiscal, 7, kCondicao306090);
      CopiaTexto(m_nota.Observacao, "Exportação - Despacho aduaneiro em Uruguaiana/RS.");
      ItemNota(f, 4, unidades(200), kNaturezaExportacao);
      ItemNota(f, 19, unidades(12), kNaturezaExportacao);
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    case 17:
      IniciaNota(f, dia, kTipoNotaFiscal, 6, 0);
      m_nota.CodigoTipo = 12;
      CopiaTexto(m_nota.Observacao, "Remessa para conserto, com retorno em 30 dias.");
      ItemNota(f, 26, unidades(6), kNaturezaRemessa);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    case 18:
      IniciaNota(f, dia, kTipoNFe, 9, kCondicao30Dias);
      m_nota.CodigoTipo = 30;
      ItemNota(f, 9, 125000, kNaturezaInterestadual);
      ItemNota(f, 10, 80000, kNaturezaInterestadual);
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    case 19:
      IniciaNota(f, dia, kTipoNotaFiscal, 5, kCondicao306090);
      CopiaTexto(m_nota.Observacao, "Entrega pela portaria de serviço.\r\nReceber com o zelador.");
      ItemNota(f, 1, unidades(10), kNaturezaVenda);
      ItemNota(f, 2, unidades(10), kNaturezaVenda);
      ItemNota(f, 3, unidades(5), kNaturezaVenda);
      ItemNota(f, 35, unidades(10), kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    case 20: {
      ZTCFRT extinta{};
      extinta.Codigo = kParticipanteExcluido;
      CopiaTexto(extinta.Nome, "COMERCIAL ALVORADA LTDA (DESATIVADA)");
      extinta.TipoPessoa = 'J';
      CopiaTexto(extinta.CnpjCpf, CnpjComDigitos("543210980001").c_str());
      CopiaTexto(extinta.Pais, "1058");
      CopiaTexto(extinta.UF, f.cadastro->uf.c_str());
      extinta.Municipio = f.cadastro->municipioIBGE;
      CopiaTexto(extinta.Endereco, "Rua da Estação");
      extinta.Numero = 12;
      dados::CGravadorCatalogo(m_gravador.Sessao()).GravaCfrt(extinta);
      IniciaNota(f, dia, kTipoNotaFiscal, kParticipanteExcluido, kCondicaoAVista);
      ItemNota(f, 21, unidades(36), kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    }
    case 23:
      IniciaNota(f, dia, kTipoCupomFiscal, 1, kCondicaoAVista);
      ItemNota(f, 7, 35000, kNaturezaVenda);
      ItemNota(f, 38, unidades(10), kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    case 24:
      IniciaNota(f, dia, kTipoRomaneio, 2, kCondicaoAVista);
      ItemNota(f, 16, unidades(6), kNaturezaVenda);
      GravaNota(f, Situacao::Normal, kFormaDinheiro);
      break;
    case 26:
      IniciaNota(f, dia, kTipoNotaFiscal, 3, kCondicao30Dias);
      ItemNota(f, 8, unidades(15), kNaturezaVenda);
      ItemNota(f, 39, unidades(4), kNaturezaVenda);
      ServicoNota(501, unidades(1));
      ServicoNota(503, unidades(4));
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    case 30:
      IniciaNota(f, dia, kTipoNFe, 12, kCondicao306090);
      CopiaTexto(m_nota.Observacao, "Destinatário na Zona Franca de Manaus.");
      ItemNota(f, 20, unidades(40), kNaturezaInterestadual, 50000000);
      ItemNota(f, 22, unidades(30), kNaturezaInterestadual, 0, true);
      m_nota.Desconto.int64 += Reais(25);
      m_nota.IndicadorFrete = 1;
      m_nota.Frete = CY{Reais(180)};
      m_nota.Seguro = CY{Reais(35)};
      m_nota.OutrasDespesas = CY{Reais(12)};
      GravaNota(f, Situacao::Normal, kFormaBoleto);
      break;
    default:
      break;
  }
}

// The other branches sell to a customer now and then: a nota of model 01
// or an NF-e, on credit or in cash.
void Gerador::NotaComum(EstadoFilial& f, int dia) {
  Sorteio s(Semente(m_opcoes.variedade, f.cadastro->numero, static_cast<std::uint64_t>(dia), 2));
  const bool nfe = (dia / 7) % 2 == 1;
  const bool prazo = s.Chance(500);
  std::uint32_t participante = 3;
  for (const auto& c : ClientesDemo())
    if (c.uf == f.cadastro->uf) participante = c.codigo;
  IniciaNota(f, dia, nfe ? kTipoNFe : kTipoNotaFiscal, participante, prazo ? kCondicao30Dias : kCondicaoAVista);
  const int itens = s.Entre(2, 4);
  for (int i = 0; i < itens; ++i) {
    const auto& p = SorteiaProduto(s);
    ItemNota(f, p.codigo, p.pesavel ? s.Entre(5, 20) * 10000 : Reais(s.Entre(1, 10)), kNaturezaVenda);
  }
  GravaNota(f, Situacao::Normal, prazo ? kFormaBoleto : kFormaDinheiro);
}

void Gerador::NotasDoDia(int dia) {
  for (auto& f : m_filiais) {
    if (f.principal)
      NotasDaFilialPrincipal(f, dia);
    else if (m_mes.DiaDaSemana(dia) != 0 && !m_mes.Finados(dia) && (dia + f.cadastro->numero) % 7 == 3)
      NotaComum(f, dia);
  }
}

// ---------------------------------------------------------------------------
// Stock

// Each branch starts the month with about eight days of what it sells and
// is restocked with a week of it every Monday; batteries and mineral water
// are not restocked and run below zero, as the system lets them.
void Gerador::PosicoesIniciais() {
  int procuraTotal = 0;
  for (const auto& p : m_produtos)
    if (!p.inativo) procuraTotal += p.procura;
  const NumeroDia vespera = m_mes.Primeiro() - 1;
  for (auto& f : m_filiais) {
    for (std::size_t i = 0; i < m_produtos.size(); ++i) {
      const auto& p = m_produtos[i];
      // The mean of what SorteiaQuantidade draws.
      const double media = p.pesavel ? 1.325 : p.codigo == 15 ? 3.75 : 1.55;
      const double porDia = f.cuponsPorDia * f.itensPorCupom * 0.985 * p.procura / procuraTotal * media;
      const double passo = p.pesavel ? 0.001 : 1.0;
      auto quantidade = [&](double dias) {
        return static_cast<std::int64_t>(std::llround(porDia * dias / passo)) *
               static_cast<std::int64_t>(passo * 10000);
      };
      const bool semReposicao = p.codigo == 17 || p.codigo == 25;
      f.posicao[i] = p.inativo ? Reais(3) : quantidade(semReposicao ? 2 : 8);
      f.reposicao[i] = p.inativo || semReposicao ? 0 : quantidade(7);
      m_movimento.GravaPosicao({f.cadastro->numero, p.codigo, vespera, CY{f.posicao[i]}});
      ++m_contagem.posicoes;
    }
  }
}

void Gerador::PosicoesDoDia(int dia) {
  const bool segunda = m_mes.DiaDaSemana(dia) == 1;
  for (auto& f : m_filiais) {
    for (std::size_t i = 0; i < m_produtos.size(); ++i) {
      f.posicao[i] -= f.vendido[i];
      f.vendido[i] = 0;
      if (segunda) f.posicao[i] += f.reposicao[i];
      m_movimento.GravaPosicao({f.cadastro->numero, m_produtos[i].codigo, m_mes.Dia(dia), CY{f.posicao[i]}});
      ++m_contagem.posicoes;
    }
  }
}

// The count at the end of the month: what is on the shelves (never below
// zero) at cost.
void Gerador::Inventario() {
  for (auto& f : m_filiais)
    for (std::size_t i = 0; i < m_produtos.size(); ++i) {
      const auto& p = m_produtos[i];
      const std::int64_t quantidade = std::max<std::int64_t>(f.posicao[i], 0);
      const std::int64_t custo = CustoUnitario(p);
      m_movimento.GravaSaldoInventario({f.cadastro->numero, m_mes.Ultimo(), p.codigo, CY{quantidade}, CY{custo},
                                        CY{Trunca(Multiplica(quantidade, custo))}});
      ++m_contagem.inventario;
    }
}

}  // namespace

ContagemMovimentoDemo GravaMovimentoDemo(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros,
                                         const OpcoesDemo& opcoes) {
  Gerador gerador(gravador, cadastros, opcoes);
  return gerador.Executa();
}

}  // namespace qmx::cli
