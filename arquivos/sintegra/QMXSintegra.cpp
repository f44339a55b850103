#include "arquivos/sintegra/QMXSintegra.h"
#include "plataforma/arquivos/FaltaEspaco.h"

#include <cstdlib>
#include <vector>
#include <filesystem>

#include "arquivos/FalhaArquivo.h"
#include "arquivos/NomeArquivoEletronico.h"
#include "arquivos/ParticipanteDaNota.h"
#include "fisco/AssinaturaEAD.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

void CQMXSintegra::Preset(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                          std::uint16_t filial, std::uint16_t ecf, NumeroDia dataInicial,
                          NumeroDia dataFinal) {
  Inicializa(chaveEmpresa, usuario, contexto);
  m_preset.filial = filial;
  m_preset.emissora = ecf;
  m_preset.dataInicial = dataInicial;
  m_preset.dataFinal = dataFinal;
}

void CQMXSintegra::PreencheLista(int id, std::initializer_list<const char*> itens, int selecionado) {
  auto& lista = GetDlgItem(id);
  lista.ResetContent();
  // Each item's code is the number it starts with.
  for (const char* texto : itens) lista.SetItemData(lista.AddString(texto), std::atoi(texto));
  lista.SetCurSel(selecionado);
}

int CQMXSintegra::ItemSelecionado(int id) {
  auto& lista = GetDlgItem(id);
  const int linha = lista.GetCurSel();
  return linha < 0 ? 0 : static_cast<int>(lista.GetItemData(linha));
}

bool CQMXSintegra::OnInitDialog() {
  PreencheLista(IDC_CONVENIO,
                {"1 - Convênio 57/95 na versão do Convênio 31/99", "2 - Convênio ICMS 57/95 na versão atual",
                 "3 - Convênio ICMS 57/95 c/alterações p/convênio ICMS 76/03"},
                2);
  // The Convênio knows natures 1, 2 and 3 only: the list starts on the
  // totality of the operations, so that a file is never made with none
  // (earlier versions started it with nothing chosen, which wrote 0).
  PreencheLista(IDC_NATUREZA,
                {"1 - Interestaduais oper. sujeitas ao regime de Substituição Tributária",
                 "2 - Interestaduais - operações com ou sem Substituição Tributária",
                 "3 - Totalidade das operações do informante"},
                2);
  // The national table of purposes has no 4 (a code of one state only).
  PreencheLista(IDC_FINALIDADE,
                {"1 - Normal", "2 - Retificação total de arquivo", "3 - Retificação aditiva de arquivo",
                 "5 - Desfazimento"},
                0);
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, IDC_EMISSORA, IDC_NOME_EMISSORA);
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::Nenhuma);
  m_generica.LeMestre(&m_mestre);
  if (m_preset.filial && m_preset.dataInicial && m_preset.dataFinal) {
    m_edFilial.SetFilial(m_preset.filial);
    m_edEmissora.SetFilial(m_preset.filial);
    m_edEmissora.SetEmissora(m_preset.emissora);
    m_edDataInicial.SetData(m_preset.dataInicial);
    m_edDataFinal.SetData(m_preset.dataFinal);
    OnOK();
  }
  return true;
}

void CQMXSintegra::OnOK() {
  m_caminho.clear();
  sintegra::FiltroSintegra filtro;
  filtro.filial = m_edFilial.GetFilial();
  filtro.dataInicial = m_edDataInicial.GetData();
  filtro.dataFinal = m_edDataFinal.GetData();
  filtro.convenio = ItemSelecionado(IDC_CONVENIO);
  filtro.natureza = ItemSelecionado(IDC_NATUREZA);
  filtro.finalidade = ItemSelecionado(IDC_FINALIDADE);
  // A date that cannot be read is no period (the file would say
  // 00000000); the file is of one branch ("all branches" is no choice
  // here); an ECF typed is one of the branch, an empty edit all of them.
  const auto ecf = ConfirmaPeriodoFilialEmissora(filtro.dataInicial, filtro.dataFinal, filtro.filial, kTitulo);
  if (!ecf) return;
  filtro.emissora = *ecf;
  // Any branch has its file: one that issues only notas has its 50, 54
  // and 75, whether or not it is enabled for ECFs.

  std::string pasta = dados::PastaEmpresa(m_triplo.chaveEmpresa, "EC").value_or("");
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
  pasta += CQMXEnvioArquivo::kPastaArquivos;
  const std::string caminho = pasta + NomeArquivoEletronico(pasta);
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  std::vector<std::uint32_t> semParticipante;
  bool assinado = true;
  try {
    std::error_code erro;
    std::filesystem::create_directories(texto::CaminhoNativo(pasta), erro);
    sintegra::CGeradorSintegra gerador(m_triplo);
    // Signed before it takes its name: an unsigned file is not a fiscal
    // file and never stands in the folder.
    gerador.Gera(filtro, caminho, AssinaturaEAD::AoGuardar(&assinado));
    semParticipante = gerador.NotasSemParticipante();
  } catch (const sintegra::CErroDadosSintegra& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, "QMXSintegra", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
    return;
  } catch (const CExcecaoArquivo& falha) {
    AvisaFalhaArquivo(kTitulo, caminho, CausaDaFalha(falha), assinado ? "gravar" : "assinar");
    return;
  }
  m_caminho = caminho;
  AvisaNotasSemParticipante(semParticipante, kTitulo);
  ui::CaixaMensagem("Arquivo gerado em\r\n" + caminho, kTitulo, ui::MB_OK | ui::MB_ICONINFORMATION);
  EndDialog(ui::IDOK);
}

}  // namespace qmx
