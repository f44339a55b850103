#include "apoio/MovimentoTeste.h"

#include <cmath>
#include <cstring>

#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorMovimento.h"
#include "plataforma/impressora/ApuracaoReducaoZ.h"

namespace qmx::testes {

using namespace qmx::dados;

CY Valor(double valor) { return CY{std::llround(valor * 10000.0)}; }

namespace {

template <class T>
T Zerado() {
  T r;
  std::memset(&r, 0, sizeof r);
  return r;
}

CY Multiplica(CY a, CY b) { return CY{static_cast<std::int64_t>(std::llround(double(a.int64) * double(b.int64) / 10000.0))}; }

}  // namespace

ProdutoTeste& ProdutoTeste::Tributacao(char letra, std::uint16_t aliquota, const char* cst) {
  registro.Tributacao = letra;
  registro.AliquotaICMS = aliquota;
  Copia(registro.SituacaoTributaria, cst);
  return *this;
}

ProdutoTeste& ProdutoTeste::Unidade(std::uint16_t unidade, bool interrogacao) {
  registro.Unidade = unidade;
  registro.UnidadeInterrogacao = interrogacao;
  return *this;
}

ProdutoTeste& ProdutoTeste::Ncm(const char* ncm) {
  Copia(registro.NCM, ncm);
  return *this;
}

ProdutoTeste& ProdutoTeste::Producao() {
  registro.Producao = 1;
  registro.Revenda = 0;
  return *this;
}

ProdutoTeste& ProdutoTeste::Inativo() {
  registro.Inativo = 1;
  return *this;
}

ProdutoTeste& ProdutoTeste::PisCofins(std::uint8_t tipo, std::uint16_t inicio, std::uint16_t fim,
                                      std::uint16_t aliquota) {
  pisCofins.push_back({registro.Codigo, tipo, inicio, fim, aliquota});
  return *this;
}

REG_EC_CX_CIPS& CupomTeste::NovoItem(std::uint32_t codigo, double quantidade, double unitario, double desconto) {
  auto item = Zerado<REG_EC_CX_CIPS>();
  item.Item = static_cast<std::uint16_t>(itens.size() + 1);
  item.Codigo = codigo;
  item.Quantidade = Valor(quantidade);
  item.ValorUnitario = Valor(unitario);
  item.Desconto = Valor(desconto);
  item.ValorTotal = CY{Multiplica(item.Quantidade, item.ValorUnitario).int64 - item.Desconto.int64};
  itens.push_back(item);
  return itens.back();
}

CupomTeste& CupomTeste::Item(std::uint32_t produto, double quantidade, double unitario, double desconto) {
  auto& item = NovoItem(produto, quantidade, unitario, desconto);
  if (const auto* p = m_movimento->ProdutoDeclarado(produto)) {
    Copia(item.Descricao, p->registro.Descricao);
    item.TipoTributacao = static_cast<std::uint8_t>(p->registro.Tributacao);
    item.AliquotaCentesimos = p->registro.Tributacao == 'T' ? p->registro.AliquotaICMS : 0;
  } else {
    item.TipoTributacao = 'T';
    item.AliquotaCentesimos = 1800;
  }
  return *this;
}

CupomTeste& CupomTeste::Servico(std::uint32_t servico, double quantidade, double unitario) {
  auto& item = NovoItem(servico, quantidade, unitario, 0);
  item.Servico = 1;
  item.TipoTributacao = 'S';
  const auto* s = m_movimento->ServicoDeclarado(servico);
  item.AliquotaCentesimos = s ? s->AliquotaISS : 500;
  if (s) Copia(item.Descricao, s->Descricao);
  return *this;
}

CupomTeste& CupomTeste::Cancela() {
  itens.back().Cancelado = 1;
  return *this;
}

CupomTeste& CupomTeste::Cancelado() {
  registro.Cancelado = 1;
  return *this;
}

CupomTeste& CupomTeste::Cliente(std::uint32_t cliente, const char* nome) {
  registro.Cliente = cliente;
  Copia(registro.NomeCliente, nome);
  return *this;
}

CupomTeste& CupomTeste::Documento(const char* cpfCnpj) {
  Copia(registro.DocumentoCliente, cpfCnpj);
  return *this;
}

CupomTeste& CupomTeste::Origem(std::uint8_t origem) {
  registro.Origem = origem;
  return *this;
}

CupomTeste& CupomTeste::Pagamento(std::uint16_t forma, double valor, std::uint32_t gnf) {
  pagamentos.push_back({0, static_cast<std::uint16_t>(pagamentos.size() + 1), forma, Valor(valor), gnf});
  return *this;
}

CupomTeste& CupomTeste::Parcela(double valor, std::uint16_t tipoDocumento, std::uint16_t vencimento) {
  parcelas.push_back({0, static_cast<std::uint16_t>(parcelas.size() + 1), Valor(valor), tipoDocumento, vencimento});
  return *this;
}

CupomTeste& CupomTeste::Coo(std::uint32_t coo) {
  registro.COO = coo;
  return *this;
}

CupomTeste& CupomTeste::Ccf(std::uint32_t ccf) {
  registro.CCF = ccf;
  return *this;
}

NotaTeste& NotaTeste::Participante(std::uint32_t cfrt) {
  registro.Participante = cfrt;
  return *this;
}

NotaTeste& NotaTeste::Situacao(bool cancelada, bool inutilizada, bool denegada) {
  registro.Cancelada = cancelada;
  registro.Inutilizada = inutilizada;
  registro.Denegada = denegada;
  return *this;
}

NotaTeste& NotaTeste::Observacao(const char* texto) {
  Copia(registro.Observacao, texto);
  return *this;
}

NotaTeste& NotaTeste::ChaveNFe(const char* chave) {
  Copia(registro.ChaveNFe, chave);
  return *this;
}

NotaTeste& NotaTeste::CodigoTipo(std::uint16_t codigo) {
  registro.CodigoTipo = codigo;
  return *this;
}

NotaTeste& NotaTeste::CondicaoPagamento(std::uint16_t condicao) {
  registro.CondicaoPagamento = condicao;
  return *this;
}

NotaTeste& NotaTeste::Item(std::uint32_t produto, double quantidade, double valor, std::uint16_t natureza) {
  auto item = Zerado<REG_ITENS_NF_PS>();
  item.Sequencia = static_cast<std::uint16_t>(itens.size() + 1);
  item.Codigo = produto;
  item.Quantidade = Valor(quantidade);
  item.ValorItem = Valor(valor);
  item.Natureza = natureza;
  const auto* p = m_movimento->ProdutoDeclarado(produto);
  if (p) Copia(item.Descricao, p->registro.Descricao);
  item.AliquotaICMS = p ? p->registro.AliquotaICMS : 1800;
  if (!p || p->registro.Tributacao == 'T') {
    item.BaseICMS = item.ValorItem;
    item.ICMS = CY{item.ValorItem.int64 * item.AliquotaICMS / 10000};
  }
  itens.push_back(item);
  registro.ValorMercadorias.int64 += item.ValorItem.int64;
  registro.ValorTotal.int64 += item.ValorItem.int64;
  registro.BaseICMS.int64 += item.BaseICMS.int64;
  registro.ICMS.int64 += item.ICMS.int64;
  if (item.BaseICMS.int64 == 0) registro.Isentas.int64 += item.ValorItem.int64;
  return *this;
}

NotaTeste& NotaTeste::Servico(std::uint32_t servico, double quantidade, double valor, std::uint16_t natureza) {
  auto item = Zerado<REG_ITENS_NF_PS>();
  item.Sequencia = static_cast<std::uint16_t>(itens.size() + 1);
  item.Servico = 1;
  item.Codigo = servico;
  item.Quantidade = Valor(quantidade);
  item.ValorItem = Valor(valor);
  item.Natureza = natureza;
  if (const auto* s = m_movimento->ServicoDeclarado(servico)) Copia(item.Descricao, s->Descricao);
  itens.push_back(item);
  registro.ValorTotal.int64 += item.ValorItem.int64;
  registro.Outras.int64 += item.ValorItem.int64;
  return *this;
}

NotaTeste& NotaTeste::Pagamento(std::uint16_t forma, double valor) {
  pagamentos.push_back({0, static_cast<std::uint16_t>(pagamentos.size() + 1), forma, Valor(valor)});
  return *this;
}

DavTeste& DavTeste::Item(std::uint32_t produto, double quantidade, double unitario, char tributacao,
                         std::uint16_t aliquota) {
  auto item = Zerado<REG_DAV_ITEMPS>();
  item.Item = static_cast<std::uint16_t>(itens.size() + 1);
  item.Produto = produto;
  item.Quantidade = Valor(quantidade);
  item.ValorUnitario = Valor(unitario);
  item.ValorTotal = Multiplica(item.Quantidade, item.ValorUnitario);
  item.Tributacao = tributacao;
  item.Aliquota = aliquota;
  itens.push_back(item);
  registro.Valor.int64 += item.ValorTotal.int64;
  return *this;
}

DavTeste& DavTeste::Cupom(std::uint32_t cooCupom) {
  registro.COOCupom = cooCupom;
  return *this;
}

DavTeste& DavTeste::Cliente(std::uint32_t cliente) {
  registro.Cliente = cliente;
  return *this;
}

MovimentoTeste::MovimentoTeste(EmpresaTeste& empresa, std::uint16_t filial) : m_empresa(empresa), m_filial(filial) {}

const std::vector<REG_EMISSOR_ALIQUOTA>& MovimentoTeste::TabelaPadrao() {
  static const std::vector<REG_EMISSOR_ALIQUOTA> tabela = {
      {0, 1, 'T', 1800}, {0, 2, 'T', 1200}, {0, 3, 'T', 700}, {0, 4, 'S', 500}};
  return tabela;
}

ProdutoTeste& MovimentoTeste::Produto(std::uint32_t codigo, const std::string& descricao) {
  auto& p = m_produtos.emplace_back();
  p.registro = Zerado<REG_PRODUTOPS>();
  p.registro.Codigo = codigo;
  Copia(p.registro.Descricao, descricao);
  p.registro.Unidade = 1;
  Copia(p.registro.NCM, "10063021");
  p.registro.Revenda = 1;
  p.registro.Situacao = 'A';
  p.registro.Filial = m_filial;
  return p.Tributacao('T', 1800);
}

REG_SERVICOSPS& MovimentoTeste::Servico(std::uint32_t codigo, const std::string& descricao,
                                        std::uint16_t aliquotaISS) {
  auto& s = m_servicos.emplace_back(Zerado<REG_SERVICOSPS>());
  s.Codigo = codigo;
  Copia(s.Descricao, descricao);
  s.Unidade = 1;
  Copia(s.CodigoLST, "1401");
  s.AliquotaISS = aliquotaISS;
  s.Ativo = 1;
  return s;
}

ZTCFRT& MovimentoTeste::Cliente(std::uint32_t codigo, const std::string& nome, char tipoPessoa,
                                const std::string& documento) {
  auto& c = m_clientes.emplace_back(Zerado<ZTCFRT>());
  c.Codigo = codigo;
  Copia(c.Nome, nome);
  c.TipoPessoa = tipoPessoa;
  Copia(c.CnpjCpf, documento);
  Copia(c.Pais, "1058");
  Copia(c.UF, "SP");
  c.Municipio = 3550308;
  return c;
}

std::uint16_t MovimentoTeste::FilialDaEmissora(std::uint16_t emissora) {
  const auto linhas = m_empresa.Gravador().Sessao().Consulta("SELECT filial FROM emissora WHERE numero = ?", {emissora});
  return linhas.empty() ? m_filial : static_cast<std::uint16_t>(linhas.front().Inteiro(0));
}

CupomTeste& MovimentoTeste::Cupom(std::uint16_t emissora, std::uint16_t data) {
  auto& c = m_cupons.emplace_back(CupomTeste(*this));
  c.registro = Zerado<REG_EC_CXPS>();
  auto& contadores = Contadores(emissora);
  c.registro.Filial = FilialDaEmissora(emissora);
  c.registro.Emissora = emissora;
  c.registro.Data = data;
  c.registro.Hora = 100000;
  c.registro.COO = ++contadores.coo;
  c.registro.CCF = ++contadores.ccf;
  c.registro.Sequencia = ++contadores.sequencia;
  return c;
}

CupomTeste& MovimentoTeste::NotaConsumidor(std::uint16_t emissora, std::uint16_t data, std::uint32_t inicial,
                                           std::uint32_t final) {
  auto& c = m_cupons.emplace_back(CupomTeste(*this));
  c.registro = Zerado<REG_EC_CXPS>();
  c.registro.Filial = FilialDaEmissora(emissora);
  c.registro.Emissora = emissora;
  c.registro.Data = data;
  c.registro.Sequencia = ++Contadores(emissora).sequencia;
  c.registro.Status = QMX_STATUS_NOTA_CONSUMIDOR;
  c.registro.NumeroInicial = inicial;
  c.registro.NumeroFinal = final;
  return c;
}

NotaTeste& MovimentoTeste::Nota(std::uint32_t numero, std::uint16_t data, std::uint16_t tipoDocumento) {
  auto& n = m_notas.emplace_back(NotaTeste(*this));
  n.registro = Zerado<REG_NOTA_FISCALPS>();
  n.registro.Filial = m_filial;
  n.registro.TipoDocumento = tipoDocumento;
  Copia(n.registro.Serie, "1");
  n.registro.Numero = numero;
  n.registro.Data = data;
  return n;
}

DavTeste& MovimentoTeste::Dav(std::uint32_t numero, std::uint16_t emissora, std::uint16_t data) {
  auto& d = m_davs.emplace_back();
  d.registro = Zerado<REG_DAVPS>();
  d.registro.Filial = FilialDaEmissora(emissora);
  d.registro.Emissora = emissora;
  d.registro.Numero = numero;
  d.registro.Data = data;
  d.registro.COODAV = ++Contadores(emissora).coo;
  return d;
}

void MovimentoTeste::ReducaoZ(std::uint16_t emissora, std::uint16_t data) {
  auto& contadores = Contadores(emissora);
  m_reducoes.push_back({emissora, data, ++contadores.coo, ++contadores.crz});
}

void MovimentoTeste::NaoFiscal(std::uint16_t emissora, std::uint16_t data, std::uint8_t codigo, double valor) {
  m_naoFiscais[{emissora, data}][codigo].int64 += Valor(valor).int64;
}

void MovimentoTeste::Documento(std::uint16_t emissora, std::uint16_t data, std::uint8_t tipo, std::uint32_t gnf,
                               std::uint32_t grg, std::uint32_t cdc) {
  m_documentos.push_back({emissora, data, 120000, ++Contadores(emissora).coo, tipo, gnf, grg, cdc});
}

void MovimentoTeste::Posicao(std::uint32_t produto, std::uint16_t data, double quantidade) {
  m_posicoes.push_back({m_filial, produto, data, Valor(quantidade)});
}

void MovimentoTeste::Inventario(std::uint32_t produto, std::uint16_t data, double quantidade, double unitario) {
  const CY q = Valor(quantidade), u = Valor(unitario);
  m_inventario.push_back({m_filial, data, produto, q, u, Multiplica(q, u)});
}

const ProdutoTeste* MovimentoTeste::ProdutoDeclarado(std::uint32_t codigo) const {
  for (const auto& p : m_produtos)
    if (p.registro.Codigo == codigo) return &p;
  return nullptr;
}

const REG_SERVICOSPS* MovimentoTeste::ServicoDeclarado(std::uint32_t codigo) const {
  for (const auto& s : m_servicos)
    if (s.Codigo == codigo) return &s;
  return nullptr;
}

void MovimentoTeste::Grava() {
  auto& sessao = m_empresa.Gravador().Sessao();
  CGravadorCatalogo catalogo(sessao);
  CGravadorMovimento movimento(sessao);
  m_empresa.Gravador().Inicia();
  if (!m_padroesGravados) {
    m_padroesGravados = true;
    catalogo.GravaUnidade({1, "UN", "UNIDADE"});
    catalogo.GravaUnidade({2, "KG", "QUILOGRAMA"});
    catalogo.GravaUnidadeServico({1, "SV", "SERVICO"});
    const char* modelos[] = {"01", "1B", "04", "55", "2D", "02"};
    for (std::uint16_t i = 0; i < 6; ++i) {
      catalogo.GravaDocumentoFiscal({static_cast<std::uint16_t>(i + 1), {modelos[i][0], modelos[i][1], 0}, ""});
      catalogo.GravaTipoDocumento({static_cast<std::uint16_t>(i + 1), "", static_cast<std::uint16_t>(i + 1)});
    }
    catalogo.GravaTipoDocumento({7, "SEM MODELO", 0});
    catalogo.GravaNatureza({5102, "VENDA", "5102"});
    catalogo.GravaNatureza({5405, "VENDA ST", "5405"});
    catalogo.GravaNatureza({5933, "SERVICO", "5933"});
    catalogo.GravaFormaPagamento({1, "DINHEIRO", 0, ""});
    catalogo.GravaFormaPagamento({2, "CARTAO", 1, ""});
  }
  // Products and services stay declared for the cupons stated later.
  for (; m_produtosGravados < m_produtos.size(); ++m_produtosGravados) {
    const auto& p = m_produtos[m_produtosGravados];
    catalogo.GravaProduto(p.registro);
    for (const auto& a : p.pisCofins) catalogo.GravaPisCofins(a);
  }
  for (; m_servicosGravados < m_servicos.size(); ++m_servicosGravados)
    catalogo.GravaServico(m_servicos[m_servicosGravados]);
  for (const auto& c : m_clientes) catalogo.GravaCfrt(c);
  m_clientes.clear();

  // The ECFs' rate tables, for the reductions.
  std::map<std::uint16_t, std::vector<REG_EMISSOR_ALIQUOTA>> tabelas;
  for (const auto& pedida : m_reducoes) {
    if (tabelas.count(pedida.emissora)) continue;
    const auto linhas = sessao.Consulta(
        "SELECT a.tabela, a.posicao, a.tipo, a.aliquota FROM emissora e JOIN emissora_aliquota a "
        "ON a.tabela = e.tabela_aliquotas WHERE e.numero = ? ORDER BY a.posicao",
        {pedida.emissora});
    auto& tabela = tabelas[pedida.emissora];
    for (const auto& l : linhas)
      tabela.push_back({static_cast<std::int32_t>(l.Inteiro(0)), static_cast<std::uint16_t>(l.Inteiro(1)),
                        l.Texto(2)[0], static_cast<std::uint16_t>(l.Inteiro(3))});
    if (tabela.empty()) {
      tabela = TabelaPadrao();
      for (auto a : tabela) {
        a.Tabela = 0;
        m_empresa.Gravador().GravaAliquota(a);
      }
    }
  }

  for (auto& c : m_cupons) {
    if (c.registro.Id) continue;
    c.registro.Subtotal = c.registro.Desconto = CY{0};
    for (const auto& i : c.itens) {
      if (i.Cancelado) continue;
      c.registro.Subtotal.int64 += i.ValorTotal.int64 + i.Desconto.int64;
      c.registro.Desconto.int64 += i.Desconto.int64;
    }
    c.registro.Total = CY{c.registro.Subtotal.int64 - c.registro.Desconto.int64};
    if (c.pagamentos.empty() && !c.itens.empty()) c.pagamentos.push_back({0, 1, 1, c.registro.Total, 0});
    c.registro.Id = movimento.GravaCupom(c.registro, c.itens, c.pagamentos, c.parcelas);
  }
  for (const auto& pedida : m_reducoes) {
    impressora::CApuracaoReducaoZ apuracao(pedida.emissora, pedida.data, tabelas[pedida.emissora]);
    for (const auto& c : m_cupons)
      if (c.registro.Emissora == pedida.emissora && c.registro.Data == pedida.data)
        apuracao.AcumulaCupom(c.registro, c.itens);
    for (const auto& [codigo, valor] : m_naoFiscais[{pedida.emissora, pedida.data}])
      apuracao.AcumulaNaoFiscal(codigo, valor);
    auto& contadores = Contadores(pedida.emissora);
    const auto z = apuracao.Fecha(pedida.crz, 1, pedida.coo, contadores.grandeTotal, pedida.data, 230000);
    contadores.grandeTotal = z.reducao.GrandeTotal;
    movimento.GravaReducaoZ(z.reducao, z.aliquotas, z.naoFiscais);
  }
  m_reducoes.clear();
  for (const auto& n : m_notas) movimento.GravaNota(n.registro, n.itens, n.pagamentos);
  m_notas.clear();
  for (const auto& d : m_davs) movimento.GravaDAV(d.registro, d.itens);
  m_davs.clear();
  for (const auto& d : m_documentos) movimento.GravaDocumentoECF(d);
  m_documentos.clear();
  for (const auto& p : m_posicoes) movimento.GravaPosicao(p);
  m_posicoes.clear();
  for (const auto& s : m_inventario) movimento.GravaSaldoInventario(s);
  m_inventario.clear();
  m_empresa.Gravador().Confirma();
}

}  // namespace qmx::testes
