#include "apoio/VerificaEAD.h"

#include <openssl/evp.h>

#include <cstdlib>

#include "apoio/PastaTemporaria.h"

namespace qmx::testes {

namespace {

constexpr size_t kLinhaEAD = 3 + 256 + 2;

}  // namespace

std::string BlocoDaAssinatura(const std::string& conteudo) {
  if (conteudo.size() < kLinhaEAD) return {};
  PastaTemporaria pasta;
  std::string binario;
  const std::string hex = conteudo.substr(conteudo.size() - 258, 256);
  for (size_t i = 0; i < hex.size(); i += 2) binario += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  const std::string assinatura = pasta.Grava("assinatura.bin", binario);
  const std::string comando = "openssl pkeyutl -verifyrecover -pubin -inkey '" + std::string(QMX_FONTES_RAIZ) +
                              "/recursos/chave-publica.pem' -pkeyopt rsa_padding_mode:none -in '" + assinatura +
                              "' -out '" + pasta.Caminho("bloco.bin") + "' 2>/dev/null";
  if (std::system(comando.c_str()) != 0) return {};
  return PastaTemporaria::Le(pasta.Caminho("bloco.bin"));
}

bool AssinaturaConfereNaLinhaDeComando(const std::string& conteudo) {
  const std::string bloco = BlocoDaAssinatura(conteudo);
  if (bloco.size() != 128) return false;
  std::string esperado(128, '\0');
  esperado[0] = 16;
  unsigned int n = 0;
  EVP_Digest(conteudo.data(), conteudo.size() - kLinhaEAD, reinterpret_cast<unsigned char*>(esperado.data()) + 1, &n,
             EVP_md5(), nullptr);
  return bloco == esperado;
}

}  // namespace qmx::testes
