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

TEST(Qmx, ErrosDeUsoSaoClarosESaemComDois) {
  qmx::testes::RegistroTemporario registro(qmx::testes::RelogioSimulado("06/12/2026", "10:00:00"));
  const struct {
    const char* argumentos;
    const char* mensagem;
  } casos[] = {
      {"", "falta o comando"}, {"voar", "comando desconhecido: voar"},
      {"--usuario 70000 sintegra", "fora do intervalo"}, {"--empresa", "precisa de um valor"},
      {"descricao-coo", "falta o código"}, {"descricao-coo 256", "fora do intervalo"},
      {"lmf --digita 13017", "ID=TEXTO"}, {"lmf --tipo x", "--tipo aceita c ou s"},
      {"monta-data 10 --ok", "não abre diálogos"}, {"sped-fiscal --data-inicial 31/02/2020", "data inexistente"},
      {"sped-fiscal --data-inicial ontem", "data inválida"},
      // The dates the 16-bit day numbers reach on 6 December 2026.
      {"sped-fiscal --data-inicial 07/12/2036", "data fora do intervalo de 05/07/1857 a 06/12/2036: 07/12/2036"},
      {"sped-fiscal --data-final 04/07/1857", "data fora do intervalo"},
      {"demo --mes 13/2027", "mês inválido (use MM/AAAA): 13/2027"}, {"demo --mes 12/2036", "mês fora do intervalo"},
      {"sintegra --nada 1", "opção desconhecida: --nada"}, {"md5-texto abc --filial 1", "opção desconhecida: --filial"},
      {"--registro /nao/existe.ini lmf", "o arquivo de registro /nao/existe.ini não existe"},
      {"descriptografar --senha 1 --hex-texto ZZ", "--hex-texto: \"ZZ\" não é hexadecimal"},
      {"descriptografar --senha x1", "não é um número inteiro"},
      {"criptografar --valor abc", "--valor: \"abc\" não é um valor com duas casas decimais"},
      {"criptografar --valor 1234,5", "--valor: \"1234,5\" não é um valor"},
      {"md5-arquivo /tmp/\xE6\x97\xA5.txt", "tem caracteres que o Windows-1252 não representa"},
      // A date typed into a dialog is one the dialog's edit reads.
      {"sintegra --data-inicial 2026-11-01", "--data-inicial: \"2026-11-01\" não é uma data DD/MM/AAAA"},
      {"sintegra --data-final 31/02/2026", "--data-final: 31/02/2026 não é um dia do calendário"},
      {"arq-mfd --data-inicial 29/02/25", "não é um dia do calendário"},
      {"lmf --cotepe-final 1/13/2026", "não é um dia do calendário"},
      // Work on a company's data needs a company the registry names.
      {"sintegra --filial 1", "o comando sintegra trabalha sobre uma empresa: falta --empresa CHAVE"},
      {"--empresa NENHUMA integra es --data 02/11/2026", "a empresa NENHUMA não está no registro"},
      {"historico --cupom 5 --empresa NENHUMA", "a empresa NENHUMA não está no registro"},
      {"md5-texto abc def", "argumento a mais: \"def\" (o comando leva TEXTO; um caminho com brancos"},
      {"chave-publica x", "argumento a mais: \"x\" (o comando não leva argumentos)"},
  };
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.argumentos);
    ConfereSaida(Qmx(caso.argumentos), 2, {U8(caso.mensagem)});
  }
}

