#include "plataforma/ui/RegistroUi.h"

#include <fstream>

namespace qmx::ui {

std::string EscapaRegistroUi(const std::string& texto) {
  std::string saida;
  for (char c : texto) {
    if (c == '\r') saida += "\\r";
    else if (c == '\n') saida += "\\n";
    else if (c == '\t') saida += "\\t";
    else if (c == '\\') saida += "\\\\";
    else saida += c;
  }
  return saida;
}

void AnotaRegistroUi(const std::string& arquivo, const std::string& linha) {
  if (arquivo.empty()) return;
  std::ofstream(arquivo, std::ios::binary | std::ios::app) << linha << '\n';
}

}  // namespace qmx::ui
