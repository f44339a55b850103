#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>
#include <string>

#include "apoio/MovimentoTeste.h"
#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "apoio/ProgramaQmx.h"
#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/texto/Windows1252.h"

using qmx::testes::PastaTemporaria;

namespace {

using qmx::testes::ConfereSaida;
using qmx::testes::Execucao;
using qmx::testes::Qmx;

// Literals of this file are Windows-1252; the terminal speaks UTF-8.
std::string U8(const std::string& texto) { return qmx::texto::ParaUtf8(texto); }

TEST(Qmx, ExecutaExportacoesSemRegistro) {
  const Execucao coo = Qmx("descricao-coo 8");
  EXPECT_EQ(std::tuple(coo.codigo, coo.saida), std::tuple(0, "Redu\xC3\xA7\xC3\xA3o Z\n"));
  EXPECT_EQ(Qmx("monta-hora --hhmmss 93015 --segundos").saida, "09:30:15\n");
  // What a killed run left in a folder, swept on request; a folder that is
  // not there is said so.
  PastaTemporaria pasta;
  const std::string parcial = pasta.Grava(".ZTR.txt" + std::string(qmx::GravacaoAtomica::kMarca) + "AbC123", "12345");
  const utimbuf antes{1000000000, 1000000000};
  ::utime(parcial.c_str(), &antes);
  const Execucao limpar = Qmx("limpar '" + pasta.Pasta().string() + "'");
  EXPECT_EQ(limpar.saida, pasta.Pasta().string() + ": 1 arquivo removido, 5 bytes liberados\n");
  EXPECT_EQ(Qmx("limpar '" + pasta.Caminho("falta") + "'").codigo, 1);
  // Help: the exit codes of an export only where there is one; the choices
  // described.
  EXPECT_EQ(Qmx("verificar --help").saida.find(U8("exportação respondeu")), std::string::npos);
  EXPECT_NE(Qmx("sintegra --help").saida.find(U8("exportação respondeu")), std::string::npos);
  const std::string venda = Qmx("venda-periodo --help").saida;
  EXPECT_NE(venda.find(U8("--leiaute convenio|cotepe   o leiaute: convenio (Sintegra, Convênio 57/95)")),
            std::string::npos)
      << venda;
  EXPECT_NE(venda.find("--perfil A|B"), std::string::npos) << venda;
  const std::string integra = Qmx("integra --help").saida;
  for (const char* exportacao : {"QMX_ProcIntegraCN", "QMX_ProcIntegraEF", "QMX_ProcIntegraES", "QMX_ProcIntegraFN"})
    EXPECT_NE(integra.find(exportacao), std::string::npos) << exportacao;
}

TEST(Qmx, VerificarAceitaOAssinadoERecusaOAlterado) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava("vendas.txt", "R01|ABC\r\nR02|123\r\n");
  ASSERT_EQ(Qmx("assinar '" + arquivo + "'").codigo, 0);
  const Execucao valida = Qmx("verificar '" + arquivo + "'");
  EXPECT_EQ(std::tuple(valida.codigo, valida.saida),
            std::tuple(0, U8("assinatura válida\n(chave de demonstração: a publicada com a biblioteca, que qualquer "
                             "um tem; não é a de um desenvolvedor registrado no fisco)\n")));
  std::string conteudo = PastaTemporaria::Le(arquivo);
  conteudo[5] = 'X';
  pasta.Grava("vendas.txt", conteudo);
  EXPECT_EQ(Qmx("verificar '" + arquivo + "'").codigo, 1);
  EXPECT_EQ(Qmx("verificar '" + pasta.Grava("nada.txt", "sem assinatura\r\n") + "'").saida,
            U8("o arquivo não termina numa linha EAD\n"));
  EXPECT_NE(Qmx("chave-publica").saida.find("-----BEGIN PUBLIC KEY-----"), std::string::npos);
}

// The price tables and the partial stock's products by name: each
// --produto is typed and added to the list.
TEST(Qmx, TabelasDePrecoEProdutosDoEstoqueParcial) {
  qmx::testes::EmpresaTeste empresa;
  empresa.Filial(1, "Loja", "SP", "Loja Ltda");
  empresa.Usuario(1, "Operador", {1});
  empresa.Emissora(1, 1, "QMX-CLI-1");
  qmx::testes::MovimentoTeste m(empresa);
  m.Produto(9, "FEIJÃO");
  m.Produto(10, "ARROZ");
  m.Produto(11, "SAL");
  m.Servico(5, "ENTREGA");
  m.Grava();
  qmx::dados::CGravadorCatalogo catalogo(empresa.Gravador().Sessao());
  catalogo.GravaTabelaPreco({QMX_TABELA_PRODUTOS, 3, "VAREJO"});
  catalogo.GravaTabelaPreco({QMX_TABELA_SERVICOS, 4, "SERVIÇOS"});
  catalogo.GravaItemTabelaPreco({QMX_TABELA_PRODUTOS, 3, 10, qmx::testes::Valor(2)});
  catalogo.GravaItemTabelaPreco({QMX_TABELA_SERVICOS, 4, 5, qmx::testes::Valor(1)});

  ConfereSaida(Qmx("--empresa TESTE --usuario 1 tab-produtos --tabela-produtos 3 --tabela-servicos 4"), 0, {});
  const std::string produtos =
      PastaTemporaria::Le((empresa.PastaEC() / "Arquivos-Eletronicos" / "TabelaProdutos0304.txt").string());
  EXPECT_NE(produtos.find("P9" "12345678000190" "110042490114  " "000002\r\nEAD"), std::string::npos) << produtos;

  ConfereSaida(Qmx("--empresa TESTE --usuario 1 estoque --produto 9 --produto 11"), 0, {});
  int arquivos = 0;
  for (const auto& arquivo : std::filesystem::directory_iterator(empresa.PastaEC() / "Arquivos-Eletronicos")) {
    if (arquivo.path().filename().string().rfind("Estoque", 0) != 0) continue;
    ++arquivos;
    const std::string texto = PastaTemporaria::Le(arquivo.path().string());
    EXPECT_NE(texto.find("E9" "12345678000190" "110042490114  " "000002\r\nEAD"), std::string::npos) << texto;
  }
  EXPECT_EQ(arquivos, 1);
}

