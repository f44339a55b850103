#include "fisco/QMXFisco.h"

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

struct FechaArquivo {
  void operator()(std::FILE* arquivo) const { std::fclose(arquivo); }
};

bool Md5(const unsigned char* dados, size_t tamanho, unsigned char digest[16]) {
  unsigned int comprimento = 0;
  return EVP_Digest(dados, tamanho, digest, &comprimento, EVP_md5(), nullptr) == 1 && comprimento == 16;
}

}  // namespace

std::string TextoDigest(const unsigned char* digest16) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string texto;
  for (int i = 0; i < 16; ++i) {
    texto += kHex[digest16[i] >> 4];
    texto += kHex[digest16[i] & 0xF];
  }
  return texto;
}

CQMXFisco::CQMXFisco(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto)
    : m_strEmpresa(chaveEmpresa), m_nUsuario(usuario), m_nContexto(contexto) {}

// The file is read whole in one read, as its length said when it was
// opened: a file that shrinks meanwhile gives a short read and fails.
bool CQMXFisco::GerarMD5Arquivo(const char* caminho, char* saida) const {
  if (!caminho || !saida) return false;
  const std::string nome = texto::CaminhoNativo(caminho);
  std::unique_ptr<std::FILE, FechaArquivo> arquivo(std::fopen(nome.c_str(), "rb"));
  if (!arquivo) return false;
  if (std::fseek(arquivo.get(), 0, SEEK_END) != 0) return false;
  const long tamanho = std::ftell(arquivo.get());
  if (tamanho < 0 || std::fseek(arquivo.get(), 0, SEEK_SET) != 0) return false;
  std::vector<unsigned char> dados(static_cast<size_t>(tamanho));
  if (tamanho > 0 && std::fread(dados.data(), 1, dados.size(), arquivo.get()) != dados.size()) return false;
  unsigned char digest[16];
  if (!Md5(dados.data(), dados.size(), digest)) return false;
  const std::string texto = TextoDigest(digest);
  std::memcpy(saida, texto.c_str(), texto.size() + 1);
  return true;
}

bool CQMXFisco::GerarMD5StringMD5(const char*, unsigned char*) const { return false; }
bool CQMXFisco::GerarMD5String(const char*, char*) const { return false; }
bool CQMXFisco::GerarListaArquivos(char*, bool, std::uint16_t) const { return false; }
bool CQMXFisco::IdentificacaoPAFECF() const { return false; }
bool CQMXFisco::AssinarArquivo(const char*) const { return false; }

}  // namespace qmx
