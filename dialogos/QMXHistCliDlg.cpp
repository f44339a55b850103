#include "dialogos/QMXHistCliDlg.h"

#include <cstring>

#include "calculo/FormatoMoeda.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/ConexaoCadastroDocumento.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx {
namespace {

struct ColunaLista {
  const char* titulo;
  int alinhamento;
  int largura;
};

constexpr ColunaLista kColunasItens[] = {{"Item", ui::LVCFMT_CENTER, 40},
                                         {"Quantidade", ui::LVCFMT_RIGHT, 70},
                                         {"Código", ui::LVCFMT_LEFT, 70},
                                         {"Descrição", ui::LVCFMT_LEFT, 200},
                                         {"Valor Unitário", ui::LVCFMT_RIGHT, 80}};
constexpr ColunaLista kColunasParcelas[] = {{"Parcela", ui::LVCFMT_CENTER, 80},
                                            {"Vencimento", ui::LVCFMT_CENTER, 80},
                                            {"Valor", ui::LVCFMT_RIGHT, 70},
                                            {"Forma Pagamento", ui::LVCFMT_LEFT, 200}};

// Most characters of the ECF's identification shown.
constexpr std::size_t kTamanhoIdentificacaoEcf = 12;

// Money and quantities keep the four decimals the records hold, in the
// Brazilian form (1.234,5600); the unit value shows two, cut, not rounded.
std::string TextoValor(CY valor, int decimais = 4) { return QMXFormatarValorFixo(valor.int64, 4, decimais); }

template <std::size_t N>
std::string Texto(const char (&campo)[N]) {
  return std::string(campo, strnlen(campo, N));
}

template <std::size_t N>
void PreparaLista(ui::CControle& lista, const ColunaLista (&colunas)[N]) {
  lista.DeleteAllItems();
  for (const char* estilo : {"LVS_REPORT", "LVS_SINGLESEL", "LVS_SHOWSELALWAYS", "LVS_NOSORTHEADER"})
    lista.AcrescentaEstilo(estilo);
  lista.SetExtendedStyle(lista.GetExtendedStyle() | ui::LVS_EX_FULLROWSELECT);
  for (std::size_t c = 0; c < N; ++c)
    lista.InsertColumn(static_cast<int>(c), colunas[c].titulo, colunas[c].alinhamento, colunas[c].largura);
}

}  // namespace

bool CQMXHistCliDlg::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                                std::uint32_t numeroCupom, NumeroDia data, std::uint16_t numeroEcf) {
  m_strEmpresa = chaveEmpresa;
  m_nUsuario = usuario;
  m_nContexto = contexto;
  m_nNumeroCupom = numeroCupom;
  m_nData = data;
  m_nNumeroEcf = numeroEcf;
  return true;
}

std::string CQMXHistCliDlg::TextoOrigem(std::uint8_t origem) {
  switch (origem) {
    case 0: return "Tela ECF";
    case 1: return "Pré-Venda";
    case 2: return "Replicado";
    default: return {};
  }
}

void CQMXHistCliDlg::DoDataExchange(ui::CDataExchange* pDX) {
  m_lstParcelas = &ui::DDX_Control(pDX, IDC_PARCELAS);
  m_lstItens = &ui::DDX_Control(pDX, IDC_ITENS);
}

bool CQMXHistCliDlg::OnInitDialog() {
  PreparaLista(*m_lstItens, kColunasItens);
  PreparaLista(*m_lstParcelas, kColunasParcelas);
  MostraCupom();
  SetDlgItemText(IDC_DATA, TextoData(m_nData, true));
  MostraEcfEFilial();
  SetDlgItemText(IDC_NUMERO_CUPOM, std::to_string(m_nNumeroCupom));
  return true;
}

void CQMXHistCliDlg::OnHelp() { ui::AbreAjuda("DF"); }

// The cupom with the number, date and ECF asked for: its total, origin,
// items and installments. Not found, or unreadable: all stay empty.
void CQMXHistCliDlg::MostraCupom() {
  std::vector<dados::CupomCompleto> cupons;
  {
    dados::CConexaoECSCX caixa;
    if (com::FAILED(caixa.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto))) return;
    const REG_EC_CX_CHAVEPS chave{m_nNumeroCupom, m_nData, m_nNumeroEcf};
    std::vector<std::uint32_t> encontrados;
    if (com::FAILED(caixa.Busca(chave, &encontrados))) return;
    if (com::FAILED(caixa.Le(encontrados, &cupons)) || cupons.empty()) return;
    caixa.Finaliza();
  }
  const dados::CupomCompleto& cupom = cupons.front();
  SetDlgItemText(IDC_VALOR_TOTAL, TextoValor(cupom.Cupom.Total));
  SetDlgItemText(IDC_ORIGEM, TextoOrigem(cupom.Cupom.Origem));
  m_conProduto.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  m_conServico.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto);
  PreencheItens(cupom.Itens);
  PreencheParcelas(cupom.Parcelas);
  m_conProduto.Finaliza();
  m_conServico.Finaliza();
}

