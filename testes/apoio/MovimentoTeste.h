#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "apoio/EmpresaTeste.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroNotaFiscal.h"

namespace qmx::testes {

// An amount or quantity of the records, from a decimal written in the test.
CY Valor(double valor);

class MovimentoTeste;

// Each builder below holds one record; its setters change it and answer the
// builder, so a record is stated in one line. Nothing is written until
// MovimentoTeste::Grava.

class ProdutoTeste {
 public:
  ProdutoTeste& Tributacao(char letra, std::uint16_t aliquota, const char* cst = "000");
  ProdutoTeste& Unidade(std::uint16_t unidade, bool interrogacao = false);
  ProdutoTeste& Ncm(const char* ncm);
  ProdutoTeste& Producao();
  ProdutoTeste& Inativo();
  ProdutoTeste& PisCofins(std::uint8_t tipo, std::uint16_t inicio, std::uint16_t fim, std::uint16_t aliquota);
  REG_PRODUTOPS registro;
  std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS> pisCofins;
};

class CupomTeste {
 public:
  // A product item: tax letter and rate come from the product's builder.
  CupomTeste& Item(std::uint32_t produto, double quantidade, double unitario, double desconto = 0);
  // A service item, taxed by ISS at the service's rate.
  CupomTeste& Servico(std::uint32_t servico, double quantidade, double unitario);
  // The last item added is cancelled.
  CupomTeste& Cancela();
  CupomTeste& Cancelado();
  CupomTeste& Cliente(std::uint32_t cliente, const char* nome = "");
  CupomTeste& Documento(const char* cpfCnpj);
  CupomTeste& Origem(std::uint8_t origem);
  CupomTeste& Pagamento(std::uint16_t forma, double valor, std::uint32_t gnf = 0);
  CupomTeste& Parcela(double valor, std::uint16_t tipoDocumento, std::uint16_t vencimento);
  CupomTeste& Coo(std::uint32_t coo);
  CupomTeste& Ccf(std::uint32_t ccf);

  REG_EC_CXPS registro;
  std::vector<REG_EC_CX_CIPS> itens;
  std::vector<REG_EC_CX_PAGAMENTOPS> pagamentos;
  std::vector<REG_EC_CX_PARCELAPS> parcelas;

 private:
  friend class MovimentoTeste;
  CupomTeste(MovimentoTeste& movimento) : registro(), m_movimento(&movimento) {}
  REG_EC_CX_CIPS& NovoItem(std::uint32_t codigo, double quantidade, double unitario, double desconto);
  MovimentoTeste* m_movimento;
};

class NotaTeste {
 public:
  NotaTeste& Participante(std::uint32_t cfrt);
  NotaTeste& Situacao(bool cancelada, bool inutilizada = false, bool denegada = false);
  NotaTeste& Observacao(const char* texto);
  NotaTeste& ChaveNFe(const char* chave);
  NotaTeste& CodigoTipo(std::uint16_t codigo);
  NotaTeste& CondicaoPagamento(std::uint16_t condicao);
  // A product item taxed at the product's ICMS rate; the nota's totals follow.
  NotaTeste& Item(std::uint32_t produto, double quantidade, double valor, std::uint16_t natureza = 5102);
  NotaTeste& Servico(std::uint32_t servico, double quantidade, double valor, std::uint16_t natureza = 5933);
  NotaTeste& Pagamento(std::uint16_t forma, double valor);
  REG_NOTA_FISCALPS registro;
  std::vector<REG_ITENS_NF_PS> itens;
  std::vector<REG_NF_PAGAMENTOPS> pagamentos;

 private:
  friend class MovimentoTeste;
  NotaTeste(MovimentoTeste& movimento) : registro(), m_movimento(&movimento) {}
  MovimentoTeste* m_movimento;
};

class DavTeste {
 public:
  DavTeste& Item(std::uint32_t produto, double quantidade, double unitario, char tributacao = 'T',
                 std::uint16_t aliquota = 1800);
  DavTeste& Cupom(std::uint32_t cooCupom);
  DavTeste& Cliente(std::uint32_t cliente);
  REG_DAVPS registro;
  std::vector<REG_DAV_ITEMPS> itens;
};

// The movement of a test company (EmpresaTeste), stated beside the test's
// expectations:
//
//   MovimentoTeste m(empresa);
//   m.Produto(10, "ARROZ 5KG").Tributacao('T', 1800);
//   m.Cupom(1, dia).Item(10, 2, 12.50).Pagamento(1, 25.00);
//   m.ReducaoZ(1, dia);
//   m.Grava();
//
// It starts with the usual support records (unit "UN" 1, service unit "SV"
// 1, the fiscal-document models and their document types, the natures
// 5102, 5405 and 5933, the means of payment 1 "DINHEIRO" and 2 "CARTAO").
// Cupons and DAVs belong to their ECF's branch and take the next COO, CCF
// and sequence of their ECF unless given;
// a cupom's subtotal, discount and total follow from its items, and one
// cash payment of the total is added when it names none. A Z reduction is
// summed from the cupons of its ECF and day (as the ECF does), with the CRZ
// and grand total carried from the ECF's previous one. Document types: 1
// nota fiscal "01", 2 "1B", 3 "04", 4 "55", 5 "2D", 6 "02", 7 none.
class MovimentoTeste {
 public:
  explicit MovimentoTeste(EmpresaTeste& empresa, std::uint16_t filial = 1);

