#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>

#include "plataforma/cripto/Cripto.h"

namespace qmx::cripto {

struct MD5::Estado {
  EVP_MD_CTX* contexto = EVP_MD_CTX_new();
  bool ok = contexto && EVP_DigestInit_ex(contexto, EVP_md5(), nullptr) == 1;
  ~Estado() { EVP_MD_CTX_free(contexto); }
};

MD5::MD5() : m_estado(std::make_unique<Estado>()) {}
MD5::~MD5() = default;

bool MD5::Acrescenta(const void* dados, std::size_t tamanho) {
  m_estado->ok = m_estado->ok && EVP_DigestUpdate(m_estado->contexto, dados, tamanho) == 1;
  return m_estado->ok;
}

std::optional<DigestMD5> MD5::Finaliza() {
  DigestMD5 digest{};
  unsigned int comprimento = 0;
  if (!m_estado->ok || EVP_DigestFinal_ex(m_estado->contexto, digest.data(), &comprimento) != 1 ||
      comprimento != digest.size())
    return std::nullopt;
  m_estado->ok = false;
  return digest;
}

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
using Texto = std::basic_string_view<unsigned char>;

// A key object built from its big-endian parts (name, bytes).
Chave MontaChave(const std::vector<std::pair<const char*, Texto>>& partes, int selecao) {
  std::unique_ptr<OSSL_PARAM_BLD, LiberaConstrutor> construtor(OSSL_PARAM_BLD_new());
  std::vector<BN> numeros;
  bool ok = construtor != nullptr;
  for (const auto& [nome, bytes] : partes) {
    if (!ok) break;
    numeros.emplace_back(BN_bin2bn(bytes.data(), static_cast<int>(bytes.size()), nullptr));
    ok = numeros.back() && OSSL_PARAM_BLD_push_BN(construtor.get(), nome, numeros.back().get()) == 1;
  }
  if (!ok) return nullptr;
  std::unique_ptr<OSSL_PARAM, LiberaParametros> parametros(OSSL_PARAM_BLD_to_param(construtor.get()));
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
  EVP_PKEY* chave = nullptr;
  if (!parametros || !contexto || EVP_PKEY_fromdata_init(contexto.get()) != 1 ||
      EVP_PKEY_fromdata(contexto.get(), &chave, selecao, parametros.get()) != 1)
    return nullptr;
  return Chave(chave);
}

}  // namespace

std::optional<std::vector<unsigned char>> PrivadaSemPreenchimento(const PartesRSA& chave, Texto bloco) {
  Chave objeto = MontaChave({{OSSL_PKEY_PARAM_RSA_N, chave.modulo},
                             {OSSL_PKEY_PARAM_RSA_E, chave.expoentePublico},
                             {OSSL_PKEY_PARAM_RSA_D, chave.expoentePrivado},
                             {OSSL_PKEY_PARAM_RSA_FACTOR1, chave.primo1},
                             {OSSL_PKEY_PARAM_RSA_FACTOR2, chave.primo2},
                             {OSSL_PKEY_PARAM_RSA_EXPONENT1, chave.expoente1},
                             {OSSL_PKEY_PARAM_RSA_EXPONENT2, chave.expoente2},
                             {OSSL_PKEY_PARAM_RSA_COEFFICIENT1, chave.coeficiente}},
                            EVP_PKEY_KEYPAIR);
  if (!objeto) return std::nullopt;
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_pkey(nullptr, objeto.get(), nullptr));
  std::vector<unsigned char> saida(chave.modulo.size());
  size_t tamanho = saida.size();
  if (!contexto || EVP_PKEY_sign_init(contexto.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) != 1 ||
      EVP_PKEY_sign(contexto.get(), saida.data(), &tamanho, bloco.data(), bloco.size()) != 1 ||
      tamanho != saida.size())
    return std::nullopt;
  return saida;
}

std::optional<std::vector<unsigned char>> PublicaSemPreenchimento(Texto modulo, Texto expoente, Texto bloco) {
  Chave objeto = MontaChave({{OSSL_PKEY_PARAM_RSA_N, modulo}, {OSSL_PKEY_PARAM_RSA_E, expoente}},
                            EVP_PKEY_PUBLIC_KEY);
  if (!objeto) return std::nullopt;
  std::unique_ptr<EVP_PKEY_CTX, LiberaContexto> contexto(EVP_PKEY_CTX_new_from_pkey(nullptr, objeto.get(), nullptr));
  std::vector<unsigned char> saida(modulo.size());
  size_t tamanho = saida.size();
  if (!contexto || EVP_PKEY_verify_recover_init(contexto.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) != 1 ||
      EVP_PKEY_verify_recover(contexto.get(), saida.data(), &tamanho, bloco.data(), bloco.size()) != 1 ||
      tamanho != saida.size())
    return std::nullopt;
  return saida;
}

bool PBKDF2SHA256(std::string_view senha, std::string_view sal, unsigned iteracoes, unsigned char* saida,
                  std::size_t tamanho) {
  return PKCS5_PBKDF2_HMAC(senha.data(), static_cast<int>(senha.size()),
                           reinterpret_cast<const unsigned char*>(sal.data()), static_cast<int>(sal.size()),
                           static_cast<int>(iteracoes), EVP_sha256(), static_cast<int>(tamanho), saida) == 1;
}

bool BytesAleatorios(unsigned char* saida, std::size_t tamanho) {
  return RAND_bytes(saida, static_cast<int>(tamanho)) == 1;
}

}  // namespace qmx::cripto
