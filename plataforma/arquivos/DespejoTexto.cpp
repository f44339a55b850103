#include "plataforma/arquivos/DespejoTexto.h"

#include <cerrno>

#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"

namespace qmx {
namespace {

constexpr std::size_t kBloco = 1 << 16;

}  // namespace

CDespejoTexto::CDespejoTexto(std::string nome) : m_nome(std::move(nome)) {
  m_arquivo = std::tmpfile();
  if (!m_arquivo) throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(errno), errno, m_nome);
  m_pendente.reserve(kBloco);
}

CDespejoTexto::~CDespejoTexto() {
  if (m_arquivo) std::fclose(m_arquivo);
}

void CDespejoTexto::Escreve(std::string_view texto) {
  if (texto.size() >= kBloco) {
    // A block's worth or more goes to the file from where it is.
    Descarrega();
    if (std::fwrite(texto.data(), 1, texto.size(), m_arquivo) != texto.size())
      throw CExcecaoArquivo(CExcecaoArquivo::discoCheio, errno, m_nome);
    m_tamanho += texto.size();
    return;
  }
  m_tamanho += texto.size();
  m_pendente.append(texto);
  if (m_pendente.size() >= kBloco) Descarrega();
}

void CDespejoTexto::Descarrega() {
  if (m_pendente.empty()) return;
  if (std::fwrite(m_pendente.data(), 1, m_pendente.size(), m_arquivo) != m_pendente.size())
    throw CExcecaoArquivo(CExcecaoArquivo::discoCheio, errno, m_nome);
  m_pendente.clear();
}

void CDespejoTexto::CopiaPara(CArquivoTexto& destino) {
  // Straight from file to file: the destination copies from the spill
  // file's descriptor, without this object reading it.
  Descarrega();
  if (std::fflush(m_arquivo) != 0) throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, errno, m_nome);
  destino.AcrescentaDoArquivo(fileno(m_arquivo), m_tamanho);
}

void CDespejoTexto::Esvazia() {
  m_pendente.clear();
  m_tamanho = 0;
  std::FILE* novo = std::tmpfile();
  if (!novo) throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(errno), errno, m_nome);
  std::fclose(m_arquivo);
  m_arquivo = novo;
}

}  // namespace qmx
