// The Movimentos por ECF file of one ECF and period, byte for byte, its
// file name and its failures.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "apoio/Linhas.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/Motores.h"
#include "apoio/RelogioSimulado.h"
#include "apoio/VerificaEAD.h"
#include "arquivos/paf/GeradorMovimentos.h"
#include "arquivos/ModelosECF.h"
#include "arquivos/paf/QMXMovimentos.h"
#include "fisco/AssinaturaEAD.h"
#include "frame/LancaDialogo.h"
#include "frame/QMXUTIL.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/processo/Sistema.h"

using namespace qmx;
using namespace qmx::testes;
namespace fs = std::filesystem;

namespace {

const NumeroDia kDia1 = CodificaDia(2, 11, 2026);
const NumeroDia kDia2 = CodificaDia(3, 11, 2026);
constexpr const char* kNome = "381802000000000000B103112026.txt";

class Movimentos : public ::testing::Test {
 protected:
  explicit Movimentos(MotorTeste motor = MotorTeste::SQLite) : m_empresa(motor), m_ativo(m_host), m(m_empresa) {
    m_empresa.AcrescentaRegistro(RelogioSimulado("06/12/2026", "10:00:00") +
                                 "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    m_empresa.ImpressoraEmulada("DR0910000000000000B1", "VersaoSB=01.02.03\nDataSB=15/03/2019\nHoraSB=09:41:07\nNumeroCaixa=7\n");
    REG_FILIALPS f = m_empresa.Filial(1, "Mercado Centro", "SP", "Comércio Ávila Ltda");
    Copia(f.Cnpj, "12.345.678/0001-95");  // the state registration is EmpresaTeste's
    m_empresa.Gravador().GravaFilial(f, "Comércio Ávila Ltda");
    REG_EMISSORPS e = m_empresa.Emissora(1, 1, "DR0910000000000000B1");
    Copia(e.Marca, "DARUMA");
    Copia(e.Modelo, "ifs t 1000 dr");
    m_empresa.Gravador().GravaEmissora(e);
    m_empresa.Emissora(2, 1, "OUTRO");
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));

    m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800);
    m.Produto(20, "REFRIGERANTE").Tributacao('F', 0, "060").Unidade(2);
    m.Produto(30, "LEITE").Tributacao('I', 0, "040").Producao();
    m.Produto(50, "FEIJÃO").Tributacao('T', 1200);
    m.Servico(60, "ENTREGA", 500);
    m.Cliente(5, "MARIA DAS DORES", 'F', "123.456.789-09");
    m.Grava();
    dados::CGravadorCatalogo(m_empresa.Gravador().Sessao()).GravaFormaPagamento({255, "TROCO", 0, ""});

    m.Cupom(1, kDia1).Item(10, 2, 12.5, 1).Item(20, 1, 3.99).Servico(60, 1, 5).Pagamento(1, 40).Pagamento(255, 7.01);
    m.Cupom(1, kDia1).Item(30, 1, 4.5).Cancelado().Documento("11.222.333/0001-81");
    m.Cupom(1, kDia1).Item(50, 1.5, 8.9).Item(10, 1, 12.5).Cancela().Cliente(5).Pagamento(2, 13.35, 9);
    m.NotaConsumidor(1, kDia1, 100, 110).Item(10, 1, 1);
    m.Cupom(2, kDia1).Item(10, 1, 1);  // another ECF
    for (std::uint8_t tipo : {3, 6, 7, 2, 38}) m.Documento(1, kDia1, tipo, 40 + tipo, tipo == 6 ? 77 : 0, 5);
    m.NaoFiscal(1, kDia1, 253, 2);
    m.ReducaoZ(1, kDia1);
    m.Cupom(1, kDia2).Item(10, 1, 12.5);  // a day without a Z reduction
    m.Grava();
  }

  int Executa(const std::string& roteiro, std::uint8_t automatico = 0) {
    m_host.CarregaRoteiro(roteiro);
    return LancaDialogo<CQMXMovimentos>([&](CQMXMovimentos& d, const TriploConexao&) {
      return d.Inicializa(m_empresa.Chave(), 1, 0, kDia1, kDia2, 1, 1, automatico);
    });
  }
  fs::path Gerado() const { return m_empresa.PastaEC() / "Arquivos-Eletronicos" / kNome; }

  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
  MovimentoTeste m;
};

