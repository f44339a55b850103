#include "plataforma/processo/LinhaComando.h"

namespace qmx::processo {

void AcrescentaArgumento(std::wstring& linha, const std::wstring& argumento) {
  if (!linha.empty()) linha += L' ';
  if (!argumento.empty() && argumento.find_first_of(L" \t\"") == std::wstring::npos) {
    linha += argumento;
    return;
  }
  linha += L'"';
  std::size_t barras = 0;
  for (wchar_t c : argumento) {
    if (c == L'\\') {
      ++barras;
      continue;
    }
    linha.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
    barras = 0;
    linha += c;
  }
  linha.append(barras * 2, L'\\');
  linha += L'"';
}

}  // namespace qmx::processo
