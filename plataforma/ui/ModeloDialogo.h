#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qmx::ui {

// A rectangle in dialog units.
struct Retangulo {
  int x = 0, y = 0, largura = 0, altura = 0;
};

// One CONTROL line of a dialog template.
struct ModeloControle {
  int id = -1;                        // -1: a static text the code never touches
  std::string classe;                 // "Static", "Edit", "Button", "ComboBox", "ListBox", ...
  std::string texto;
  std::vector<std::string> estilos;   // style names as written ("BS_AUTORADIOBUTTON", ...)
  Retangulo retangulo;

  bool TemEstilo(std::string_view nome) const;
};

// A dialog template in resource-script form:
//   14027 DIALOGEX 0, 0, 218, 60
//   STYLE ...            (optional)
//   CAPTION "..."
//   FONT 8, "..."        (optional)
//   BEGIN
//       CONTROL "text", id, "class", STYLE | STYLE, x, y, width, height
//   END
// Lines starting with "//" are comments.
struct ModeloDialogo {
  int id = 0;
  std::string titulo;
  Retangulo retangulo;
  std::vector<ModeloControle> controles;

  const ModeloControle* Controle(int idControle) const;

  // Reads every template of a resource-script text. A syntax error throws
  // std::runtime_error naming the line: templates are part of the library,
  // so a bad one is a build fault, found by the tests.
  static std::vector<ModeloDialogo> Analisa(std::string_view texto);
};

}  // namespace qmx::ui
