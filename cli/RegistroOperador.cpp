#include "cli/RegistroOperador.h"

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Apresentacao.h"
#include "plataforma/ui/HostUI.h"
#include "plataforma/ui/ModuloRecursos.h"

namespace qmx::cli {

VistoPeloOperador MostraRegistro(const std::filesystem::path& arquivo, int idModelo, std::ostream& saida) {
  VistoPeloOperador visto;
  std::ifstream entrada(arquivo, std::ios::binary);
  std::string linha;
  int resultadoDoDialogo = -1;
  while (std::getline(entrada, linha)) {
    std::vector<std::string> campos;
    std::istringstream partes(linha);
    std::string campo;
    while (std::getline(partes, campo, '\t')) campos.push_back(campo);
    if (campos.size() >= 5 && campos[0] == "caixa") {
      const unsigned flags = static_cast<unsigned>(std::strtoul(campos[2].c_str(), nullptr, 10));
      if ((flags & 0xF0u) == qmx::ui::MB_ICONERROR) visto.caixaDeErro = true;
      const std::string texto = TextoParaOperador(campos[4]);
      // A text of several lines starts on a line of its own.
      saida << "[caixa] " << TextoParaOperador(campos[1]) << ":" << (texto.find('\n') != std::string::npos ? "\n" : " ")
            << texto << " (resposta " << campos[3] << ")\n";
    } else if (campos.size() >= 2 && campos[0] == "erro") {
      visto.passosRecusados.push_back(TextoParaOperador(campos[1]));
    } else if (campos.size() >= 4 && campos[0] == "dialogo") {
      saida << "[diálogo " << campos[1] << "] \"" << TextoParaOperador(campos[2]) << "\" fechado com " << campos[3]
            << "\n";
      // Only a dialog with a Cancel button can be cancelled: closing one that
      // merely shows something (OK alone) cancels no work.
      const int id = std::atoi(campos[1].c_str());
      const auto* modelo = qmx::ui::ModuloBiblioteca().Modelo(id);
      const bool temCancelar = modelo && modelo->Controle(qmx::ui::IDCANCEL);
      if (temCancelar && (idModelo == 0 || id == idModelo)) resultadoDoDialogo = std::atoi(campos[3].c_str());
    }
  }
  visto.dialogoCancelado = resultadoDoDialogo == qmx::ui::IDCANCEL;
  return visto;
}

}  // namespace qmx::cli
