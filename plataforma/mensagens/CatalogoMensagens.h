#pragma once

#include <cstdint>
#include <string>

namespace qmx::mensagens {

// What a lookup in a message catalogue found.
struct LeituraCatalogo {
  bool aberto = false;   // whether the catalogue file could be opened
  std::string caminho;   // the file that was looked at
  std::string texto;     // the message, empty when not found
};

// The maker's message catalogues: one text file per module, "ZT" + the
// two-letter module code + "Mens.txt", in the "Mensagens" folder named by
// the registry (key "SOFTWARE\ZT Redudeva\Mensagens", value "Path"; without
// it, a "Mensagens" folder under the current one).
//
// Line format: columns 1 to 8 hold the message number (blanks or zeros
// before it), the text starts at column 9, and "\n" written as backslash
// and n is a line break inside the message. The file is Windows-1252 and is
// read in text mode (CR LF is a line break, Ctrl-Z ends it).
class CCatalogoMensagens {
 public:
  // A line is read in pieces of at most this many characters, its line
  // break included; the rest of a longer line is read as the next piece.
  static constexpr std::size_t kTamanhoLinha = 1024;

  static std::string PastaMensagens();
  static std::string CaminhoArquivo(const std::string& modulo);

  // The message of a module's catalogue.
  static LeituraCatalogo Le(const std::string& modulo, std::uint32_t numero);
  // The message of a catalogue file: the text of the first piece whose
  // number is the one asked for. A piece without a number in its first
  // eight columns matches nothing.
  static LeituraCatalogo LeDoArquivo(const std::string& caminho, std::uint32_t numero);
};

}  // namespace qmx::mensagens
