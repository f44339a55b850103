#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "apoio/MovimentoTeste.h"
#include "apoio/PastaTemporaria.h"
#include "apoio/ProgramaQmx.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/texto/Windows1252.h"

using qmx::testes::PastaTemporaria;

namespace {

using qmx::testes::Execucao;
using qmx::testes::Qmx;

// Literals of this file are Windows-1252; the terminal speaks UTF-8.
std::string U8(const std::string& texto) { return qmx::texto::ParaUtf8(texto); }


TEST(Qmx, AjudaListaOsComandos) {
  const Execucao ajuda = Qmx("--help");
  EXPECT_EQ(ajuda.codigo, 0);
  for (const char* nome : {"sintegra", "sped-fiscal", "lmf", "movimentos", "get-emissora", "md5-arquivo",
                           "criptografar", "integra", "integra-cupom", "monta-data", "demo"})
    EXPECT_NE(ajuda.saida.find(std::string("  ") + nome + " "), std::string::npos) << nome;
  // The terminal gets UTF-8: "opções" with its two accented letters.
  EXPECT_NE(ajuda.saida.find("op\xC3\xA7\xC3\xB5" "es"), std::string::npos);
}

TEST(Qmx, ErrosDeUsoSaoClarosESaemComDois) {
  const struct {
    const char* argumentos;
    const char* mensagem;
  } casos[] = {
      {"", "falta o comando"},
      {"voar", "comando desconhecido: voar"},
      {"--usuario 70000 sintegra", "fora do intervalo"},
      {"--usuario abc sintegra", "não é um número inteiro"},
      {"--empresa", "precisa de um valor"},
      {"descricao-coo", "falta o código"},
      {"descricao-coo 256", "fora do intervalo"},
      {"lmf --digita 13017", "ID=TEXTO"},
      {"monta-data 10 --ok", "não abre diálogos"},
      {"sped-fiscal --data-inicial 31/02/2020", "data inexistente"},
      {"sped-fiscal --data-inicial ontem", "data inválida"},
      {"sintegra --nada 1", "opção desconhecida: --nada"},
  };
  for (const auto& caso : casos) {
    const Execucao execucao = Qmx(caso.argumentos);
    EXPECT_EQ(execucao.codigo, 2) << caso.argumentos << "\n" << execucao.saida;
    EXPECT_NE(execucao.saida.find(U8(caso.mensagem)), std::string::npos) << caso.argumentos << "\n" << execucao.saida;
  }
}

TEST(Qmx, ExecutaExportacoesEMostraOQueOOperadorViu) {
  const Execucao coo = Qmx("descricao-coo 8");
  EXPECT_EQ(coo.codigo, 0);
  EXPECT_EQ(coo.saida, "Redu\xC3\xA7\xC3\xA3o Z\n");
  EXPECT_EQ(Qmx("monta-data 55519").saida, "01/01/2000\n");
  EXPECT_EQ(Qmx("monta-hora --hhmmss 93015 --segundos").saida, "09:30:15\n");

  // LMF answers true when its dialog ends with OK (the reading is printed);
  // the operator's OK is played, and the dialog seen is listed.
  const Execucao lmf = Qmx("--empresa DEMO lmf --tipo s --ok");
  EXPECT_EQ(lmf.codigo, 0);
  EXPECT_NE(lmf.saida.find("QMX_LMF: verdadeiro"), std::string::npos) << lmf.saida;
  EXPECT_NE(lmf.saida.find(U8("[diálogo 14024]")), std::string::npos) << lmf.saida;

  // A box without a caption of its own carries the program's name.
  PastaTemporaria pasta;
  const Execucao semImpressora = Qmx("--registro '" + pasta.Grava("vazio.ini", "") + "' pega-ecf-ativo");
  EXPECT_NE(semImpressora.saida.find(U8("[caixa] qmx: Não foi possível determinar")), std::string::npos)
      << semImpressora.saida;

  const Execucao selecao = Qmx(U8("get-emissora --titulo 'Seleção de ECF'"));
  EXPECT_EQ(selecao.codigo, 0);
  EXPECT_NE(selecao.saida.find("ecf: 0"), std::string::npos);
  EXPECT_NE(selecao.saida.find(U8("\"Seleção de ECF\"")), std::string::npos) << selecao.saida;
}

TEST(Qmx, ResumoECifraPelaLinhaDeComando) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava("abc.txt", "abc");
  EXPECT_EQ(Qmx("md5-arquivo '" + arquivo + "'").saida, "900150983cd24fb0d6963f7d28e17f72\n");
  EXPECT_EQ(Qmx("md5-arquivo '" + pasta.Caminho("falta.txt") + "'").codigo, 1);
  const Execucao cifrado = Qmx(U8("criptografar --semente 10 --deslocamento 20 --texto 'Operação' --valor 12,34"));
  ASSERT_EQ(cifrado.codigo, 0);
  const auto hexTexto = cifrado.saida.substr(7, cifrado.saida.find('\n') - 7);
  const auto inicioValor = cifrado.saida.find("valor: ") + 7;
  const auto hexValor = cifrado.saida.substr(inicioValor, cifrado.saida.find('\n', inicioValor) - inicioValor);
  // "Operação" is 8 bytes in Windows-1252: 16 hexadecimal digits.
  EXPECT_EQ(hexTexto.size(), 16u);
  const Execucao decifrado =
      Qmx("descriptografar --senha 655380 --hex-texto " + hexTexto + " --hex-valor " + hexValor);
  EXPECT_NE(decifrado.saida.find(U8("texto: Operação")), std::string::npos) << decifrado.saida;
  EXPECT_NE(decifrado.saida.find("x10000: 123400"), std::string::npos) << decifrado.saida;
}

