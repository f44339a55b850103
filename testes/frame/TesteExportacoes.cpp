#include <gtest/gtest.h>

#include <string>

#include "arquivos/QMXFiltroArquivo.h"
#include "arquivos/memorias/QMXLeituraMemoriaFiscal.h"
#include "arquivos/paf/QMXMovimentos.h"
#include "dialogos/QMXHistCliDlg.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/LancaDialogo.h"
#include "frame/QMXUTIL.h"
#include "apoio/RegistroTemporario.h"
#include "apoio/RelogioSimulado.h"
#include "integracao/ContabilizaBase.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/ui/ModuloRecursos.h"

using namespace qmx;

namespace {

// A scripted host that also notes what each dialog was given before it ran.
class HostObservador : public ui::HostRoteirizado {
 public:
  int ExecutaModal(ui::CDialogo& dialogo) override {
    recursoDuranteODialogo = &ui::RecursoAtual();
    if (auto* filtro = dynamic_cast<CQMXFiltroArquivo*>(&dialogo)) triplos.push_back(filtro->Triplo());
    if (auto* lmf = dynamic_cast<CQMXLeituraMemoriaFiscal*>(&dialogo)) tipoLMF = lmf->Tipo();
    if (auto* movimentos = dynamic_cast<CQMXMovimentos*>(&dialogo))
      movimentosVistos = {movimentos->DataInicial(), movimentos->DataFinal(), movimentos->Ecf(),
                          movimentos->Filial(), static_cast<std::uint16_t>(movimentos->Automatico())};
    if (auto* historico = dynamic_cast<CQMXHistCliDlg*>(&dialogo))
      historicoVisto = {historico->NumeroCupom(), historico->Data(), historico->NumeroEcf()};
    return HostRoteirizado::ExecutaModal(dialogo);
  }

  std::vector<TriploConexao> triplos;
  std::string tipoLMF;
  std::vector<std::int64_t> movimentosVistos;
  std::vector<std::int64_t> historicoVisto;
  ui::ModuloRecursos* recursoDuranteODialogo = nullptr;
};

class Exportacoes : public ::testing::Test {
 protected:
  Exportacoes() : m_ativo(m_host) { Contexto() = ContextoBiblioteca{}; }
  ~Exportacoes() override { Contexto() = ContextoBiblioteca{}; }
  HostObservador m_host;
  ui::HostTemporario m_ativo;
};

TEST_F(Exportacoes, ResultadosDeDialogosCancelados) {
  // Called in this order: a braced list is evaluated left to right.
  const std::vector<bool> resultados{
      QMX_LMF("c") != 0, QMX_MeiosPagamento() != 0, QMX_DAVs() != 0, QMX_Sintegra() != 0, QMX_VendaPeriodo() != 0,
      QMX_EspelhoMFD() != 0, QMX_ArqMFD() != 0, QMX_TabProdutos() != 0, QMX_Estoque() != 0,
      QMX_TabIndiceTecnicoProducao() != 0, QMX_Movimentos(1, 2, 3, 4, 0) != 0, QMX_BuscaHistorico(1, 2, 3) != 0};
  EXPECT_EQ(resultados, (std::vector<bool>{false, false, false, true, true, true, true, true, true, true, true, true}));
  // Each dialog with its template and caption (the technical indices'
  // dialog set aside: its caption is its own routine's).
  std::vector<std::pair<int, std::string>> modelos;
  for (const auto& dialogo : m_host.Dialogos()) {
    if (dialogo.idModelo != 14031) modelos.emplace_back(dialogo.idModelo, dialogo.titulo);
    EXPECT_EQ(dialogo.resultado, ui::IDCANCEL);
  }
  EXPECT_EQ(modelos, (std::vector<std::pair<int, std::string>>{
                         {14024, "Leitura Memória Fiscal Completa"},
                         {14008, "Filtro de Meios de Pagamento"},
                         {14009, "Filtro de DAV Emitidos"},
                         {14028, "Torvo ECF - SINTEGRA - Base de Dados"},
                         {14030, "Filtro de Venda do Período"},
                         {14007, "Filtro de Espelho MFD"},
                         {14025, "Filtro de  Arq. MFD"},
                         {14002, "Filtro de Tabela de Produtos"},
                         {14023, "Filtro de Estoque"},
                         {14017, "Filtro de Movimentos por ECF"},
                         {14026, "Torvo ECF - Histórico de Clientes"}}));
  EXPECT_EQ(m_host.Dialogos().size(), 12u);
  EXPECT_TRUE(m_host.Erros().empty());
}

// The dates arrive as the program's 16-bit day numbers and reach the
// dialogs as days of the window of today (the clock reads 6 December 2026):
// 1 is 5 June 2027, not 1 January 1848.
TEST_F(Exportacoes, ArgumentosChegamAoDialogoNaOrdem) {
  testes::RegistroTemporario registro(testes::RelogioSimulado("06/12/2026", "10:00:00"));
  std::string tipo = "s";
  QMX_LMF(tipo.c_str());
  EXPECT_EQ(m_host.tipoLMF, "s");
  QMX_LMF(nullptr);
  EXPECT_EQ(m_host.tipoLMF, "");
  QMX_Movimentos(65380, 1, 3, 4, 1);
  EXPECT_EQ(m_host.movimentosVistos,
            (std::vector<std::int64_t>{CodificaDia(31, 12, 2026), CodificaDia(5, 6, 2027), 3, 4, 1}));
  QMX_BuscaHistorico(55519, 2, 123456789u);
  EXPECT_EQ(m_host.historicoVisto, (std::vector<std::int64_t>{123456789u, 55519, 2}));
}

TEST_F(Exportacoes, SpedFiscalRecusaPonteiroNuloSemAbrirDialogo) {
  EXPECT_FALSE(QMX_SpedFiscal(nullptr, 1, 1, 1, 2));
  EXPECT_TRUE(m_host.Dialogos().empty());
  char* caminho = reinterpret_cast<char*>(0x1);
  EXPECT_FALSE(QMX_SpedFiscal(&caminho, 1, 1, 1, 2));  // no file produced
  EXPECT_EQ(caminho, reinterpret_cast<char*>(0x1));
  EXPECT_EQ(m_host.Dialogos().size(), 1u);
}

// A dialog whose start-up fails: the fault is reported and the launcher
// still restores the resources on its way out. One whose initialisation is
// refused is not opened at all.
class DialogoQueFalha : public ui::CDialogo {
 public:
  DialogoQueFalha() : ui::CDialogo(14031) {}
  bool Inicializa(const std::string&, std::uint16_t, std::int32_t) { return true; }

