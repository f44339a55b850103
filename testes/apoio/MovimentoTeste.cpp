#include "apoio/MovimentoTeste.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

#include "apoio/RelogioSimulado.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/ValidacaoArquivo.h"
#include "plataforma/calendario/DataCodificada.h"

#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorMovimento.h"
#include "plataforma/impressora/ApuracaoReducaoZ.h"
#include "plataforma/processo/Sistema.h"

namespace qmx::testes {

using namespace qmx::dados;

CY Valor(double valor) { return CY{std::llround(valor * 10000.0)}; }

namespace {

CY Multiplica(CY a, CY b) { return CY{static_cast<std::int64_t>(std::llround(double(a.int64) * double(b.int64) / 10000.0))}; }

}  // namespace

REG_EC_CX_CIPS& CupomTeste::NovoItem(std::uint32_t codigo, double quantidade, double unitario, double desconto) {
  const CY q = Valor(quantidade), u = Valor(unitario), d = Valor(desconto);
  return itens.emplace_back(REG_EC_CX_CIPS{.Item = static_cast<std::uint16_t>(itens.size() + 1), .Codigo = codigo,
                                           .Quantidade = q, .ValorUnitario = u, .Desconto = d,
                                           .ValorTotal = CY{Multiplica(q, u).int64 - d.int64}});
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

NotaTeste& NotaTeste::Item(std::uint32_t produto, double quantidade, double valor, std::uint16_t natureza) {
  const auto* p = m_movimento->ProdutoDeclarado(produto);
  auto& item = itens.emplace_back(REG_ITENS_NF_PS{
      .Sequencia = static_cast<std::uint16_t>(itens.size() + 1), .Codigo = produto, .Quantidade = Valor(quantidade),
      .ValorItem = Valor(valor), .Natureza = natureza,
      .AliquotaICMS = static_cast<std::uint16_t>(p ? p->registro.AliquotaICMS : 1800)});
  if (p) Copia(item.Descricao, p->registro.Descricao);
  if (!p || p->registro.Tributacao == 'T') {
    item.BaseICMS = item.ValorItem;
    item.ICMS = CY{item.ValorItem.int64 * item.AliquotaICMS / 10000};
  }
  registro.ValorMercadorias.int64 += item.ValorItem.int64;
  registro.ValorTotal.int64 += item.ValorItem.int64;
  registro.BaseICMS.int64 += item.BaseICMS.int64;
  registro.ICMS.int64 += item.ICMS.int64;
  if (item.BaseICMS.int64 == 0) registro.Isentas.int64 += item.ValorItem.int64;
  return *this;
}

NotaTeste& NotaTeste::Servico(std::uint32_t servico, double quantidade, double valor, std::uint16_t natureza) {
  auto& item = itens.emplace_back(REG_ITENS_NF_PS{.Sequencia = static_cast<std::uint16_t>(itens.size() + 1),
                                                  .Servico = 1, .Codigo = servico, .Quantidade = Valor(quantidade),
                                                  .ValorItem = Valor(valor), .Natureza = natureza});
  if (const auto* s = m_movimento->ServicoDeclarado(servico)) Copia(item.Descricao, s->Descricao);
  registro.ValorTotal.int64 += item.ValorItem.int64;
  registro.Outras.int64 += item.ValorItem.int64;
  return *this;
}

DavTeste& DavTeste::Item(std::uint32_t produto, double quantidade, double unitario, char tributacao,
                         std::uint16_t aliquota) {
  const CY q = Valor(quantidade), u = Valor(unitario);
  const auto& item = itens.emplace_back(REG_DAV_ITEMPS{.Item = static_cast<std::uint16_t>(itens.size() + 1),
                                                       .Produto = produto, .Quantidade = q, .ValorUnitario = u,
                                                       .ValorTotal = Multiplica(q, u), .Tributacao = tributacao,
                                                       .Aliquota = aliquota});
  registro.Valor.int64 += item.ValorTotal.int64;
  return *this;
}

MovimentoTeste::MovimentoTeste(EmpresaTeste& empresa, std::uint16_t filial) : m_empresa(empresa), m_filial(filial) {}

ProdutoTeste& MovimentoTeste::Produto(std::uint32_t codigo, const std::string& descricao) {
  auto& p = m_produtos.emplace_back();
  p.registro = {.Codigo = codigo, .Unidade = 1, .NCM = "10063021", .Revenda = 1, .Situacao = 'A', .Filial = m_filial};
  Copia(p.registro.Descricao, descricao);
  return p.Tributacao('T', 1800);
}

REG_SERVICOSPS& MovimentoTeste::Servico(std::uint32_t codigo, const std::string& descricao,
                                        std::uint16_t aliquotaISS) {
  auto& s = m_servicos.emplace_back(
      REG_SERVICOSPS{.Codigo = codigo, .Unidade = 1, .CodigoLST = "1401", .AliquotaISS = aliquotaISS, .Ativo = 1});
  Copia(s.Descricao, descricao);
  return s;
}

ZTCFRT& MovimentoTeste::Cliente(std::uint32_t codigo, const std::string& nome, char tipoPessoa,
                                const std::string& documento) {
  auto& c = m_clientes.emplace_back(
      ZTCFRT{.Codigo = codigo, .TipoPessoa = tipoPessoa, .Pais = "1058", .UF = "SP", .Municipio = 3550308});
  Copia(c.Nome, nome);
  Copia(c.CnpjCpf, documento);
  return c;
}

std::uint16_t MovimentoTeste::FilialDaEmissora(std::uint16_t emissora) {
  const auto linhas = m_empresa.Gravador().Sessao().Consulta("SELECT filial FROM emissora WHERE numero = ?", {emissora});
  return linhas.empty() ? m_filial : static_cast<std::uint16_t>(linhas.front().Inteiro(0));
}

CupomTeste& MovimentoTeste::Cupom(std::uint16_t emissora, NumeroDia data) {
  auto& c = m_cupons.emplace_back(CupomTeste(*this));
  auto& contadores = Contadores(emissora);
  c.registro = {.Filial = FilialDaEmissora(emissora), .Emissora = emissora, .Data = data, .Hora = 100000,
                .COO = ++contadores.coo, .CCF = ++contadores.ccf, .Sequencia = ++contadores.sequencia};
  return c;
}

CupomTeste& MovimentoTeste::NotaConsumidor(std::uint16_t emissora, NumeroDia data, std::uint32_t inicial,
                                           std::uint32_t final) {
  auto& c = m_cupons.emplace_back(CupomTeste(*this));
  c.registro = {.Filial = FilialDaEmissora(emissora), .Emissora = emissora, .Data = data,
                .Sequencia = ++Contadores(emissora).sequencia, .Status = QMX_STATUS_NOTA_CONSUMIDOR,
                .NumeroInicial = inicial, .NumeroFinal = final};
  return c;
}

NotaTeste& MovimentoTeste::Nota(std::uint32_t numero, NumeroDia data, std::uint16_t tipoDocumento) {
  auto& n = m_notas.emplace_back(NotaTeste(*this));
  n.registro = {.Filial = m_filial, .TipoDocumento = tipoDocumento, .Serie = "1", .Numero = numero, .Data = data};
  return n;
}

DavTeste& MovimentoTeste::Dav(std::uint32_t numero, std::uint16_t emissora, NumeroDia data) {
  auto& d = m_davs.emplace_back();
  d.registro = {.Filial = FilialDaEmissora(emissora), .Emissora = emissora, .Numero = numero, .Data = data,
                .COODAV = ++Contadores(emissora).coo};
  return d;
}

void MovimentoTeste::ReducaoZ(std::uint16_t emissora, NumeroDia data) {
  auto& contadores = Contadores(emissora);
  m_reducoes.push_back({emissora, data, ++contadores.coo, ++contadores.crz});
}

void MovimentoTeste::NaoFiscal(std::uint16_t emissora, NumeroDia data, std::uint8_t codigo, double valor) {
  m_naoFiscais[{emissora, data}][codigo].int64 += Valor(valor).int64;
}

void MovimentoTeste::Documento(std::uint16_t emissora, NumeroDia data, std::uint8_t tipo, std::uint32_t gnf,
                               std::uint32_t grg, std::uint32_t cdc) {
  m_documentos.push_back({emissora, data, 120000, ++Contadores(emissora).coo, tipo, gnf, grg, cdc});
}

void MovimentoTeste::Posicao(std::uint32_t produto, NumeroDia data, double quantidade) {
  m_posicoes.push_back({m_filial, produto, data, Valor(quantidade)});
}

void MovimentoTeste::Inventario(std::uint32_t produto, NumeroDia data, double quantidade, double unitario) {
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
    catalogo.GravaNatureza({5102, "VENDA", "5.102"});
    catalogo.GravaNatureza({5405, "VENDA ST", "5.405"});
    catalogo.GravaNatureza({5933, "SERVICO", "5.933"});
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
    if (tabela.empty()) {  // an ECF without a table gets 1 T1800, 2 T1200, 3 T0700, 4 S0500
      tabela = {{0, 1, 'T', 1800}, {0, 2, 'T', 1200}, {0, 3, 'T', 700}, {0, 4, 'S', 500}};
      for (const auto& a : tabela) m_empresa.Gravador().GravaAliquota(a);
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
    if (c.pagamentos.empty() && !c.itens.empty())
      c.pagamentos.push_back({.Sequencia = 1, .Forma = 1, .Valor = c.registro.Total});
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

namespace fs = std::filesystem;

CenarioArquivos::CenarioArquivos(Cadastro cadastro, MotorTeste motor, bool pastaLocal, const char* hoje)
    : empresa(motor), ativo(host), m(empresa) {
  sistema::DefineVariavel(kVariavelTemporarios, temporarios.Pasta().string());
  const bool paf = cadastro == Cadastro::PAF;
  const std::string relogio = hoje ? RelogioSimulado(hoje, "10:00:00")
                                   : RelogioSimulado(paf ? "15/06/2026" : "06/12/2026", paf ? "10:30:15" : "10:00:00");
  empresa.AcrescentaRegistro(relogio +
                             "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  if (paf) {
    REG_FILIALPS f = empresa.Filial(1, "Mercado Ávila Centro", "SP", "");
    Copia(f.Cnpj, "12.345.678/0001-95");
    Copia(f.InscricaoMunicipal, "1.234.567-8");
    empresa.Gravador().GravaFilial(f, "Comércio de Alimentos Ávila Ltda - Matriz de São Paulo");
    empresa.Filial(2, "Mercado Ávila Praia", "SP", "Comércio de Alimentos Ávila Ltda - Filial");
    empresa.Emissora(1, 1, kSerieECF1);
    empresa.Emissora(2, 1, "AA0910000000000000A1");
    empresa.Emissora(3, 2, "ZZ0910000000000000Z3");
    empresa.Usuario(1, "Operador", {1});
    empresa.Mestre(CodificaDia(1, 1, 2024));
    empresa.ImpressoraEmulada(kSerieECF1, "Relatorios=DAV EMITIDOS\n");
    return;
  }
  if (pastaLocal) empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva]\nLocalTorvo=" + local.Pasta().string() + "\n");
  empresa.Municipio(1, "São Paulo", "SP", 3550308);
  empresa.Municipio(2, "Campinas", "SP", 3509502);
  empresa.Estado(35, "SP", "São Paulo");
  empresa.Estado(33, "RJ", "Rio de Janeiro");
  empresa.Estado(41, "PR", "Paraná");
  // Fields in the record's order; every text fits its field.
  filial = REG_FILIALPS{.Municipio = 1, .Numero = 1, .NomeFantasia = "Mercado Ávila Centro",
                        .Cnpj = "12.345.678/0001-95", .InscricaoEstadual = "110.042.490.114",
                        .InscricaoMunicipal = "4.321.987-0", .UF = "SP", .Cep = "01001-000",
                        .Endereco = "Rua Direita da Sé", .NumeroEndereco = "1234", .Complemento = "Loja 2",
                        .Bairro = "Sé", .DDD = "11", .Telefone = "3215-0001", .Fax = "3215-0002",
                        .Email = "fiscal@avila.com.br", .HabilitadaECF = 1, .ContadorNome = "Conceição Contábil",
                        .ContadorCpf = "987.654.321-00", .ContadorCrc = "SP-123456/O-7", .ContadorCep = "13010-100",
                        .ContadorEndereco = "Av. Andrade Neves", .ContadorNumero = "50", .ContadorBairro = "Centro",
                        .ContadorDDD = "019", .ContadorTelefone = "3233-4455",
                        .ContadorEmail = "contador@exemplo.com.br", .ContadorMunicipio = 2};
  empresa.Gravador().GravaFilial(filial, "Comércio de Alimentos Ávila Ltda", "200123456");
  empresa.Gravador().GravaInscricaoSubstituta(1, 1, {33, "77.123.456"});
  empresa.Gravador().GravaInscricaoSubstituta(1, 2, {41, "90.111.222-33"});
  empresa.Emissora(1, 1, kSerieECF1);
  empresa.Emissora(2, 1, "AA0910000000000000A1");
  empresa.Emissora(3, 1, "ZZ0910000000000000Z3");
  empresa.Usuario(1, "Operador", {1});
  empresa.Gravador().GravaMestre({.DataInicioSistema = CodificaDia(1, 1, 2024), .NaturezaVenda = 5102,
                                  .NaturezaVendaST = 5405, .NaturezaServico = 5933, .NaturezaProducao = 5101});
}

CenarioArquivos::~CenarioArquivos() { sistema::RemoveVariavel(kVariavelTemporarios); }

NumeroDia CenarioArquivos::Dia(int dia, int mes) {
  return CodificaDia(static_cast<std::uint16_t>(dia), static_cast<std::uint16_t>(mes), 2026);
}

std::string CenarioArquivos::Le(const fs::path& arquivo) {
  return fs::exists(arquivo) ? PastaTemporaria::Le(arquivo.string()) : std::string();
}

std::vector<fs::path> CenarioArquivos::Arquivos(const fs::path& pasta) {
  std::vector<fs::path> r;
  if (fs::is_directory(pasta))
    for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path());
  std::sort(r.begin(), r.end());
  return r;
}

std::string CenarioArquivos::Gerado(const std::string& nome, const char* regraConhecida) {
  const std::string conteudo = Le(Enviado(nome));
  EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo)) << nome;
  const std::string texto = conteudo.substr(0, conteudo.rfind("EAD"));
  ConfereLeiaute(texto, regraConhecida);
  return texto;
}

