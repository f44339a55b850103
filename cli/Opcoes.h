#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx::cli {

// A mistake in the command line: reported on stderr with exit code 2.
class ErroUso : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The command line after the global options: "--nome valor", "--nome=valor",
// flags ("--nome") and plain arguments. Options may repeat.
class Opcoes {
 public:
  Opcoes(const std::vector<std::string>& argumentos, const std::vector<std::string>& flags);

  bool Tem(const std::string& nome) const { return m_valores.count(nome) != 0; }
  std::optional<std::string> Texto(const std::string& nome) const;
  std::vector<std::string> Todos(const std::string& nome) const;
  std::string TextoObrigatorio(const std::string& nome) const;
  // Whole numbers within a range; anything else is an ErroUso.
  long long Numero(const std::string& nome, long long minimo, long long maximo, long long padrao) const;
  const std::vector<std::string>& Posicionais() const { return m_posicionais; }
  // Every option in command-line order.
  const std::vector<std::pair<std::string, std::string>>& EmOrdem() const { return m_ordem; }
  std::string Posicional(size_t indice, const std::string& descricao) const;
  // Refuses options that the command does not know.
  void SoAceita(const std::vector<std::string>& nomes) const;

 private:
  std::multimap<std::string, std::string> m_valores;
  std::vector<std::pair<std::string, std::string>> m_ordem;
  std::vector<std::string> m_posicionais;
};

long long LeNumero(const std::string& texto, long long minimo, long long maximo, const std::string& descricao);

// "DD/MM/AAAA" to a day number, refused unless it is one of the days that
// the 16-bit day numbers of the exports reach at the library clock's today
// (from 1857 to 2036 in December 2026).
NumeroDia LeData(const std::string& texto);

}  // namespace qmx::cli
