#include "plataforma/mensagens/CatalogoMensagens.h"

#include "plataforma/texto/CaminhoArquivo.h"

#include <filesystem>
#include <fstream>
#include <optional>

#include "plataforma/registro/Registro.h"

namespace qmx::mensagens {
namespace {

// Reads a file in text mode, one piece at a time.
class LeitorPecas {
 public:
  explicit LeitorPecas(std::istream& entrada) : m_entrada(entrada) {}

  bool Proxima(std::string& peca) {
    peca.clear();
    while (peca.size() < CCatalogoMensagens::kTamanhoLinha) {
      const int c = Caractere();
      if (c < 0) break;
      peca += static_cast<char>(c);
      if (c == '\n') break;
    }
    return !peca.empty();
  }

 private:
  // The next character with CR LF read as LF; -1 at the end or at Ctrl-Z.
  int Caractere() {
    if (m_fim) return -1;
    int c = m_entrada.get();
    if (c == std::char_traits<char>::eof() || c == 0x1A) {
      m_fim = true;
      return -1;
    }
    if (c == '\r' && m_entrada.peek() == '\n') c = m_entrada.get();
    return c;
  }

  std::istream& m_entrada;
  bool m_fim = false;
};

// The number in the first eight columns: blanks, then digits.
std::optional<std::uint32_t> NumeroDaPeca(const std::string& peca) {
  const std::size_t limite = peca.size() < 8 ? peca.size() : 8;
  std::size_t i = 0;
  while (i < limite && (peca[i] == ' ' || peca[i] == '\t')) ++i;
  if (i >= limite || peca[i] < '0' || peca[i] > '9') return std::nullopt;
  std::uint32_t numero = 0;
  for (; i < limite && peca[i] >= '0' && peca[i] <= '9'; ++i) numero = numero * 10u + static_cast<std::uint32_t>(peca[i] - '0');
  return numero;
}

// The text from column 9: backslash-n becomes a line break, and one line
// break at the very end is dropped.
std::string TextoDaPeca(const std::string& peca) {
  std::string texto;
  for (std::size_t i = 8; i < peca.size(); ++i) {
    if (peca[i] == '\\' && i + 1 < peca.size() && peca[i + 1] == 'n') {
      texto += '\n';
      ++i;
    } else {
      texto += peca[i];
    }
  }
  if (!texto.empty() && texto.back() == '\n') texto.pop_back();
  return texto;
}

}  // namespace

std::string CCatalogoMensagens::PastaMensagens() {
  const std::string pasta = qmx::registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Mensagens", "Path");
  return pasta.empty() ? std::string("Mensagens") : pasta;
}

std::string CCatalogoMensagens::CaminhoArquivo(const std::string& modulo) {
  std::string pasta = PastaMensagens();
  // The separator the folder itself uses (a Windows folder has "\\").
  if (pasta.back() != '/' && pasta.back() != '\\') pasta += pasta.find('\\') != std::string::npos ? '\\' : '/';
  return pasta + "ZT" + modulo + "Mens.txt";
}

LeituraCatalogo CCatalogoMensagens::Le(const std::string& modulo, std::uint32_t numero) {
  return LeDoArquivo(CaminhoArquivo(modulo), numero);
}

LeituraCatalogo CCatalogoMensagens::LeDoArquivo(const std::string& caminho, std::uint32_t numero) {
  LeituraCatalogo leitura;
  leitura.caminho = caminho;
  // Only a regular file opens, as on Windows (a folder does not).
  const std::string nativo = texto::CaminhoNativo(caminho);
  std::error_code erro;
  if (!std::filesystem::is_regular_file(nativo, erro)) return leitura;
  std::ifstream arquivo(nativo, std::ios::binary);
  if (!arquivo) return leitura;
  leitura.aberto = true;
  LeitorPecas leitor(arquivo);
  std::string peca;
  while (leitor.Proxima(peca)) {
    if (NumeroDaPeca(peca) == numero) {
      leitura.texto = TextoDaPeca(peca);
      break;
    }
  }
  return leitura;
}

}  // namespace qmx::mensagens
