#include "plataforma/registro/TextoRegistro.h"

#include "plataforma/texto/Windows1252.h"

namespace qmx::registro {
namespace {

std::string Apara(const std::string& s) {
  const auto inicio = s.find_first_not_of(" \t\r\n");
  if (inicio == std::string::npos) return {};
  const auto fim = s.find_last_not_of(" \t\r\n");
  return s.substr(inicio, fim - inicio + 1);
}

std::string TiraAspas(const std::string& valor) {
  if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"') return valor.substr(1, valor.size() - 2);
  return valor;
}

}  // namespace

std::string NormalizaChaveRegistro(const std::string& chave) {
  std::string s = Apara(chave);
  while (!s.empty() && s.back() == '\\') s.pop_back();
  while (!s.empty() && s.front() == '\\') s.erase(s.begin());
  return s;
}

std::vector<LinhaRegistro> InterpretaTextoRegistro(const std::string& bruto) {
  std::vector<LinhaRegistro> linhas;
  const std::string texto = texto::DeUtf8OuLatin(bruto);
  std::optional<std::string> chave;
  std::size_t inicio = 0;
  while (inicio < texto.size()) {
    std::size_t fim = texto.find('\n', inicio);
    if (fim == std::string::npos) fim = texto.size();
    const std::string limpa = Apara(texto.substr(inicio, fim - inicio));
    inicio = fim + 1;
    if (limpa.empty() || limpa[0] == ';' || limpa[0] == '#') continue;
    if (limpa.front() == '[') {
      chave.reset();
      if (limpa.back() != ']') continue;
      chave = NormalizaChaveRegistro(limpa.substr(1, limpa.size() - 2));
      linhas.push_back({*chave, std::nullopt, {}});
      continue;
    }
    const auto igual = limpa.find('=');
    if (igual == std::string::npos || !chave) continue;
    std::string nome = Apara(limpa.substr(0, igual));
    if (nome.empty()) continue;
    linhas.push_back({*chave, std::move(nome), TiraAspas(Apara(limpa.substr(igual + 1)))});
  }
  return linhas;
}

}  // namespace qmx::registro
