#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/EmpresaDemo.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::cli {

// The demonstration company's catalogue: what its cupons, notas and DAVs
// sell and the records they refer to. Amounts are value times 10 000.

// Natures of operation (their codes are the CFOP digits).
constexpr std::uint16_t kNaturezaProducao = 5101;
constexpr std::uint16_t kNaturezaVenda = 5102;
constexpr std::uint16_t kNaturezaVendaST = 5405;
constexpr std::uint16_t kNaturezaServico = 5933;
constexpr std::uint16_t kNaturezaInterestadual = 6102;
constexpr std::uint16_t kNaturezaExportacao = 7102;
constexpr std::uint16_t kNaturezaRemessa = 5915;

// Document types. Notas fiscais of models 01, 1B, 04, 55 and 2D, and a
// type without a fiscal-document model; installments name their form by
// the last four.
constexpr std::uint16_t kTipoNotaFiscal = 1;      // model 01
constexpr std::uint16_t kTipoNotaAvulsa = 2;      // model 1B
constexpr std::uint16_t kTipoNotaProdutor = 3;    // model 04
constexpr std::uint16_t kTipoNFe = 4;             // model 55
constexpr std::uint16_t kTipoCupomFiscal = 5;     // model 2D
constexpr std::uint16_t kTipoNotaConsumidor = 6;  // model 02
constexpr std::uint16_t kTipoRomaneio = 7;        // no model
constexpr std::uint16_t kTipoDuplicata = 8;
constexpr std::uint16_t kTipoBoleto = 9;
constexpr std::uint16_t kTipoFaturaCartao = 10;
constexpr std::uint16_t kTipoChequePre = 11;
constexpr std::uint16_t kTipoDocumentoEstoque = 60;  // the ECFs' stock movements

// Payment conditions.
constexpr std::uint16_t kCondicaoAVista = 1;
constexpr std::uint16_t kCondicao30Dias = 2;
constexpr std::uint16_t kCondicao306090 = 3;
constexpr std::uint16_t kCondicaoCartaoParcelado = 4;

// Means of payment. Codes 250 and up are the printer's own: 252 and 253
// are taken from the cash received (a credit voucher and the rounding of
// the change), 255 is the change given back.
constexpr std::uint16_t kFormaDinheiro = 1;
constexpr std::uint16_t kFormaCartaoCredito = 2;
constexpr std::uint16_t kFormaCartaoDebito = 3;
constexpr std::uint16_t kFormaCheque = 4;
constexpr std::uint16_t kFormaBoleto = 5;  // used by notas only
constexpr std::uint16_t kFormaContravale = 252;
constexpr std::uint16_t kFormaArredondamento = 253;
constexpr std::uint16_t kFormaTroco = 255;

// Accounting grids and accounts of the ECFs' sales.
constexpr std::uint16_t kGradeProdutos = 1;
constexpr std::uint16_t kGradeMercadorias = 2;
constexpr std::uint16_t kGradeSubstituicao = 3;
constexpr std::uint16_t kGradeServicos = 4;
constexpr std::uint16_t kGradeEstoque = 5;
constexpr const char* kContaVendaProdutos = "3.1.01.001";
constexpr const char* kContaVendaMercadorias = "3.1.01.002";
constexpr const char* kContaVendaSubstituicao = "3.1.01.003";
constexpr const char* kContaReceitaServicos = "3.1.02.001";
// Where the ECFs' sales are owed: the cash of the tills, and the credit
// sales until the financial module's titles take them over.
constexpr const char* kContaCaixa = "1.1.01.001";
constexpr const char* kContaVendasAReceber = "1.1.02.005";
// What the tills' drawers hold besides the sales: the treasury their
// withdrawals go to, the vouchers owed to customers, the change kept.
constexpr const char* kContaTesouraria = "1.1.01.002";
constexpr const char* kContaContravales = "2.1.01.001";
constexpr const char* kContaArredondamentos = "3.2.01.001";

// Customers and suppliers: a supplier whose record another program deleted
// after its nota (the nota keeps it).
constexpr std::uint32_t kParticipanteExcluido = 9999;

// Price tables: products 1 (retail) and 2 (wholesale), services 1.
constexpr std::uint16_t kTabelaVarejo = 1;
constexpr std::uint16_t kTabelaAtacado = 2;
constexpr std::uint16_t kTabelaServicos = 1;

// How a product is taxed in a branch: the ECF tax letter, the ICMS rate
// when 'T', the CST text.
struct TributacaoDemo {
  char letra;
  std::uint16_t aliquota;
  const char* cst;
};

struct ProdutoDemo {
  std::uint32_t codigo;
  const char* descricao;
  std::uint16_t unidade;
  bool interrogacao;  // the unit is written padded with "?"
  const char* ncm;
  TributacaoDemo sp;          // in São Paulo (its ECFs have a 25 % rate)
  TributacaoDemo outros;      // elsewhere
  bool producao;              // made by the company's bakery
  std::int64_t preco;         // retail price
  bool pesavel;               // sold by weight, in kilograms
  int procura;                // how often it is sold, relative to the others
  std::uint16_t reducaoBase;  // base reduction, hundredths of a percent
  bool inativo;               // no longer sold
};

struct ServicoDemo {
  std::uint32_t codigo;
  const char* descricao;
  std::uint16_t unidade;
  bool interrogacao;
  const char* lst;
  std::int64_t preco;
};

const std::vector<ProdutoDemo>& ProdutosDemo();
const std::vector<ServicoDemo>& ServicosDemo();
const TributacaoDemo& TributacaoNaFilial(const ProdutoDemo& produto, const std::string& uf);
// The wholesale price of the products that have one (0: none).
std::int64_t PrecoAtacado(const ProdutoDemo& produto);
// What a unit cost the store, for the inventory.
std::int64_t CustoUnitario(const ProdutoDemo& produto);

struct ClienteDemo {
  std::uint32_t codigo;
  const char* nome;
  char tipoPessoa;
  std::string documento;
  const char* uf;
  std::int32_t municipio;
  const char* inscricao;
  bool estrangeiro;
};

const std::vector<ClienteDemo>& ClientesDemo();

// Writes the catalogue, customers, document types, natures, payment
// conditions and means, accounts, grids and storage places, inside the
// caller's transaction.
void GravaCatalogoDemo(dados::CSessaoDados& sessao, const CadastrosDemo& cadastros, const MesDemo& mes);

}  // namespace qmx::cli
