#include "arquivos/paf/QMXTabProdutos.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include "arquivos/FalhaArquivo.h"
#include "arquivos/paf/GeradorTabelaProdutos.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {
namespace {

// How long the notices of this dialog stay up.
constexpr unsigned short kTempoAviso = 5000;

const char* TextoFalha(tabela_produtos::PassoFalho passo) {
  switch (passo) {
    case tabela_produtos::PassoFalho::Filial: return "Não foi possível ler o cadastro de filiais";
    case tabela_produtos::PassoFalho::RazaoSocial: return "Não foi possível buscar a Razão Social";
    case tabela_produtos::PassoFalho::ItensProdutos: return "Não foi possível buscar os itens da Tabela de Preços de Produtos";
    case tabela_produtos::PassoFalho::ItensServicos: return "Não foi possível buscar os itens da Tabela de Preços de Serviço";
  }
  return "";
}

}  // namespace

void CQMXTabProdutos::PreparaTabela(ui::CTabPrecoEdit& edit, int id, int idRotulo, std::uint8_t tipo) {
  edit.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  edit.SubclassDlgItem(id, this);
  edit.SetLabel(idRotulo);
  edit.SetTipo(tipo);
  if (!m_triplo.chaveEmpresa.empty()) edit.CriaLink();
}

bool CQMXTabProdutos::OnInitDialog() {
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, 0, 0);
  PreparaTabela(m_edTabelaProdutos, IDC_TABELA_PRODUTOS, IDC_NOME_TABELA_PRODUTOS, QMX_TABELA_PRODUTOS);
  PreparaTabela(m_edTabelaServicos, IDC_TABELA_SERVICOS, IDC_NOME_TABELA_SERVICOS, QMX_TABELA_SERVICOS);
  GotoDlgCtrl(IDC_FILIAL);
  return true;
}

void CQMXTabProdutos::OnKillFocus(int idControle) {
  if (idControle == IDC_TABELA_PRODUTOS) m_edTabelaProdutos.Atualiza();
  else if (idControle == IDC_TABELA_SERVICOS) m_edTabelaServicos.Atualiza();
  else CQMXFiltroArquivo::OnKillFocus(idControle);
}

bool CQMXTabProdutos::Aviso(const char* texto, int idFoco) {
  impressora::ExibeMensagem(texto, kTempoAviso);
  if (idFoco != 0) GotoDlgCtrl(idFoco);
  return false;
}

// A failed read ends the generation with its message and nothing stored;
// the dialog stays open to try again. A temporary file that cannot be made,
// a failed signature or upload close it.
void CQMXTabProdutos::OnOK() {
  const std::uint16_t filial = m_edFilial.GetFilial();
  if (filial == 0) {
    Aviso("Para gerar o arquivo, por favor selecione uma Filial", IDC_FILIAL);
    return;
  }
  const std::uint16_t tabelaProdutos = m_edTabelaProdutos.GetTabela();
  if (tabelaProdutos == 0) {
    Aviso("Para gerar o arquivo, por favor selecione uma Tabela de Preco", IDC_TABELA_PRODUTOS);
    return;
  }
  const std::uint16_t tabelaServicos = m_edTabelaServicos.GetTabela();
  if (tabelaServicos == 0) {
    Aviso("Para gerar o arquivo, por favor selecione uma Tabela de Preco", IDC_TABELA_SERVICOS);
    return;
  }

  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  CSaidaTemporaria saida;
  if (!saida.Cria()) {
    Aviso("Não conseguiu abrir o Arquivo de Saída");
    EndDialog(ui::IDCANCEL);
    return;
  }
  try {
    tabela_produtos::CGeradorTabelaProdutos(m_triplo).Escreve(filial, tabelaProdutos, tabelaServicos, saida);
    saida.Fecha();
  } catch (const tabela_produtos::CFalhaTabelaProdutos& falha) {
    Aviso(TextoFalha(falha.Passo()));
    return;
  } catch (const CExcecaoArquivo& falha) {
    AvisaFalhaArquivo(kTitulo, saida.Caminho(), CausaDaFalha(falha));
    EndDialog(ui::IDCANCEL);
    return;
  }
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  const std::string nome = tabela_produtos::CGeradorTabelaProdutos::NomeArquivo(tabelaProdutos, tabelaServicos);
  EndDialog(envio.AssinaEEnvia(saida.Caminho(), nome, {kTitulo, AvisoArquivoGerado::Forma::Padrao}) ? ui::IDOK
                                                                                                    : ui::IDCANCEL);
}

}  // namespace qmx
