#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::dados {

// Records hold texts as zero-terminated Windows-1252 arrays; the databases
// hold UTF-8. These helpers convert at this edge and nowhere else.

// Stores a UTF-8 text of the database into a record's array: converted
// (characters Windows-1252 lacks, and bad bytes, become "?"), cut to the
// array's size and always terminated.
void CopiaTexto(char* destino, std::size_t tamanho, std::string_view utf8);

template <std::size_t N>
void CopiaTexto(char (&destino)[N], std::string_view utf8) {
  CopiaTexto(destino, N, utf8);
}

// The descriptions of a walk's items, each converted the first time it is
// met: a product sold all day has the same description on every cupom, and
// a description with accents costs a conversion each time otherwise. One
// place per product (its code modulo the table's size, the last text there
// wins) keeps the text it converted and the result; another text in that
// place is converted again.
class CDescricoesConvertidas {
 public:
  template <std::size_t N>
  void Copia(char (&destino)[N], std::uint64_t produto, std::string_view utf8) {
    Entrada& e = m_entradas[produto % kEntradas];
    if (e.utf8 == utf8 && e.convertida.size() == N) {
      std::memcpy(destino, e.convertida.data(), N);
      return;
    }
    CopiaTexto(destino, N, utf8);
    e.utf8.assign(utf8);
    e.convertida.assign(destino, N);
  }

 private:
  static constexpr std::size_t kEntradas = 1024;
  struct Entrada {
    std::string utf8;
    std::string convertida;
  };
  std::vector<Entrada> m_entradas = std::vector<Entrada>(kEntradas);
};

// A record's text (Windows-1252, possibly without terminator in the last
// byte) as the UTF-8 the database stores.
std::string TextoParaBase(const char* texto, std::size_t tamanho);

template <std::size_t N>
std::string TextoParaBase(const char (&texto)[N]) {
  return TextoParaBase(texto, N);
}

// A wide text allocated for the caller, as the branch's legal name is
// handed out; free it with LiberaTextoLargo.
wchar_t* AlocaTextoLargo(std::string_view cp1252);
void LiberaTextoLargo(wchar_t* texto);
// A wide text back in Windows-1252 ("?" for a character it lacks); a null
// text is empty.
std::string DeTextoLargo(const wchar_t* texto);

}  // namespace qmx::dados
