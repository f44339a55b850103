#include "plataforma/registro/Registro.h"
#include "plataforma/registro/TextoRegistro.h"

#include "plataforma/texto/TextoLargo.h"

#include <windows.h>

#include <vector>


// The machine's own registry, under HKEY_LOCAL_MACHINE. Key paths and names
// are Windows-1252 like every text of the library; they reach the registry
// as UTF-16. Only text values (REG_SZ, REG_EXPAND_SZ, taken as stored) are
// read: a value of any other type reads as absent, like a missing one, so a
// number stored where a folder is expected is never taken for a folder.

namespace qmx::registro {

using texto::Largo;
using texto::Estreito;

namespace {

class Chave {
 public:
  explicit Chave(std::string caminho) {
    // "Key\" names the same key as "Key".
    while (!caminho.empty() && caminho.back() == '\\') caminho.pop_back();
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Largo(caminho).c_str(), 0, KEY_READ, &m_chave) != ERROR_SUCCESS)
      m_chave = nullptr;
  }
  ~Chave() {
    if (m_chave) RegCloseKey(m_chave);
  }
  Chave(const Chave&) = delete;
  Chave& operator=(const Chave&) = delete;
  HKEY get() const { return m_chave; }

 private:
  HKEY m_chave = nullptr;
};

}  // namespace

std::string Registro::CaminhoArquivo() { return "HKEY_LOCAL_MACHINE"; }

std::optional<std::string> Registro::LeValor(const std::string& chave, const std::string& nome) {
  const Chave aberta(chave);
  if (!aberta.get()) return std::nullopt;
  const std::wstring nomeLargo = Largo(nome);
  for (int tentativa = 0; tentativa < 4; ++tentativa) {  // the value may grow between the two calls
    DWORD tipo = 0, bytes = 0;
    if (RegQueryValueExW(aberta.get(), nomeLargo.c_str(), nullptr, &tipo, nullptr, &bytes) != ERROR_SUCCESS)
      return std::nullopt;
    if (tipo != REG_SZ && tipo != REG_EXPAND_SZ) return std::nullopt;
    std::vector<wchar_t> dados(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD lidos = bytes;
    const LSTATUS estado =
        RegQueryValueExW(aberta.get(), nomeLargo.c_str(), nullptr, &tipo, reinterpret_cast<BYTE*>(dados.data()), &lidos);
    if (estado == ERROR_MORE_DATA) continue;
    if (estado != ERROR_SUCCESS || (tipo != REG_SZ && tipo != REG_EXPAND_SZ)) return std::nullopt;
    // A stored text may or may not carry its terminator; it ends at the first.
    std::wstring texto(dados.data(), lidos / sizeof(wchar_t));
    if (const auto fim = texto.find(L'\0'); fim != std::wstring::npos) texto.resize(fim);
    return Estreito(texto);
  }
  return std::nullopt;
}

std::string Registro::LeTexto(const std::string& chave, const std::string& nome) {
  return LeValor(chave, nome).value_or(std::string());
}

bool Registro::ExisteChave(const std::string& chave) { return Chave(chave).get() != nullptr; }

bool GravaNoRegistroDoSistema(const std::string& bruto, unsigned long* erro) {
  for (const LinhaRegistro& linha : InterpretaTextoRegistro(bruto)) {
    if (linha.chave.empty()) continue;  // not a key of its own: the root itself
    HKEY chave = nullptr;
    LSTATUS estado = RegCreateKeyExW(HKEY_LOCAL_MACHINE, Largo(linha.chave).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &chave, nullptr);
    if (estado == ERROR_SUCCESS && linha.nome) {
      const std::wstring valor = Largo(linha.valor);
      estado = RegSetValueExW(chave, Largo(*linha.nome).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valor.c_str()),
                              static_cast<DWORD>((valor.size() + 1) * sizeof(wchar_t)));
    }
    if (chave) RegCloseKey(chave);
    if (estado != ERROR_SUCCESS) {
      if (erro) *erro = static_cast<unsigned long>(estado);
      return false;
    }
  }
  return true;
}

}  // namespace qmx::registro