 protected:
  bool OnInitDialog() override { throw std::runtime_error("servidor caiu"); }
};

TEST_F(Exportacoes, ExcecaoNoDialogoRestauraRecursosEInicializacaoRecusadaNaoAbre) {
  EXPECT_EQ(LancaDialogo<DialogoQueFalha>([](DialogoQueFalha&, const TriploConexao&) { return false; }), 0);
  EXPECT_TRUE(m_host.Dialogos().empty());
  ui::ModuloRecursos programa("programa");
  ui::DefineRecursoAtual(programa);
  EXPECT_THROW(LancaDialogo<DialogoQueFalha>([](DialogoQueFalha& d, const TriploConexao& t) {
                 return d.Inicializa(t.chaveEmpresa, t.usuario, t.contexto);
               }),
               std::runtime_error);
  EXPECT_EQ(&ui::RecursoAtual(), &programa);
  ui::DefineRecursoAtual(ui::ModuloPrograma());
}

// Null and empty texts where the caller passes texts or buffers: nothing
// crashes, and only the null pointers the surface names are refused.
TEST(ExportacoesComNulos, NenhumaCaiComTextoOuBufferNulo) {
  ui::HostRoteirizado host;
  ui::HostTemporario ativo(host);
  const std::vector<bool> resultados{
      QMX_Inicializa(nullptr, 0, 0) != 0, QMX_SetDiretorio(nullptr) != 0, QMX_SetFilial(0, 0, nullptr) != 0,
      QMX_DescricaoUltimoCOO(3, nullptr) != 0, QMX_PegaECFAtivo(nullptr) != 0, QMX_GetEmissora(nullptr) != 0,
      QMX_GerarMD5_Arquivo(nullptr, nullptr) != 0, QMX_GerarMD5_Arquivo("", nullptr) != 0,
      QMX_GerarMD5_String(nullptr, nullptr) != 0, QMX_GerarMD5_StringMD5(nullptr, nullptr) != 0,
      QMX_GerarMD5_PAFECF(nullptr, 0) != 0, QMX_GerarMD5_NotaFiscal(nullptr, 1) != 0,
      QMX_MontaSenha(1, 2, nullptr) != 0, QMX_DesmontaSenha(nullptr, nullptr, nullptr) != 0,
      QMX_Criptografar(1, 2, nullptr, nullptr, nullptr, nullptr) != 0,
      QMX_Descriptografar(nullptr, nullptr, nullptr, nullptr, nullptr) != 0, QMX_LMF(nullptr) != 0,
      QMX_AssinarArquivo("") != 0};
  EXPECT_EQ(resultados, (std::vector<bool>{true, true, true, true, true, true, true, true, true, true, false, false,
                                           true, true, true, true, false, false}));
  CriptografarTexto(nullptr, 10, 1);
  EXPECT_EQ(MontaData(65535, true).size(), 10u);
}

}  // namespace
