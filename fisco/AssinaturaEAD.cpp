#include "fisco/AssinaturaEAD.h"

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rsa.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "fisco/ArquivoInteiro.h"
#include "fisco/ArquivoMapeado.h"
#include "fisco/BlocoSecreto.h"

namespace qmx {
namespace {

struct LiberaBN {
  void operator()(BIGNUM* n) const { BN_clear_free(n); }
};
struct LiberaChave {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct LiberaContexto {
  void operator()(EVP_PKEY_CTX* c) const { EVP_PKEY_CTX_free(c); }
};
struct LiberaConstrutor {
  void operator()(OSSL_PARAM_BLD* b) const { OSSL_PARAM_BLD_free(b); }
};
struct LiberaParametros {
  void operator()(OSSL_PARAM* p) const { OSSL_PARAM_free(p); }
};
using BN = std::unique_ptr<BIGNUM, LiberaBN>;
using Chave = std::unique_ptr<EVP_PKEY, LiberaChave>;

// Gathers the key from the secret block and builds a fresh key object from
// its parts, in the order and sizes the block keeps them. The gathered bytes
// are wiped before returning.
Chave MontaChave() {
  unsigned char bytes[kTamanhoChave];
  for (int i = 0; i < kTamanhoChave; ++i) bytes[i] = kBlocoSecreto[kPosicoesChave[i]];
  static constexpr struct {
    const char* nome;
    int tamanho;
  } kPartes[] = {
      {OSSL_PKEY_PARAM_RSA_N, 128},         {OSSL_PKEY_PARAM_RSA_E, 3},
      {OSSL_PKEY_PARAM_RSA_D, 128},         {OSSL_PKEY_PARAM_RSA_FACTOR1, 64},
      {OSSL_PKEY_PARAM_RSA_FACTOR2, 64},    {OSSL_PKEY_PARAM_RSA_EXPONENT1, 64},
      {OSSL_PKEY_PARAM_RSA_EXPONENT2, 64},  {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, 64},
  };
  std::unique_ptr<OSSL_PARAM_BLD, LiberaConstrutor> construtor(OSSL_PARAM_BLD_new());
  BN numeros[8];
  int deslocamento = 0;
  bool ok = construtor != nullptr;
  for (int i = 0; i < 8 && ok; ++i) {
    numeros[i].reset(BN_bin2bn(bytes + deslocamento, kPartes[i].tamanho, nullptr));
    deslocamento += kPartes[i].tamanho;
    ok = numeros[i] && OSSL_PARAM_BLD_push_BN(construtor.get(), kPartes[i].nome, numeros[i].get()) == 1;
  }
  OPENSSL_cleanse(bytes, sizeof bytes);
  if (!ok) return nullptr;
  std::unique_ptr<OSSL_PARAM, LiberaParametros> parametros(OSSL_PARAM_BLD_to_param(construtor.get()));
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  EVP_PKEY* chave = nullptr;
  if (!parametros || !contexto || EVP_PKEY_fromdata_init(contexto.get()) != 1 ||
      EVP_PKEY_fromdata(contexto.get(), &chave, EVP_PKEY_KEYPAIR, parametros.get()) != 1)
    return nullptr;
  return Chave(chave);
}

}  // namespace

std::size_t AssinaturaEAD::TamanhoCoberto(std::string_view conteudo) {
  if (conteudo.size() <= 3) return conteudo.size();
  // The last line: after the last line break found looking back from the
  // third byte before the end (so the EAD line's own "\r\n" is skipped).
  size_t inicio = 0;
  for (size_t i = conteudo.size() - 3 + 1; i-- > 0;)
    if (conteudo[i] == '\n') {
      inicio = i + 1;
      break;
    }
  return conteudo.compare(inicio, 3, "EAD") == 0 ? inicio : conteudo.size();
}

std::optional<AssinaturaEAD::Bloco> AssinaturaEAD::BlocoDe(std::string_view conteudo) {
  Bloco bloco{};
  unsigned int tamanho = 0;
  if (EVP_Digest(conteudo.data(), conteudo.size(), bloco.data() + 1, &tamanho, EVP_md5(), nullptr) != 1 ||
      tamanho != 16)
    return std::nullopt;
  bloco[0] = 16;
  return bloco;
}

std::optional<AssinaturaEAD::Bloco> AssinaturaEAD::Assina(const Bloco& bloco) {
  Chave chave = MontaChave();
  if (!chave) return std::nullopt;
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_pkey(nullptr, chave.get(), nullptr));
  Bloco assinatura{};
  size_t tamanho = assinatura.size();
  if (!contexto || EVP_PKEY_sign_init(contexto.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) != 1 ||
      EVP_PKEY_sign(contexto.get(), assinatura.data(), &tamanho, bloco.data(), bloco.size()) != 1 ||
      tamanho != assinatura.size())
    return std::nullopt;
  return assinatura;
}

std::string AssinaturaEAD::LinhaEAD(const Bloco& assinatura) {
  std::string linha = "EAD";
  char hex[3];
  for (unsigned char byte : assinatura) {
    std::snprintf(hex, sizeof hex, "%02x", byte);
    linha += hex;
  }
  return linha + "\r\n";
}

// The file is mapped rather than read: the digest and the copy into the new
// file then cost no copy in user memory, so signing costs little more than
// the digest itself.
bool AssinaturaEAD::AssinaArquivo(const std::string& caminho) {
  const ArquivoMapeado arquivo(caminho);
  if (!arquivo.Aberto()) return false;
  const std::size_t coberto = TamanhoCoberto(arquivo.Conteudo());
  const auto bloco = BlocoDe(arquivo.Conteudo().substr(0, coberto));
  if (!bloco) return false;
  const auto assinatura = Assina(*bloco);
  if (!assinatura) return false;
  return ArquivoInteiro::Substitui(caminho, arquivo.Descritor(), coberto, LinhaEAD(*assinatura));
}

}  // namespace qmx