// The last line says when an export that answered true was cancelled or
// failed; the printer's spool is named; boxes read as the operator reads
// them.
TEST(Qmx, SaidaDizOQueAconteceu) {
  PastaTemporaria pasta;
  const std::string impressora =
      "[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\nModelo=EMULADA\nNumeroSerie=QMX-CLI-9\nPastaRetorno=" +
      pasta.Caminho("ecf") + "\n";
  qmx::testes::RegistroTemporario registro(impressora);
  // A company whose database the data server cannot open.
  registro.Reescreve(impressora + "[SOFTWARE\\ZT Redudeva\\Empresas\\QUEBRADA]\nEC=" + pasta.Caminho("ec") +
                     "/\nBaseDados=" + pasta.Grava("nao-e-base.db", "isto n\xE3o \xE9 uma base") + "\n");
  const Execucao cancelado = Qmx("--empresa QUEBRADA sintegra");
  ConfereSaida(cancelado, 1, {"QMX_Sintegra: verdadeiro\n"});
  EXPECT_EQ(cancelado.saida.substr(cancelado.saida.size() - 10), "cancelado\n") << cancelado.saida;

  const Execucao falhou = Qmx("integra es --data 02/11/2026 --ecf 1 --empresa QUEBRADA");
  ConfereSaida(falhou, 1, {U8("[caixa] Torvo ECF:\n")});
  EXPECT_EQ(falhou.saida.substr(falhou.saida.size() - 7), "falhou\n") << falhou.saida;

  const Execucao lmf = Qmx("lmf --tipo s --ok");
  ConfereSaida(lmf, 0, {"QMX_LMF: verdadeiro\n", U8("[diálogo 14024]")});
  const auto inicio = lmf.saida.find(U8("impressão: "));
  ASSERT_NE(inicio, std::string::npos) << lmf.saida;
  const auto fim = lmf.saida.find('\n', inicio);
  EXPECT_EQ(lmf.saida.substr(inicio, fim - inicio), U8("impressão: ") + pasta.Caminho("ecf/impressao-QMX-CLI-9.txt"));
  // Nothing printed, nothing said; a general option may follow the command.
  EXPECT_EQ(Qmx("monta-data 55519 --usuario 1").saida, "01/01/2000\n");

  // Line breaks of every kind are real ones.
  const Execucao indice = Qmx("indice-tecnico");
  ConfereSaida(indice, 1, {U8("[caixa] Torvo ECF:\nEste PAF-ECF não executa funções de baixa de estoque \ncom base")});
  EXPECT_EQ(indice.saida.find("\\"), std::string::npos) << indice.saida;

  // A box without a caption of its own carries the program's name.
  const Execucao semImpressora = Qmx("--registro '" + pasta.Grava("vazio.ini", "") + "' pega-ecf-ativo");
  EXPECT_NE(semImpressora.saida.find(U8("[caixa] qmx:\nNão foi possível determinar")), std::string::npos)
      << semImpressora.saida;
  const Execucao selecao = Qmx(U8("get-emissora --titulo 'Seleção de ECF'"));
  EXPECT_NE(selecao.saida.find("ecf: 0"), std::string::npos);
  EXPECT_NE(selecao.saida.find(U8("\"Seleção de ECF\"")), std::string::npos) << selecao.saida;
}

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

// The cipher of a text and an amount, and the amount shown back as the
// library holds it: ten-thousandths, four decimals, sign kept.
std::string Decifra(const std::string& opcoes) {
  const Execucao cifrado = Qmx(U8("criptografar --semente 10 --deslocamento 20 " + opcoes));
  if (cifrado.codigo != 0) return cifrado.saida;
  const auto hexTexto = cifrado.saida.substr(7, cifrado.saida.find('\n') - 7);
  const auto inicioValor = cifrado.saida.find("valor: ") + 7;
  const auto hexValor = cifrado.saida.substr(inicioValor, cifrado.saida.find('\n', inicioValor) - inicioValor);
  return Qmx("descriptografar --senha 655380 --hex-texto '" + hexTexto + "' --hex-valor '" + hexValor + "'").saida;
}

TEST(Qmx, ResumoECifraPelaLinhaDeComando) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava("abc.txt", "abc");
  EXPECT_EQ(Qmx("md5-arquivo '" + arquivo + "'").saida, "900150983cd24fb0d6963f7d28e17f72\n");
  EXPECT_EQ(Qmx("md5-arquivo '" + pasta.Caminho("falta.txt") + "'").codigo, 1);
  EXPECT_EQ(Decifra("--texto 'Operação' --valor 12,34"), U8("texto: Operação\nvalor: 12,3400 (x10000: 123400)\n"));
  EXPECT_EQ(Decifra("--valor 0,01"), "texto: \nvalor: 0,0100 (x10000: 100)\n");
  EXPECT_EQ(Decifra("--valor -0,25"), "texto: \nvalor: -0,2500 (x10000: -2500)\n");
  EXPECT_EQ(Decifra("--valor 1.234.567,89"), "texto: \nvalor: 1.234.567,8900 (x10000: 12345678900)\n");
}