TEST(Qmx, DemonstracaoMontaAEmpresa) {
  PastaTemporaria pasta;
  const Execucao demo = Qmx("demo --pasta '" + pasta.Caminho("demo") + "'");
  EXPECT_EQ(demo.codigo, 0) << demo.saida;
  EXPECT_TRUE(std::filesystem::exists(pasta.Pasta() / "demo" / "registro.ini"));
  EXPECT_NE(demo.saida.find(U8("Redução Z")), std::string::npos);
  EXPECT_NE(demo.saida.find(U8("decifrado: \"Operador Ávila\" e 12345600")), std::string::npos) << demo.saida;
  for (const char* passo : {"QMX_ProcIntegraES: 0 (integrado)", "QMX_ProcIntegraCN: 0 (integrado)",
                            "QMX_ProcIntegraEF: 0 (integrado)", "QMX_ProcIntegraFN: 0 (integrado)",
                            "Finalizando Integrações com Contabilidade.", "qmx lmf respondeu verdadeiro",
                            "qmx arq-mfd respondeu verdadeiro"})
    EXPECT_NE(demo.saida.find(U8(passo)), std::string::npos) << passo;
  // The login it prints is accepted by the authorization dialog.
  const std::string kLogin = U8("Usuário para o diálogo de autorização: ");
  const auto inicio = demo.saida.find(kLogin) + kLogin.size();
  ASSERT_NE(inicio, std::string::npos + kLogin.size()) << demo.saida;
  const std::string login = demo.saida.substr(inicio, demo.saida.find('\n', inicio) - inicio);  // "NOME, senha SENHA"
  const std::string nome = login.substr(0, login.find(','));
  const std::string senha = login.substr(login.find("senha ") + 6);
  const Execucao autoriza = Qmx("--registro '" + pasta.Caminho("demo/registro.ini") + "' --empresa DEMO autoriza --login " +
                                nome + " --senha " + senha);
  EXPECT_EQ(autoriza.codigo, 0) << autoriza.saida;
  EXPECT_NE(autoriza.saida.find(U8("autorizado: sim\nusuário: ")), std::string::npos) << autoriza.saida;
}

}  // namespace

namespace {

TEST(Qmx, VerificarAceitaOAssinadoERecusaOAlterado) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava("vendas.txt", "R01|ABC\r\nR02|123\r\n");
  ASSERT_EQ(Qmx("assinar '" + arquivo + "'").codigo, 0);
  const Execucao valida = Qmx("verificar '" + arquivo + "'");
  EXPECT_EQ(valida.codigo, 0);
  EXPECT_EQ(valida.saida, U8("assinatura válida\n"));
  std::string conteudo = PastaTemporaria::Le(arquivo);
  conteudo[5] = 'X';
  pasta.Grava("vendas.txt", conteudo);
  EXPECT_EQ(Qmx("verificar '" + arquivo + "'").codigo, 1);
  EXPECT_EQ(Qmx("verificar '" + pasta.Grava("nada.txt", "sem assinatura\r\n") + "'").saida,
            U8("o arquivo não termina numa linha EAD\n"));
  EXPECT_NE(Qmx("chave-publica").saida.find("-----BEGIN PUBLIC KEY-----"), std::string::npos);
}

}  // namespace