TEST_F(Movimentos, ArquivoDeUmECFIgualAoConferido) {
  ASSERT_EQ(Executa("dialogo 14017\ndigita 14016 1\ndigita 14018 1\ndigita 14019 02/11/2026\ndigita 14020 03/11/2026\n"
                    "clica 1\n"),
            ui::IDOK)
      << testing::PrintToString(m_host.Erros());
  ASSERT_TRUE(fs::exists(Gerado()));
  const std::string conteudo = PastaTemporaria::Le(Gerado().string());
  EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo));
  ConfereGolden(conteudo.substr(0, conteudo.rfind("EAD")), "movimentos.txt");
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_EQ(m_host.Caixas()[0].titulo, "Torvo ECF - Arquivo Eletrônico Movimentos");
  // The dialog opened on the system's start and today.
  EXPECT_EQ(m_host.Dialogos()[0].aposInicio.at(14019).texto, "01/01/2024");
  EXPECT_EQ(m_host.Dialogos()[0].aposInicio.at(14020).texto, "06/12/2026");
  EXPECT_EQ(m_host.Dialogos()[0].focoAposInicio, 14019);

  // What the golden's day does not show: a cupom paid by card and cash
  // (R07 sorted as texts), the cheque and DAV reports (GRG kept) beside a
  // withdrawal (GRG 0), the ISSQN discount flag, and a reduction whose
  // counter is 0 (no R02 or R03 for its day); with the installation
  // folder known, R01 carries the digest of the authenticated-file list.
  PastaTemporaria instalacao;
  m_empresa.MestreFilial(1, "SP");  // the list is made for the branch's state
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF]\nPath=" + instalacao.Pasta().string() + "/\n");
  m.Produto(60, std::string(100, 'D')).Tributacao('T', 1800);
  m.Cupom(1, kDia2).Item(10, 1, 12.5).Pagamento(2, 10, 80).Pagamento(1, 2.5);
  for (std::uint8_t tipo : {13, 14, 4}) m.Documento(1, kDia2, tipo, 80 + tipo, 70 + tipo, 5);
  m.Cupom(1, kDia2).Item(60, 2, 1.5).Cancela().Pagamento(1, 3);
  m.ReducaoZ(1, kDia2);
  m.Grava();
  auto& sessao = m_empresa.Gravador().Sessao();
  sessao.Executa("UPDATE reducao_z SET crz = 0 WHERE emissora = 1 AND data = ?", {static_cast<std::int64_t>(kDia2)});
  sessao.Executa("UPDATE mestre_ec SET desconto_issqn = 1", {});
  fs::remove(Gerado());
  ASSERT_EQ(Executa("", 1), ui::IDOK);
  const std::string segundo = PastaTemporaria::Le(Gerado().string());
  ConfereLeiaute(segundo);
  QMX_Inicializa(m_empresa.Chave().c_str(), 1, 0);
  char lista[33] = {};
  ASSERT_TRUE(QMX_GerarMD5_NotaFiscal(lista, 1));
  EXPECT_EQ(segundo.substr(258, 32), lista);
  std::vector<std::string> r02, r07, r06, r05;
  for (const auto& l : LinhasCRLF(segundo.substr(0, segundo.rfind("EAD"))))
    for (const auto& [tipo, linhas] : {std::pair{"R02", &r02}, {"R07", &r07}, {"R06", &r06}, {"R05", &r05}})
      if (l.rfind(tipo, 0) == 0) linhas->push_back(l.substr(46));
  // An item whose description fills its field, cancelled: its values come
  // back whole after every R04.
  EXPECT_EQ(r05.back().substr(12),
            "00160            " + std::string(100, 'D') +
                "0002000UN 0000015000000000000000000000000000030001T1800S" "0002000" "0000000000300" "0000000000000"
                "TP32");
  EXPECT_EQ(r02, std::vector<std::string>{"000001000009000001202611022026110223000000000000006434S"});
  ASSERT_EQ(r07.size(), 8u);
  EXPECT_EQ(r07[5], "000011000005000000DINHEIRO       0000000000250N0000000000000");
  EXPECT_EQ(r07[6], "000011000005000080CARTAO         0000000001000N0000000000000");
  ASSERT_EQ(r06.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(r06.begin() + 4, r06.end()),
            (std::vector<std::string>{"0000120000930000830005RG20261103120000", "0000130000940000840005RG20261103120000",
                                      "0000140000840000000005CN20261103120000"}));
}

