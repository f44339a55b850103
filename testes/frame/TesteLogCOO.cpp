#include <gtest/gtest.h>

#include <string>

#include "frame/QMXUTIL.h"

namespace {

std::string Descricao(int codigo) {
  const char* texto = nullptr;
  EXPECT_TRUE(QMX_DescricaoUltimoCOO(static_cast<std::uint8_t>(codigo), &texto));
  return texto ? texto : "(nulo)";
}

// Index = operation code; 0 and everything past the table have none.
TEST(DescricaoUltimoCOO, TodosOsCodigos) {
  const char* const textos[] = {
      "COO - Não identificado",
      "Abertura do Dia",
      "Leitura X",
      "Suprimento",
      "Sangria",
      "Cupom Fiscal - Abertura",
      "Relatório Gerencial",
      "Relatório Gerencial TEF",
      "Redução Z",
      "Cancelamento Cupom Fiscal Anterior",
      "Cupom Fiscal - Cancelado",
      "Leitura Memória Fiscal - Data",
      "Leitura Memória Fiscal - Redução",
      "Relatório Gerencial - Retirada de Cheques",
      "Relatório Gerencial - Pré-Vendas emitidas",
      "Suporte ZT Redudeva",
      "ECF Replicado - Base Local",
      "ECF Replicado - Base Servidor",
      "Cupom Fiscal - Finalização",
      "Cupom Fiscal - Pré-Venda - Abertura",
      "Comprovante Não Fiscal Vinculado",
      "Fechamento do Dia",
      "Fechamento do Dia - ERRO",
      "Fechamento do Dia - OK",
      "Mapa Resumo - ERRO",
      "Mapa Resumo - OK",
      "Inf. Mapa Resumo",
      "Inf. Mapa Resumo - ERRO",
      "Rel. Mestre Tipo 60 (Geração) - ERRO",
      "Rel. Mestre Tipo 60 (Processo) - ERRO",
      "Rel. Mestre Tipo 60 - OK",
      "Leitura X - Troca de Operador",
      "Fechamento Dia - ERRO Existe Impressoras",
      "Cupom Fiscal - DAV - Abertura",
      "Entrada de Operador",
      "Saída de Operador",
      "Cessação de Uso da Impressora",
      "Habilitação de Uso da Impressora",
      "Relatório Gerencial - Impressao DAV",
  };
  static_assert(std::size(textos) == 39);
  for (int codigo = 0; codigo < 256; ++codigo)
    EXPECT_EQ(Descricao(codigo), codigo < 39 ? textos[codigo] : textos[0]) << codigo;
  // Windows-1252 bytes, one per accented letter.
  EXPECT_EQ(Descricao(36), "Cessa\xE7\xE3o de Uso da Impressora");
  // Constants of the library: the same pointer every time.
  const char* primeiro = nullptr;
  const char* segundo = nullptr;
  QMX_DescricaoUltimoCOO(5, &primeiro);
  QMX_DescricaoUltimoCOO(5, &segundo);
  EXPECT_EQ(primeiro, segundo);
}

}  // namespace