// In a folder with an accent, as /home/joão: its registry file is UTF-8,
// every step answers true, every path reads as the system writes it.
TEST(Qmx, DemonstracaoMontaAEmpresa) {
  PastaTemporaria pasta;
  const std::string kPasta = pasta.Caminho("jo\xC3\xA3o");
  const Execucao demo = Qmx("demo --pasta '" + kPasta + "'");
  // Made in the accented folder, whose catalogues are read.
  ConfereSaida(demo, 0, {"Empresa de demonstra\xC3\xA7\xC3\xA3o em " + kPasta + "\n",
                         U8("EC 110: A data final não pode ser anterior à data inicial."), U8("Redução Z"),
                         U8("decifrado: \"Operador Ávila\" e 12345600"), U8("Finalizando Integrações com Contabilidade.")});
  const std::string registro = PastaTemporaria::Le(kPasta + "/registro.ini");
  EXPECT_EQ(qmx::texto::DeUtf8Exato(registro).has_value(), true);
  EXPECT_NE(registro.find("EC=" + kPasta + "/DEMO/\n"), std::string::npos) << registro;
  EXPECT_EQ(demo.saida.find("\xC3\x83"), std::string::npos) << demo.saida;  // no doubly encoded letter
  // The login it prints is accepted by the authorization dialog.
  const std::string kLogin = U8("Usuário para o diálogo de autorização: ");
  const auto inicio = demo.saida.find(kLogin) + kLogin.size();
  ASSERT_NE(inicio, std::string::npos + kLogin.size()) << demo.saida;
  const std::string login = demo.saida.substr(inicio, demo.saida.find('\n', inicio) - inicio);  // "NOME, senha SENHA"
  const std::string nome = login.substr(0, login.find(','));
  const std::string senha = login.substr(login.find("senha ") + 6);
  const Execucao autoriza = Qmx("--registro '" + kPasta + "/registro.ini' --empresa DEMO autoriza --login " +
                                nome + " --senha " + senha);
  ConfereSaida(autoriza, 0, {U8("autorizado: sim\nusuário: ")});
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

TEST(Qmx, RespostasPorNomeNosDialogosDeArquivo) {
  qmx::testes::EmpresaTeste empresa;
  const Execucao sintegra = Qmx("--empresa TESTE sintegra --filial 1 --data-inicial 01/02/2026 --data-final 28/02/2026");
  // A company without branch 1: the dialog refuses it by its number, and
  // the command stops there, naming the option.
  ConfereSaida(sintegra, 2,
               {U8("[diálogo 14028]"), U8("qmx: --filial: recusado pelo diálogo: A filial 1 não está cadastrada.\n")});
  // An item the list does not have cancels the dialog and names the option.
  ConfereSaida(Qmx("--empresa TESTE sintegra --natureza 7"), 2,
               {U8("qmx: --natureza: resposta recusada pelo diálogo (diálogo 14028: linha inexistente 6 em "
                   "13044 (há 3))"),
                U8("[diálogo 14028] \"Torvo ECF - SINTEGRA - Base de Dados\" fechado com 2")});
  // The layout and the profile by name; a value the dialog lacks is refused.
  const Execucao venda = Qmx("--empresa TESTE venda-periodo --filial 1 --leiaute cotepe --perfil b");
  EXPECT_NE(venda.saida.find(U8("[diálogo 14030]")), std::string::npos) << venda.saida;
  ConfereSaida(Qmx("venda-periodo --leiaute sped"), 2, {"--leiaute aceita convenio, cotepe"});
  ConfereSaida(Qmx("estoque --ecf 3"), 2, {U8("não tem o campo --ecf")});
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
