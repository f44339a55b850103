#include "cli/VerificacaoEAD.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "plataforma/cripto/ChavePublica.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/texto/Hexadecimal.h"

namespace qmx::cli {
namespace {

}  // namespace

ResultadoVerificacao VerificaArquivo(const std::string& caminhoNativo) {
  std::ifstream arquivo(caminhoNativo, std::ios::binary);
  if (!arquivo) return ResultadoVerificacao::Ilegivel;
  std::stringstream leitura;
  leitura << arquivo.rdbuf();
  const std::string conteudo = leitura.str();

  // The file ends in its EAD line: "EAD", 256 hexadecimal digits, "\r\n".
  // The signature covers every byte before it (a file that had no final
  // line break got the line right after its last character).
  constexpr size_t kTamanhoLinha = 3 + 256 + 2;
  if (conteudo.size() < kTamanhoLinha) return ResultadoVerificacao::SemLinhaEAD;
  const size_t inicio = conteudo.size() - kTamanhoLinha;
  if (conteudo.compare(inicio, 3, "EAD") != 0 || conteudo.compare(conteudo.size() - 2, 2, "\r\n") != 0)
    return ResultadoVerificacao::SemLinhaEAD;
  unsigned char assinatura[128];
  for (size_t i = 0; i < 128; ++i) {
    const int alto = texto::ValorHex(conteudo[inicio + 3 + 2 * i]);
    const int baixo = texto::ValorHex(conteudo[inicio + 4 + 2 * i]);
    if (alto < 0 || baixo < 0) return ResultadoVerificacao::SemLinhaEAD;
    assinatura[i] = static_cast<unsigned char>(alto * 16 + baixo);
  }

  const auto digest = cripto::CalculaMD5(conteudo.data(), inicio);
  if (!digest) return ResultadoVerificacao::Ilegivel;
  unsigned char esperado[128] = {16};
  std::copy(digest->begin(), digest->end(), esperado + 1);

  const auto chave = cripto::LeChavePublicaPEM(kChavePublicaPEM);
  if (!chave) return ResultadoVerificacao::Ilegivel;
  const auto bloco = cripto::PublicaSemPreenchimento(chave->modulo, chave->expoente, {assinatura, sizeof assinatura});
  if (!bloco || bloco->size() != 128) return ResultadoVerificacao::Invalida;
  return std::equal(bloco->begin(), bloco->end(), esperado) ? ResultadoVerificacao::Valida
                                                            : ResultadoVerificacao::Invalida;
}

}  // namespace qmx::cli
