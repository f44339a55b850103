#include <gtest/gtest.h>

#include <cstring>

#include "frame/QMXUTIL.h"

namespace {

std::string Descricao(int codigo) {
  const char* texto = nullptr;
  EXPECT_TRUE(QMX_DescricaoUltimoCOO(static_cast<std::uint8_t>(codigo), &texto));
  return texto ? texto : "(nulo)";
}

TEST(DescricaoUltimoCOO, TextosDaTabela) {
  EXPECT_EQ(Descricao(1), "Abertura do Dia");
  EXPECT_EQ(Descricao(8), "Redução Z");
  EXPECT_EQ(Descricao(14), "Relatório Gerencial - Pré-Vendas emitidas");
  EXPECT_EQ(Descricao(32), "Fechamento Dia - ERRO Existe Impressoras");
  EXPECT_EQ(Descricao(38), "Relatório Gerencial - Impressao DAV");
  // The texts are Windows-1252 bytes: "ç" is one byte.
  EXPECT_EQ(Descricao(36), "Cessa\xE7\xE3o de Uso da Impressora");
}

TEST(DescricaoUltimoCOO, CodigosSemDescricao) {
  for (int codigo : {0, 39, 100, 255}) EXPECT_EQ(Descricao(codigo), "COO - Não identificado") << codigo;
}

TEST(DescricaoUltimoCOO, TextosSaoConstantesDaBiblioteca) {
  const char* primeiro = nullptr;
  const char* segundo = nullptr;
  QMX_DescricaoUltimoCOO(5, &primeiro);
  QMX_DescricaoUltimoCOO(5, &segundo);
  EXPECT_EQ(primeiro, segundo);
  std::string distintos;
  for (int codigo = 1; codigo <= 38; ++codigo) {
    const std::string texto = Descricao(codigo);
    EXPECT_NE(texto, "COO - Não identificado") << codigo;
    EXPECT_EQ(distintos.find("|" + texto + "|"), std::string::npos) << "repetido: " << texto;
    distintos += "|" + texto + "|";
  }
}

}  // namespace
