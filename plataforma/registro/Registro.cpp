#include "plataforma/registro/Registro.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "plataforma/arquivos/LeituraRegular.h"

#include "plataforma/registro/TextoRegistro.h"

namespace qmx::registro {
namespace {

constexpr const char* kCaminhoPadrao = "/etc/qmxutil/registro.ini";

std::string Apara(const std::string& s) {
  const auto inicio = s.find_first_not_of(" \t\r\n");
  if (inicio == std::string::npos) return {};
  const auto fim = s.find_last_not_of(" \t\r\n");
  return s.substr(inicio, fim - inicio + 1);
}

// Folds ASCII letters to lower case: keys and names compare without
// regard to case, as on Windows.
std::string Minusculas(std::string s) {
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x80) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The parsed file: every key path that has a section, with its values
// (the last line of a name wins), keys and names folded to lower case.
using Valores = std::unordered_map<std::string, std::string>;
using Chaves = std::unordered_map<std::string, Valores>;

std::shared_ptr<const Chaves> Interpreta(const std::string& bruto) {
  auto chaves = std::make_shared<Chaves>();
  for (const LinhaRegistro& linha : InterpretaTextoRegistro(bruto)) {
    Valores& valores = (*chaves)[Minusculas(linha.chave)];
    if (linha.nome) valores[Minusculas(*linha.nome)] = linha.valor;
  }
  return chaves;
}

// The file is parsed once and kept while it stays the same file with the
// same size and times: a large registry file would otherwise cost a full
// parse for every value read. A small file is read again on every call and
// compared, so that a rewrite within one tick of the clock still shows.
constexpr std::size_t kLimiteReleitura = 1 << 20;

struct Guardado {
  std::string caminho;
  struct stat estado {};
  std::string bruto;  // kept only for small files
  std::shared_ptr<const Chaves> chaves;
};

bool MesmoArquivo(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

std::shared_ptr<const Chaves> Arquivo() {
  static std::mutex trava;
  static Guardado guardado;
  const std::string caminho = Registro::CaminhoArquivo();
  const int fd = LeituraRegular::Abre(caminho);
  if (fd < 0) return nullptr;
  struct stat estado {};
  if (::fstat(fd, &estado) != 0) {
    ::close(fd);
    return nullptr;
  }
  const auto tamanho = static_cast<std::size_t>(estado.st_size);
  {
    std::lock_guard bloqueio(trava);
    if (guardado.chaves && guardado.caminho == caminho && MesmoArquivo(guardado.estado, estado) &&
        tamanho > kLimiteReleitura) {
      ::close(fd);
      return guardado.chaves;
    }
  }
  std::string bruto;
  char bloco[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, bloco, sizeof bloco);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bruto.append(bloco, static_cast<std::size_t>(n));
  }
  ::close(fd);
  std::lock_guard bloqueio(trava);
  if (guardado.chaves && guardado.caminho == caminho && guardado.bruto == bruto && bruto.size() <= kLimiteReleitura)
    return guardado.chaves;
  guardado.caminho = caminho;
  guardado.estado = estado;
  guardado.chaves = Interpreta(bruto);
  guardado.bruto = bruto.size() <= kLimiteReleitura ? std::move(bruto) : std::string();
  return guardado.chaves;
}

const Valores* ValoresDa(const Chaves* chaves, const std::string& chave) {
  if (!chaves) return nullptr;
  const auto achada = chaves->find(Minusculas(NormalizaChaveRegistro(chave)));
  return achada == chaves->end() ? nullptr : &achada->second;
}

}  // namespace

std::string Registro::CaminhoArquivo() {
  const char* ambiente = std::getenv("QMX_REGISTRO");
  return (ambiente && *ambiente) ? ambiente : kCaminhoPadrao;
}

std::optional<std::string> Registro::LeValor(const std::string& chave, const std::string& nome) {
  const auto chaves = Arquivo();
  const Valores* valores = ValoresDa(chaves.get(), chave);
  const std::string nomeLimpo = Minusculas(Apara(nome));
  if (!valores || nomeLimpo.empty()) return std::nullopt;
  const auto achado = valores->find(nomeLimpo);
  if (achado == valores->end()) return std::nullopt;
  return achado->second;
}

std::string Registro::LeTexto(const std::string& chave, const std::string& nome) {
  return LeValor(chave, nome).value_or(std::string());
}

bool Registro::ExisteChave(const std::string& chave) {
  const auto chaves = Arquivo();
  return ValoresDa(chaves.get(), chave) != nullptr;
}

}  // namespace qmx::registro
