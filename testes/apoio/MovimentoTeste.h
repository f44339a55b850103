#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/Caixas.h"
#include "apoio/EmpresaTeste.h"
#include "arquivos/ValidacaoArquivo.h"
#include "frame/LancaDialogo.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroCatalogo.h"
#include "plataforma/dados/RegistroDAV.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/RegistroEstoque.h"
#include "plataforma/dados/RegistroNotaFiscal.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace qmx::testes {

// An amount or quantity of the records, from a decimal written in the test.
CY Valor(double valor);

class MovimentoTeste;

// Each builder below holds one record; its setters change it and answer the
// builder, so a record is stated in one line. Nothing is written until
// MovimentoTeste::Grava.

class ProdutoTeste {
 public:
  ProdutoTeste& Tributacao(char letra, std::uint16_t aliquota, const char* cst = "000") {
    registro.Tributacao = letra; registro.AliquotaICMS = aliquota;
    Copia(registro.SituacaoTributaria, cst); return *this;
  }
  ProdutoTeste& Unidade(std::uint16_t unidade, bool interrogacao = false) {
    registro.Unidade = unidade; registro.UnidadeInterrogacao = interrogacao; return *this;
  }
  ProdutoTeste& Ncm(const char* ncm) { Copia(registro.NCM, ncm); return *this; }
  ProdutoTeste& Producao() { registro.Producao = 1; registro.Revenda = 0; return *this; }
  ProdutoTeste& Inativo() { registro.Inativo = 1; return *this; }
  // The sales account, and the stock account of the inventory.
  ProdutoTeste& Conta(const char* conta, const char* estoque = "") {
    Copia(registro.ContaContabil, conta); Copia(registro.ContaEstoque, estoque); return *this;
  }
  ProdutoTeste& Situacao(char situacao) { registro.Situacao = situacao; return *this; }  // 'A' (the default) is active
  ProdutoTeste& PisCofins(std::uint8_t tipo, NumeroDia inicio, NumeroDia fim, std::uint16_t aliquota) {
    pisCofins.push_back({registro.Codigo, tipo, inicio, fim, aliquota}); return *this;
  }
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
  CupomTeste& Cancela() { itens.back().Cancelado = 1; return *this; }
  CupomTeste& Cancelado() { registro.Cancelado = 1; return *this; }
  CupomTeste& Cliente(std::uint32_t cliente, const char* nome = "") {
    registro.Cliente = cliente; Copia(registro.NomeCliente, nome); return *this;
  }
  CupomTeste& Documento(const char* cpfCnpj) { Copia(registro.DocumentoCliente, cpfCnpj); return *this; }
  CupomTeste& Origem(std::uint8_t origem) { registro.Origem = origem; return *this; }
  CupomTeste& Pagamento(std::uint16_t forma, double valor, std::uint32_t gnf = 0) {
    auto& p = pagamentos.emplace_back(); p = {};
    p.Sequencia = static_cast<std::uint16_t>(pagamentos.size()); p.Forma = forma; p.Valor = Valor(valor); p.GNF = gnf;
    return *this;
  }
  // The holder of the last payment's card or cheque.
  CupomTeste& Titular(const char* nome, const char* cidade, const char* telefone, const char* mensagem) {
    auto& p = pagamentos.back(); Copia(p.Titular, nome); Copia(p.Cidade, cidade);
    Copia(p.Telefone, telefone); Copia(p.Mensagem, mensagem); return *this;
  }
  CupomTeste& Parcela(double valor, std::uint16_t tipoDocumento, NumeroDia vencimento) {
    parcelas.push_back({0, static_cast<std::uint16_t>(parcelas.size() + 1), Valor(valor), tipoDocumento, vencimento});
    return *this;
  }
  CupomTeste& Coo(std::uint32_t coo) { registro.COO = coo; return *this; }

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
  NotaTeste& Participante(std::uint32_t cfrt) { registro.Participante = cfrt; return *this; }
  NotaTeste& Situacao(bool cancelada, bool inutilizada = false, bool denegada = false) {
    registro.Cancelada = cancelada; registro.Inutilizada = inutilizada; registro.Denegada = denegada; return *this;
  }
  NotaTeste& Observacao(const char* texto) { Copia(registro.Observacao, texto); return *this; }
  NotaTeste& ChaveNFe(const char* chave) { Copia(registro.ChaveNFe, chave); return *this; }
  NotaTeste& CodigoTipo(std::uint16_t codigo) { registro.CodigoTipo = codigo; return *this; }
  NotaTeste& CondicaoPagamento(std::uint16_t condicao) { registro.CondicaoPagamento = condicao; return *this; }
  // A product item taxed at the product's ICMS rate; the nota's totals follow.
  NotaTeste& Item(std::uint32_t produto, double quantidade, double valor, std::uint16_t natureza = 5102);
  NotaTeste& Servico(std::uint32_t servico, double quantidade, double valor, std::uint16_t natureza = 5933);
  NotaTeste& Pagamento(std::uint16_t forma, double valor) {
    pagamentos.push_back({0, static_cast<std::uint16_t>(pagamentos.size() + 1), forma, Valor(valor)}); return *this;
  }
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
  DavTeste& Cupom(std::uint32_t cooCupom) { registro.COOCupom = cooCupom; return *this; }
  DavTeste& Cliente(std::uint32_t cliente) { registro.Cliente = cliente; return *this; }
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
  CupomTeste& Cupom(std::uint16_t emissora, NumeroDia data);
  // A consumer nota (model 02) of the branch's cash data, numbers inicial..final.
  CupomTeste& NotaConsumidor(std::uint16_t emissora, NumeroDia data, std::uint32_t inicial, std::uint32_t final);
  NotaTeste& Nota(std::uint32_t numero, NumeroDia data, std::uint16_t tipoDocumento = 1);
  DavTeste& Dav(std::uint32_t numero, std::uint16_t emissora, NumeroDia data);
  // The Z reduction of the day, summed from the cupons given so far.
  void ReducaoZ(std::uint16_t emissora, NumeroDia data);
  void NaoFiscal(std::uint16_t emissora, NumeroDia data, std::uint8_t codigo, double valor);
  void Documento(std::uint16_t emissora, NumeroDia data, std::uint8_t tipo, std::uint32_t gnf = 0,
                 std::uint32_t grg = 0, std::uint32_t cdc = 0);
  void Posicao(std::uint32_t produto, NumeroDia data, double quantidade);
  void Inventario(std::uint32_t produto, NumeroDia data, double quantidade, double unitario);

