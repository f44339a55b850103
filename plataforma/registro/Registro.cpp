#include "plataforma/registro/Registro.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "plataforma/texto/Windows1252.h"

namespace qmx::registro {
namespace {

constexpr const char* kCaminhoPadrao = "/etc/qmxutil/registro.ini";

std::string Apara(const std::string& s) {
  const auto inicio = s.find_first_not_of(" \t\r\n");
  if (inicio == std::string::npos) return {};
  const auto fim = s.find_last_not_of(" \t\r\n");
  return s.substr(inicio, fim - inicio + 1);
}

bool IguaisSemCaixa(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto ca = static_cast<unsigned char>(a[i]);
    auto cb = static_cast<unsigned char>(b[i]);
    if (ca < 0x80) ca = static_cast<unsigned char>(std::tolower(ca));
    if (cb < 0x80) cb = static_cast<unsigned char>(std::tolower(cb));
    if (ca != cb) return false;
  }
  return true;
}

// Trailing backslashes of a key path do not matter ("A\B\" is "A\B").
std::string NormalizaChave(const std::string& chave) {
  std::string s = Apara(chave);
  while (!s.empty() && s.back() == '\\') s.pop_back();
  while (!s.empty() && s.front() == '\\') s.erase(s.begin());
  return s;
}

// A value may be quoted to keep blanks at its ends.
std::string TiraAspas(const std::string& valor) {
  if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"')
    return valor.substr(1, valor.size() - 2);
  return valor;
}

struct Busca {
  std::string chave;
  std::string nome;
  bool achouChave = false;
  std::optional<std::string> valor;
};

void Percorre(Busca& busca) {
  std::ifstream arquivo(Registro::CaminhoArquivo(), std::ios::binary);
  if (!arquivo) return;
  std::stringstream conteudo;
  conteudo << arquivo.rdbuf();
  const std::string texto = qmx::texto::DeUtf8OuLatin(conteudo.str());

  std::istringstream linhas(texto);
  std::string linha;
  bool naChave = false;
  while (std::getline(linhas, linha)) {
    const std::string limpa = Apara(linha);
    if (limpa.empty() || limpa[0] == ';' || limpa[0] == '#') continue;
    if (limpa.front() == '[') {
      if (limpa.back() != ']') { naChave = false; continue; }  // malformed: skipped
      naChave = IguaisSemCaixa(NormalizaChave(limpa.substr(1, limpa.size() - 2)), busca.chave);
      busca.achouChave = busca.achouChave || naChave;
      continue;
    }
    const auto igual = limpa.find('=');
    if (igual == std::string::npos || igual == 0) continue;  // malformed: skipped
    if (!naChave || busca.nome.empty()) continue;
    if (IguaisSemCaixa(Apara(limpa.substr(0, igual)), busca.nome))
      busca.valor = TiraAspas(Apara(limpa.substr(igual + 1)));  // the last one wins
  }
}

}  // namespace

std::string Registro::CaminhoArquivo() {
  const char* ambiente = std::getenv("QMX_REGISTRO");
  return (ambiente && *ambiente) ? ambiente : kCaminhoPadrao;
}

std::optional<std::string> Registro::LeValor(const std::string& chave, const std::string& nome) {
  Busca busca;
  busca.chave = NormalizaChave(chave);
  busca.nome = Apara(nome);
  Percorre(busca);
  return busca.valor;
}

std::string Registro::LeTexto(const std::string& chave, const std::string& nome) {
  return LeValor(chave, nome).value_or(std::string());
}

bool Registro::ExisteChave(const std::string& chave) {
  Busca busca;
  busca.chave = NormalizaChave(chave);
  Percorre(busca);
  return busca.achouChave;
}

}  // namespace qmx::registro
