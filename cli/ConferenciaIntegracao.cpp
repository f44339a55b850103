#include "cli/ConferenciaIntegracao.h"

#include <cstdio>

#include "cli/Apresentacao.h"
#include "integracao/ConferenciaIntegracao.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::cli {

namespace {

std::string Coluna(const std::string& texto, int largura) {
  char linha[128];
  std::snprintf(linha, sizeof linha, "%-*s", largura, texto.c_str());
  return linha;
}

}  // namespace

bool MostraConferencia(std::ostream& saida, const std::string& empresa, NumeroDia data, std::uint16_t ecf,
                       const std::string& recuo) {
  const auto r = CConferenciaIntegracao({empresa, 1, 0}).Confere(data, ecf);
  saida << recuo << "Conferência da integração financeira de " << TextoData(data, true) << " do ECF " << ecf << "\n";
  if (!r.lido) {
    saida << recuo << "  " << r.erro << "\n";
    return false;
  }
  if (!r.integrado && !r.formas.empty()) saida << recuo << "  o dia não foi integrado com o financeiro\n";
  saida << recuo << "  " << Coluna("forma", 20) << Coluna("cupons", 16) << Coluna("títulos", 22)
        << Coluna("total do dia", 16) << "diferença\n";
  for (const auto& [codigo, f] : r.formas) {
    const std::int64_t diferenca = f.recebido - f.titulos - f.totalDoDia;
    saida << recuo << "  " << Coluna(f.nome, 20) << Coluna(FormataValor(f.recebido), 16)
          << Coluna(FormataValor(f.titulos) + " (" + std::to_string(f.quantidadeTitulos) + ")", 22)
          << Coluna(FormataValor(f.totalDoDia), 16) << FormataValor(diferenca) << "\n";
  }
  const auto& c = r.contabil;
  saida << recuo << "  lançamentos do financeiro: débitos " << FormataValor(c.debitos) << ", créditos "
        << FormataValor(c.creditos) << "\n";
  if (c.contabilizado)
    saida << recuo << "  conta transitória de vendas: débitos da contabilidade " << FormataValor(c.transitoriaDebitada)
          << ", créditos do financeiro " << FormataValor(c.transitoriaCreditada) << ", diferença "
          << FormataValor(c.transitoriaDebitada - c.transitoriaCreditada) << "\n";
  else
    saida << recuo << "  a contabilidade do dia não foi integrada: a conta transitória não é conferida\n";
  if (c.titulosSemLancamento) saida << recuo << "  títulos sem lançamento: " << c.titulosSemLancamento << "\n";
  if (c.lancamentosSemTitulo) saida << recuo << "  lançamentos sem título: " << c.lancamentosSemTitulo << "\n";
  for (const auto& [conta, valores] : c.liquidacao)
    saida << recuo << "  recebido à vista em " << Coluna(conta, 12) << Coluna(FormataValor(valores.first), 16)
          << "liquidado no caixa " << Coluna(FormataValor(valores.second), 16) << "diferença "
          << FormataValor(valores.first - valores.second) << "\n";
  const bool confere = r.Confere();
  saida << recuo << "  " << (confere ? "confere: cada pagamento está uma vez na retaguarda" : "NÃO CONFERE") << "\n";
  return confere;
}

}  // namespace qmx::cli
