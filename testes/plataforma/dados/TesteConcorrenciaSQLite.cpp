#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "apoio/EmpresaTeste.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/GravadorEmpresa.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

constexpr int kPorProcesso = 150;

// Writes its share of ECFs, one transaction each, reading the list back
// between writes; exits 0 only when every write and read succeeded.
[[noreturn]] void Trabalha(const std::string& chave, const std::string& endereco, int primeiro) {
  int falhas = 0;
  try {
    CGravadorEmpresa gravador(endereco, false);
    for (int i = 0; i < kPorProcesso; ++i) {
      REG_EMISSORPS e{.Numero = static_cast<std::uint16_t>(primeiro + i), .Filial = 1};
      Copia(e.NumeroSerie, "SERIE" + std::to_string(primeiro + i));
      gravador.Inicia();
      gravador.GravaEmissora(e);
      gravador.Confirma();
      CConexaoEmissora leitura;
      REG_EMISSORPS lido{};
      if (leitura.Inicializa(chave, 1, 0) != com::S_OK || leitura.Le(e.Numero, &lido) != com::S_OK ||
          lido.Numero != e.Numero)
        ++falhas;
    }
  } catch (...) {
    ++falhas;
  }
  _exit(falhas == 0 ? 0 : 1);
}

TEST(ConcorrenciaSQLite, DoisProcessosGravandoNaMesmaEmpresaNaoPerdemNada) {
  EmpresaTeste empresa;
  empresa.Filial(1, "Loja", "SP", "Razão");
  pid_t filhos[2];
  for (int p = 0; p < 2; ++p) {
    filhos[p] = fork();
    ASSERT_GE(filhos[p], 0);
    if (filhos[p] == 0) Trabalha(empresa.Chave(), empresa.Endereco(), 1 + p * 1000);
  }
  for (pid_t filho : filhos) {
    int estado = 0;
    ASSERT_EQ(waitpid(filho, &estado, 0), filho);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
  CConexaoEmissora conexao;
  ASSERT_EQ(conexao.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> todas;
  ASSERT_EQ(conexao.Lista(&quantidade, &todas), com::S_OK);
  EXPECT_EQ(quantidade, 2 * kPorProcesso);
  EXPECT_STREQ(todas.back().NumeroSerie, ("SERIE" + std::to_string(1000 + kPorProcesso)).c_str());
}

}  // namespace
