#include "arquivos/efd/QMXRegistrosEFD.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/TransacaoDados.h"

#include "arquivos/EnvioArquivoEletronico.h"
#include "arquivos/FalhaArquivo.h"
#include "arquivos/efd/ErroDadosEFD.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/ConexaoFileTransfer.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

CQMXRegistrosEFD::CQMXRegistrosEFD() : CQMXFiltroArquivo(IDD, "QMXRegistrosEFD") {}
CQMXRegistrosEFD::~CQMXRegistrosEFD() = default;

void CQMXRegistrosEFD::Preset(const std::string& chaveEmpresa, std::uint16_t usuario,
                              std::int32_t contexto, std::uint16_t filial, std::uint16_t ecf,
                              NumeroDia dataInicial, NumeroDia dataFinal, char perfil) {
  Inicializa(chaveEmpresa, usuario, contexto);
  m_nFilial = filial;
  m_nEcf = ecf;
  m_nDataInicial = dataInicial;
  m_nDataFinal = dataFinal;
  m_cPerfil = perfil;
}

std::optional<std::string> CQMXRegistrosEFD::PastaLocal() {
  auto pasta = registro::Registro::LeValor("SOFTWARE\\ZT Redudeva", "LocalTorvo");
  if (!pasta) return std::nullopt;
  // A folder that already ends in either separator is a folder as it is.
  if (pasta->empty() || (pasta->back() != '\\' && pasta->back() != '/')) *pasta += '\\';
  return pasta;
}

bool CQMXRegistrosEFD::OnInitDialog() {
  if (m_triplo.chaveEmpresa.empty()) return true;
  PreparaFilialEmissora(IDC_FILIAL, IDC_NOME_FILIAL, IDC_EMISSORA, IDC_NOME_EMISSORA, false);
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::Nenhuma);
  m_generica.LeMestre(&m_mestre);
  CheckRadioButton(IDC_PERFIL_A, IDC_PERFIL_B, IDC_PERFIL_A);
  if (m_nFilial && m_nDataInicial && m_nDataFinal && m_cPerfil) {
    m_edFilial.SetFilial(m_nFilial);
    m_edEmissora.SetFilial(m_nFilial);
    m_edEmissora.SetEmissora(m_nEcf);
    m_edDataInicial.SetData(m_nDataInicial);
    m_edDataFinal.SetData(m_nDataFinal);
    CheckRadioButton(IDC_PERFIL_A, IDC_PERFIL_B, m_cPerfil == 'A' ? IDC_PERFIL_A : IDC_PERFIL_B);
    OnOK();
  }
  return true;
}

void CQMXRegistrosEFD::OnOK() {
  m_strCaminhoArquivo.clear();
  m_gerador.reset();
  efd::FiltroEFD filtro;
  filtro.filial = m_edFilial.GetFilial();
  filtro.dataInicial = m_edDataInicial.GetData();
  filtro.dataFinal = m_edDataFinal.GetData();
  filtro.perfil = IsDlgButtonChecked(IDC_PERFIL_A) ? 'A' : 'B';
  // A missing or reversed period or no branch would make an extract of
  // nothing; an ECF that is not the branch's is refused, never read as
  // "all ECFs".
  const auto ecf = ConfirmaPeriodoFilialEmissora(filtro.dataInicial, filtro.dataFinal, filtro.filial, kTitulo);
  if (!ecf) return;
  filtro.emissora = *ecf;

  const std::string nome = efd::CGeradorEFD::NomeArquivo(filtro.dataFinal);
  std::string caminho;
  if (m_bGravaArquivo) {
    // Without the local folder there is nowhere the extract would be found:
    // nothing is written (the bare name would land in whatever folder the
    // program happens to run in), and the operator is told which setting
    // is missing.
    const auto pasta = PastaLocal();
    if (!pasta) {
      ui::CaixaMensagem("A pasta local desta máquina não está configurada (valor LocalTorvo da chave "
                        "SOFTWARE\\ZT Redudeva, seção [SOFTWARE\\ZT Redudeva] do registro.ini).\r\n"
                        "O extrato não foi gerado.",
                        kTitulo, ui::MB_OK | ui::MB_ICONERROR);
      return;
    }
    caminho = *pasta + nome;
  }
  ui::CWaitCursor espera;
  ui::CProgresso progresso(kTitulo, ui::CProgresso::Unidade::Bytes);
  try {
    const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
    auto gerador = std::make_unique<efd::CGeradorEFD>(m_triplo, filtro);
    CArquivoTexto arquivo;
    // A file that cannot be created ends the step, and the operator is told why.
    if (m_bGravaArquivo && !arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria)) {
      AvisaFalhaArquivo(kTitulo, caminho, CausaDaFalha(errno, caminho));
      return;
    }
    gerador->GeraRegistrosECF();
    if (m_bGravaArquivo) {
      gerador->EscreveArquivo(arquivo);
      arquivo.Fechar();
      Transfere(caminho, nome);
      if (!filtro.filial || !filtro.emissora || !filtro.dataInicial || !filtro.dataFinal)
        ui::CaixaMensagem("Arquivo gerado em:\r\n" + caminho, kTitulo, ui::MB_OK | ui::MB_ICONINFORMATION);
      m_strCaminhoArquivo = caminho;
    }
    m_gerador = std::move(gerador);
  } catch (const efd::CErroDadosEFD& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, "QMXRegistrosEFD", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
    return;
  } catch (const CExcecaoArquivo& falha) {
    // The extract or its spill file could not be written: nothing is left.
    AvisaFalhaArquivo(kTitulo, falha);
    return;
  }
  EndDialog(ui::IDOK);
}

// The extract goes to the company's folder on the data server too; a failed
// transfer is reported, and the local file stays.
bool CQMXRegistrosEFD::Transfere(const std::string& caminho, const std::string& nome) {
  dados::CConexaoFileTransfer transferencia;
  com::HRESULT resultado = transferencia.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::SUCCEEDED(resultado))
    resultado = transferencia.Write(dados::CConexaoFileTransfer::kPastaEmpresaEC, caminho.c_str(),
                                    dados::CConexaoFileTransfer::kModoSubstitui,
                                    (std::string(CQMXEnvioArquivo::kPastaArquivos) + nome).c_str());
  transferencia.Finaliza();
  if (com::FAILED(resultado)) {
    mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, "QMXRegistrosEFD", __LINE__,
                            QMX_CARIMBO_COMPILACAO);
    return false;
  }
  return true;
}

}  // namespace qmx