const NumeroDia CenarioFiscal::kDia1 = CodificaDia(2, 11, 2026);
const NumeroDia CenarioFiscal::kDia2 = CodificaDia(3, 11, 2026);
const NumeroDia CenarioFiscal::kDia3 = CodificaDia(4, 11, 2026);
const NumeroDia CenarioFiscal::kDia4 = CodificaDia(5, 11, 2026);

// The movement, with the corner each record stands for:
//  - ECF 1 on day 1: a cupom of a customer with a discounted product, a
//    tax-substitution product and a service; a cancelled cupom; a cupom
//    with a cancelled item and a typed CPF; two consumer notas (one
//    cancelled); non-fiscal totalizers 251 (not an operation), 252 and 255.
//  - ECF 1 on day 2: a produced product (its own CFOP), a surcharge, and a
//    product sold in two cupons (summed under its totalizer).
//  - ECF 2 on day 1: a cupom of a person; on day 2 a Z reduction without
//    sales (no lines); a consumer nota of a service.
//  - ECF 3: a cupom without a Z reduction (no lines; its inactive product
//    is still an item of the period).
//  - Day 3: consumer notas all cancelled; day 4: one whose last number is 0.
//  - Notas of every model and situation, a participant of several notas and
//    one that is not registered, an observation with line breaks, a unit
//    discount whose cut to four decimals shows, a product whose status is
//    not "A", a nota with freight, ST and IPI spread over its C190 lines.
//  - Inventory at day 4: positive, zero and negative balances.
void CenarioFiscal::Movimento() {
  m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800).Conta("9.9.9")
      .PisCofins(1, kDia1, 0, 165)
      .PisCofins(2, CodificaDia(1, 10, 2026), kDia1, 760)
      .PisCofins(2, kDia2, 0, 300)
      .PisCofins(1, kDia2 + 1, 0, 999);
  m.Produto(20, "REFRIGERANTE COLA 2L").Tributacao('F', 0, "060").Unidade(2).Conta("3.1.1.02", "1.1.3.01");
  m.Produto(30, "LEITE INTEGRAL").Tributacao('I', 0, "040");
  m.Produto(40, "JORNAL").Tributacao('N', 0, "041").Producao();
  m.Produto(50, "FEIJÃO CARIOCA").Tributacao('T', 1200);
  m.Produto(70, "BOLACHA").Tributacao('T', 700).Inativo();
  m.Produto(90, "PRODUTO DESCONTINUADO").Tributacao('I', 0, "040").Situacao('D');
  auto& servico = m.Servico(60, "ENTREGA EM DOMICILIO", 500);
  servico.AliquotaPIS = 65;
  servico.AliquotaCOFINS = 300;
  servico.Ativo = 0;  // no longer offered, still named by the movement
  auto& atacado = m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
  Copia(atacado.InscricaoEstadual, "110.042.490.999");
  Copia(atacado.Endereco, "Av. do Estado");
  auto& estrangeiro = m.Cliente(6, "IMPORTADORA DEL PLATA", 'J', "");
  Copia(estrangeiro.Pais, "0639");
  Copia(estrangeiro.Endereco, "Av. de Mayo, Buenos Aires, Argentina");
  estrangeiro.Estrangeiro = 1;
  auto& pessoa = m.Cliente(7, "JOSE DA SILVA", 'F', "123.456.789-09");
  Copia(pessoa.Endereco, "Rua das Flores");
  pessoa.Numero = 15;
  Copia(pessoa.Bairro, "Jardim");
  // A supplier of a nota that leaves the register after it (below).
  auto& extinta = m.Cliente(99, "DISTRIBUIDORA NORTE LTDA", 'J', "33.000.167/0001-01");
  extinta.Municipio = 3550308;
  Copia(extinta.Endereco, "Rua do Porto");
  m.Grava();
  auto& sessao = empresa.Gravador().Sessao();
  dados::CGravadorCatalogo catalogo(sessao);
  catalogo.GravaNatureza({5101, "VENDA PRODUCAO", "5101"});
  catalogo.GravaCondicaoPagamento({1, "A VISTA", 1});
  catalogo.GravaCondicaoPagamento({2, "30 DIAS", 0});
  catalogo.GravaConta({"1.1.3.01", "ESTOQUE DE BEBIDAS", 1, 0});

  // The ST soft drink recorded by the ECF with the rate of its register:
  // no ICMS rate in C470 nor in the C490 that sums it.
  auto& primeiro = m.Cupom(1, kDia1).Item(10, 2, 12.5, 1.0).Item(20, 1, 3.99).Servico(60, 1, 5).Cliente(5);
  primeiro.itens[1].AliquotaCentesimos = 1800;
  m.Cupom(1, kDia1).Item(30, 1, 4.5).Cancelado();
  m.Cupom(1, kDia1).Item(50, 1.5, 8.9).Item(10, 1, 12.5).Cancela().Documento("123.456.789-09");
  m.NotaConsumidor(1, kDia1, 100, 110).Item(10, 2, 12.5).Item(30, 1, 4.5).Item(20, 1, 3.99).Cancela();
  m.NotaConsumidor(1, kDia1, 111, 113).Item(10, 1, 12.5).Cancelado();
  m.NaoFiscal(1, kDia1, 251, 99);
  m.NaoFiscal(1, kDia1, 252, 10);
  m.NaoFiscal(1, kDia1, 255, 2.5);
  m.ReducaoZ(1, kDia1);
  m.Cupom(1, kDia2).Item(10, 1, 12.5).Item(40, 3, 1);
  m.Cupom(1, kDia2).Item(10, 2, 12.5).Cliente(6);
  m.ReducaoZ(1, kDia2);
  m.Cupom(2, kDia1).Item(40, 2, 1).Item(10, 1, 12.5).Cliente(7);
  m.ReducaoZ(2, kDia1);
  m.ReducaoZ(2, kDia2);
  m.NotaConsumidor(2, kDia2, 116, 120).Servico(60, 1, 10);
  m.Cupom(3, kDia2).Item(70, 1, 1);
  m.NotaConsumidor(1, kDia3, 130, 132).Item(50, 1, 8.9).Cancelado();
  m.NotaConsumidor(1, kDia3, 133, 0).Item(50, 1, 8.9).Cancelado();
  m.NotaConsumidor(1, kDia4, 140, 0).Item(30, 1, 4.5);
  // Lower numbers on the next ECF, with a discount: the day runs 138-140.
  m.NotaConsumidor(2, kDia4, 138, 139).Item(50, 1, 8.9, 0.9);

  auto& n1 = m.Nota(1, kDia2, 1).Participante(5).CondicaoPagamento(1).Observacao("ENTREGAR\r\nNO DEPOSITO\nFUNDOS")
                 .Item(10, 2, 100).Item(50, 1, 50).Servico(60, 1, 20);
  n1.itens[0].DescontoUnitario = 123456789;  // 1.23456789 a unit
  n1.itens[0].BaseST = Valor(9.99);
  n1.itens[0].AliquotaST = 1800;
  n1.itens[0].ICMSST = Valor(1.79);
  n1.itens[0].BaseIPI = Valor(200);
  n1.itens[0].AliquotaIPI = 555;
  n1.itens[0].IPI = Valor(11.1);
  n1.itens[0].CstPIS = 1;
  n1.itens[0].BasePIS = Valor(200);
  n1.itens[0].AliquotaPIS = 165;
  n1.itens[0].PIS = Valor(3.3);
  n1.itens[1].CstPIS = 3;
  n1.itens[1].AliquotaPIS = 12;
  n1.itens[1].CstCOFINS = 3;
  n1.itens[1].AliquotaCOFINS = 57;
  n1.itens[1].ReducaoBase = Valor(5);
  n1.registro.Abatimento1 = Valor(1);
  n1.registro.Abatimento2 = Valor(0.5);
  n1.registro.IndicadorFrete = 1;
  // The nota carries its items' ST and IPI and a freight of its own.
  n1.registro.BaseST = Valor(9.99);
  n1.registro.ICMSST = Valor(1.79);
  n1.registro.IPI = Valor(11.1);
  n1.registro.Frete = Valor(3);
  n1.registro.ValorTotal.int64 += Valor(1.79 + 11.1 + 3).int64;
  // The nota's discount is its items' (1.2345 a unit, two units).
  n1.registro.Desconto = Valor(2.46);
  n1.registro.ValorTotal.int64 -= Valor(2.46).int64;
  m.Nota(2, kDia1, 4).Participante(6).ChaveNFe("35261112345678000195550010000000021000000020").Item(10, 1, 10);
  // Keys typed on notas that are no NF-e stay out of the files.
  m.Nota(3, kDia1, 2).Participante(7).Situacao(true).ChaveNFe("35261112345678000195010010000000031000000038")
      .Item(40, 3, 3);
  m.Nota(4, kDia1, 5).Participante(5).Item(10, 1, 7);
  auto& n5 = m.Nota(5, kDia1, 3).Participante(5).CondicaoPagamento(2).Observacao("MERCADORIA EM CONSIGNACAO")
                 .ChaveNFe("35261112345678000195040010000000051000000050").Item(20, 1, 2, 5405);
  n5.itens[0].Quantidade = Valor(1000);
  n5.itens[0].DescontoUnitario = 123456;  // 0.00123456 a unit: cut to 0.0012 before the product (1,20, not 1,23)
  n5.registro.Desconto = Valor(1.2);
  n5.registro.ValorTotal.int64 -= Valor(1.2).int64;
  m.Nota(6, kDia2, 1).Participante(7).Situacao(false, true).Item(30, 1, 1).Item(90, 1, 1);
  m.Nota(7, kDia2, 7).Participante(5).Item(40, 1, 1);
  m.Nota(8, kDia2, 4).Participante(7).Situacao(false, false, true).ChaveNFe("35261112345678000195550010000000081000000083");
  m.Nota(9, kDia2, 1).Participante(99).Item(40, 1, 1);
  m.Nota(10, kDia2, 4).Participante(5).Situacao(false, true).ChaveNFe("35261112345678000195550010000000101000000103");
  m.Inventario(10, kDia4, 10, 12.5);
  m.Inventario(20, kDia4, 2, 3);
  m.Inventario(40, kDia4, 0, 1);
  m.Inventario(30, kDia4, -2, 4.5);
  m.Inventario(50, kDia4, 4, 8.123456);
  m.Grava();
  sessao.Executa("UPDATE reducao_z SET acrescimos = 5000 WHERE emissora = 1 AND data = ?", {kDia2});
  // Deleted from the register after its nota (as another program may do):
  // the nota kept it.
  sessao.Executa("DELETE FROM cfrt WHERE codigo = 99", {});
}

