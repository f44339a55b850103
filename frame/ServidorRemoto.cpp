#include "frame/ServidorRemoto.h"

#include "plataforma/processo/ProcessoComPipe.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx {
namespace {

constexpr const char* kRaizClasses = "SOFTWARE\\Classes\\";

// A registry text read into a buffer of `tamanho` characters: it must fit
// with its terminator, or the read fails.
std::string LeComLimite(const std::string& chave, const std::string& nome, std::size_t tamanho) {
  const auto valor = registro::Registro::LeValor(chave, nome);
  if (!valor || valor->size() >= tamanho) return {};
  return *valor;
}

}  // namespace

std::string PegaServidorRemoto(const com::CLSID& clsid) {
  const std::string appId = LeComLimite(std::string(kRaizClasses) + "CLSID\\" + com::TextoGuid(clsid), "AppID", 64);
  if (appId.empty()) return {};
  return LeComLimite(std::string(kRaizClasses) + "AppID\\" + appId, "RemoteServerName", 256);
}

com::HRESULT PingServidor(const std::string& host, std::string& saida) {
  saida.clear();
  if (host.empty()) {
    saida = "Falta informar o IP";
    return com::S_OK;
  }
  std::string bruta;
  const std::uint32_t erro = processo::ExecutaComPipe(processo::ComandoPing(host), bruta);
  if (erro != 0) return com::HRESULT_FROM_WIN32(erro);
  saida = texto::DeUtf8OuLatin(bruta);  // the library's texts are Windows-1252
  return com::S_OK;
}

}  // namespace qmx
