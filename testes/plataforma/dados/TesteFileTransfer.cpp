#include <gtest/gtest.h>

#include <filesystem>

#include "apoio/EmpresaTeste.h"
#include "plataforma/dados/ConexaoFileTransfer.h"

using namespace qmx;
using namespace qmx::dados;
using namespace qmx::testes;

namespace {

TEST(FileTransfer, GuardaOArquivoNaPastaDaEmpresaComONomeRelativo) {
  EmpresaTeste empresa;
  const auto local = empresa.Pasta().Grava("txtA1.tmp", "linha 1\r\nEAD0123\r\n");
  CConexaoFileTransfer transferencia;
  EXPECT_EQ(transferencia.Write(5, local.c_str(), 3, "x.txt"), com::RPC_S_SERVER_UNAVAILABLE);
  ASSERT_EQ(transferencia.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  ASSERT_EQ(transferencia.Write(5, local.c_str(), 3, "Arquivos-Eletronicos\\DAVs-1-01012024-31012024.txt"),
            com::S_OK);
  const auto destino = empresa.PastaEC() / "Arquivos-Eletronicos" / "DAVs-1-01012024-31012024.txt";
  EXPECT_EQ(PastaTemporaria::Le(destino.string()), "linha 1\r\nEAD0123\r\n");

  // Mode 3 replaces; nothing is left beside the file.
  const auto outro = empresa.Pasta().Grava("txtA2.tmp", "");
  ASSERT_EQ(transferencia.Write(5, outro.c_str(), 3, "Arquivos-Eletronicos\\DAVs-1-01012024-31012024.txt"), com::S_OK);
  EXPECT_EQ(PastaTemporaria::Le(destino.string()), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(destino.parent_path()), {}), 1);
  transferencia.Finaliza();
}

TEST(FileTransfer, RecusaArgumentosDesconhecidos) {
  EmpresaTeste empresa;
  const auto local = empresa.Pasta().Grava("txtB.tmp", "x");
  CConexaoFileTransfer transferencia;
  ASSERT_EQ(transferencia.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  EXPECT_EQ(transferencia.Write(5, local.c_str(), 3, "Arquivos-Eletronicos\\"), com::E_INVALIDARG);
  EXPECT_EQ(transferencia.Write(4, local.c_str(), 3, "a.txt"), com::E_INVALIDARG);
  EXPECT_EQ(transferencia.Write(5, local.c_str(), 1, "a.txt"), com::E_INVALIDARG);
  EXPECT_TRUE(com::FAILED(transferencia.Write(5, empresa.Pasta().Caminho("nao-ha").c_str(), 3, "a.txt")));
  EXPECT_FALSE(std::filesystem::exists(empresa.PastaEC() / "a.txt"));
  EXPECT_EQ(transferencia.Inicializa("OUTRA", 1, 0), com::RPC_S_SERVER_UNAVAILABLE);
}

}  // namespace
