#include "cli/VerificacaoEAD.h"

#include "plataforma/texto/Hexadecimal.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

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

  unsigned char esperado[128] = {16};
  unsigned int tamanhoDigest = 0;
  if (EVP_Digest(conteudo.data(), inicio, esperado + 1, &tamanhoDigest, EVP_md5(), nullptr) != 1)
    return ResultadoVerificacao::Ilegivel;

  std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(kChavePublicaPEM, -1), BIO_free);
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> chave(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr),
                                                            EVP_PKEY_free);
  if (!chave) return ResultadoVerificacao::Ilegivel;
  std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> contexto(
      EVP_PKEY_CTX_new_from_pkey(nullptr, chave.get(), nullptr), EVP_PKEY_CTX_free);
  unsigned char bloco[128];
  size_t tamanho = sizeof bloco;
  if (!contexto || EVP_PKEY_verify_recover_init(contexto.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto.get(), RSA_NO_PADDING) != 1 ||
      EVP_PKEY_verify_recover(contexto.get(), bloco, &tamanho, assinatura, sizeof assinatura) != 1 ||
      tamanho != sizeof bloco)
    return ResultadoVerificacao::Invalida;
  return std::equal(bloco, bloco + 128, esperado) ? ResultadoVerificacao::Valida : ResultadoVerificacao::Invalida;
}

}  // namespace qmx::cli
