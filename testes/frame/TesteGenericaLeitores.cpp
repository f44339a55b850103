#include <gtest/gtest.h>

#include <cstring>

#include "apoio/EmpresaTeste.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXGenerica.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/ui/HostRoteirizado.h"

using qmx::testes::EmpresaTeste;

namespace {

class Leitores : public ::testing::Test {
 protected:
  Leitores() : m_ativo(m_host) {
    m_empresa.Municipio(7, "Maceió", "AL", 2704302);
    m_empresa.Filial(1, "Loja Centro", "AL", "Mercado Ávila Ltda", 7);
    m_empresa.Emissora(1, 1, "  be0512sc556  ");
    m_empresa.Emissora(2, 1, "EMUL-002");
    m_empresa.Mestre(qmx::CodificaDia(1, 1, 2024));
  }
  CQMXGenerica Generica() const { return CQMXGenerica(m_empresa.Chave().c_str(), 1, 0); }

  EmpresaTeste m_empresa;
  qmx::ui::HostRoteirizado m_host;
  qmx::ui::HostTemporario m_ativo;
};

TEST_F(Leitores, FalhaDeixaORegistroComoEstava) {
  REG_FILIALPS filial{};
  std::strcpy(filial.NomeFantasia, "intacto");
  Generica().LeFilial(99, &filial, nullptr);
  EXPECT_STREQ(filial.NomeFantasia, "intacto");
  CQMXGenerica("EMPRESA-SEM-BASE", 1, 0).LeFilial(1, &filial, nullptr);
  EXPECT_STREQ(filial.NomeFantasia, "intacto");
  const REG_DADOS_ATO_COTEPE_PS vazio = CQMXGenerica("EMPRESA-SEM-BASE", 1, 0).GetDadosAtoCotepe(1);
  const REG_DADOS_ATO_COTEPE_PS zeros{};
  EXPECT_EQ(std::memcmp(&vazio, &zeros, sizeof zeros), 0);
}

TEST_F(Leitores, ECFAtivoPeloNumeroDeSerie) {
  m_empresa.ImpressoraEmulada("BE0512SC556 ");
  EXPECT_EQ(Generica().PegaECFAtivo(), 1);  // blanks and letter case do not matter
  m_empresa.ImpressoraEmulada("emul-002");
  EXPECT_EQ(Generica().PegaECFAtivo(), 2);
  m_empresa.ImpressoraEmulada("OUTRA");
  EXPECT_EQ(Generica().PegaECFAtivo(), -1);
  EXPECT_EQ(CQMXGenerica("EMPRESA-SEM-BASE", 1, 0).PegaECFAtivo(), -1);
  EXPECT_TRUE(m_host.Caixas().empty());  // only a silent printer is reported

  QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
  m_empresa.ImpressoraEmulada("EMUL-002");
  std::int32_t posicao = 0;
  EXPECT_TRUE(QMX_PegaECFAtivo(&posicao));
  EXPECT_EQ(posicao, 2);
  m_empresa.ImpressoraEmulada("EMUL-002", "Falhas=PegaNumeroSerie\n");
  EXPECT_TRUE(QMX_PegaECFAtivo(&posicao));
  EXPECT_EQ(posicao, -1);
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(m_host.Caixas()[0].texto,
            "N\xE3o foi poss\xEDvel determinar que modelo de Emissor \nde Cupom Fiscal que ser\xE1 utilizado nesse "
            "computador.\nExecute o QMVConfImp, selecionando o modelo do \nEmissor e Porta Serial a qual o mesmo "
            "est\xE1 conectado.");
  EXPECT_EQ(m_host.Caixas()[0].titulo, "qmx_testes");  // the calling program's title
  EXPECT_EQ(m_host.Caixas()[0].flags, qmx::ui::MB_ICONEXCLAMATION | qmx::ui::MB_SYSTEMMODAL);
  QMX_Inicializa("", 0, 0);
}

}  // namespace
