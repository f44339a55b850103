#pragma once

#include <cstddef>
#include <string>
#include <tuple>
#include <vector>

#include "plataforma/ui/HostRoteirizado.h"

namespace qmx::testes {

// The texts of the boxes a host showed, in order.
inline std::vector<std::string> TextosCaixas(const ui::HostRoteirizado& host) {
  std::vector<std::string> textos;
  for (const auto& caixa : host.Caixas()) textos.push_back(caixa.texto);
  return textos;
}

// Box `i` as (text, caption, flags), or as (text, caption), so that one
// comparison checks what the operator saw.
inline std::tuple<std::string, std::string, unsigned> Caixa(const ui::HostRoteirizado& host, std::size_t i) {
  const auto& c = host.Caixas().at(i);
  return {c.texto, c.titulo, c.flags};
}
inline std::tuple<std::string, std::string> TextoETitulo(const ui::HostRoteirizado& host, std::size_t i) {
  return {host.Caixas().at(i).texto, host.Caixas().at(i).titulo};
}

}  // namespace qmx::testes
