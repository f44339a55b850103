#pragma once

#include <string>

namespace qmx::texto {

// Paths inside the library are written the Windows way: Windows-1252 text
// with "\" between folders, as the registry, the printer layer and the file
// names of the fiscal files give them. Only where a file is opened are they
// turned into the system's form.

// A library path as the file system takes it: "\" becomes "/", the text
// becomes UTF-8.
std::string CaminhoNativo(const std::string& caminho);

// A system path as the library writes paths: "/" becomes "\", UTF-8 becomes
// Windows-1252.
std::string CaminhoWindows(const std::string& caminhoNativo);

// A system path (UTF-8) handed to the library or shown with its texts:
// Windows-1252, separators kept as the system writes them. A path that is
// not valid UTF-8 or holds a character Windows-1252 cannot hold throws
// std::invalid_argument naming it: replacing the character would name
// another file.
std::string CaminhoDaBiblioteca(const std::string& caminhoNativo);

// A file name built from data (serial numbers, codes) made safe for any file
// system: path separators and the characters Windows refuses in names
// (< > : " / \ | ? * and control characters) become "_".
std::string NomeArquivoSeguro(const std::string& nome);

}  // namespace qmx::texto
