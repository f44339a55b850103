#include "fisco/ArquivosInstalacao.h"

#include <filesystem>

#include "fisco/QMXFisco.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {
namespace {

bool IguaisSemCaixa(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

std::string Maiusculas(std::string texto) {
  for (char& c : texto) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return texto;
}

const std::vector<std::string>& ArquivosInstalacao::Listados() {
  static const std::vector<std::string> listados = {
      "BEMAFI32.DLL", "ERPMAIN.EXE", "DARUMA32.DLL",       "QMVAPL.EXE",
      "QMVCX.EXE",    "QMVDAV.EXE",  "QMVREP.EXE",         "TERMPDV.EXE",
      "ELGIN.DLL",    "INTERFACEEPSON.DLL", "SWMFD-CONNECTC5.DLL"};
  return listados;
}

std::optional<std::string> ArquivosInstalacao::Pasta() {
  std::string pasta = registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Torvo ECF", "Path");
  if (pasta.empty()) return std::nullopt;
  // A folder written the system's way ("/" at the end) already ends in a
  // separator.
  if (pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
  return pasta;
}

std::string ArquivosInstalacao::Caminho(const std::string& pasta, const std::string& nome) {
  const std::string exato = pasta + nome;
  std::error_code erro;
  if (std::filesystem::exists(texto::CaminhoNativo(exato), erro)) return exato;
  for (const auto& entrada : std::filesystem::directory_iterator(texto::CaminhoNativo(pasta), erro)) {
    const std::string nomeNaPasta = texto::CaminhoWindows(entrada.path().filename().string());
    if (IguaisSemCaixa(nomeNaPasta, nome)) return pasta + nomeNaPasta;
  }
  return exato;
}

std::optional<std::string> ArquivosInstalacao::Digest(const std::string& pasta, const std::string& nome) {
  // Without an installation folder there is no file to read: a bare name
  // would find a file of whatever folder the program runs in.
  if (pasta.empty()) return std::nullopt;
  char digest[33] = {};
  if (!CQMXFisco().GerarMD5Arquivo(Caminho(pasta, nome).c_str(), digest)) return std::nullopt;
  return std::string(digest);
}

}  // namespace qmx