  // Writes everything stated so far in one transaction.
  void Grava();

  std::uint16_t Filial() const { return m_filial; }
  const ProdutoTeste* ProdutoDeclarado(std::uint32_t codigo) const;
  const REG_SERVICOSPS* ServicoDeclarado(std::uint32_t codigo) const;

 private:
  struct ContadoresECF {
    std::uint32_t coo = 0, ccf = 0, sequencia = 0, crz = 0;
    CY grandeTotal{0};
  };
  struct ReducaoPedida {
    std::uint16_t emissora;
    NumeroDia data;
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

// The data-server steps a run takes (`corrida` runs it, counted).
template <class F>
int PassosDe(F&& corrida) {
  dados::CFalhaDadosInjetada contagem(0, com::E_FAIL);
  corrida();
  return dados::PassosDadosContados();
}

// What `corrida` answers with data step `passo` failing with `erro`.
template <class F>
auto ComFalhaNoPasso(int passo, com::HRESULT erro, F&& corrida) {
  const dados::CFalhaDadosInjetada falha(passo, erro);
  return corrida();
}

// The serial number of ECF 1 of branch 1, which is also this computer's
// emulated printer in the PAF company.
inline constexpr const char* kSerieECF1 = "BE0910000000000000B2";

// A company of the file tests with its movement builder `m`, the scripted
// host and a temporary folder of the test's own (TMPDIR while it lives).
// Two registrations:
//  - PAF, for the PAF files of a branch: branch 1 with the fields those
//    files write (the legal name longer than its field), ECFs 1 and 2 of
//    branch 1 and ECF 3 of branch 2, this computer's emulated printer
//    being ECF 1, the clock at 15/06/2026 10:30:15.
//  - Fiscal, for the digital-bookkeeping files (the SPED extract and the
//    Venda do Período file): branch 1 in São Paulo with its accountant,
//    its SUFRAMA and two substitute registrations, ECFs 1, 2 and 3 of
//    branch 1, natures for the ECF items' CFOPs, the clock at 06/12/2026
//    10:00, and the machine's local folder ("LocalTorvo") unless
//    `pastaLocal` is false.
// Both have the operator allowed in branch 1 only, the system started on
// 1 January 2024 and the message catalogues.
class CenarioArquivos {
 public:
  enum class Cadastro { PAF, Fiscal };

  // `hoje` ("DD/MM/AAAA") moves the clock to another day, at 10:00.
  explicit CenarioArquivos(Cadastro cadastro, MotorTeste motor = MotorTeste::SQLite, bool pastaLocal = true,
                           const char* hoje = nullptr);
  ~CenarioArquivos();

  static NumeroDia Dia(int dia, int mes);  // of 2026

  // Runs a dialog of the library on a script, the way its export does.
  template <class TDialogo>
  int Executa(const std::string& roteiro) {
    host.CarregaRoteiro(roteiro);
    return LancaDialogo<TDialogo>(
        [&](TDialogo& d, const TriploConexao&) { return d.Inicializa(empresa.Chave(), 1, 0); });
  }

  // The text of a file, or empty when it is not there; the files of a
  // folder, sorted (none when it does not exist).
  static std::string Le(const std::filesystem::path& arquivo);
  static std::vector<std::filesystem::path> Arquivos(const std::filesystem::path& pasta);

