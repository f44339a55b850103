#include "cli/CatalogoDemo.h"

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/GravadorCatalogo.h"

namespace qmx::cli {

namespace {

constexpr std::int64_t Centavos(std::int64_t centavos) { return centavos * 100; }

constexpr TributacaoDemo T18{'T', 1800, "000"};
constexpr TributacaoDemo T12{'T', 1200, "000"};
constexpr TributacaoDemo T07{'T', 700, "000"};
constexpr TributacaoDemo T25{'T', 2500, "000"};
constexpr TributacaoDemo T18Reduzida{'T', 1800, "020"};
constexpr TributacaoDemo F{'F', 0, "060"};
constexpr TributacaoDemo I{'I', 0, "040"};
constexpr TributacaoDemo N{'N', 0, "041"};

// Units of the products.
enum : std::uint16_t { UN = 1, KG, DZ, PCT, LT, GF, CX };

// Accounts of the stock and of the cost of what was sold.
constexpr const char* kContaEstoqueMercadorias = "1.1.03.001";
constexpr const char* kContaEstoqueProducao = "1.1.03.002";
constexpr const char* kContaCustoMercadorias = "4.1.01.001";
constexpr const char* kContaCustoProducao = "4.1.01.002";

// Storage places: the shop floor, the central store and the bakery.
constexpr std::uint16_t kLocalLoja = 1;
constexpr std::uint16_t kLocalPadaria = 3;

// Products that pay no PIS/COFINS of their own (tax substitution of the
// drinks, basic food at rate zero) and the special cases of validity.
enum class PisCofins { Normal, Zero, Monofasico, MudaNoMes, FaixaAntiga, TerminaNoFimDoMes };

PisCofins RegimePisCofins(const ProdutoDemo& p) {
  switch (p.codigo) {
    case 4:
      return PisCofins::MudaNoMes;
    case 5:
      return PisCofins::FaixaAntiga;
    case 19:
      return PisCofins::TerminaNoFimDoMes;
    case 1:
    case 2:
    case 3:
    case 6:
    case 11:
    case 12:
    case 13:
    case 14:
    case 31:
    case 32:
    case 35:
      return PisCofins::Zero;
    default:
      return p.sp.letra == 'F' ? PisCofins::Monofasico : PisCofins::Normal;
  }
}

// The rates hold from two years before the month; the old range of some
// products ended the year before that.
void GravaPisCofins(dados::CGravadorCatalogo& catalogo, const ProdutoDemo& p, const MesDemo& mes) {
  const NumeroDia desde = CodificaDia(1, 1, mes.ano - 2);
  auto grava = [&](NumeroDia inicio, NumeroDia fim, std::uint16_t pis, std::uint16_t cofins) {
    catalogo.GravaPisCofins({p.codigo, 1, inicio, fim, pis});
    catalogo.GravaPisCofins({p.codigo, 2, inicio, fim, cofins});
  };
  switch (RegimePisCofins(p)) {
    case PisCofins::Normal:
      grava(desde, 0, 165, 760);
      break;
    case PisCofins::Zero:
      grava(desde, 0, 0, 0);
      break;
    case PisCofins::Monofasico:
      break;
    case PisCofins::MudaNoMes:
      // Coffee went to rate zero in the middle of the month.
      grava(desde, mes.Dia(15), 165, 760);
      grava(mes.Dia(16), 0, 0, 0);
      break;
    case PisCofins::FaixaAntiga:
      grava(CodificaDia(1, 1, mes.ano - 4), desde - 1, 100, 450);
      grava(desde, 0, 165, 760);
      break;
    case PisCofins::TerminaNoFimDoMes:
      grava(desde, mes.Ultimo(), 165, 760);
      grava(mes.Ultimo() + 1, 0, 200, 900);
      break;
  }
}

}  // namespace

const std::vector<ProdutoDemo>& ProdutosDemo() {
  static const std::vector<ProdutoDemo> produtos = {
      {1, "ARROZ BRANCO TIPO 1 5KG", PCT, false, "10063021", T07, T07, false, Centavos(2490), false, 30, 0, false},
      {2, "FEIJÃO CARIOCA 1KG", PCT, false, "07133399", T07, T07, false, Centavos(899), false, 30, 0, false},
      {3, "AÇÚCAR CRISTAL 5KG", PCT, false, "17011400", T07, T07, false, Centavos(2199), false, 15, 0, false},
      {4, "CAFÉ TORRADO E MOÍDO 500G", PCT, false, "09012100", T07, T07, false, Centavos(1849), false, 25, 0, false},
      {5, "ÓLEO DE SOJA 900ML", UN, false, "15079011", T12, T12, false, Centavos(749), false, 20, 0, false},
      {6, "LEITE UHT INTEGRAL 1L", UN, false, "04012010", I, I, false, Centavos(529), false, 50, 0, false},
      {7, "PÃO FRANCÊS", KG, true, "19059090", T07, T07, true, Centavos(1690), true, 60, 0, false},
      {8, "BOLO DE FUBÁ CASEIRO", UN, false, "19059090", T18, T18, true, Centavos(1590), false, 8, 0, false},
      {9, "MUSSARELA FATIADA", KG, true, "04061010", T12, T12, false, Centavos(4990), true, 12, 0, false},
      {10, "PRESUNTO COZIDO FATIADO", KG, false, "16024900", T12, T12, false, Centavos(3690), true, 12, 0, false},
      {11, "BANANA NANICA", KG, false, "08039000", I, I, false, Centavos(599), true, 25, 0, false},
      {12, "TOMATE ITALIANO", KG, false, "07020000", I, I, false, Centavos(899), true, 20, 0, false},
      {13, "BATATA INGLESA", KG, false, "07019000", I, I, false, Centavos(549), true, 15, 0, false},
      {14, "OVOS BRANCOS GRANDES", DZ, false, "04072100", I, I, false, Centavos(1290), false, 15, 0, false},
      {15, "CERVEJA PILSEN LATA 350ML", LT, false, "22030000", F, F, false, Centavos(399), false, 40, 0, false},
      {16, "REFRIGERANTE COLA 2L", GF, false, "22021000", F, F, false, Centavos(999), false, 30, 0, false},
      {17, "ÁGUA MINERAL SEM GÁS 500ML", GF, false, "22011000", F, F, false, Centavos(249), false, 30, 0, false},
      {18, "VINHO TINTO SECO 750ML", GF, false, "22042100", T25, T18, false, Centavos(4990), false, 6, 0, false},
      {19, "WHISKY ESCOCÊS 12 ANOS 1L", GF, false, "22083020", T25, T18, false, Centavos(18990), false, 2, 0, false},
      {20, "SABÃO EM PÓ 1KG", CX, false, "34022000", T18, T18, false, Centavos(1490), false, 10, 0, false},
      {21, "DETERGENTE LÍQUIDO 500ML", UN, false, "34022000", T18, T18, false, Centavos(279), false, 15, 0, false},
      {22, "PAPEL HIGIÊNICO FOLHA DUPLA 12 ROLOS", PCT, false, "48181000", T18, T18, false, Centavos(2290), false, 12,
       0, false},
      {23, "CREME DENTAL 90G", UN, false, "33061000", F, F, false, Centavos(549), false, 10, 0, false},
      {24, "SHAMPOO 350ML", UN, false, "33051000", F, T18, false, Centavos(1890), false, 6, 0, false},
      {25, "PILHA ALCALINA AA C/2", UN, false, "85061019", F, F, false, Centavos(1290), false, 3, 0, false},
      {26, "LÂMPADA LED 9W", UN, false, "85395200", F, F, false, Centavos(990), false, 3, 0, false},
      {27, "JORNAL DO DIA", UN, false, "49021000", N, N, false, Centavos(500), false, 8, 0, false},
      {28, "REVISTA SEMANAL", UN, false, "49029000", N, N, false, Centavos(1990), false, 2, 0, false},
      {29, "SACOLA RETORNÁVEL", UN, true, "39232190", T18, T18, false, Centavos(399), false, 5, 0, false},
      {30, "FILÉ DE TILÁPIA CONGELADO", KG, false, "03046200", T12, T12, false, Centavos(5990), true, 4, 0, false},
      {31, "CARNE MOÍDA DE PATINHO", KG, false, "02013000", T07, T07, false, Centavos(4290), true, 10, 0, false},
      {32, "FRANGO INTEIRO CONGELADO", KG, false, "02071200", T07, T07, false, Centavos(1290), true, 10, 0, false},
      {33, "IOGURTE NATURAL 170G", UN, false, "04032000", T18, T18, false, Centavos(349), false, 12, 0, false},
      {34, "MACARRÃO ESPAGUETE 500G", PCT, false, "19021900", T12, T12, false, Centavos(549), false, 15, 0, false},
      {35, "FARINHA DE TRIGO 1KG", PCT, false, "11010010", T07, T07, false, Centavos(599), false, 8, 0, false},
      {36, "CHOCOLATE AO LEITE 90G", UN, false, "18063210", F, F, false, Centavos(699), false, 15, 0, false},
      {37, "PIZZA DA CASA MUSSARELA", UN, false, "19059090", T18, T18, true, Centavos(3490), false, 5, 0, false},
      {38, "COXINHA DE FRANGO ASSADA", UN, false, "19059090", T18, T18, true, Centavos(650), false, 20, 0, false},
      {39, "KIT CESTA BÁSICA", CX, false, "21069090", T18Reduzida, T18Reduzida, false, Centavos(11990), false, 1, 3333,
       false},
      {40, "FILME FOTOGRÁFICO 36 POSES", UN, false, "37024400", T18, T18, false, Centavos(2490), false, 0, 0, true},
  };
  return produtos;
}

const std::vector<ServicoDemo>& ServicosDemo() {
  static const std::vector<ServicoDemo> servicos = {
      {501, "ENTREGA EM DOMICÍLIO", 1, false, "1601", Centavos(800)},
      {502, "AFIAÇÃO DE FACAS E TESOURAS", 1, true, "1401", Centavos(1200)},
      {503, "MONTAGEM DE CESTA DE PRESENTE", 2, false, "1405", Centavos(1500)},
      {504, "CÓPIA DE CHAVE", 1, false, "1401", Centavos(950)},
  };
  return servicos;
}

const TributacaoDemo& TributacaoNaFilial(const ProdutoDemo& produto, const std::string& uf) {
  return uf == "SP" ? produto.sp : produto.outros;
}

std::int64_t PrecoAtacado(const ProdutoDemo& p) {
  if (p.inativo || p.pesavel || p.procura < 10) return 0;
  return (p.preco * 92 / 100) / 100 * 100;
}

std::int64_t CustoUnitario(const ProdutoDemo& p) { return (p.preco * (p.producao ? 40 : 62) / 100) / 100 * 100; }

const std::vector<ClienteDemo>& ClientesDemo() {
  static const std::vector<ClienteDemo> clientes = {
      {1, "MARIA APARECIDA DOS SANTOS", 'F', CpfComDigitos("314159265"), "SP", 3550308, "", false},
      {2, "JOSÉ CARLOS PEREIRA", 'F', CpfComDigitos("271828182"), "MG", 3106200, "", false},
      {3, "PADARIA PÃO DOURADO LTDA", 'J', CnpjComDigitos("112223330001"), "SP", 3509502, "244123456119", false},
      {4, "RESTAURANTE SABOR DE MINAS LTDA", 'J', CnpjComDigitos("445556660001"), "MG", 3106200, "0623456780012",
       false},
      // Exempt from state registration.
      {5, "CONDOMÍNIO EDIFÍCIO AURORA", 'J', CnpjComDigitos("778889990001"), "SP", 3550308, "", false},
      {6, "ESCOLA PARTICULAR MONTEIRO LOBATO", 'J', CnpjComDigitos("223334440001"), "DF", 5300108, "0745678900123",
       false},
      {7, "IMPORTADORA RIO DE LA PLATA S.A.", 'J', "", "EX", 9999999, "", true},
      {8, "HOTEL BEIRA MAR LTDA", 'J', CnpjComDigitos("556667770001"), "PB", 2507507, "161234567", false},
      {9, "SUPERMERCADO ILHA BELA LTDA", 'J', CnpjComDigitos("334445550001"), "SC", 4205407, "254123456", false},
      {10, "ANA PAULA RODRIGUES", 'F', CpfComDigitos("141421356"), "RJ", 3304557, "", false},
      // A farmer with the state registration of a rural producer.
      {11, "ANTÔNIO MARTINS - FAZENDA BOA ESPERANÇA", 'F', CpfComDigitos("173205080"), "MG", 3170206, "0019876540088",
       false},
      {12, "COMERCIAL ZONA FRANCA LTDA", 'J', CnpjComDigitos("667778880001"), "AM", 1302603, "041234567", false},
  };
  return clientes;
}

void GravaCatalogoDemo(dados::CSessaoDados& sessao, const CadastrosDemo& cadastros, const MesDemo& mes) {
  dados::CGravadorCatalogo catalogo(sessao);

  for (const auto& u : std::vector<REG_UNIDADES_MEDIDAPS>{{UN, "UN", "UNIDADE"},
                                                          {KG, "KG", "QUILOGRAMA"},
                                                          {DZ, "DZ", "DÚZIA"},
                                                          {PCT, "PCT", "PACOTE"},
                                                          {LT, "LT", "LATA"},
                                                          {GF, "GF", "GARRAFA"},
                                                          {CX, "CX", "CAIXA"}})
    catalogo.GravaUnidade(u);
  catalogo.GravaUnidadeServico({1, "SV", "SERVIÇO"});
  catalogo.GravaUnidadeServico({2, "HR", "HORA"});
  catalogo.GravaLocal({kLocalLoja, "LOJA", "1.1.03.001", 1});
  catalogo.GravaLocal({2, "DEPÓSITO CENTRAL", "1.1.03.001", 0});
  catalogo.GravaLocal({kLocalPadaria, "PADARIA", "1.1.03.002", 1});

  for (const auto& c : std::vector<REG_PLANO_CONTAPS>{{"1", "ATIVO", 0, 0},
                                                      {"1.1.01.001", "CAIXA GERAL", 1, 0},
                                                      {"1.1.01.002", "TESOURARIA", 1, 0},
                                                      {"1.1.02.001", "CLIENTES A RECEBER", 1, 0},
                                                      {"1.1.02.002", "CARTÕES DE CRÉDITO A RECEBER", 1, 0},
                                                      {"1.1.02.003", "CARTÕES DE DÉBITO A RECEBER", 1, 0},
                                                      {"1.1.02.004", "CHEQUES A RECEBER", 1, 0},
                                                      {"1.1.02.005", "VENDAS DOS CAIXAS A RECEBER", 1, 0},
                                                      {"1.1.03.001", "ESTOQUE DE MERCADORIAS", 1, 0},
                                                      {"1.1.03.002", "ESTOQUE DE PRODUTOS ACABADOS", 1, 0},
                                                      {"2", "PASSIVO", 0, 0},
                                                      {"2.1.01.001", "CONTRAVALES A RESGATAR", 1, 0},
                                                      {"3", "RECEITAS", 0, 0},
                                                      {"3.1.01.001", "VENDA DE PRODUTOS", 1, 0},
                                                      {"3.1.01.002", "VENDA DE MERCADORIAS", 1, 0},
                                                      {"3.1.01.003", "VENDA DE MERCADORIAS COM ST", 1, 0},
                                                      {"3.1.02.001", "RECEITA DE SERVIÇOS", 1, 0},
                                                      {"3.2.01.001", "ARREDONDAMENTOS DE TROCO", 1, 0},
                                                      {"4.1.01.001", "CUSTO DAS MERCADORIAS VENDIDAS", 1, 1},
                                                      {"4.1.01.002", "CUSTO DOS PRODUTOS VENDIDOS", 1, 0}})
    catalogo.GravaConta(c);
  for (const auto& g : std::vector<REG_GRADE_CONTABILPS>{
           {kGradeProdutos, "VENDA DE PRODUTOS", "1.1.01.001", "3.1.01.001"},
           {kGradeMercadorias, "VENDA DE MERCADORIAS", "1.1.01.001", "3.1.01.002"},
           {kGradeSubstituicao, "VENDA DE MERCADORIAS COM ST", "1.1.01.001", "3.1.01.003"},
           {kGradeServicos, "PRESTAÇÃO DE SERVIÇOS", "1.1.01.001", "3.1.02.001"},
           {kGradeEstoque, "BAIXA DE ESTOQUE", "4.1.01.001", "1.1.03.001"}})
    catalogo.GravaGrade(g);

  for (const auto& p : ProdutosDemo()) {
    REG_PRODUTOPS r{};
    r.Codigo = p.codigo;
    Copia(r.Descricao, p.descricao);
    r.Unidade = p.unidade;
    r.UnidadeInterrogacao = p.interrogacao;
    Copia(r.NCM, p.ncm);
    r.Revenda = !p.producao;
    r.Situacao = 'A';
    r.Inativo = p.inativo;
    r.Producao = p.producao;
    r.AliquotaST = p.sp.letra == 'F' ? 1800 : 0;
    r.ReducaoBase = p.reducaoBase;
    // The cake is the bakery's own make, with its IPI.
    Copia(r.CstIPI, p.codigo == 8 ? "50" : "99");
    r.AliquotaIPI = p.codigo == 8 ? 500 : 0;
    r.ApuracaoIPI = p.codigo == 8;
    Copia(r.ContaContabil, p.producao          ? kContaVendaProdutos
                           : p.sp.letra == 'F' ? kContaVendaSubstituicao
                                               : kContaVendaMercadorias);
    Copia(r.ContaEstoque, p.producao ? kContaEstoqueProducao : kContaEstoqueMercadorias);
    // The film left the shelves before its cost account was set.
    Copia(r.ContaCusto, p.inativo ? "" : p.producao ? kContaCustoProducao : kContaCustoMercadorias);
    r.LocalEstoque = p.producao ? kLocalPadaria : kLocalLoja;
    r.GradeContabil = kGradeEstoque;
    r.CustoUltimaCompra = CY{CustoUnitario(p)};
    catalogo.GravaProduto(r);
    for (const auto& f : cadastros.filiais) {
      const auto& t = TributacaoNaFilial(p, f.uf);
      catalogo.GravaProdutoFilial(p.codigo, f.numero, t.cst, t.letra, t.letra == 'T' ? t.aliquota : 0);
    }
    GravaPisCofins(catalogo, p, mes);
  }
  for (const auto& s : ServicosDemo()) {
    REG_SERVICOSPS r{};
    r.Codigo = s.codigo;
    Copia(r.Descricao, s.descricao);
    r.Unidade = s.unidade;
    r.UnidadeInterrogacao = s.interrogacao;
    Copia(r.CodigoLST, s.lst);
    r.AliquotaISS = 500;
    r.AliquotaPIS = 65;
    r.AliquotaCOFINS = 300;
    r.Ativo = 1;
    r.Producao = s.codigo == 502;
    Copia(r.ContaContabil, kContaReceitaServicos);
    r.GradeContabil = kGradeServicos;
    catalogo.GravaServico(r);
  }

  catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, kTabelaVarejo, "VAREJO"});
  catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, kTabelaAtacado, "ATACADO"});
  catalogo.GravaTabelaPreco({QMX_TABELA_SERVICOS, kTabelaServicos, "SERVIÇOS"});
  for (const auto& p : ProdutosDemo()) {
    if (p.inativo) continue;
    catalogo.GravaItemTabelaPreco({QMX_TABELA_PRODUTOS, kTabelaVarejo, p.codigo, CY{p.preco}});
    if (const auto atacado = PrecoAtacado(p))
      catalogo.GravaItemTabelaPreco({QMX_TABELA_PRODUTOS, kTabelaAtacado, p.codigo, CY{atacado}});
  }
  for (const auto& s : ServicosDemo())
    catalogo.GravaItemTabelaPreco({QMX_TABELA_SERVICOS, kTabelaServicos, s.codigo, CY{s.preco}});

  for (const auto& c : ClientesDemo()) {
    ZTCFRT r{};
    r.Codigo = c.codigo;
    Copia(r.Nome, c.nome);
    r.TipoPessoa = c.tipoPessoa;
    Copia(r.CnpjCpf, c.documento);
    Copia(r.InscricaoEstadual, c.inscricao);
    r.Estrangeiro = c.estrangeiro;
    Copia(r.Pais, c.estrangeiro ? "0639" : "1058");
    Copia(r.UF, c.uf);
    r.Municipio = c.municipio;
    if (c.codigo == 12) Copia(r.Suframa, "200123456");
    Copia(r.Endereco, c.estrangeiro ? "Avenida Corrientes" : "Rua das Palmeiras");
    r.Numero = static_cast<std::int32_t>(100 + 11 * c.codigo);
    if (c.tipoPessoa == 'J') Copia(r.Complemento, "Sala " + std::to_string(c.codigo));
    Copia(r.Bairro, c.estrangeiro ? "San Nicolás" : "Centro");
    Copia(r.Cep, c.estrangeiro ? "" : "01001-000");
    Copia(r.Telefone, "1133" + std::to_string(200000 + c.codigo));
    Copia(r.ContaContabil, "1.1.02.001");
    catalogo.GravaCfrt(r);
  }

  constexpr const char* kModelos[][2] = {{"01", "NOTA FISCAL MODELO 1/1A"},           {"1B", "NOTA FISCAL AVULSA"},
                                         {"02", "NOTA FISCAL DE VENDA A CONSUMIDOR"}, {"04", "NOTA FISCAL DE PRODUTOR"},
                                         {"2D", "CUPOM FISCAL EMITIDO POR ECF"},      {"55", "NOTA FISCAL ELETRÔNICA"}};
  for (std::uint16_t i = 0; i < 6; ++i) {
    REG_DOC_FISCAIS d{};
    d.Codigo = static_cast<std::uint16_t>(i + 1);
    Copia(d.Modelo, kModelos[i][0]);
    Copia(d.Descricao, kModelos[i][1]);
    catalogo.GravaDocumentoFiscal(d);
  }
  for (const auto& t : std::vector<REG_TIPO_DOCUMENTOPS>{{kTipoNotaFiscal, "NOTA FISCAL", 1},
                                                         {kTipoNotaAvulsa, "NOTA FISCAL AVULSA", 2},
                                                         {kTipoNotaProdutor, "NOTA FISCAL DE PRODUTOR", 4},
                                                         {kTipoNFe, "NOTA FISCAL ELETRÔNICA", 6},
                                                         {kTipoCupomFiscal, "CUPOM FISCAL", 5},
                                                         {kTipoNotaConsumidor, "NOTA DE VENDA A CONSUMIDOR", 3},
                                                         {kTipoRomaneio, "ROMANEIO DE ENTREGA", 0},
                                                         {kTipoDuplicata, "DUPLICATA", 0},
                                                         {kTipoBoleto, "BOLETO BANCÁRIO", 0},
                                                         {kTipoFaturaCartao, "FATURA DE CARTÃO", 0},
                                                         {kTipoChequePre, "CHEQUE PRÉ-DATADO", 0},
                                                         {kTipoDocumentoEstoque, "CUPOM FISCAL - ESTOQUE", 5}})
    catalogo.GravaTipoDocumento(t);
  for (const auto& n :
       std::vector<REG_NATUREZAPS>{{kNaturezaProducao, "VENDA DE PRODUÇÃO DO ESTABELECIMENTO", "5.101"},
                                   {kNaturezaVenda, "VENDA DE MERCADORIA ADQUIRIDA DE TERCEIROS", "5.102"},
                                   {kNaturezaVendaST, "VENDA DE MERCADORIA SUJEITA A SUBSTITUIÇÃO TRIBUTÁRIA", "5.405"},
                                   {kNaturezaServico, "PRESTAÇÃO DE SERVIÇO TRIBUTADO PELO ISSQN", "5.933"},
                                   {kNaturezaInterestadual, "VENDA DE MERCADORIA PARA OUTRO ESTADO", "6.102"},
                                   {kNaturezaExportacao, "EXPORTAÇÃO DE MERCADORIA", "7.102"},
                                   {kNaturezaRemessa, "REMESSA PARA CONSERTO", "5.915"}})
    catalogo.GravaNatureza(n);
  for (const auto& c : std::vector<REG_CONDICAO_PAGAMENTOPS>{{kCondicaoAVista, "À VISTA", 1},
                                                             {kCondicao30Dias, "30 DIAS", 0},
                                                             {kCondicao306090, "30/60/90 DIAS", 0},
                                                             {kCondicaoCartaoParcelado, "CARTÃO PARCELADO", 0}})
    catalogo.GravaCondicaoPagamento(c);
  for (const auto& f : std::vector<REG_FORMA_PAGAMENTOPS>{{kFormaDinheiro, "DINHEIRO", 0, "1.1.01.001"},
                                                          {kFormaCartaoCredito, "CARTAO CREDITO", 1, "1.1.02.002"},
                                                          {kFormaCartaoDebito, "CARTAO DEBITO", 0, "1.1.02.003"},
                                                          {kFormaCheque, "CHEQUE", 0, "1.1.02.004"},
                                                          {kFormaBoleto, "BOLETO BANCARIO", 1, "1.1.02.001"},
                                                          {kFormaContravale, "CONTRAVALE", 0, ""},
                                                          {kFormaArredondamento, "ARREDONDAMENTO", 0, ""},
                                                          {kFormaTroco, "TROCO", 0, ""}})
    catalogo.GravaFormaPagamento(f);
}

}  // namespace qmx::cli