// The authorization dialog and a cupom's history from the command line.
TEST(Qmx, AutorizaEHistorico) {
  qmx::testes::EmpresaTeste empresa;
  empresa.Filial(1, "Loja Centro", "SP", "Loja Ltda");
  empresa.Emissora(1, 1, "QMX-CLI-1", "Caixa 1");
  empresa.Usuario(3, "Supervisor", {1});
  empresa.Gravador().GravaSenhaUsuario(3, "supervisor", "avila 2026");
  empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  qmx::testes::MovimentoTeste m(empresa);
  m.Produto(10, "ARROZ 5KG");
  m.Cupom(1, 55519).Coo(7).Item(10, 2, 12.5).Parcela(25, 7, 55549);
  m.Grava();
  empresa.ImpressoraEmulada("QMX-CLI-1");

  // The box names the file in the system's form, a path that can be copied.
  const Execucao mfd = Qmx("--empresa TESTE arq-mfd --coo-inicial 7 --coo-final 7");
  EXPECT_EQ(mfd.codigo, 0) << mfd.saida;
  const std::string kGerado = U8("Arquivo gerado em:\n");
  const auto inicio = mfd.saida.find(kGerado);
  ASSERT_NE(inicio, std::string::npos) << mfd.saida;
  const std::string gerado = mfd.saida.substr(inicio + kGerado.size(), mfd.saida.find(" (resposta", inicio) -
                                                                            inicio - kGerado.size());
  EXPECT_EQ(gerado.find('\\'), std::string::npos) << gerado;
  EXPECT_TRUE(std::filesystem::is_regular_file(gerado)) << gerado;

  ConfereSaida(Qmx("--empresa TESTE autoriza --login supervisor --senha 'avila 2026'"), 0,
               {U8("autorizado: sim\nusuário: 3\n")});
  ConfereSaida(Qmx("--empresa TESTE autoriza --login supervisor --senha avila"), 1,
               {U8("autorizado: não"),
                U8("[caixa] Torvo Cadastros Gerais:\nUsuário ou senha não conferem.\nDigite-os novamente. (resposta 1)")});

  // A cupom the day does not have, and one not named.
  const Execucao semCupom = Qmx("--empresa TESTE historico --data 01/01/2000 --ecf 1 --cupom 5");
  EXPECT_EQ(std::tuple(semCupom.codigo, semCupom.saida),
            std::tuple(1, "cupom 5 do ECF 1 em 01/01/2000 n\xC3\xA3o encontrado\n"));
  ConfereSaida(Qmx("--empresa TESTE historico --data 01/01/2000 --ecf 1"), 2, {"falta --cupom"});

  // An ECF the company lacks is named, in the box and in the
  // integration's log; the run ends "falhou".
  const std::string log = empresa.Pasta().Caminho("integracao.log");
  ConfereSaida(Qmx("--empresa TESTE integra cn --data 01/01/2000 --ecf 99 --diretorio '" + log + "'"), 1,
               {U8("QMX_ProcIntegraCN: 0x80070490 (elemento não encontrado)\n[caixa] Integração: O ECF 99 não está "
                   "cadastrado. (resposta 1)\nfalhou\n")});
  EXPECT_NE(PastaTemporaria::Le(log).find("Falha: O ECF 99 n\xE3o est\xE1 cadastrado.\r\n"), std::string::npos)
      << PastaTemporaria::Le(log);

  ConfereSaida(Qmx("--empresa TESTE integra es --ecf 1"), 2, {"falta --data"});

  // Movimentos by its dialog: the options fill it.
  const Execucao movimentos =
      Qmx("--empresa TESTE movimentos --filial 1 --ecf 1 --data-inicial 01/01/2000 --data-final 01/01/2000");
  EXPECT_NE(movimentos.saida.find(U8("[diálogo 14017]")), std::string::npos) << movimentos.saida;
  EXPECT_EQ(movimentos.saida.find("cancelado"), std::string::npos) << movimentos.saida;

  ConfereSaida(Qmx("--empresa TESTE historico --data 01/01/2000 --ecf 1 --cupom 7"), 0,
               {U8("Data: 01/01/2000\nNº Cupom: 7\nECF: Caixa 1\nNome Fantasia: Loja Centro\n"
                   "Valor Total: 25,0000\nOrigem: Tela ECF\n\n"
                   "Itens do Cupom Fiscal\n"
                   "Item  Quantidade  Código  Descrição  Valor Unitário\n"
                   " 1        2,0000  10      ARROZ 5KG           12,50\n\n"
                   "Parcelas\n"
                   "Parcela  Vencimento    Valor  Forma Pagamento\n"
                   "   1     31/01/2000  25,0000  SEM MODELO\n")});
}

}  // namespace