TEST_F(Movimentos, FilialTodasRecusada) {
  Executa("dialogo 14017\ndigita 14016 0\ndigita 14019 02/11/2026\nclica 1\n");
  ASSERT_GE(m_host.Caixas().size(), 1u);
  EXPECT_EQ(TextoETitulo(m_host, 0), std::tuple("Selecione apenas uma Filial", "Torvo ECF - Arquivo Eletrônico"));
  EXPECT_FALSE(fs::exists(Gerado()));
}

TEST_F(Movimentos, FalhaDoServidorRelatadaSemArquivo) {
  // One box, which says `trecho`.
  const auto umaCaixaCom = [&](const std::string& trecho) {
    ASSERT_EQ(m_host.Caixas().size(), 1u);
    EXPECT_NE(m_host.Caixas()[0].texto.find(trecho), std::string::npos) << m_host.Caixas()[0].texto;
  };
  // Count the steps of a run, then fail the last one but one (inside the cupons).
  const int passos = PassosDe([&] { Executa("", 1); });
  fs::remove(Gerado());
  m_host.Limpa();
  dados::CFalhaDadosInjetada falha(passos - 1, com::RPC_S_SERVER_UNAVAILABLE);
  EXPECT_EQ(Executa("", 1), ui::IDCANCEL);
  umaCaixaCom("Origem: QMXMovimentos,");
  EXPECT_FALSE(fs::exists(Gerado()));

  // The folder of the files is taken by a file: a file's failure, not a
  // server's: the box says which file could not be written and why, with
  // the paths as this system writes them.
  m_host.Limpa();
  dados::InjetaFalhaDados(0, 0);
  fs::remove_all(Gerado().parent_path());
  std::ofstream(Gerado().parent_path()) << "no caminho";
  EXPECT_EQ(Executa("", 1), ui::IDCANCEL);
  ASSERT_EQ(m_host.Caixas().size(), 1u);
#if defined(_WIN32)
  // Windows names the failure otherwise (a path not found).
  EXPECT_EQ(m_host.Caixas()[0].texto.rfind("Não foi possível gravar o arquivo\r\n", 0), 0u) << m_host.Caixas()[0].texto;
#else
  EXPECT_EQ(m_host.Caixas()[0].texto, "Não foi possível gravar o arquivo\r\n" + Gerado().string() +
                                          "\r\nParte do caminho " + Gerado().parent_path().string() +
                                          " não é uma pasta.");
#endif
  EXPECT_EQ(m_host.Caixas()[0].flags, ui::MB_OK | ui::MB_ICONERROR);
  fs::remove(Gerado().parent_path());

  // The file is made but cannot be stored: the report names this dialog too.
  m_host.Limpa();
  dados::InjetaFalhaDados(0, 0);
  m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Empresas\\TESTE]\nEC=\n");
  EXPECT_EQ(Executa("", 1), ui::IDCANCEL);
  umaCaixaCom("Origem: QMXMovimentos,");
}

