#include <gtest/gtest.h>

#include <string>

#include "frame/QMXUTIL.h"

namespace {

std::string Descricao(int codigo) {
  const char* texto = nullptr;
  EXPECT_TRUE(QMX_DescricaoUltimoCOO(static_cast<std::uint8_t>(codigo), &texto));
  return texto ? texto : "(nulo)";
}

// Index = operation code; 0 and everything past the table have none. The
// ends of the table, its neighbours and a text with accents (Windows-1252,
// a byte each) stand for the rest: the demonstration prints them all.
TEST(DescricaoUltimoCOO, CodigosDasPontasEForaDaTabela) {
  const struct {
    int codigo;
    const char* texto;
  } casos[] = {{0, "COO - N\xE3o identificado"},  {1, "Abertura do Dia"},
               {8, "Redu\xE7\xE3o Z"},          {31, "Leitura X - Troca de Operador"},
               {36, "Cessa\xE7\xE3o de Uso da Impressora"}, {38, "Relat\xF3rio Gerencial - Impressao DAV"},
               {39, "COO - N\xE3o identificado"}, {255, "COO - N\xE3o identificado"}};
  for (const auto& c : casos) EXPECT_EQ(Descricao(c.codigo), c.texto) << c.codigo;
  // Constants of the library: the same pointer every time.
  const char* primeiro = nullptr;
  const char* segundo = nullptr;
  QMX_DescricaoUltimoCOO(5, &primeiro);
  QMX_DescricaoUltimoCOO(5, &segundo);
  EXPECT_EQ(primeiro, segundo);
}

}  // namespace
