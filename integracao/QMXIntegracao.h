#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "frame/QMXUTIL.h"
#include "integracao/LogIntegracao.h"
#include "plataforma/com/Guid.h"
#include "plataforma/com/HResult.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoCondicaoPagamento.h"
#include "plataforma/dados/ConexaoContasReceber.h"
#include "plataforma/dados/ContabilizaBCR.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoGradeContabil.h"
#include "plataforma/dados/ConexaoLocais.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/ConexaoNatureza.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

namespace ui {
class CProgresso;
}

// Results of a pass besides the servers' failure codes.
inline constexpr std::int32_t kIntegracaoCompleta = 0;       // S_OK
inline constexpr std::int32_t kIntegracaoComPendencias = 1;  // S_FALSE: some items stayed pending
inline constexpr com::HRESULT kIntegracaoInterrompida = com::E_FAIL;  // configuration or data stopped it

// Carries a day's cupons of an ECF into the back-office modules (accounting,
// fiscal books, stock, financial), one pass per call, writing a log line
// for each step or problem. What is integrated is remembered by the data
// (item marks, integration keys), so every pass may run again: the stock
// pass skips marked items, the others first remove what they wrote before.
//
// Each group of cupons of the stock pass (a cupom alone, for the sale's own
// integration), and each whole accounting, fiscal and financial pass, is
// one transaction: a pass that dies halfway leaves nothing half-written,
// and running it again finishes the work. Each takes
// its lock (the cupom's, or the ECF's) before it reads what it posts, and
// none writes into the branch's blocked accounting month.
class CQMXIntegracao {
 public:
  // Mode 0 for the accounting, fiscal and financial passes, 1 for stock.
  CQMXIntegracao(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto, int modo);
  virtual ~CQMXIntegracao();
  CQMXIntegracao(const CQMXIntegracao&) = delete;
  CQMXIntegracao& operator=(const CQMXIntegracao&) = delete;

  void SetArquivoLog(const std::string& caminho) {
    m_strArquivoLog = caminho;
    m_log.SetArquivo(caminho);
  }
  const std::string& ArquivoLog() const { return m_strArquivoLog; }
  int Modo() const { return m_nModo; }