// The emulated printer's memories are this ECF's movement: its Ato COTEPE
// file of the same period, checked by hand against the layout (every COO in
// a record, the reduction's CRZ in its E16, the user's registration in E02,
// one discount per cupom), its fiscal-memory reading the same reductions,
// its detail memory the same COOs. (That the memory and the Movimentos file
// agree day by day is a property over the varied companies.)
TEST_F(Movimentos, MemoriasDaImpressoraConferemComOArquivo) {
  ASSERT_EQ(Executa("", 1), ui::IDOK);
  ASSERT_TRUE(impressora::ArquivoMFD("", "02112026", "03112026", "D", "01", 0, "", "", 1));
  const std::string conteudo =
      PastaTemporaria::Le((m_empresa.PastaImpressora() / "DR0910000000000000B1_02112026_03112026.txt").string());
  ConfereGolden(conteudo, "mfd-ato-cotepe.txt");

  // The fiscal-memory reading: the one reduction of the two days, by date
  // or by its counter, with its totalizers in the complete reading.
  std::string retorno;
  ASSERT_TRUE(impressora::LeituraMemoriaFiscalData("02/11/2026", "03/11/2026", true, "c"));
  ASSERT_TRUE(impressora::PegaPathArqRetorno(&retorno));
  std::string leitura = PastaTemporaria::Le(texto::CaminhoNativo(retorno));
  EXPECT_NE(leitura.find("CRZ 0001 CRO 001 COO 000009 DATA 02/11/2026 VENDA BRUTA 64,34 GT 64,34\r\n"
                         "  01T1800 24,00\r\n"),
            std::string::npos) << leitura;
  EXPECT_NE(leitura.find("REDUCOES NO INTERVALO: 1\r\n"), std::string::npos);
  ASSERT_TRUE(impressora::LeituraMemoriaFiscalReducao("2", "9", true, "s"));
  leitura = PastaTemporaria::Le(texto::CaminhoNativo(retorno));
  EXPECT_NE(leitura.find("REDUCOES NO INTERVALO: 0\r\n"), std::string::npos) << leitura;

  // The detail memory: its COOs, and each document in COO order.
  char primeiro[impressora::kTamanhoCOO] = {}, ultimo[impressora::kTamanhoCOO] = {};
  ASSERT_TRUE(impressora::InicioFimCOOsMFD(primeiro, ultimo));
  EXPECT_STREQ(primeiro, "000001");
  EXPECT_STREQ(ultimo, "000010");
  const std::string imagem = (m_empresa.PastaImpressora() / "imagem.mfd").string();
  ASSERT_TRUE(impressora::DownloadMFD(imagem.c_str(), "2", "000003", "000010", "1"));
  std::vector<std::string> coos;
  for (const auto& linha : LinhasCRLF(PastaTemporaria::Le(imagem)))
    if (linha.rfind("COO ", 0) == 0) coos.push_back(linha.substr(4, 6));
  EXPECT_EQ(coos, (std::vector<std::string>{"000003", "000004", "000005", "000006", "000007", "000008", "000009",
                                            "000010"}));
}

TEST(ModelosECF, NomeMaisLongoPrimeiroSemBrancosEmMaiusculas) {
  const struct {
    const char* modelo;
    const char* codigo;
  } casos[] = {{"IFST1000", "381802"},      {"IFST100", "381703"},    {"ifs t 1000", "381802"},
               {"IFS-9000IIIE", "381502"}, {"IFS-9000IIE", "381401"}, {"IFS-9000IE", "381202"},
               {"IFS-9000I", "381102"},    {"MP-4000 TH FI", "032101"}, {"MP-50FI", "031304"},
               {"FS2000", "080103"},       {"EPSON TM-T81", "150404"}, {"QMX-1", ""}, {"", ""}};
  for (const auto& c : casos) EXPECT_EQ(CodigoModeloECF(c.modelo), c.codigo) << c.modelo;
  const REG_EMISSORPS e{.NumeroSerie = "AB/12-34 56789012345", .Modelo = "SEM TABELA"};
  EXPECT_EQ(movimentos::NomeArquivoMovimentos(e, CodificaDia(9, 1, 2026)), "000000" "23456789012345" "09012026.txt");
}