std::string Golden(const std::string& nome) {
  return PastaTemporaria::Le(std::string(QMX_FONTES_TESTES) + "/arquivos/dados/" + nome);
}

void ConfereGolden(const std::string& gerado, const std::string& nome) {
  if (gerado == Golden(nome)) return;
  const std::string novo = testing::TempDir() + nome + ".novo";
  std::ofstream(novo, std::ios::binary) << gerado;
  ADD_FAILURE() << nome << " difere; gerado em " << novo;
}

void ConfereContagensEFD(const std::string& arquivo) {
  static const std::set<std::string> contagens = {"abertura", "encerramento", "9900-repetido", "9900-ausente",
                                                  "9900-contagem", "9900-sobra", "total", "9999"};
  for (const auto& p : validacao::ValidaConteudo(arquivo).problemas)
    if (contagens.count(p.regra)) ADD_FAILURE() << "linha " << p.linha << ": " << p.mensagem << " [" << p.regra << "]";
}

bool CasoConhecidoDoCenario(const validacao::Problema& p) {
  return p.registro == "H010" && p.regra == "campo-obrigatorio" && p.mensagem.rfind("COD_CTA", 0) == 0;
}

void ConfereLeiaute(const std::string& arquivo, const char* regraConhecida) {
  const auto v = validacao::ValidaConteudo(arquivo);
  for (const auto& p : v.problemas)
    if (p.gravidade == validacao::Gravidade::Erro && !(regraConhecida && p.regra == regraConhecida) &&
        !CasoConhecidoDoCenario(p))
      ADD_FAILURE() << "linha " << p.linha << ", registro " << p.registro << ": " << p.mensagem << " [" << p.regra
                    << "]";
}

}  // namespace qmx::testes
