#include "arquivos/efd/QMXVendaPeriodo.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include <filesystem>

#include "arquivos/FalhaArquivo.h"
#include "arquivos/NomeArquivoEletronico.h"
#include "arquivos/ParticipanteDaNota.h"
#include "arquivos/efd/GeradorVendaPeriodo.h"
#include "arquivos/efd/QMXRegistrosEFD.h"
#include "arquivos/sintegra/QMXSintegra.h"
#include "fisco/AssinaturaEAD.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

bool CQMXVendaPeriodo::OnInitDialog() {
  CheckRadioButton(IDC_CONVENIO, IDC_ATO_COTEPE, IDC_CONVENIO);
  CheckRadioButton(IDC_PERFIL_A, IDC_PERFIL_B, IDC_PERFIL_A);
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::VendaPeriodo);
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, 0, 0, false);
  return true;
}

void CQMXVendaPeriodo::OnOK() {
  m_caminho.clear();
  const std::uint16_t filial = m_edFilial.GetFilial();
  const NumeroDia inicial = m_edDataInicial.GetData();
  const NumeroDia final = m_edDataFinal.GetData();
  const bool convenio = IsDlgButtonChecked(IDC_CONVENIO) != 0;
  const bool cotepe = IsDlgButtonChecked(IDC_ATO_COTEPE) != 0;
  if (!convenio && !cotepe) {
    ui::CaixaMensagem("Não foi selecionado nenhum leiaute,\r\n\r\nTente novamente.", "Torvo ECF - Vendas do Período",
                      ui::MB_OK | ui::MB_ICONWARNING);
    EndDialog(ui::IDCANCEL);
    return;
  }
  // Either layout is of one branch and a period that runs forward.
  if (!ConfirmaPeriodo(inicial, final, kTitulo)) return;
  if (filial == 0) {
    mensagens::ZTMensagem(280, "EC");
    GotoDlgCtrl(IDC_FILIAL);
    return;
  }
  if (convenio) {
    CQMXSintegra sintegra;
    sintegra.Preset(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto, filial, 0, inicial, final);
    sintegra.DoModal();
    EndDialog(ui::IDOK);
    return;
  }
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  std::string caminho;
  if (!GeraArquivo(filial, inicial, final, caminho)) return;
  m_caminho = caminho;
  ui::CaixaMensagem("Arquivo gerado em\r\n" + caminho, kTitulo, ui::MB_OK | ui::MB_ICONINFORMATION);
  EndDialog(ui::IDOK);
}

bool CQMXVendaPeriodo::GeraArquivo(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                   std::string& caminho) {
  // The extract's lines and the file's own reads, at one instant.
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  const char perfil = IsDlgButtonChecked(IDC_PERFIL_A) ? 'A' : 'B';
  // The ECF lines come from the extract's dialog, run without a file.
  CQMXRegistrosEFD efd;
  efd.Preset(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto, filial, 0, dataInicial, dataFinal, perfil);
  efd.SetGravaArquivo(false);
  if (efd.DoModal() != ui::IDOK || !efd.Resultado()) return false;

  std::string pasta = dados::PastaEmpresa(m_triplo.chaveEmpresa, "EC").value_or("");
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
  pasta += CQMXEnvioArquivo::kPastaArquivos;
  // Named as the Sintegra file: certification number, day and second.
  const std::string destino = pasta + NomeArquivoEletronico(pasta);
  venda::FiltroVenda filtro{filial, dataInicial, dataFinal, perfil};
  std::vector<std::uint32_t> semParticipante;
  bool assinado = true;
  try {
    std::error_code erro;
    std::filesystem::create_directories(texto::CaminhoNativo(pasta), erro);
    venda::CGeradorVendaPeriodo gerador(m_triplo, filtro, *efd.Resultado());
    // Signed before it takes its name: an unsigned file never stands in
    // the folder.
    if (!gerador.Gera(destino, AssinaturaEAD::AoGuardar(&assinado))) return false;
    semParticipante = gerador.NotasSemParticipante();
  } catch (const CExcecaoArquivo& falha) {
    AvisaFalhaArquivo(kTitulo, destino, CausaDaFalha(falha), assinado ? "gravar" : "assinar");
    return false;
  }
  caminho = destino;
  AvisaNotasSemParticipante(semParticipante, kTitulo);
  return true;
}

}  // namespace qmx
