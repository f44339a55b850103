#include "apoio/VerificaEAD.h"

#include <algorithm>
#include <cstdlib>

#include "apoio/PastaTemporaria.h"
#include "plataforma/cripto/ChavePublica.h"
#include "plataforma/cripto/Cripto.h"

namespace qmx::testes {

constexpr size_t kLinhaEAD = 3 + 256 + 2;

std::string BlocoDaAssinatura(const std::string& conteudo) {
  if (conteudo.size() < kLinhaEAD) return {};
  PastaTemporaria pasta;
  std::string binario;
  const std::string hex = conteudo.substr(conteudo.size() - 258, 256);
  for (size_t i = 0; i < hex.size(); i += 2) binario += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
#if defined(_WIN32)
  // No openssl command there: the system's own RSA (CNG) does the public
  // operation, with the published key read from its PEM file.
  const auto chave = cripto::LeChavePublicaPEM(PastaTemporaria::Le(QMX_CHAVE_PUBLICA));
  if (!chave) return {};
  const auto bloco = cripto::PublicaSemPreenchimento(
      chave->modulo, chave->expoente,
      {reinterpret_cast<const unsigned char*>(binario.data()), binario.size()});
  return bloco ? std::string(bloco->begin(), bloco->end()) : std::string();
#else
  const std::string assinatura = pasta.Grava("assinatura.bin", binario);
  const std::string comando = "openssl pkeyutl -verifyrecover -pubin -inkey '" + std::string(QMX_CHAVE_PUBLICA) +
                              "' -pkeyopt rsa_padding_mode:none -in '" + assinatura +
                              "' -out '" + pasta.Caminho("bloco.bin") + "' 2>/dev/null";
  if (std::system(comando.c_str()) != 0) return {};
  return PastaTemporaria::Le(pasta.Caminho("bloco.bin"));
#endif
}

bool AssinaturaConfereNaLinhaDeComando(const std::string& conteudo) {
  const std::string bloco = BlocoDaAssinatura(conteudo);
  if (bloco.size() != 128) return false;
  std::string esperado(128, '\0');
  esperado[0] = 16;
  const auto digest = cripto::CalculaMD5(conteudo.data(), conteudo.size() - kLinhaEAD);
  if (!digest) return false;
  std::copy(digest->begin(), digest->end(), esperado.begin() + 1);
  return bloco == esperado;
}

}  // namespace qmx::testes
