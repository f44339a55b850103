#include "cli/ConferenciaIntegracao.h"

#include <cstdio>

#include "cli/Apresentacao.h"
#include "integracao/ConferenciaIntegracao.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::cli {

namespace {

std::string Coluna(const std::string& texto, int largura) {
  char linha[160];
  std::snprintf(linha, sizeof linha, "%-*s", largura, texto.c_str());
  return linha;
}

}  // namespace

bool MostraConferencia(std::ostream& saida, const std::string& empresa, NumeroDia data, std::uint16_t ecf,
                       const std::string& recuo) {
  const auto r = CConferenciaIntegracao({empresa, 1, 0}).Confere(data, ecf);
  saida << recuo << "Conferência da integração de " << TextoData(data, true) << " do ECF " << ecf << "\n";
  if (!r.lido) {
    saida << recuo << "  " << r.erro << "\n";
    return false;
  }
  if (r.comparacoes.empty() && r.problemas.empty()) {
    saida << recuo << "  nenhum documento no dia\n";
    return true;
  }
  saida << recuo << "  " << Coluna("", 36) << Coluna("", 30) << Coluna("movimento", 16) << Coluna("retaguarda", 16)
        << "diferença\n";
  std::string grupo;
  for (const auto& c : r.comparacoes) {
    saida << recuo << "  " << Coluna(c.grupo == grupo ? "" : c.grupo, 36) << Coluna(c.item, 30)
          << Coluna(FormataValor(c.fonte), 16) << Coluna(FormataValor(c.livros), 16)
          << FormataValor(c.livros - c.fonte) << (c.Confere() ? "" : "  <-") << "\n";
    grupo = c.grupo;
  }
  for (const auto& p : r.problemas) saida << recuo << "  " << p << "\n";
  const bool confere = r.Confere();
  saida << recuo << "  "
        << (confere ? "confere: os livros do dia são os cupons, a redução Z e a gaveta" : "NÃO CONFERE") << "\n";
  return confere;
}

}  // namespace qmx::cli
