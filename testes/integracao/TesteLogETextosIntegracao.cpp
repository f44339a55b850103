// The integration log (its line, appends shared between processes, the
// operator's box when there is no file) and the servers' code tables.
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <set>
#include <sstream>

#include "apoio/Caixas.h"
#include "apoio/PastaTemporaria.h"
#include "frame/RelogioBiblioteca.h"
#include "integracao/LogIntegracao.h"
#include "integracao/TextosIntegracao.h"
#include "plataforma/ui/HostRoteirizado.h"

using namespace qmx;
using namespace qmx::testes;

namespace {

// The machine's clock stopped at 07/03/2026 09:05:04 local time.
class RelogioParado {
 public:
  RelogioParado()
      : m_substituido([] {
          const SYSTEMTIME campos{.wYear = 2026, .wMonth = 3, .wDay = 7, .wHour = 9, .wMinute = 5, .wSecond = 4};
          InstanteSistema agora;
          SystemTimeToFileTime(campos, agora.local);
          return agora;
        }) {}

 private:
  RelogioSistemaSubstituido m_substituido;
};

TEST(LogIntegracao, LinhaComDataEHoraDoRelogioAcrescentadaAoArquivo) {
  RelogioParado relogio;
  PastaTemporaria pasta;
  const auto arquivo = pasta.Pasta() / "integra.log";
  { std::ofstream(arquivo, std::ios::binary) << "linha anterior\r\n"; }
  CLogIntegracao log(arquivo.string());
  EXPECT_TRUE(log.Escreve("Integrando com Contabilidade"));
  EXPECT_TRUE(log.Escreve("Não reintegrou Cupom Número: 7"));
  EXPECT_EQ(PastaTemporaria::Le(arquivo.string()),
            "linha anterior\r\n07/03/26 09:05:04 Integrando com Contabilidade\r\n"
            "07/03/26 09:05:04 Não reintegrou Cupom Número: 7\r\n");
  // A folder gets the log file inside it.
  CLogIntegracao naPasta(pasta.Pasta().string());
  EXPECT_TRUE(naPasta.Escreve("x"));
  EXPECT_EQ(PastaTemporaria::Le((pasta.Pasta() / "QMXIntegracao.log").string()), "07/03/26 09:05:04 x\r\n");
}

TEST(LogIntegracao, SemArquivoOuSemPastaOTextoVaiAoOperador) {
  ui::HostRoteirizado host;
  ui::HostTemporario ativo(host);
  PastaTemporaria pasta;
  EXPECT_TRUE(CLogIntegracao().Escreve("sem arquivo"));
  EXPECT_FALSE(CLogIntegracao((pasta.Pasta() / "nao-existe" / "a.log").string()).Escreve("pasta que falta"));
  EXPECT_EQ(TextosCaixas(host), (std::vector<std::string>{"sem arquivo", "pasta que falta"}));
  EXPECT_FALSE(std::filesystem::exists(pasta.Pasta() / "nao-existe"));
}

#if !defined(_WIN32)  // two writer processes made with fork
TEST(LogIntegracao, DoisProcessosEscrevendoAoMesmoTempoNaoPerdemLinha) {
  PastaTemporaria pasta;
  const auto arquivo = pasta.Pasta() / "integra.log";
  constexpr int kLinhas = 2000;
  pid_t filhos[2];
  for (int p = 0; p < 2; ++p) {
    filhos[p] = fork();
    if (filhos[p] == 0) {
      CLogIntegracao log(arquivo.string());
      for (int i = 0; i < kLinhas; ++i) log.Escreve("processo " + std::to_string(p) + " linha " + std::to_string(i));
      _exit(0);
    }
  }
  for (pid_t filho : filhos) waitpid(filho, nullptr, 0);
  std::istringstream linhas(PastaTemporaria::Le(arquivo.string()));
  std::set<std::string> vistas;
  std::string linha;
  while (std::getline(linhas, linha)) {
    ASSERT_EQ(linha.back(), '\r');
    vistas.insert(linha.substr(18, linha.size() - 19));
  }
  EXPECT_EQ(vistas.size(), 2u * kLinhas);
  EXPECT_TRUE(vistas.count("processo 1 linha 1999"));
}
#endif  // !_WIN32

TEST(TextosIntegracao, TabelaDeStatusDoFiscal) {
  const std::string geral = "Erro não identificado. Verifique as configurações de integração com seu canal.";
  struct Caso {
    std::uint16_t codigo;
    std::string texto;
  } casos[] = {
      {0, geral}, {1, "Erro na inicialização do servidor de propriedades"},
      {49, "Erro na comunicação do servidor de filiais"}, {51, "Erro na comunicação do servidor de filiais"},
      {74, "Erro ao ler município"}, {75, geral}, {77, geral}, {78, "Erro ao setar dados de comissões"},
      {90, "Erro ao setar dados de modais"}, {91, geral}, {99, geral}, {100, "Erro ao gravar dados de modais"},
      {112, "Erro ao gravar dados de detalhamentos de importação - serviços"}, {113, geral},
      {2008, "Campo Filial não foi informado "}, {2020, "Natureza inválida (Natureza X Estado)"}, {2028, geral},
      {2034, geral}, {2053, "Erro ao excluir do Financeiro "}, {2060, geral}, {2098, geral}, {2342, geral},
      {2343, "Atingido limite de quantidade de lançamentos no Torvo Lumeo."},
      {6006, "Estado do veículo não cadastrado"}, {6007, geral}, {8361, "Conta contábil inexistente"}, {65535, geral},
  };
  for (const auto& c : casos) EXPECT_EQ(TextoStatusFiscal(c.codigo), c.texto) << c.codigo;
  int listados = 0;
  for (std::uint32_t codigo = 0; codigo <= 65535; ++codigo)
    if (TextoStatusFiscal(static_cast<std::uint16_t>(codigo)) != geral) ++listados;
  EXPECT_EQ(listados, 187);
}

}  // namespace
