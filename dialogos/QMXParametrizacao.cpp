#include "dialogos/QMXParametrizacao.h"

#include <cctype>
#include <cstring>

#include "frame/CarimboCompilacao.h"
#include "frame/ErroHost.h"
#include "plataforma/dados/ConexaoECF.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ZTDadosInicializacao.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/impressora/RelatorioGerencial.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {
namespace {

constexpr std::uint16_t kSistemaPontoVenda = 19;

bool UfIgual(const char* uf, const char* sigla) {
  return std::toupper(static_cast<unsigned char>(uf[0])) == sigla[0] &&
         std::toupper(static_cast<unsigned char>(uf[1])) == sigla[1] && uf[2] == '\0';
}

// One item: its title, its requirement (when it has one) and its answer.
std::string Item(const char* titulo, const char* requisito, const std::string& resposta) {
  return std::string(titulo) + (requisito ? requisito : "") + resposta;
}

const char* SimNao(bool sim) { return sim ? "Sim\n" : "Não\n"; }

}  // namespace

bool CQMXParametrizacao::ECFAutonomo(std::uint16_t ecf) {
  dados::CConexaoMestre mestre;
  bool autonomo = false;
  com::HRESULT resultado = mestre.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::SUCCEEDED(resultado)) resultado = mestre.LeModoEmissora(ecf, &autonomo);
  if (com::FAILED(resultado)) {
    mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, "QMXUTIL", __LINE__, QMX_CARIMBO_COMPILACAO);
    return false;  // reads as a networked ECF
  }
  return autonomo;
}

bool CQMXParametrizacao::ProgramaCredito(std::uint16_t filial) {
  dados::CConexaoFilial filiais;
  REG_FILIALPS registro{};
  com::HRESULT resultado = filiais.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto, false);
  if (com::SUCCEEDED(resultado)) resultado = filiais.Le(filial, &registro);
  if (com::FAILED(resultado)) {
    InformaErroHost(resultado, 0, 0, "QMXUTIL", __LINE__, QMX_CARIMBO_COMPILACAO);
    return false;
  }
  return registro.ProgramaCredito == 1;
}

