#include "arquivos/paf/QMXEstoque.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/FalhaArquivo.h"
#include "arquivos/paf/GeradorEstoque.h"
#include "frame/CarimboCompilacao.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

bool CQMXEstoque::OnInitDialog() {
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, 0, 0);
  // The file is of one branch: 0 does not stand for all of them here.
  m_edFilial.SetFilialZeroComoTodas(false);
  m_edProduto.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  m_edProduto.SubclassDlgItem(IDC_PRODUTO, this);
  m_edProduto.SetLabel(IDC_NOME_PRODUTO);
  if (!m_triplo.chaveEmpresa.empty()) m_edProduto.CriaLink();
  auto& lista = GetDlgItem(IDC_LISTA);
  lista.InsertColumn(0, "Código");
  lista.InsertColumn(1, "Descrição");
  GotoDlgCtrl(IDC_FILIAL);
  return true;
}

void CQMXEstoque::Aviso(const std::string& texto) const {
  ui::CaixaMensagem(texto, kTitulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

bool CQMXEstoque::OnCommand(int id, int notificacao) {
  if (notificacao != ui::BN_CLICKED) return false;
  if (id == IDC_ADICIONAR) Adiciona();
  else if (id == IDC_REMOVER) Remove();
  else return false;
  return true;
}

void CQMXEstoque::OnKillFocus(int idControle) {
  if (idControle == IDC_PRODUTO) m_edProduto.Atualiza();
  else CQMXFiltroArquivo::OnKillFocus(idControle);
}

// Each row holds the code as its text and its item data; the edit is
// emptied for the next product.
void CQMXEstoque::Adiciona() {
  const std::uint32_t codigo = m_edProduto.GetProduto();
  if (codigo == 0) {
    Aviso("Informe um produto para ser adicionado.");
    GotoDlgCtrl(IDC_PRODUTO);
    return;
  }
  auto& lista = GetDlgItem(IDC_LISTA);
  for (int linha = 0; linha < lista.GetCount(); ++linha)
    if (static_cast<std::uint32_t>(lista.GetItemData(linha)) == codigo) {
      Aviso("Produto já adicionado.");
      GotoDlgCtrl(IDC_PRODUTO);
      return;
    }
  const int linha = lista.InsertItem(lista.GetCount(), std::to_string(codigo));
  lista.SetItemText(linha, 1, m_edProduto.GetRegistro().Descricao);
  lista.SetItemData(linha, static_cast<std::intptr_t>(codigo));
  SetDlgItemText(IDC_PRODUTO, "");
  SetDlgItemText(IDC_NOME_PRODUTO, "");
  GotoDlgCtrl(IDC_PRODUTO);
}

void CQMXEstoque::Remove() {
  auto& lista = GetDlgItem(IDC_LISTA);
  const std::vector<int> selecionadas = lista.GetSelItems();
  for (auto linha = selecionadas.rbegin(); linha != selecionadas.rend(); ++linha) lista.DeleteItem(*linha);
}

std::vector<std::uint32_t> CQMXEstoque::Escolhidos() const {
  const auto& lista = GetDlgItem(IDC_LISTA);
  std::vector<std::uint32_t> codigos;
  for (int linha = 0; linha < lista.GetCount(); ++linha)
    codigos.push_back(static_cast<std::uint32_t>(lista.GetItemData(linha)));
  return codigos;
}

std::optional<REG_EMISSORPS> CQMXEstoque::EmissoraDesteComputador() const {
  const std::int32_t posicao = m_generica.PegaECFAtivo();
  if (posicao < 1) return std::nullopt;
  dados::CConexaoEmissora emissoras;
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  if (com::FAILED(emissoras.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto)) ||
      com::FAILED(emissoras.Lista(&quantidade, &lista)) || static_cast<std::size_t>(posicao) > lista.size())
    return std::nullopt;
  return lista[static_cast<std::size_t>(posicao - 1)];
}

// The stock as of now. A failed data-server call is reported and the
// dialog stays open; a temporary file that cannot be made, a failed
// signature or upload close it.
void CQMXEstoque::OnOK() {
  const std::uint16_t filial = m_edFilial.GetFilial();
  if (filial == 0) {
    Aviso("Informe uma filial para a geração do arquivo.");
    return;
  }
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  REG_FILIALPS registroFilial{};
  estoque::CabecalhoEstoque cabecalho;
  wchar_t* razao = nullptr;
  m_generica.LeFilial(filial, &registroFilial, &razao);
  cabecalho.filial = &registroFilial;
  cabecalho.razaoSocial = dados::DeTextoLargo(razao);
  dados::LiberaTextoLargo(razao);
  const auto emissora = EmissoraDesteComputador();
  if (emissora) cabecalho.emissora = &*emissora;
  else Aviso("Ocorreu um erro ao ler o cadastro de ECFs.");
  cabecalho.data = CQMXRelogio::PegaDiaHoje();
  cabecalho.hora = CQMXRelogio::PegaHHMMSS();

  CSaidaTemporaria saida;
  if (!saida.Cria()) {
    EndDialog(ui::IDCANCEL);
    return;
  }
  try {
    estoque::CGeradorEstoque(m_triplo).Escreve(filial, cabecalho, Escolhidos(), saida);
    saida.Fecha();
  } catch (const CErroDadosArquivo& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, "QMXEstoque", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
    return;
  } catch (const CExcecaoArquivo& falha) {
    AvisaFalhaArquivo(kTitulo, saida.Caminho(), CausaDaFalha(falha));
    EndDialog(ui::IDCANCEL);
    return;
  }
  CQMXEnvioArquivo envio(m_triplo, Fonte());
  const std::string nome = estoque::CGeradorEstoque::NomeArquivo(cabecalho.data);
  EndDialog(envio.AssinaEEnvia(saida.Caminho(), nome, {kTitulo, AvisoArquivoGerado::Forma::Padrao}) ? ui::IDOK
                                                                                                    : ui::IDCANCEL);
}

}  // namespace qmx