  // Each pass answers kIntegracaoCompleta, kIntegracaoComPendencias (stock
  // only), or a negative code: a server's failure, or
  // kIntegracaoInterrompida when configuration or data stopped it. The
  // operator may stop a pass from its progress window between two cupons
  // (processo::CTrabalhoCancelado leaves it): the caller then writes the
  // log's line with AnotaInterrupcao and answers kIntegracaoInterrompida.
  void AnotaInterrupcao() const { Log("Integração interrompida pelo operador"); }
  std::int32_t IntegraContabilidade(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraFiscal(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraEstoque(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  std::int32_t IntegraFinanceiro(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  // The stock of one cupom (a REG_EC_CXPS) right after its sale; its items
  // are read from the cash server. The item position and the two further
  // values of the call are the front end's and take no part: every item of
  // the cupom is integrated, as in the pass.
  std::int32_t IntegraCupomEstoque(void* cupom, std::int32_t item, std::int32_t valor1, std::int32_t valor2);

 private:
  // What the stock integration of one cupom came to: a server's failure
  // (Falha, its code in m_falha) stops the pass.
  enum class ResultadoCupom { Integrado, Pendente, FalhaMarcas, Falha };

  struct ProdutoEstoque {
    com::HRESULT lido = com::S_OK;
    REG_PRODUTOPS produto{};
    REG_LOCAL_ESTOQUEPS local{};
    bool temLocal = false;
  };

  // A place's running cost of a product, as the cupom being integrated
  // holds it: its quantity is the place's balance at the cupom, read under
  // the place's lock and followed as the cupom's items take from it.
  struct CustoLocal {
    std::int64_t quantidade = 0;
    std::int64_t valor = 0;
    // Moved by movements not yet in its row, the last of them on `data`.
    bool movido = false;
    NumeroDia data = 0;
  };

  void Log(const std::string& texto) const { m_log.Escreve(texto); }

  // Whether a branch's month of a date is open for posting. A blocked
  // month logs "Bloqueio de integração/lançamento contábil mm/aa" (once per
  // month and pass); a branch that cannot be read is a failure of the
  // server, whose code comes back in *falha: no pass counts it as open.
  enum class Mes { Aberto, Bloqueado, Falha };
  Mes MesDaFilial(std::uint16_t filial, NumeroDia data, com::HRESULT* falha);
  // A pass's answer to a server's failure: reported with its cause (the
  // box and the log's "Falha:" line), the code given back.
  com::HRESULT Falhou(com::HRESULT resultado, int linha) const {
    ReportaFalha(resultado, linha);
    return resultado;
  }
  // The date to integrate: the parameters' 16-bit day number, read in the
  // window of today.
  static NumeroDia DataDosParametros(const REG_QMX_PARAMETROS_INTEGRACAO& parametros);
  void ReportaFalha(com::HRESULT resultado, int linha) const;
  // The ECF of the day: one not registered is named (a box and the log's
  // "Falha:" line) rather than told as a server's failure.
  com::HRESULT EmissoraDoDia(std::uint16_t ecf, REG_EMISSORPS* registro, int linha);
  // The ECF of the day and its branch's month for a pass that posts:
  // nothing when the pass goes on, else the answer that ends it (a failure
  // reported, a blocked month logged).
  std::optional<com::HRESULT> DiaAberto(std::uint16_t ecf, NumeroDia data, REG_EMISSORPS* registro, int linha);
  std::string TextoData(NumeroDia data) const;

  // The cupons of a date and ECF (search, then read); the failing step's
  // code comes back with which of the two failed.
  struct LeituraCupons {
    com::HRESULT busca = com::S_OK;
    com::HRESULT leitura = com::S_OK;
    std::vector<dados::CupomCompleto> cupons;
  };
  LeituraCupons LeCupons(NumeroDia data, std::uint16_t emissora);
  // Begins a pass's transaction, holds the ECF against a second terminal
  // and takes the pass's integration number; false when any step fails.
  bool IniciaIntegracao(dados::CTransacaoDados& transacao, std::uint16_t emissora, std::int32_t* numero);
  // Activates a data server by class id, as the back-office modules reach
  // it (the interface is released at once: its records go through the
  // connection classes).
  static com::HRESULT AtivaServidor(const com::CLSID& classe, const com::IID& interface);
  com::HRESULT LeEmissora(std::uint16_t emissora, REG_EMISSORPS* registro);

  // Stock.
  // The accounts, grids and blocked months the accounting of the movements
  // reads are read once for all the cupons a pass gives it.
  // The cupom (as first read: its key, ECF, date and COO) is locked and
  // read again, so that what another terminal wrote meanwhile (a
  // cancellation, marks) is seen.
  ResultadoCupom IntegraCupom(const REG_EC_CXPS& cupom, class CESContabilizacao& contabilizacao);
  // The same for a read cupom inside the open transaction, which commits
  // it (or not); the running costs held by the transaction are in custos.
  ResultadoCupom IntegraCupomLido(dados::CupomCompleto& cupom, class CESContabilizacao& contabilizacao,
                                  std::map<dados::LocalProduto, CustoLocal>& custos);
  // Locks the cupons in the order given and reads them again, together.
  com::HRESULT TravaELeCupons(const std::vector<const REG_EC_CXPS*>& registros,
                              std::vector<dados::CupomCompleto>* lidos);
  // A group of a pass's cupons in one transaction; false when the pass
  // must stop (m_falha), the cupons before the failing one committed.
  bool IntegraGrupo(const std::vector<const REG_EC_CXPS*>& grupo, class CESContabilizacao& contabilizacao,
                    ui::CProgresso& progresso, bool& pendente);
  // An item's exit: true when written and accounted; false pending (or a
  // failure, in m_falha).
  bool IntegraItem(const dados::CupomCompleto& cupom, REG_EC_CX_CIPS& item, const REG_EMISSORPS& emissora,
                   class CESContabilizacao& contabilizacao, std::map<dados::LocalProduto, CustoLocal>& custos);
  // Returns an exit of an item cancelled after its stock was integrated,
  // dated `data`; false when it could not be (or a failure, in m_falha).
  bool EstornaSaida(const REG_ES_MOVIMENTOPS& saida, NumeroDia data, class CESContabilizacao& contabilizacao,
                    std::map<dados::LocalProduto, CustoLocal>& custos);
  // The product's record and storage place; a failure of the server (not
  // a product the register lacks) is in `lido` and m_falha.
  const ProdutoEstoque& ProdutoDoEstoque(std::uint32_t codigo, std::uint16_t filial);
  // Reads together, into what ProdutoDoEstoque keeps, the products (and
  // their places) that the cupons move and it has not read yet; the
  // server's failure, as one product's read would give it.
  com::HRESULT LeProdutosDoEstoque(const std::vector<dados::CupomCompleto>& cupons);
  // Locks the places' running costs of the products a cupom moves,
  // starting those a place has none of yet, and brings each to the place's
  // balance at the cupom (entries the movements never saw, at the running
  // average cost); false on a failure (in m_falha).
  bool TravaCustosLocais(std::uint16_t filial, NumeroDia data, std::map<dados::LocalProduto, CustoLocal>& custos);
  // Before a running cost changes (or is added) for the cupom being
  // integrated: what it was, so that a cupom undone puts it back.
  void AnotaCusto(const std::map<dados::LocalProduto, CustoLocal>& custos, const dados::LocalProduto& chave);
  void DesfazCustosDoCupom(std::map<dados::LocalProduto, CustoLocal>& custos);
  // Writes the running costs the transaction's movements moved into their
  // rows, before it commits; false on a failure (in m_falha).
  bool GravaCustosMovidos(std::uint16_t filial, std::map<dados::LocalProduto, CustoLocal>& custos);

  // Integration keys: who generated what, so a later pass can remove it.
  bool FazChaveQuemGerouIntegracaoECF(const char* modulo, NumeroDia data, std::uint16_t emissora,
                                      std::int32_t sev, std::int32_t fac, std::int32_t cod);
  // Removes the accounting (FAC 1) or fiscal (FAC 2) integrations recorded
  // for the date and ECF under the module, and their keys.
  bool RemoveIntegracao(const char* modulo, NumeroDia data, std::uint16_t emissora);
  bool RemoveIntegracaoFN(NumeroDia data, std::uint16_t emissora);

  std::string m_strEmpresa;
  std::uint16_t m_nUsuario;
  std::int32_t m_nContexto;
  int m_nModo;
  std::string m_strArquivoLog;
  CLogIntegracao m_log;

  // The servers, each connected with the triple when the worker is built.
  dados::CConexaoProduto m_produtos;
  dados::CConexaoMestre m_mestre;
  dados::CConexaoECSCX m_cupons;
  dados::CConexaoEmissora m_emissoras;
  dados::CConexaoFilial m_filiais;
  dados::CConexaoGradeContabil m_integracao;
  dados::CConexaoNatureza m_naturezas;
  dados::CConexaoMovimento m_movimentos;
  dados::CConexaoLocais m_locais;
  dados::CConexaoPlano m_plano;
  dados::CConexaoCliente m_clientes;
  dados::CConexaoCondicaoPagamento m_condicoes;
  dados::CConexaoFormaPagamento m_formas;
  dados::CConexaoContasReceber m_receber;
  dados::CContabilizaBCR m_contabilizaBCR;

  // What the stock pass read once and keeps: products with their places,
  // ECF records, the places and products whose running quantity it has
  // checked against the balance (read under their lock) and committed; the
  // ones the cupom being integrated checks.
  std::map<std::uint32_t, ProdutoEstoque> m_produtosEstoque;
  std::set<dados::LocalProduto> m_saldosConferidos;
  std::vector<dados::LocalProduto> m_saldosAConferir;  // of the open transaction
  // The running costs as they were before the cupom being integrated
  // changed them (none: it added them).
  std::map<dados::LocalProduto, std::optional<CustoLocal>> m_custosAntesDoCupom;
  ProdutoEstoque m_produtoComFalha;  // the last read a server failed, not kept
  std::map<std::uint16_t, std::pair<com::HRESULT, REG_EMISSORPS>> m_emissorasLidas;
  // Branches' blocked months, read once per pass; months already refused
  // in the log.
  std::map<std::uint16_t, std::pair<com::HRESULT, std::uint16_t>> m_mesesBloqueados;
  std::map<std::pair<std::uint16_t, std::uint16_t>, bool> m_bloqueiosAnotados;
  // The failure of a server that stopped the cupom being integrated.
  com::HRESULT m_falha = com::S_OK;
};

}  // namespace qmx
