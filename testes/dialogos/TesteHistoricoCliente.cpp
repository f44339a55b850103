// The customer history dialog behind QMX_BuscaHistorico, on a company of the
// test's own, read through the scripted host's record of the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apoio/MovimentoTeste.h"
#include "dialogos/QMXHistCliDlg.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace {

namespace ui = qmx::ui;
using Linhas = std::vector<std::vector<std::string>>;

constexpr int kItens = 13032, kParcelas = 13033;
// Controls of the header: date, number, ECF, trade name, total, origin.
constexpr int kCabecalho[] = {13034, 13030, 13028, 13027, 13029, 13031};

class HistoricoCliente : public ::testing::Test {
 protected:
  HistoricoCliente() : m_ativo(m_host) {
    m_empresa.Filial(1, "Loja Centro", "SP", "Mercado Ávila Ltda");
    m_empresa.Filial(2, "Loja Farol", "SP", "Mercado Ávila Ltda");
    m_empresa.Emissora(1, 1, "SERIE-1", "Caixa 1");
    m_empresa.Emissora(2, 2, "SERIE-2", "Caixa Principal 2");
    qmx::testes::MovimentoTeste m(m_empresa, 2);
    m.Produto(10, "ARROZ 5KG");
    m.Produto(5, "PRODUTO CINCO");
    m.Servico(5, "ENTREGA");
    auto& cupom = m.Cupom(2, m_dia)
                      .Coo(321)
                      .Origem(1)
                      .Item(10, 2, 12.50)
                      .Servico(5, 1, 7)
                      .Item(5, 1.5, 3.339)
                      .Item(12, 1000, 1)  // a product deleted since the sale
                      .Parcela(500, 20, m_dia + 30)
                      .Parcela(537.0085, 21, m_dia + 60)
                      .Parcela(1, 99, m_dia + 90)  // a form the register lost
                      .Parcela(1, 20, m_dia + 120);
    qmx::testes::Copia(cupom.itens[0].Descricao, "ARROZ COMO IMPRESSO");
    qmx::testes::Copia(cupom.itens[3].Descricao, "MILHO");
    qmx::testes::Copia(cupom.itens[1].Descricao, "FRETE");  // the service is read from its register
    m.Cupom(1, m_dia).Coo(322).Origem(3).Item(10, 1, 2);
    m.Grava();
    qmx::dados::CGravadorCatalogo catalogo(m_empresa.Gravador().Sessao());
    catalogo.GravaTipoDocumento({20, "CREDIARIO", 0});
    catalogo.GravaTipoDocumento({21, "CHEQUE PRE", 0});
    QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
  }

  const ui::DialogoExecutado& Busca(std::uint16_t ecf, std::uint32_t cupom, const std::string& roteiro = {}) {
    m_host.Limpa();
    m_host.CarregaRoteiro(roteiro);
    EXPECT_TRUE(QMX_BuscaHistorico(qmx::DiaDezesseisBits(m_dia), ecf, cupom));
    EXPECT_TRUE(m_host.Erros().empty()) << m_host.Erros().front();
    EXPECT_TRUE(m_host.Caixas().empty());
    return m_host.Dialogos().back();
  }
  static std::vector<std::string> Colunas(const ui::EstadoControle& lista) {
    std::vector<std::string> colunas;
    for (std::size_t c = 0; c < lista.colunas.size(); ++c)
      colunas.push_back(lista.colunas[c] + " " + std::to_string(lista.alinhamentos[c]) + " " +
                        std::to_string(lista.larguras[c]) + (lista.estiloEstendido == ui::LVS_EX_FULLROWSELECT ? "" : " ?"));
    return colunas;
  }
  static std::vector<std::string> Cabecalho(const ui::DialogoExecutado& dialogo) {
    std::vector<std::string> textos;
    for (int id : kCabecalho) textos.push_back(dialogo.aposInicio.at(id).texto);
    return textos;
  }

  const qmx::NumeroDia m_dia = qmx::CodificaDia(2, 9, 2026);
  qmx::testes::EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(HistoricoCliente, MostraCabecalhoItensEParcelasDoCupom) {
  const auto& dialogo = Busca(2, 321, "dialogo 14026\najuda\nclica 1\n");
  EXPECT_EQ(m_host.Ajudas(), std::vector<std::string>{"DF"});  // F1
  EXPECT_EQ(dialogo.resultado, ui::IDOK);
  EXPECT_EQ(dialogo.titulo, "Torvo ECF - Histórico de Clientes");
  EXPECT_EQ(Cabecalho(dialogo), (std::vector<std::string>{"02/09/2026", "321", "Caixa Princi", "Loja Farol",
                                                           "1.037,0085", "Pré-Venda"}));
  const auto& itens = dialogo.aposInicio.at(kItens);
  const auto& parcelas = dialogo.aposInicio.at(kParcelas);
  // Title, alignment (0 left, 1 right, 2 centred) and width; whole-row selection.
  EXPECT_EQ(Colunas(itens), (std::vector<std::string>{"Item 2 40", "Quantidade 1 70", "Código 0 70",
                                                      "Descrição 0 200", "Valor Unitário 1 80"}));
  EXPECT_EQ(Colunas(parcelas), (std::vector<std::string>{"Parcela 2 80", "Vencimento 2 80", "Valor 1 70",
                                                         "Forma Pagamento 0 200"}));
  // The register's description, the service's for a service item, and the
  // printed one for a product that is gone; unit values cut to two places.
  EXPECT_EQ(itens.linhas, (Linhas{{"1", "2,0000", "10", "ARROZ 5KG", "12,50"},
                                  {"2", "1,0000", "5", "ENTREGA", "7,00"},
                                  {"3", "1,5000", "5", "PRODUTO CINCO", "3,33"},
                                  {"4", "1.000,0000", "12", "MILHO", "1,00"}}));
  // The form that cannot be read ends the list after its own row.
  EXPECT_EQ(parcelas.linhas, (Linhas{{"1", "02/10/2026", "500,0000", "CREDIARIO"},
                                     {"2", "01/11/2026", "537,0085", "CHEQUE PRE"},
                                     {"3", "01/12/2026", "1,0000", ""}}));
}

}  // namespace
