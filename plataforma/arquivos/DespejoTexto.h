#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

class CArquivoTexto;

namespace qmx {

// A text too large to hold in memory, kept in an anonymous temporary file
// (removed by the system when closed) until it can be copied to its place
// in a file or read back. Bytes go in and come out as they are. A failure
// to create, write or read the file throws CExcecaoArquivo naming `nome`.
class CDespejoTexto {
 public:
  explicit CDespejoTexto(std::string nome);
  ~CDespejoTexto();
  CDespejoTexto(const CDespejoTexto&) = delete;
  CDespejoTexto& operator=(const CDespejoTexto&) = delete;

  // Appends; small pieces are gathered in memory and written in blocks.
  void Escreve(std::string_view texto);
  std::size_t Tamanho() const { return m_tamanho; }
  bool Vazio() const { return m_tamanho == 0; }

  // Copies everything written so far to the end of `destino`; the text
  // stays and can be copied again.
  void CopiaPara(CArquivoTexto& destino);

  // Reads the text back from its start, in pieces of the sizes the caller
  // asks: Le fills `n` bytes and answers true, or answers false at the
  // text's end. A piece cut short by the end throws CExcecaoArquivo (what
  // was written in pieces comes back in the same pieces). Writing again
  // goes on after the end.
  void Rebobina();
  bool Le(char* destino, std::size_t n);

  // Forgets the text.
  void Esvazia();

 private:
  void Descarrega();

  std::string m_nome;
  std::FILE* m_arquivo = nullptr;
  std::string m_pendente;
  std::size_t m_tamanho = 0;
  // Reading back: a block read ahead, where the next piece begins in it,
  // and how much of the file is still unread.
  bool m_lendo = false;
  std::string m_lido;
  std::size_t m_posicaoLida = 0;
  std::size_t m_naoLido = 0;
};

}  // namespace qmx
