#include "cli/VerificacaoEAD.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "plataforma/cripto/ChavePublica.h"
#include "plataforma/texto/Hexadecimal.h"

namespace qmx::cli {

ResultadoVerificacao VerificaAssinatura(const cripto::DigestMD5& digest, std::string_view linhaEAD,
                                        std::string_view chavePEM) {
  if (linhaEAD.size() != 3 + 256 || linhaEAD.substr(0, 3) != "EAD") return ResultadoVerificacao::SemLinhaEAD;
  unsigned char assinatura[128];
  for (size_t i = 0; i < 128; ++i) {
    const int alto = texto::ValorHex(linhaEAD[3 + 2 * i]);
    const int baixo = texto::ValorHex(linhaEAD[4 + 2 * i]);
    if (alto < 0 || baixo < 0) return ResultadoVerificacao::SemLinhaEAD;
    assinatura[i] = static_cast<unsigned char>(alto * 16 + baixo);
  }
  unsigned char esperado[128] = {16};
  std::copy(digest.begin(), digest.end(), esperado + 1);
  const auto chave = cripto::LeChavePublicaPEM(chavePEM.empty() ? std::string_view(kChavePublicaPEM) : chavePEM);
  if (!chave) return ResultadoVerificacao::Ilegivel;
  const auto bloco = cripto::PublicaSemPreenchimento(chave->modulo, chave->expoente, {assinatura, sizeof assinatura});
  if (!bloco || bloco->size() != 128) return ResultadoVerificacao::Invalida;
  return std::equal(bloco->begin(), bloco->end(), esperado) ? ResultadoVerificacao::Valida
                                                            : ResultadoVerificacao::Invalida;
}

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
  if (conteudo.compare(conteudo.size() - 2, 2, "\r\n") != 0) return ResultadoVerificacao::SemLinhaEAD;
  const auto digest = cripto::CalculaMD5(conteudo.data(), inicio);
  if (!digest) return ResultadoVerificacao::Ilegivel;
  return VerificaAssinatura(*digest, std::string_view(conteudo).substr(inicio, 3 + 256));
}

}  // namespace qmx::cli