  ProdutoTeste& Produto(std::uint32_t codigo, const std::string& descricao);
  REG_SERVICOSPS& Servico(std::uint32_t codigo, const std::string& descricao, std::uint16_t aliquotaISS = 500);
  ZTCFRT& Cliente(std::uint32_t codigo, const std::string& nome, char tipoPessoa = 'F',
                  const std::string& documento = "123.456.789-09");
  CupomTeste& Cupom(std::uint16_t emissora, std::uint16_t data);
  // A consumer nota (model 02) of the branch's cash data, numbers inicial..final.
  CupomTeste& NotaConsumidor(std::uint16_t emissora, std::uint16_t data, std::uint32_t inicial, std::uint32_t final);
  NotaTeste& Nota(std::uint32_t numero, std::uint16_t data, std::uint16_t tipoDocumento = 1);
  DavTeste& Dav(std::uint32_t numero, std::uint16_t emissora, std::uint16_t data);
  // The Z reduction of the day, summed from the cupons given so far.
  void ReducaoZ(std::uint16_t emissora, std::uint16_t data);
  void NaoFiscal(std::uint16_t emissora, std::uint16_t data, std::uint8_t codigo, double valor);
  void Documento(std::uint16_t emissora, std::uint16_t data, std::uint8_t tipo, std::uint32_t gnf = 0,
                 std::uint32_t grg = 0, std::uint32_t cdc = 0);
  void Posicao(std::uint32_t produto, std::uint16_t data, double quantidade);
  void Inventario(std::uint32_t produto, std::uint16_t data, double quantidade, double unitario);
  // The rate table of the ECFs that have none: 1 T1800, 2 T1200, 3 T0700, 4 S0500.
  static const std::vector<REG_EMISSOR_ALIQUOTA>& TabelaPadrao();

  // Writes everything stated so far in one transaction.
  void Grava();

  std::uint16_t Filial() const { return m_filial; }
  const ProdutoTeste* ProdutoDeclarado(std::uint32_t codigo) const;
  const REG_SERVICOSPS* ServicoDeclarado(std::uint32_t codigo) const;
  // The COO the ECF's next document takes.
  std::uint32_t ProximoCOO(std::uint16_t emissora) { return ++Contadores(emissora).coo; }

 private:
  struct ContadoresECF {
    std::uint32_t coo = 0, ccf = 0, sequencia = 0, crz = 0;
    CY grandeTotal{0};
  };
  struct ReducaoPedida {
    std::uint16_t emissora, data;
    std::uint32_t coo, crz;
  };
  ContadoresECF& Contadores(std::uint16_t emissora) { return m_contadores[emissora]; }
  // The branch of the ECF's register (the builder's branch when it has none).
  std::uint16_t FilialDaEmissora(std::uint16_t emissora);

  EmpresaTeste& m_empresa;
  std::uint16_t m_filial;
  std::deque<ProdutoTeste> m_produtos;
  std::deque<REG_SERVICOSPS> m_servicos;
  std::deque<ZTCFRT> m_clientes;
  std::deque<CupomTeste> m_cupons;
  std::deque<NotaTeste> m_notas;
  std::deque<DavTeste> m_davs;
  std::vector<ReducaoPedida> m_reducoes;
  std::vector<REG_DOCUMENTO_ECFPS> m_documentos;
  std::vector<REG_ES_POSICAOPS> m_posicoes;
  std::vector<REG_ES_SALDOS_INVENTARIOPS> m_inventario;
  std::map<std::pair<std::uint16_t, std::uint16_t>, std::map<std::uint8_t, CY>> m_naoFiscais;
  std::map<std::uint16_t, ContadoresECF> m_contadores;
  std::size_t m_produtosGravados = 0;
  std::size_t m_servicosGravados = 0;
  bool m_padroesGravados = false;
};

}  // namespace qmx::testes
