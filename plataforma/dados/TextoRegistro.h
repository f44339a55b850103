#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

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
