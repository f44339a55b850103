#include "cli/Opcoes.h"

#include <algorithm>
#include <charconv>

#include "frame/RelogioBiblioteca.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"

namespace qmx::cli {

Opcoes::Opcoes(const std::vector<std::string>& argumentos, const std::vector<std::string>& flags) {
  for (size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& argumento = argumentos[i];
    if (argumento.rfind("--", 0) != 0 || argumento.size() == 2) {
      m_posicionais.push_back(argumento);
      continue;
    }
    std::string nome = argumento.substr(2);
    const auto igual = nome.find('=');
    if (igual != std::string::npos) {
      m_ordem.emplace_back(nome.substr(0, igual), nome.substr(igual + 1));
    } else if (std::find(flags.begin(), flags.end(), nome) != flags.end()) {
      m_ordem.emplace_back(nome, "");
    } else {
      if (i + 1 >= argumentos.size()) throw ErroUso("a opção --" + nome + " precisa de um valor");
      m_ordem.emplace_back(nome, argumentos[++i]);
    }
    m_valores.insert(m_ordem.back());
  }
}

std::optional<std::string> Opcoes::Texto(const std::string& nome) const {
  const auto it = m_valores.find(nome);
  if (it == m_valores.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> Opcoes::Todos(const std::string& nome) const {
  std::vector<std::string> valores;
  const auto [inicio, fim] = m_valores.equal_range(nome);
  for (auto it = inicio; it != fim; ++it) valores.push_back(it->second);
  return valores;
}

std::string Opcoes::TextoObrigatorio(const std::string& nome) const {
  const auto valor = Texto(nome);
  if (!valor) throw ErroUso("falta a opção --" + nome);
  return *valor;
}

long long Opcoes::Numero(const std::string& nome, long long minimo, long long maximo, long long padrao) const {
  const auto valor = Texto(nome);
  return valor ? LeNumero(*valor, minimo, maximo, "--" + nome) : padrao;
}

std::string Opcoes::Posicional(size_t indice, const std::string& descricao) const {
  if (indice >= m_posicionais.size()) throw ErroUso("falta " + descricao);
  return m_posicionais[indice];
}

void Opcoes::SoAceita(const std::vector<std::string>& nomes) const {
  for (const auto& [nome, valor] : m_valores)
    if (std::find(nomes.begin(), nomes.end(), nome) == nomes.end())
      throw ErroUso("opção desconhecida: --" + nome);
}

long long LeNumero(const std::string& texto, long long minimo, long long maximo, const std::string& descricao) {
  long long valor = 0;
  const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
  if (texto.empty() || erro != std::errc() || fim != texto.data() + texto.size())
    throw ErroUso(descricao + ": \"" + texto + "\" não é um número inteiro");
  if (valor < minimo || valor > maximo)
    throw ErroUso(descricao + ": " + texto + " fora do intervalo " + std::to_string(minimo) + " a " +
                  std::to_string(maximo));
  return valor;
}

NumeroDia LeData(const std::string& texto) {
  int dia = 0, mes = 0, ano = 0;
  char barra1 = 0, barra2 = 0;
  if (std::sscanf(texto.c_str(), "%2d%c%2d%c%4d", &dia, &barra1, &mes, &barra2, &ano) != 5 || barra1 != '/' ||
      barra2 != '/' || texto.size() != 10 || ano < 1000)
    throw ErroUso("data inválida (use DD/MM/AAAA): " + texto);
  if (mes < 1 || mes > 12 || dia < 1 || static_cast<unsigned>(dia) > DiasDoMes(static_cast<unsigned>(mes),
                                                                                 static_cast<unsigned>(ano)))
    throw ErroUso("data inexistente: " + texto);
  const NumeroDia numero =
      CodificaDia(static_cast<unsigned>(dia), static_cast<unsigned>(mes), static_cast<unsigned>(ano));
  const NumeroDia hoje = CQMXRelogio::PegaDiaHoje();
  if (numero < InicioDaJanela(hoje) || numero > FimDaJanela(hoje))
    throw ErroUso("data fora do intervalo de " + TextoData(InicioDaJanela(hoje), true) + " a " +
                  TextoData(FimDaJanela(hoje), true) + ": " + texto);
  return numero;
}

}  // namespace qmx::cli
