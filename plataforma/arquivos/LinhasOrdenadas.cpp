#include "plataforma/arquivos/LinhasOrdenadas.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"

namespace qmx {
namespace {

constexpr std::size_t kLeitura = 1 << 16;
using Tamanho = std::uint32_t;  // each kept line is preceded by its size

// Reads one kept batch from the temporary file, a line at a time, through a
// buffer of its own. A line's view stays valid until the next line is read.
class CLeitorLote {
 public:
  CLeitorLote(int descritor, std::int64_t inicio, std::int64_t fim, const std::string& nome)
      : m_descritor(descritor), m_posicao(inicio), m_fim(fim), m_nome(nome) {}

  bool Proxima() {
    if (m_usado == m_buffer.size() && m_posicao == m_fim) return false;
    Garante(sizeof(Tamanho));
    Tamanho tamanho;
    std::memcpy(&tamanho, m_buffer.data() + m_usado, sizeof tamanho);
    m_usado += sizeof tamanho;
    Garante(tamanho);
    m_linha = std::string_view(m_buffer.data() + m_usado, tamanho);
    m_usado += tamanho;
    return true;
  }
  std::string_view Linha() const { return m_linha; }

 private:
  // At least `bytes` unread bytes in the buffer, reading on from the file.
  void Garante(std::size_t bytes) {
    if (m_buffer.size() - m_usado >= bytes) return;
    m_buffer.erase(0, m_usado);
    m_usado = 0;
    const std::size_t antes = m_buffer.size();
    const auto falta = static_cast<std::size_t>(m_fim - m_posicao);
    const std::size_t pedido = std::min(falta, std::max(kLeitura, bytes - antes));
    if (antes + pedido < bytes) throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, EIO, m_nome);
    m_buffer.resize(antes + pedido);
    for (std::size_t lidos = 0; lidos < pedido;) {
      const auto n = ::pread(m_descritor, m_buffer.data() + antes + lidos, pedido - lidos, m_posicao);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, n < 0 ? errno : EIO, m_nome);
      lidos += static_cast<std::size_t>(n);
      m_posicao += n;
    }
  }

  int m_descritor;
  std::int64_t m_posicao, m_fim;
  const std::string& m_nome;
  std::string m_buffer;
  std::size_t m_usado = 0;
  std::string_view m_linha;
};

}  // namespace

CLinhasOrdenadas::CLinhasOrdenadas(std::string nome, std::size_t orcamento)
    : m_nome(std::move(nome)), m_orcamento(orcamento) {}

CLinhasOrdenadas::~CLinhasOrdenadas() {
  if (m_arquivo) std::fclose(m_arquivo);
}

void CLinhasOrdenadas::Acrescenta(std::string_view linha) {
  if (!m_texto.empty() && m_texto.size() + linha.size() > m_orcamento) GuardaLote();
  m_linhas.emplace_back(m_texto.size(), linha.size());
  m_texto.append(linha);
}

std::vector<std::string_view> CLinhasOrdenadas::LinhasDoLote() {
  std::vector<std::string_view> linhas;
  linhas.reserve(m_linhas.size());
  for (const auto& [inicio, tamanho] : m_linhas) linhas.emplace_back(m_texto.data() + inicio, tamanho);
  std::sort(linhas.begin(), linhas.end());
  return linhas;
}

void CLinhasOrdenadas::GuardaLote() {
  if (!m_arquivo) {
    m_arquivo = std::tmpfile();
    if (!m_arquivo) throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(errno), errno, m_nome);
  }
  const std::int64_t inicio = m_guardados;
  for (const std::string_view linha : LinhasDoLote()) {
    const auto tamanho = static_cast<Tamanho>(linha.size());
    if (std::fwrite(&tamanho, sizeof tamanho, 1, m_arquivo) != 1 ||
        std::fwrite(linha.data(), 1, linha.size(), m_arquivo) != linha.size())
      throw CExcecaoArquivo(CExcecaoArquivo::discoCheio, errno, m_nome);
    m_guardados += static_cast<std::int64_t>(sizeof tamanho + linha.size());
  }
  m_lotes.push_back({inicio, m_guardados});
  m_texto.clear();
  m_linhas.clear();
}

void CLinhasOrdenadas::EscrevePara(CArquivoTexto& destino) {
  if (m_lotes.empty()) {
    // Within the budget: sorted where they are.
    for (const std::string_view linha : LinhasDoLote()) destino.EscreverTexto(linha);
  } else {
    if (!m_linhas.empty()) GuardaLote();
    Intercala(destino);
  }
  m_texto.clear();
  m_linhas.clear();
  m_lotes.clear();
  m_guardados = 0;
  if (m_arquivo) std::fclose(m_arquivo);
  m_arquivo = nullptr;
}

void CLinhasOrdenadas::Intercala(CArquivoTexto& destino) {
  if (std::fflush(m_arquivo) != 0) throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, errno, m_nome);
  std::vector<CLeitorLote> leitores;
  leitores.reserve(m_lotes.size());
  for (const Lote& lote : m_lotes) leitores.emplace_back(fileno(m_arquivo), lote.inicio, lote.fim, m_nome);
  // A heap of the batches by their next line, the least on top.
  const auto depois = [&](std::size_t a, std::size_t b) { return leitores[a].Linha() > leitores[b].Linha(); };
  std::vector<std::size_t> heap;
  for (std::size_t i = 0; i < leitores.size(); ++i)
    if (leitores[i].Proxima()) heap.push_back(i);
  std::make_heap(heap.begin(), heap.end(), depois);
  while (!heap.empty()) {
    std::pop_heap(heap.begin(), heap.end(), depois);
    const std::size_t menor = heap.back();
    destino.EscreverTexto(leitores[menor].Linha());
    if (leitores[menor].Proxima())
      std::push_heap(heap.begin(), heap.end(), depois);
    else
      heap.pop_back();
  }
}

}  // namespace qmx
