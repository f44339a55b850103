#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// The connection triple: who is working, in which company. Every dialog,
// worker and data-server connection receives it unchanged.
struct TriploConexao {
  std::string chaveEmpresa;
  std::uint16_t usuario = 0;
  std::int32_t contexto = 0;

  bool operator==(const TriploConexao&) const = default;
};

// The process-wide values the caller sets before using the library. They
// live until the library is unloaded; nothing resets them.
struct ContextoBiblioteca {
  TriploConexao triplo;
  std::string diretorioSaida;               // for the integration log
  std::int32_t filialSelecao = 0;           // handed to the selection dialog
  std::uint8_t flagSelecao = 0;
  const char* tituloSelecao = nullptr;      // the caller's text, not copied
};

ContextoBiblioteca& Contexto();

// A copy of the triple, as every launcher hands it on.
TriploConexao CopiaTriplo();

// A zero-terminated text from the caller as an owned copy; a null pointer
// is an empty text.
std::string TextoDoChamador(const char* texto);

}  // namespace qmx