// One row per item: number, quantity, code, description, unit value. The
// code and description come from the product's (or the service's) register;
// one deleted since the sale keeps the code and the description the cupom
// was printed with.
void CQMXHistCliDlg::PreencheItens(const std::vector<REG_EC_CX_CIPS>& itens) {
  for (std::size_t i = 0; i < itens.size(); ++i) {
    const REG_EC_CX_CIPS& item = itens[i];
    std::uint32_t codigo = item.Codigo;
    std::string descricao = Texto(item.Descricao);
    if (item.Servico) {
      REG_SERVICOSPS servico{};
      if (com::SUCCEEDED(m_conServico.LeServico(item.Codigo, &servico))) {
        codigo = servico.Codigo;
        descricao = Texto(servico.Descricao);
      }
    } else {
      REG_PRODUTOPS produto{};
      if (com::SUCCEEDED(m_conProduto.LeLight(item.Codigo, &produto))) {
        codigo = produto.Codigo;
        descricao = Texto(produto.Descricao);
      }
    }
    const int linha = m_lstItens->InsertItem(static_cast<int>(i), std::to_string(i + 1));
    m_lstItens->SetItemText(linha, 1, TextoValor(item.Quantidade));
    m_lstItens->SetItemText(linha, 2, std::to_string(codigo));
    m_lstItens->SetItemText(linha, 3, descricao);
    m_lstItens->SetItemText(linha, 4, TextoValor(item.ValorUnitario, 2));
  }
}

// One row per installment: number, due date, value and the payment form
// named by its document type. The first form that cannot be read ends the
// list, after the row it belongs to.
void CQMXHistCliDlg::PreencheParcelas(const std::vector<REG_EC_CX_PARCELAPS>& parcelas) {
  dados::CConexaoDFSTDC documentos;
  const bool aberta = com::SUCCEEDED(documentos.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto));
  for (std::size_t i = 0; i < parcelas.size(); ++i) {
    const REG_EC_CX_PARCELAPS& parcela = parcelas[i];
    const int linha = m_lstParcelas->InsertItem(static_cast<int>(i), std::to_string(i + 1));
    m_lstParcelas->SetItemText(linha, 1, TextoData(parcela.Vencimento, true));
    m_lstParcelas->SetItemText(linha, 2, TextoValor(parcela.Valor));
    REG_TIPO_DOCUMENTOPS tipo{};
    if (!aberta || com::FAILED(documentos.Le(parcela.TipoDocumento, &tipo))) break;
    m_lstParcelas->SetItemText(linha, 3, Texto(tipo.Descricao));
  }
}

// The ECF at its position in the company's list (number 1 is the first),
// cut to its field, and the trade name of its branch. A number outside the
// list shows neither.
void CQMXHistCliDlg::MostraEcfEFilial() {
  std::uint16_t filial = 0;
  {
    dados::CConexaoEmissora emissoras;
    std::vector<REG_EMISSORPS> lista;
    std::uint16_t quantidade = 0;
    if (com::FAILED(emissoras.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto)) ||
        com::FAILED(emissoras.Lista(&quantidade, &lista)) || m_nNumeroEcf == 0 || m_nNumeroEcf > lista.size())
      return;
    const REG_EMISSORPS& emissora = lista[m_nNumeroEcf - 1u];
    SetDlgItemText(IDC_ECF, Texto(emissora.Nome).substr(0, kTamanhoIdentificacaoEcf));
    filial = emissora.Filial;
  }
  dados::CConexaoFilial filiais;
  REG_FILIALPS registro{};
  if (com::SUCCEEDED(filiais.Inicializa(m_strEmpresa, m_nUsuario, m_nContexto, false)) &&
      com::SUCCEEDED(filiais.Le(filial, &registro)))
    SetDlgItemText(IDC_NOME_FANTASIA, Texto(registro.NomeFantasia));
}

}  // namespace qmx