namespace {

TEST(Qmx, RespostasPorNomeNosDialogosDeArquivo) {
  const Execucao sintegra = Qmx("sintegra --filial 1 --data-inicial 01/02/2026 --data-final 28/02/2026");
  EXPECT_EQ(sintegra.codigo, 0);
  EXPECT_NE(sintegra.saida.find(U8("[diálogo 14028]")), std::string::npos) << sintegra.saida;
  // The layout and the profile by name; a value the dialog lacks is refused.
  const Execucao venda = Qmx("venda-periodo --filial 1 --leiaute cotepe --perfil b");
  EXPECT_NE(venda.saida.find(U8("[diálogo 14030]")), std::string::npos) << venda.saida;
  const Execucao leiaute = Qmx("venda-periodo --leiaute sped");
  EXPECT_EQ(leiaute.codigo, 2);
  EXPECT_NE(leiaute.saida.find("--leiaute aceita convenio, cotepe"), std::string::npos) << leiaute.saida;
  const Execucao semCampo = Qmx("estoque --ecf 3");
  EXPECT_EQ(semCampo.codigo, 2);
  EXPECT_NE(semCampo.saida.find(U8("não tem o campo --ecf")), std::string::npos);
}

}  // namespace

namespace {

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

  const Execucao tabela = Qmx("--empresa TESTE --usuario 1 tab-produtos --tabela-produtos 3 --tabela-servicos 4");
  EXPECT_EQ(tabela.codigo, 0) << tabela.saida;
  const std::string produtos =
      PastaTemporaria::Le((empresa.PastaEC() / "Arquivos-Eletronicos" / "TabelaProdutos0304.txt").string());
  EXPECT_NE(produtos.find("P9" "12345678000190" "00110042490114" "000002\r\nEAD"), std::string::npos) << produtos;

  const Execucao estoque = Qmx("--empresa TESTE --usuario 1 estoque --produto 9 --produto 11");
  EXPECT_EQ(estoque.codigo, 0) << estoque.saida;
  int arquivos = 0;
  for (const auto& arquivo : std::filesystem::directory_iterator(empresa.PastaEC() / "Arquivos-Eletronicos")) {
    if (arquivo.path().filename().string().rfind("Estoque", 0) != 0) continue;
    ++arquivos;
    const std::string texto = PastaTemporaria::Le(arquivo.path().string());
    EXPECT_NE(texto.find("E9" "12345678000190" "00110042490114" "000002\r\nEAD"), std::string::npos) << texto;
  }
  EXPECT_EQ(arquivos, 1);
}

}  // namespace

namespace {

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

  const Execucao aceito = Qmx("--empresa TESTE autoriza --login supervisor --senha 'avila 2026'");
  EXPECT_EQ(aceito.codigo, 0) << aceito.saida;
  EXPECT_NE(aceito.saida.find(U8("autorizado: sim\nusuário: 3\n")), std::string::npos) << aceito.saida;
  const Execucao recusado = Qmx("--empresa TESTE autoriza --login supervisor --senha avila");
  EXPECT_EQ(recusado.codigo, 1);
  EXPECT_NE(recusado.saida.find(U8("autorizado: não")), std::string::npos) << recusado.saida;
  EXPECT_NE(recusado.saida.find(U8("[caixa] Torvo Cadastros Gerais: Usuário ou senha não conferem.")), std::string::npos)
      << recusado.saida;

  const Execucao historico = Qmx("--empresa TESTE historico --data 01/01/2000 --ecf 1 --cupom 7");
  EXPECT_EQ(historico.codigo, 0) << historico.saida;
  EXPECT_NE(historico.saida.find(U8("Data: 01/01/2000\nNº Cupom: 7\nECF: Caixa 1\nNome Fantasia: Loja Centro\n"
                                    "Valor Total: 25,0000\nOrigem: Tela ECF\n\n"
                                    "Itens do Cupom Fiscal\n"
                                    "Item  Quantidade  Código  Descrição  Valor Unitário\n"
                                    " 1        2,0000  10      ARROZ 5KG           12,50\n\n"
                                    "Parcelas\n"
                                    "Parcela  Vencimento    Valor  Forma Pagamento\n"
                                    "   1     31/01/2000  25,0000  SEM MODELO\n")),
            std::string::npos)
      << historico.saida;
}

}  // namespace
