#include "plataforma/ui/ModeloDialogo.h"

#include <charconv>
#include <stdexcept>

namespace qmx::ui {
namespace {

// Splits one template line into tokens: quoted texts (with "" for a quote),
// words, numbers, commas and "|".
class Leitor {
 public:
  Leitor(std::string_view linha, int numero) : m_linha(linha), m_numero(numero) {}

  bool Fim() {
    PulaBrancos();
    return m_pos >= m_linha.size();
  }

  std::string Palavra() {
    PulaBrancos();
    const size_t inicio = m_pos;
    while (m_pos < m_linha.size() && !EhSeparador(m_linha[m_pos])) ++m_pos;
    if (inicio == m_pos) Falha("palavra esperada");
    return std::string(m_linha.substr(inicio, m_pos - inicio));
  }

  std::string Texto() {
    PulaBrancos();
    if (m_pos >= m_linha.size() || m_linha[m_pos] != '"') Falha("texto entre aspas esperado");
    std::string texto;
    ++m_pos;
    while (true) {
      if (m_pos >= m_linha.size()) Falha("aspas sem fim");
      const char c = m_linha[m_pos++];
      if (c != '"') { texto += c; continue; }
      if (m_pos < m_linha.size() && m_linha[m_pos] == '"') { texto += '"'; ++m_pos; continue; }
      return texto;
    }
  }

  int Numero() {
    const std::string palavra = Palavra();
    int valor = 0;
    const auto [fim, erro] = std::from_chars(palavra.data(), palavra.data() + palavra.size(), valor);
    if (erro != std::errc() || fim != palavra.data() + palavra.size()) Falha("número esperado: " + palavra);
    return valor;
  }

  void Virgula() {
    PulaBrancos();
    if (m_pos >= m_linha.size() || m_linha[m_pos] != ',') Falha("vírgula esperada");
    ++m_pos;
  }

  std::vector<std::string> Estilos() {
    std::vector<std::string> estilos{Palavra()};
    while (true) {
      PulaBrancos();
      if (m_pos >= m_linha.size() || m_linha[m_pos] != '|') return estilos;
      ++m_pos;
      estilos.push_back(Palavra());
    }
  }

  [[noreturn]] void Falha(const std::string& motivo) const {
    throw std::runtime_error("modelo de diálogo, linha " + std::to_string(m_numero) + ": " + motivo);
  }

 private:
  static bool EhSeparador(char c) { return c == ' ' || c == '\t' || c == ',' || c == '|' || c == '"'; }
  void PulaBrancos() {
    while (m_pos < m_linha.size() && (m_linha[m_pos] == ' ' || m_linha[m_pos] == '\t')) ++m_pos;
  }

  std::string_view m_linha;
  int m_numero;
  size_t m_pos = 0;
};

Retangulo LeRetangulo(Leitor& leitor) {
  Retangulo r;
  r.x = leitor.Numero();
  leitor.Virgula();
  r.y = leitor.Numero();
  leitor.Virgula();
  r.largura = leitor.Numero();
  leitor.Virgula();
  r.altura = leitor.Numero();
  return r;
}

ModeloControle LeControle(Leitor& leitor) {
  ModeloControle controle;
  controle.texto = leitor.Texto();
  leitor.Virgula();
  controle.id = leitor.Numero();
  leitor.Virgula();
  controle.classe = leitor.Texto();
  leitor.Virgula();
  controle.estilos = leitor.Estilos();
  leitor.Virgula();
  controle.retangulo = LeRetangulo(leitor);
  if (!leitor.Fim()) leitor.Falha("texto a mais no fim do controle");
  return controle;
}

}  // namespace

bool ModeloControle::TemEstilo(std::string_view nome) const {
  for (const auto& estilo : estilos)
    if (estilo == nome) return true;
  return false;
}

const ModeloControle* ModeloDialogo::Controle(int idControle) const {
  for (const auto& controle : controles)
    if (controle.id == idControle) return &controle;
  return nullptr;
}

std::vector<ModeloDialogo> ModeloDialogo::Analisa(std::string_view texto) {
  std::vector<ModeloDialogo> modelos;
  enum class Estado { Fora, Cabecalho, Corpo } estado = Estado::Fora;
  int numero = 0;
  size_t inicio = 0;
  while (inicio <= texto.size()) {
    size_t fim = texto.find('\n', inicio);
    if (fim == std::string_view::npos) fim = texto.size();
    std::string_view linha = texto.substr(inicio, fim - inicio);
    inicio = fim + 1;
    ++numero;
    if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);

    Leitor leitor(linha, numero);
    if (leitor.Fim()) continue;
    const auto primeiro = linha.find_first_not_of(" \t");
    if (linha.substr(primeiro, 2) == "//") continue;

    if (estado == Estado::Fora) {
      ModeloDialogo modelo;
      modelo.id = leitor.Numero();
      if (leitor.Palavra() != "DIALOGEX") leitor.Falha("DIALOGEX esperado");
      modelo.retangulo = LeRetangulo(leitor);
      modelos.push_back(std::move(modelo));
      estado = Estado::Cabecalho;
      continue;
    }
    const std::string palavra = leitor.Palavra();
    if (estado == Estado::Cabecalho) {
      if (palavra == "CAPTION") modelos.back().titulo = leitor.Texto();
      else if (palavra == "BEGIN") estado = Estado::Corpo;
      else if (palavra != "STYLE" && palavra != "EXSTYLE" && palavra != "FONT")
        leitor.Falha("linha de cabeçalho desconhecida: " + palavra);
      continue;
    }
    if (palavra == "END") {
      estado = Estado::Fora;
      continue;
    }
    if (palavra != "CONTROL") leitor.Falha("CONTROL esperado: " + palavra);
    ModeloControle controle = LeControle(leitor);
    if (controle.id != -1 && modelos.back().Controle(controle.id))
      leitor.Falha("controle repetido: " + std::to_string(controle.id));
    modelos.back().controles.push_back(std::move(controle));
  }
  if (estado != Estado::Fora) throw std::runtime_error("modelo de diálogo sem END");
  return modelos;
}

}  // namespace qmx::ui
