#include "frame/QMXLogCOO.h"

namespace qmx {
namespace {

// Index = operation code; code 0 has no description.
constexpr const char* kDescricoes[] = {
    nullptr,
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

constexpr const char* kNaoIdentificado = "COO - Não identificado";
constexpr unsigned kUltimoCodigo = sizeof(kDescricoes) / sizeof(kDescricoes[0]) - 1;

}  // namespace

bool CQMXLogCOO::Descricao(std::uint8_t codigo, const char** descricao) const {
  const char* texto = (codigo >= 1 && codigo <= kUltimoCodigo) ? kDescricoes[codigo] : kNaoIdentificado;
  if (descricao) *descricao = texto;
  return true;
}

}  // namespace qmx
