#include "plataforma/arquivos/DespejoTexto.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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
  if (m_lendo) {
    // Back to the end after reading.
    if (std::fseek(m_arquivo, 0, SEEK_END) != 0) throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, errno, m_nome);
    m_lendo = false;
  }
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

void CDespejoTexto::Rebobina() {
  Descarrega();
  if (std::fflush(m_arquivo) != 0 || std::fseek(m_arquivo, 0, SEEK_SET) != 0)
    throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, errno, m_nome);
  m_lendo = true;
  m_lido.clear();
  m_posicaoLida = 0;
  m_naoLido = m_tamanho;
}

bool CDespejoTexto::Le(char* destino, std::size_t n) {
  bool primeiro = true;
  while (n > 0) {
    if (m_posicaoLida == m_lido.size()) {
      if (m_naoLido == 0) {
        if (primeiro) return false;
        throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, EIO, m_nome);
      }
      m_lido.resize(std::min(kBloco, m_naoLido));
      if (std::fread(m_lido.data(), 1, m_lido.size(), m_arquivo) != m_lido.size())
        throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, std::ferror(m_arquivo) ? errno : EIO, m_nome);
      m_naoLido -= m_lido.size();
      m_posicaoLida = 0;
    }
    const std::size_t parte = std::min(n, m_lido.size() - m_posicaoLida);
    std::memcpy(destino, m_lido.data() + m_posicaoLida, parte);
    m_posicaoLida += parte;
    destino += parte;
    n -= parte;
    primeiro = false;
  }
  return true;
}

void CDespejoTexto::Esvazia() {
  m_pendente.clear();
  m_tamanho = 0;
  m_lendo = false;
  m_lido.clear();
  m_posicaoLida = m_naoLido = 0;
  std::FILE* novo = std::tmpfile();
  if (!novo) throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(errno), errno, m_nome);
  std::fclose(m_arquivo);
  m_arquivo = novo;
}

}  // namespace qmx