// Every data-server step of an automatic run fails in turn: the run ends
// with the file whole and validly signed, or with a box and no file; no
// temporary is ever left, neither in the company's folder nor in the
// temporary folder.
TEST_F(Movimentos, FalhaEmCadaPassoArquivoInteiroOuNenhum) {
  PastaTemporaria temporarios;
  qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, temporarios.Pasta().string());
  const int passos = PassosDe([&] { EXPECT_EQ(Executa("", 1), ui::IDOK); });
  fs::remove(Gerado());
  ASSERT_GT(passos, 10);
  int interrompidas = 0;
  for (int passo = 1; passo <= passos; ++passo) {
    m_host.Limpa();
    const int resultado = ComFalhaNoPasso(passo, com::RPC_S_SERVER_UNAVAILABLE, [&] { return Executa("", 1); });
    ASSERT_EQ(m_host.Caixas().size(), 1u) << passo;
    // A failed read of the ECF leaves its record empty: the file is then
    // made under the name of a blank serial number, but made whole.
    const auto pasta = m_empresa.PastaEC() / "Arquivos-Eletronicos";
    const auto guardados = CenarioArquivos::Arquivos(pasta);
    if (resultado == ui::IDOK) {
      ASSERT_EQ(guardados.size(), 1u) << passo;
      const std::string conteudo = PastaTemporaria::Le(guardados[0].string());
      const std::string copia = temporarios.Grava("copia.txt", conteudo);
      ASSERT_TRUE(AssinaturaEAD::AssinaArquivo(copia));  // signing again changes nothing: the line is right
      EXPECT_EQ(PastaTemporaria::Le(copia), conteudo) << passo;
      EXPECT_GT(conteudo.size(), 261u) << passo;
      fs::remove(copia);
    } else {
      ++interrompidas;
      EXPECT_NE(m_host.Caixas()[0].texto.find("Erro na comunicação com o servidor de dados"), std::string::npos) << passo;
      EXPECT_TRUE(guardados.empty()) << passo;
    }
    fs::remove_all(pasta);
    EXPECT_EQ(temporarios.Entradas(), 0) << passo;
  }
  EXPECT_GT(interrompidas, passos / 2);
  qmx::sistema::RemoveVariavel(qmx::testes::kVariavelTemporarios);
}

#if !defined(_WIN32)  // the two terminals are processes made with fork
// PostgreSQL when its test server is given; the test then skips otherwise.
class MovimentosConcorrentes : public Movimentos, public ::testing::WithParamInterface<MotorTeste> {
 protected:
  MovimentosConcorrentes()
      : Movimentos(GetParam() == MotorTeste::Postgres && !EmpresaTeste::PostgresDisponivel() ? MotorTeste::SQLite
                                                                                             : GetParam()) {}
};

// Two terminals make the same file of the same company at once: both
// finish, and the stored file is the one a single run makes.
TEST_P(MovimentosConcorrentes, DoisProcessosGeramOMesmoArquivo) {
  if (GetParam() == MotorTeste::Postgres && !EmpresaTeste::PostgresDisponivel())
    GTEST_SKIP() << "sem servidor PostgreSQL de teste";
  ASSERT_EQ(Executa("", 1), ui::IDOK);
  const std::string unico = PastaTemporaria::Le(Gerado().string());
  for (int vez = 0; vez < 3; ++vez) {
    fs::remove(Gerado());
    pid_t filhos[2];
    for (pid_t& filho : filhos)
      if ((filho = ::fork()) == 0) ::_exit(Executa("", 1) == ui::IDOK && Executa("", 1) == ui::IDOK ? 0 : 1);
    for (pid_t filho : filhos) {
      int estado = -1;
      ::waitpid(filho, &estado, 0);
      EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "vez " << vez;
    }
    EXPECT_EQ(PastaTemporaria::Le(Gerado().string()), unico) << "vez " << vez;
    EXPECT_EQ(std::distance(fs::directory_iterator(Gerado().parent_path()), fs::directory_iterator()), 1);
  }
}

QMX_NOS_DOIS_MOTORES(MovimentosConcorrentes);
#endif  // !_WIN32

}  // namespace
