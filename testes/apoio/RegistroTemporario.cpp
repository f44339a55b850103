#include "apoio/RegistroTemporario.h"

#include <cstdlib>

#include "plataforma/processo/Sistema.h"

#if defined(_WIN32)
#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "plataforma/registro/TextoRegistro.h"
#include "plataforma/texto/TextoLargo.h"
#endif

namespace qmx::testes {

#if defined(_WIN32)

// On Windows the library reads the system's registry: the same "file" is
// written into HKEY_LOCAL_MACHINE, and what it replaced is put back at the
// end (values that were absent are removed, keys that were made are
// removed when empty). Tests that write the registry run one at a time.
namespace {

using texto::Largo;

struct Anterior {
  std::wstring chave, nome;
  bool existia = false;
  DWORD tipo = 0;
  std::vector<BYTE> dados;
};

struct Estado {
  std::vector<Anterior> valores;
  std::vector<std::wstring> chavesCriadas;
};

std::map<const RegistroTemporario*, Estado> g_estados;

void Aplica(const std::string& conteudo, Estado& estado) {
  for (const registro::LinhaRegistro& linha : registro::InterpretaTextoRegistro(conteudo)) {
    if (linha.chave.empty()) continue;
    if (!linha.nome) {
      HKEY chave = nullptr;
      DWORD disposicao = 0;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Largo(linha.chave).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &chave, &disposicao) == ERROR_SUCCESS) {
        if (disposicao == REG_CREATED_NEW_KEY) estado.chavesCriadas.push_back(Largo(linha.chave));
        RegCloseKey(chave);
      }
      continue;
    }
    Anterior anterior;
    anterior.chave = Largo(linha.chave);
    anterior.nome = Largo(*linha.nome);
    const std::wstring valor = Largo(linha.valor);
    HKEY chave = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, anterior.chave.c_str(), 0, KEY_ALL_ACCESS, &chave) != ERROR_SUCCESS) continue;
    DWORD bytes = 0;
    if (RegQueryValueExW(chave, anterior.nome.c_str(), nullptr, &anterior.tipo, nullptr, &bytes) == ERROR_SUCCESS) {
      anterior.existia = true;
      anterior.dados.resize(bytes);
      RegQueryValueExW(chave, anterior.nome.c_str(), nullptr, &anterior.tipo, anterior.dados.data(), &bytes);
    }
    RegSetValueExW(chave, anterior.nome.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(valor.c_str()),
                   static_cast<DWORD>((valor.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(chave);
    estado.valores.push_back(std::move(anterior));
  }
}

void Desfaz(Estado& estado) {
  for (auto it = estado.valores.rbegin(); it != estado.valores.rend(); ++it) {
    HKEY chave = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, it->chave.c_str(), 0, KEY_ALL_ACCESS, &chave) != ERROR_SUCCESS) continue;
    if (it->existia)
      RegSetValueExW(chave, it->nome.c_str(), 0, it->tipo, it->dados.data(), static_cast<DWORD>(it->dados.size()));
    else
      RegDeleteValueW(chave, it->nome.c_str());
    RegCloseKey(chave);
  }
  // Deepest first: a key made for this registry goes when nothing is left in it.
  for (auto it = estado.chavesCriadas.rbegin(); it != estado.chavesCriadas.rend(); ++it)
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, it->c_str());
  estado = {};
}

}  // namespace

RegistroTemporario::RegistroTemporario(const std::string& conteudo) { Reescreve(conteudo); }

RegistroTemporario::~RegistroTemporario() {
  Desfaz(g_estados[this]);
  g_estados.erase(this);
}

void RegistroTemporario::Reescreve(const std::string& conteudo) const {
  m_pasta.Grava("registro.ini", conteudo);
  Estado& estado = g_estados[this];
  Desfaz(estado);
  Aplica(conteudo, estado);
}

#else

RegistroTemporario::RegistroTemporario(const std::string& conteudo) {
  if (const char* anterior = std::getenv("QMX_REGISTRO")) m_anterior = anterior;
  Reescreve(conteudo);
  sistema::DefineVariavel("QMX_REGISTRO", Caminho());
}

RegistroTemporario::~RegistroTemporario() {
  if (m_anterior) sistema::DefineVariavel("QMX_REGISTRO", *m_anterior);
  else sistema::RemoveVariavel("QMX_REGISTRO");
}

void RegistroTemporario::Reescreve(const std::string& conteudo) const { m_pasta.Grava("registro.ini", conteudo); }

#endif

}  // namespace qmx::testes
