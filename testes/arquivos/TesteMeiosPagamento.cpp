// The Meios de Pagamento report as the emulated fiscal printer received it.
#include <gtest/gtest.h>

#include "apoio/MovimentoTeste.h"
#include "apoio/RelogioSimulado.h"
#include "arquivos/relatorios/QMXMeiosPagamento.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/LancaDialogo.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/dados/FalhasInjetadas.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

const NumeroDia kDia1 = CodificaDia(2, 11, 2026);
const NumeroDia kDia2 = CodificaDia(3, 11, 2026);
const NumeroDia kDia3 = CodificaDia(4, 11, 2026);

class MeiosPagamento : public ::testing::Test {
 protected:
  MeiosPagamento() : m_ativo(m_host), m(m_empresa) {
    m_empresa.AcrescentaRegistro(RelogioSimulado("06/12/2026", "10:00:00") +
                                 "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    m_empresa.ImpressoraEmulada("SERIE-1");
    m_empresa.Filial(1, "Mercado Centro", "SP", "Comércio Ávila Ltda");
    m_empresa.Filial(2, "Mercado Norte", "SP", "Comércio Ávila Ltda");
    m_empresa.Emissora(1, 1, "SERIE-1");
    m_empresa.Emissora(2, 1, "SERIE-2");
    m_empresa.Emissora(3, 2, "SERIE-3");
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));
    m.Produto(10, "ARROZ");
    m.Grava();
    dados::CGravadorCatalogo catalogo(m_empresa.Gravador().Sessao());
    catalogo.GravaFormaPagamento({1, " DINHEIRO ", 0, ""});
    catalogo.GravaFormaPagamento({3, "CHEQUE", 0, ""});
    for (std::uint16_t codigo : {250, 252, 253, 255}) catalogo.GravaFormaPagamento({codigo, "DEDUCAO", 0, ""});

    m.Cupom(1, kDia1).Item(10, 1, 42.99).Pagamento(1, 50).Pagamento(255, 7.01);
    m.Cupom(2, kDia1).Item(10, 1, 20).Pagamento(2, 20);
    m.Cupom(1, kDia1).Item(10, 1, 10).Pagamento(1, 10).Cancelado();  // received nothing
    m.Cupom(1, kDia1).Item(10, 1, 5).Pagamento(1, 0).Pagamento(3, 0).Pagamento(0, 5).Pagamento(250, 5);  // ignored
    // Paid by a means the list does not have: no line and no day sum, but
    // in the grand total.
    m.Cupom(2, CodificaDia(1, 11, 2026)).Item(10, 1, 3).Pagamento(7, 3);
    m.Cupom(3, kDia1).Item(10, 1, 99).Pagamento(1, 99);  // another branch
    m.NotaConsumidor(1, kDia1, 100, 120).Item(10, 1, 15).Pagamento(1, 15);  // not a cupom
    m.Cupom(1, kDia2).Item(10, 1, 8.5).Pagamento(1, 10).Pagamento(252, 1).Pagamento(253, 0.5);
    m.Nota(1, kDia2).Item(10, 1, 1234.56).Pagamento(2, 1234.56);
    m.Nota(2, kDia2).Item(10, 1, 80).Pagamento(3, 80);  // a means only in notas
    m.Nota(3, kDia2).Item(10, 1, 70).Pagamento(3, 70).Situacao(true);
    // A nota's change lowers the notas' cash line, not the cupons'.
    m.Nota(4, kDia3).Item(10, 1, 95).Pagamento(1, 100).Pagamento(255, 5);
    m.Cupom(1, kDia3).Item(10, 1, 30).Pagamento(2, 30);
    m.Grava();
  }

  int Executa(const std::string& inicial, const std::string& final) {
    m_host.CarregaRoteiro("dialogo 14008\ndigita 13009 " + inicial + "\ndigita 13008 " + final + "\nclica 1\n");
    return LancaDialogo<CQMXMeiosPagamento>(
        [&](CQMXMeiosPagamento& d, const TriploConexao&) { return d.Inicializa(m_empresa.Chave(), 1, 0); });
  }

  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
  MovimentoTeste m;
};

constexpr const char* kCabeca = "              Meios de Pagamento\n\r\n\r\n\r";

TEST_F(MeiosPagamento, DiasMeiosDeducoesDoDinheiroETotais) {
  ASSERT_EQ(Executa("01/11/2026", "04/11/2026"), ui::IDOK);
  const auto relatorios = impressora::RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u);
  EXPECT_EQ(std::tuple(relatorios[0].titulo, relatorios[0].fechado), std::tuple("MEIOS DE PAGTO", true));
  EXPECT_EQ(relatorios[0].texto,
            std::string("Periodo Solicitado: de 01/11/2026 a 04/11/2026\n\r") + kCabeca +
                "02/11/2026-DINHEIRO-Cupom Fiscal-42,99\n\r"
                "02/11/2026-CARTAO-Cupom Fiscal-20,00\n\r"
                "SOMA DO DIA 02/11/2026 = 62,99\n\r"
                "03/11/2026-DINHEIRO-Cupom Fiscal-8,50\n\r"
                "03/11/2026-CARTAO-Nota Fiscal-1.234,56\n\r"
                "03/11/2026-CHEQUE-Nota Fiscal-80,00\n\r"
                "SOMA DO DIA 03/11/2026 = 1.323,06\n\r"
                "04/11/2026-DINHEIRO-Nota Fiscal-95,00\n\r"
                "04/11/2026-CARTAO-Cupom Fiscal-30,00\n\r"
                "SOMA DO DIA 04/11/2026 = 125,00\n\r"
                "TOTAL DO PERIODO SOLICITADO:\n\r"
                "DINHEIRO - 146,49\n\r"
                "CARTAO - 1.284,56\n\r"
                "CHEQUE - 80,00\n\r"
                "SOMA TOTAL - 1.514,05\n\r");
}

TEST_F(MeiosPagamento, SemDocumentosTituloDesconhecidoEServidorQueFalha) {
  // A period without documents: the head and the totals alone.
  ASSERT_EQ(Executa("10/11/2026", "10/11/2026"), ui::IDOK);
  const auto relatorios = impressora::RelatoriosImpressos();
  ASSERT_EQ(relatorios.size(), 1u);
  EXPECT_EQ(relatorios[0].texto, std::string("Periodo Solicitado: de 10/11/2026 a 10/11/2026\n\r") + kCabeca +
                                     "TOTAL DO PERIODO SOLICITADO:\n\rSOMA TOTAL - 0,00\n\r");
  // A printer that does not know the title, and a server that fails.
  m_empresa.ImpressoraEmulada("SERIE-1", "Relatorios=OUTRO\n");
  dados::CFalhasAtivacaoInjetadas falhaAtivacao({com::E_FAIL});
  m_host.Limpa();
  ASSERT_EQ(Executa("02/11/2026", "03/11/2026"), ui::IDOK);
  // The server's failure is reported; the report goes on.
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_NE(m_host.Caixas()[0].texto.find("QMXMeiosPagamento"), std::string::npos) << m_host.Caixas()[0].texto;
  // Not opened under a title the printer does not know: the pieces sent
  // find no report open, and the printer prints nothing more.
  EXPECT_EQ(impressora::RelatoriosImpressos().size(), 1u);
}

}  // namespace