  std::filesystem::path PastaLocal() const { return local.Pasta(); }
  std::filesystem::path PastaArquivos() const { return empresa.PastaEC() / "Arquivos-Eletronicos"; }
  std::filesystem::path Enviado(const std::string& nome) const { return PastaArquivos() / nome; }
  bool NadaEnviado() const { return Arquivos(PastaArquivos()).empty(); }
  std::string CaminhoMostrado(const std::string& nome) const {
    return empresa.PastaEC().string() + "/Arquivos-Eletronicos\\" + nome;
  }
  std::string UltimaCaixa() const { return host.Caixas().empty() ? std::string() : host.Caixas().back().texto; }

  // The stored file, its signature checked and its lines against the
  // published layout (ConfereLeiaute), without its EAD line.
  std::string Gerado(const std::string& nome, const char* regraConhecida = nullptr);

  // Runs the script once per data-server step after the dialog's start,
  // the step failing each time, and gives every run's outcome to `confere`
  // with the step; a failed run may leave no temporary file. The files'
  // folder is emptied between runs.
  template <class TDialogo, class TConfere>
  void FalhaCadaPasso(const std::string& roteiro, TConfere&& confere) {
    std::string semOK = roteiro;
    semOK.replace(semOK.rfind("clica 1"), 7, "clica 2");
    const int inicio = PassosDe([&] { Executa<TDialogo>(semOK); });
    std::filesystem::remove_all(PastaArquivos());
    const int passos = PassosDe([&] { Executa<TDialogo>(roteiro); });
    std::filesystem::remove_all(PastaArquivos());
    ASSERT_GT(passos, inicio);
    for (int passo = inicio + 1; passo <= passos; ++passo) {
      host.Limpa();
      const int resultado = ComFalhaNoPasso(passo, com::RPC_S_SERVER_UNAVAILABLE, [&] { return Executa<TDialogo>(roteiro); });
      confere(passo, resultado);
      // A run that did not store its file leaves no temporary behind (a
      // stored DAV file keeps its own, as the point of sale expects).
      if (resultado != ui::IDOK) {
        EXPECT_EQ(temporarios.Entradas(), 0) << passo;
      }
      for (const auto& sobra : std::filesystem::directory_iterator(temporarios.Pasta()))
        std::filesystem::remove_all(sobra.path());
      std::filesystem::remove_all(PastaArquivos());
    }
  }

  // Runs the dialog once per data step of its run (every `salto`-th step),
  // a till writing (`escrita`, in a transaction of its own) at that step;
  // `confere` sees each run's result, then `desfaz` takes the till's
  // writing away.
  template <class TDialogo, class TEscrita, class TDesfaz, class TConfere>
  void EscritaEmCadaPasso(const std::string& roteiro, TEscrita&& escrita, TDesfaz&& desfaz, TConfere&& confere,
                          int salto = 1) {
    const int passos = PassosDe([&] { Executa<TDialogo>(roteiro); });
    ASSERT_GT(passos, 0);
    for (int passo = 1; passo <= passos; passo += salto) {
      host.Limpa();
      std::filesystem::remove_all(PastaArquivos());
      const int resultado = [&] {
        const dados::CEscritaNoPassoInjetada injetada(passo, escrita);
        return Executa<TDialogo>(roteiro);
      }();
      confere(passo, resultado);
      desfaz();
    }
  }

  PastaTemporaria temporarios;
  EmpresaTeste empresa;
  PastaTemporaria local;
  ui::HostRoteirizado host;
  ui::HostTemporario ativo;
  MovimentoTeste m;
  REG_FILIALPS filial{};  // branch 1 as the fiscal registration wrote it
};

// The company of the digital-bookkeeping files; Movimento() states a few
// days of November 2026 that reach every register and its corners.
struct CenarioFiscal : CenarioArquivos {
  static const NumeroDia kDia1, kDia2, kDia3, kDia4;  // 2 to 5 November 2026
  explicit CenarioFiscal(MotorTeste motor = MotorTeste::SQLite, bool pastaLocal = true)
      : CenarioArquivos(Cadastro::Fiscal, motor, pastaLocal) {}
  void Movimento();
};

// A golden file of testes/arquivos/dados, checked by hand against its
// layout; the comparison leaves what was made beside the test's temporary
// files when they differ.
std::string Golden(const std::string& nome);
void ConfereGolden(const std::string& gerado, const std::string& nome);

// Checks a generated file (its EAD line, if any, aside) against the
// published layouts, as qmx validar does: every error is a test failure
// naming its line and rule. `regraConhecida`, when given, is a rule the
// test's data break on purpose.
// The fiscal scenario's inventory holds products without an account (and
// one whose account is not in the chart), whose H010 has no COD_CTA: the
// layout of 2012 (COD_VER 006) demands one, so the Venda do Período files
// of the scenario carry that error, and only it.
bool CasoConhecidoDoCenario(const validacao::Problema& p);
void ConfereLeiaute(const std::string& arquivo, const char* regraConhecida = nullptr);
// Of an EFD-layout file, only the rules of its counts: block openings and
// closings, 9900, 9990 and 9999.
void ConfereContagensEFD(const std::string& arquivo);

}  // namespace qmx::testes