void CQMXParametrizacao::ImprimePecas(const REG_EC_MESTRE_FILIALPS& p, std::uint16_t ecf,
                                      const std::function<void(const std::string&)>& imprime) {
  const bool usaDAV = p.SemDAV == 0;
  imprime("--- Parâmetros de configuração do PAF-ECF ---\n\n");
  imprime("Todas as parametrizações relacionadas neste relatório são de configuração inacessível ao usuário do "
          "PAF-ECF. A ativação ou não destes parâmetros é determinada pela unidade federada e somente pode ser "
          "feita pela intervenção da empresa desenvolvedora do PAF-ECF.\n\n");

  std::string texto;
  texto += Item("\nImpedir o registro de venda de produtos com estoque zero ou negativo:\n",
                "(Requisito - XXXVI-A)\n", "Não se aplica\n");
  texto += Item("\nTipo de funcionamento:\n", "(REQUISITO III)\n",
                std::string(ECFAutonomo(ecf) ? "Stand Alone" : "Em Rede") + "\n");
  texto += Item("\nEmissão de DAV-OS para oficina de conserto:\n", "(REQUISITO IV – Item 1)\n", "Não se aplica\n");
  texto += Item("\nEmissão de DAV:\n", "(REQUISITO IV – Item 1)\n", SimNao(usaDAV));
  texto += Item("\nRealiza registros de Pré-Venda:\n", "(REQUISITO IV – Item 2)\n", SimNao(p.SemPreVenda == 0));
  imprime(texto);

  texto.clear();
  const char* equipamento = !usaDAV ? "Não se aplica\n"
                            : (UfIgual(p.UF, "SC") || UfIgual(p.UF, "ES")) ? "ECF\n"
                                                                           : "Impressor não fiscal\n";
  texto += Item("\nEquipamento para impressão de DAV:\n", "(REQUISITO IV – Item 3 e 4)\n", equipamento);
  texto += Item("\nRealiza registro de Conta de Cliente:\n", "(REQUISITO IV – Item 6)\n", "Não se aplica\n");
  texto += Item("\nTela para consulta de preço permite:\n", "(REQUISITO XVIII)\n", "");
  texto += Item("\na) Totalização dos valores da lista de itens ;\n", nullptr, "Não se aplica\n");
  texto += Item("\nb) Transformação das informações digitadas em registro de pré-venda ;\n", nullptr,
                "Não se aplica\n");
  texto += Item("\nc) A utilização das informações digitadas para impressão de Documento Auxiliar de Vendas ;\n",
                nullptr, "Não se aplica\n");
  texto += Item("\nEmissão de documento fiscal por PED (REQUISITO XVII, Item 1 - b):\n",
                "(REQUISITO XXII – Item 6)\n", "Não se aplica\n");
  imprime(texto);

  texto.clear();
  texto += Item("\nExecuta recomposição de GT se tiver ocorrido incremento do CRO?:\n", "(REQUISITO XXII – Item 7)\n",
                "Não se aplica\n");
  texto += Item("\nImpressão do código para o programa MINAS LEGAL:\n", "(Requisito VIII-A – Item 2)\n",
                SimNao(UfIgual(p.UF, "MG")));
  texto += Item("\nImpressão dos dados para o programa CUPOM MANIA:\n", "(Requisito VIII-A – Item 3)\n",
                SimNao(std::strcmp(p.UF, "RJ") == 0));
  imprime(texto);

  // Both Nota Legal items take the state without regard to letter case.
  const bool df = UfIgual(p.UF, "DF");
  texto.clear();
  texto += Item("\nImpressão dos dados para o programa NOTA LEGAL:\n", nullptr, SimNao(df));
  texto += Item("\nEstabelecimento está incluído no programa de concessão de créditos - Lei 4159/08\n", nullptr,
                SimNao(df && ProgramaCredito(p.Filial)));
  imprime(texto);

  imprime(Item("\nImprime do código para o programa PARAÍBA LEGAL:\n", nullptr, SimNao(std::strcmp(p.UF, "PB") == 0)));
}

bool CQMXParametrizacao::Imprime(std::uint16_t filial, std::uint16_t ecf) {
  // A server that cannot answer is told with its cause, as every report does.
  const auto falhou = [&](com::HRESULT resultado, int linha) {
    if (com::FAILED(resultado))
      mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, "QMXUTIL", linha, QMX_CARIMBO_COMPILACAO);
    return com::FAILED(resultado);
  };
  dados::CZTDadosInicializacao inicializacao;
  if (falhou(inicializacao.BuscaDados(dados::CZTParametroInicializacao(m_triplo.chaveEmpresa, m_triplo.usuario,
                                                                       m_triplo.contexto, kSistemaPontoVenda)),
             __LINE__))
    return false;
  const bool porFilial = inicializacao.GetTipoSistemas()[dados::QMX_TIPO_ECF_POR_FILIAL] == 1;

  dados::CConexaoECF controle;
  dados::CConexaoMestre mestre;
  if (porFilial && falhou(controle.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto), __LINE__))
    return false;
  if (falhou(mestre.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto), __LINE__)) return false;

  if (porFilial) {
    std::int32_t resposta = 0;
    if (com::FAILED(controle.GetEhFilialHabilitada_ECF(filial, &resposta))) {
      mensagens::ZTMensagem(162, "EC");
      return false;
    }
    if (resposta == 1) {
      mensagens::ZTMensagem(161, "EC");
      return false;
    }
  }

  REG_EC_MESTRE_FILIALPS parametros;
  std::memset(&parametros, 0, sizeof parametros);
  if (falhou(mestre.LeFilial(filial, &parametros), __LINE__)) return false;

  impressora::FechaRelatorioGerencial();  // a report left open before
  ui::CWaitCursor espera;
  impressora::CRelatorioGerencial relatorio(kTitulo);
  ImprimePecas(parametros, ecf, [&](const std::string& peca) { relatorio.Imprime(peca); });
  return true;
}

}  // namespace qmx
