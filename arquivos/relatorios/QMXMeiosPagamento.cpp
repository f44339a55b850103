#include "arquivos/relatorios/QMXMeiosPagamento.h"

#include <vector>

#include "arquivos/relatorios/RelatorioMeiosPagamento.h"
#include "frame/CarimboCompilacao.h"
#include "frame/InstanciaServidor.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ServidorCaixaCOM.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/Progresso.h"

namespace qmx {

bool CQMXMeiosPagamento::OnInitDialog() {
  PreparaPeriodo(IDC_DATA_INICIAL, IDC_DATA_FINAL, InicioPeriodo::Hoje, CVerificacaoPeriodo::Regras::ComInicioSistema);
  return true;
}

void CQMXMeiosPagamento::OnOK() {
  ui::CWaitCursor espera;
  ui::CProgresso progresso("Torvo ECF - Meios de Pagamento", ui::CProgresso::Unidade::Bytes);
  const NumeroDia inicial = m_edDataInicial.GetData();
  const NumeroDia final = m_edDataFinal.GetData();

  // The branch of the ECF of this computer; without one the report has no
  // documents to show.
  std::uint16_t filial = 0;
  const std::int32_t posicao = m_generica.PegaECFAtivo();
  if (posicao > 0) {
    dados::CConexaoEmissora emissoras;
    std::vector<REG_EMISSORPS> lista;
    std::uint16_t quantidade = 0;
    if (com::SUCCEEDED(emissoras.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto)) &&
        com::SUCCEEDED(emissoras.Lista(&quantidade, &lista)) && posicao <= static_cast<std::int32_t>(lista.size()))
      filial = lista[static_cast<std::size_t>(posicao - 1)].Filial;
  }

  // The cash server, activated as the other point-of-sale programs reach it.
  dados::RegistraServidorCaixa();
  void* servidor = nullptr;
  const com::HRESULT ativado = InstanciaServidor(dados::kClasseServidorCaixa, nullptr, 23,
                                                 dados::IZTEC_ServidorCaixa::kIID, &servidor,
                                                 kInstanciaRegistraEventos | kInstanciaRepeteIndisponivel);
  if (com::FAILED(ativado))
    mensagens::ZTTrataErro2(ativado, 0, 0, m_triplo.chaveEmpresa, "QMXMeiosPagamento", __LINE__,
                            QMX_CARIMBO_COMPILACAO);

  CRelatorioMeiosPagamento(m_triplo).Imprime(filial, inicial, final);
  if (servidor) static_cast<com::IUnknown*>(servidor)->Release();
  EndDialog(ui::IDOK);
}

}  // namespace qmx
