#include "plataforma/cripto/Cripto.h"

#include <windows.h>
#include <bcrypt.h>

#include <cstring>

#include "plataforma/cripto/ExponenciacaoModular.h"

namespace qmx::cripto {

namespace {

bool Ok(NTSTATUS estado) { return estado >= 0; }

// One provider handle per algorithm, opened on first use and kept: opening
// a CNG provider is the slow part of every operation.
BCRYPT_ALG_HANDLE Provedor(const wchar_t* algoritmo, ULONG flags = 0) {
  BCRYPT_ALG_HANDLE provedor = nullptr;
  return Ok(BCryptOpenAlgorithmProvider(&provedor, algoritmo, nullptr, flags)) ? provedor : nullptr;
}

BCRYPT_ALG_HANDLE ProvedorMD5() {
  static const BCRYPT_ALG_HANDLE provedor = Provedor(BCRYPT_MD5_ALGORITHM);
  return provedor;
}

BCRYPT_ALG_HANDLE ProvedorRSA() {
  static const BCRYPT_ALG_HANDLE provedor = Provedor(BCRYPT_RSA_ALGORITHM);
  return provedor;
}

BCRYPT_ALG_HANDLE ProvedorHMACSHA256() {
  static const BCRYPT_ALG_HANDLE provedor = Provedor(BCRYPT_SHA256_ALGORITHM, BCRYPT_ALG_HANDLE_HMAC_FLAG);
  return provedor;
}

using Texto = std::basic_string_view<unsigned char>;

void Junta(std::vector<unsigned char>& blob, Texto parte) { blob.insert(blob.end(), parte.begin(), parte.end()); }

// Imports a key blob (a BCRYPT_RSAKEY_BLOB header and its parts), runs the
// raw operation on the block and wipes the blob. `recusada` tells a system
// whose RSA does not do the raw operation at all (Wine's, for one).
std::optional<std::vector<unsigned char>> OperacaoBruta(std::vector<unsigned char>& blob, const wchar_t* tipo,
                                                        Texto bloco, std::size_t tamanhoModulo, bool privada,
                                                        bool& recusada) {
  recusada = false;
  BCRYPT_KEY_HANDLE chave = nullptr;
  const bool importada = ProvedorRSA() && Ok(BCryptImportKeyPair(ProvedorRSA(), nullptr, tipo, &chave, blob.data(),
                                                                  static_cast<ULONG>(blob.size()), 0));
  LimpaMemoria(blob.data(), blob.size());
  if (!importada) return std::nullopt;
  std::vector<unsigned char> entrada(bloco.begin(), bloco.end());
  std::vector<unsigned char> saida(tamanhoModulo);
  ULONG tamanho = 0;
  const NTSTATUS estado =
      privada ? BCryptDecrypt(chave, entrada.data(), static_cast<ULONG>(entrada.size()), nullptr, nullptr, 0,
                              saida.data(), static_cast<ULONG>(saida.size()), &tamanho, BCRYPT_PAD_NONE)
              : BCryptEncrypt(chave, entrada.data(), static_cast<ULONG>(entrada.size()), nullptr, nullptr, 0,
                              saida.data(), static_cast<ULONG>(saida.size()), &tamanho, BCRYPT_PAD_NONE);
  BCryptDestroyKey(chave);
  constexpr NTSTATUS kNaoImplementado = static_cast<NTSTATUS>(0xC0000002L);
  constexpr NTSTATUS kNaoSuportado = static_cast<NTSTATUS>(0xC00000BBL);
  recusada = estado == kNaoImplementado || estado == kNaoSuportado;
  if (!Ok(estado) || tamanho > saida.size()) return std::nullopt;
  // A result with leading zero bytes may come back shorter: keep the
  // modulus's length, as the signature line needs it.
  if (tamanho < saida.size()) {
    std::memmove(saida.data() + (saida.size() - tamanho), saida.data(), tamanho);
    std::memset(saida.data(), 0, saida.size() - tamanho);
  }
  return saida;
}

}  // namespace

struct MD5::Estado {
  BCRYPT_HASH_HANDLE hash = nullptr;
  bool ok = ProvedorMD5() && Ok(BCryptCreateHash(ProvedorMD5(), &hash, nullptr, 0, nullptr, 0, 0));
  ~Estado() {
    if (hash) BCryptDestroyHash(hash);
  }
};

MD5::MD5() : m_estado(std::make_unique<Estado>()) {}
MD5::~MD5() = default;

bool MD5::Acrescenta(const void* dados, std::size_t tamanho) {
  // CNG takes at most 4 GiB a call.
  const auto* bytes = static_cast<const unsigned char*>(dados);
  while (m_estado->ok && tamanho > 0) {
    const ULONG parte = tamanho > 0x40000000u ? 0x40000000u : static_cast<ULONG>(tamanho);
    m_estado->ok = Ok(BCryptHashData(m_estado->hash, const_cast<PUCHAR>(bytes), parte, 0));
    bytes += parte;
    tamanho -= parte;
  }
  return m_estado->ok;
}

std::optional<DigestMD5> MD5::Finaliza() {
  DigestMD5 digest{};
  if (!m_estado->ok || !Ok(BCryptFinishHash(m_estado->hash, digest.data(), static_cast<ULONG>(digest.size()), 0)))
    return std::nullopt;
  m_estado->ok = false;
  return digest;
}

std::optional<std::vector<unsigned char>> PrivadaSemPreenchimento(const PartesRSA& chave, Texto bloco) {
  BCRYPT_RSAKEY_BLOB cabecalho{};
  cabecalho.Magic = BCRYPT_RSAFULLPRIVATE_MAGIC;
  cabecalho.BitLength = static_cast<ULONG>(chave.modulo.size() * 8);
  cabecalho.cbPublicExp = static_cast<ULONG>(chave.expoentePublico.size());
  cabecalho.cbModulus = static_cast<ULONG>(chave.modulo.size());
  cabecalho.cbPrime1 = static_cast<ULONG>(chave.primo1.size());
  cabecalho.cbPrime2 = static_cast<ULONG>(chave.primo2.size());
  std::vector<unsigned char> blob(reinterpret_cast<unsigned char*>(&cabecalho),
                                  reinterpret_cast<unsigned char*>(&cabecalho) + sizeof cabecalho);
  for (Texto parte : {chave.expoentePublico, chave.modulo, chave.primo1, chave.primo2, chave.expoente1,
                      chave.expoente2, chave.coeficiente, chave.expoentePrivado})
    Junta(blob, parte);
  bool recusada = false;
  auto resultado = OperacaoBruta(blob, BCRYPT_RSAFULLPRIVATE_BLOB, bloco, chave.modulo.size(), true, recusada);
  if (!resultado && recusada) return ExponenciacaoModular(bloco, chave.expoentePrivado, chave.modulo);
  return resultado;
}

std::optional<std::vector<unsigned char>> PublicaSemPreenchimento(Texto modulo, Texto expoente, Texto bloco) {
  BCRYPT_RSAKEY_BLOB cabecalho{};
  cabecalho.Magic = BCRYPT_RSAPUBLIC_MAGIC;
  cabecalho.BitLength = static_cast<ULONG>(modulo.size() * 8);
  cabecalho.cbPublicExp = static_cast<ULONG>(expoente.size());
  cabecalho.cbModulus = static_cast<ULONG>(modulo.size());
  std::vector<unsigned char> blob(reinterpret_cast<unsigned char*>(&cabecalho),
                                  reinterpret_cast<unsigned char*>(&cabecalho) + sizeof cabecalho);
  Junta(blob, expoente);
  Junta(blob, modulo);
  bool recusada = false;
  auto resultado = OperacaoBruta(blob, BCRYPT_RSAPUBLIC_BLOB, bloco, modulo.size(), false, recusada);
  if (!resultado && recusada) return ExponenciacaoModular(bloco, expoente, modulo);
  return resultado;
}

bool PBKDF2SHA256(std::string_view senha, std::string_view sal, unsigned iteracoes, unsigned char* saida,
                  std::size_t tamanho) {
  return ProvedorHMACSHA256() &&
         Ok(BCryptDeriveKeyPBKDF2(ProvedorHMACSHA256(), reinterpret_cast<PUCHAR>(const_cast<char*>(senha.data())),
                                  static_cast<ULONG>(senha.size()),
                                  reinterpret_cast<PUCHAR>(const_cast<char*>(sal.data())),
                                  static_cast<ULONG>(sal.size()), iteracoes, saida, static_cast<ULONG>(tamanho), 0));
}

bool BytesAleatorios(unsigned char* saida, std::size_t tamanho) {
  return Ok(BCryptGenRandom(nullptr, saida, static_cast<ULONG>(tamanho), BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

}  // namespace qmx::cripto
