#include "arquivos/ValidacaoArquivo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "arquivos/RegrasValidacao.h"
#include "arquivos/efd/ValidadorEFD.h"
#include "arquivos/memorias/ValidadorMFD.h"
#include "arquivos/paf/ValidadorPAF.h"
#include "arquivos/sintegra/ValidadorSintegra.h"

namespace qmx::validacao {
namespace {

// How much of a file is read at once.
constexpr std::size_t kPedaco = 1u << 20;

bool FormaDeLinhaEAD(std::string_view linha) {
  if (linha.size() != 3 + 256 || linha.substr(0, 3) != "EAD") return false;
  return std::all_of(linha.begin() + 3, linha.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The two pipe-delimited layouts that open with 0000: EFD ICMS/IPI has its
// start date in the fourth field, EFD-Contribuições in the sixth (after the
// kind of bookkeeping, a special situation and a receipt number).
TipoArquivo ReconheceEFD(std::string_view primeira) {
  const auto campos = CamposDelimitados(primeira);
  if (!campos || campos->size() < 4) return TipoArquivo::EFD;
  const auto data = [](std::string_view v) { return v.size() == 8 && SoDigitos(v); };
  if (data((*campos)[3])) return TipoArquivo::EFD;
  if (campos->size() > 6 && data((*campos)[5]) && (*campos)[3].size() <= 1) return TipoArquivo::EFDContribuicoes;
  return TipoArquivo::EFD;
}

TipoArquivo Reconhece(std::string_view primeira) {
  if (primeira.substr(0, 6) == "|0000|") return ReconheceEFD(primeira);
  if (primeira.substr(0, 3) == "R01") return TipoArquivo::Movimentos;
  if (primeira.substr(0, 3) == "E01") return TipoArquivo::MFD;
  if (primeira.substr(0, 3) == "E00") return TipoArquivo::AtoCotepe;
  if (primeira.substr(0, 2) == "10") return TipoArquivo::Sintegra;
  if (primeira.substr(0, 2) == "D1") return TipoArquivo::DAVs;
  if (primeira.substr(0, 2) == "P1") return TipoArquivo::TabelaProdutos;
  if (primeira.substr(0, 2) == "E1") return TipoArquivo::Estoque;
  if (primeira.substr(0, 2) == "N1") return TipoArquivo::ListaAutenticados;
  return TipoArquivo::Desconhecido;
}

// A file of the Atos COTEPE whose layout this program does not hold (the
// E00 records of the other acts): named and counted, its records not
// checked.
class CNaoConferido : public CValidadorLinhas {
 public:
  explicit CNaoConferido(CColetor& c) : m_c(c) {}
  void Linha(const validacao::Linha&) override {}
  void Fim() override {
    m_c.Informa(0, "E00", "leiaute-nao-conferido",
                "arquivo de um Ato COTEPE (registro E00) cujo leiaute este programa não confere");
  }

 private:
  CColetor& m_c;
};

std::unique_ptr<CValidadorLinhas> NovoValidador(TipoArquivo tipo, CColetor& c) {
  switch (tipo) {
    case TipoArquivo::Sintegra: return NovoValidadorSintegra(c);
    case TipoArquivo::EFD: return NovoValidadorEFD(c, false);
    case TipoArquivo::EFDContribuicoes: return NovoValidadorEFD(c, true);
    case TipoArquivo::AtoCotepe: return std::make_unique<CNaoConferido>(c);
    case TipoArquivo::Movimentos: return NovoValidadorMovimentos(c);
    case TipoArquivo::DAVs: return NovoValidadorDAVs(c);
    case TipoArquivo::TabelaProdutos: return NovoValidadorTabelaProdutos(c);
    case TipoArquivo::Estoque: return NovoValidadorEstoque(c);
    case TipoArquivo::ListaAutenticados: return NovoValidadorListaAutenticados(c);
    case TipoArquivo::MFD: return NovoValidadorMFD(c);
    case TipoArquivo::Desconhecido: break;
  }
  return nullptr;
}

// The MD5 digest of what an EAD line signs, taken as the file is read: all
// its bytes but, when the file ends in its EAD line, that line (the last
// 261 bytes). The last bytes are therefore kept back until the end. With
// `paralelo`, the digest runs on a thread of its own, over the same pieces
// the lines are read from, so that reading a big file takes the time of the
// slower of the two and not of both.
class CDigestoRetido {
 public:
  static constexpr std::size_t kLinhaEAD = 3 + 256 + 2;

  explicit CDigestoRetido(bool paralelo) {
    if (paralelo) m_trabalho = std::thread([this] { Trabalha(); });
  }
  ~CDigestoRetido() { Para(); }

  void Acrescenta(std::shared_ptr<const std::string> pedaco) {
    if (!m_trabalho.joinable()) {
      Digere(*pedaco);
      return;
    }
    std::unique_lock<std::mutex> trava(m_trava);
    // A bounded queue: the reading waits rather than fill the memory.
    m_espaco.wait(trava, [&] { return m_fila.size() < kFilaMaxima; });
    m_fila.push_back(std::move(pedaco));
    m_trabalhoPronto.notify_one();
  }

  // The digest of everything, or of everything but the last line when
  // the file ends in its EAD line.
  std::optional<cripto::DigestMD5> Finaliza(bool semLinhaEAD) {
    Para();
    if (!semLinhaEAD || m_retido.size() < kLinhaEAD) m_md5.Acrescenta(m_retido.data(), m_retido.size());
    else m_md5.Acrescenta(m_retido.data(), m_retido.size() - kLinhaEAD);
    return m_md5.Finaliza();
  }

 private:
  static constexpr std::size_t kFilaMaxima = 8;

  void Digere(const std::string& pedaco) {
    if (pedaco.size() >= kLinhaEAD) {
      m_md5.Acrescenta(m_retido.data(), m_retido.size());
      m_md5.Acrescenta(pedaco.data(), pedaco.size() - kLinhaEAD);
      m_retido.assign(pedaco, pedaco.size() - kLinhaEAD, kLinhaEAD);
      return;
    }
    m_retido += pedaco;
    if (m_retido.size() > kLinhaEAD) {
      m_md5.Acrescenta(m_retido.data(), m_retido.size() - kLinhaEAD);
      m_retido.erase(0, m_retido.size() - kLinhaEAD);
    }
  }

  void Trabalha() {
    for (;;) {
      std::shared_ptr<const std::string> pedaco;
      {
        std::unique_lock<std::mutex> trava(m_trava);
        m_trabalhoPronto.wait(trava, [&] { return !m_fila.empty() || m_fim; });
        if (m_fila.empty()) return;
        pedaco = std::move(m_fila.front());
        m_fila.pop_front();
        m_espaco.notify_one();
      }
      Digere(*pedaco);
    }
  }

  void Para() {
    if (!m_trabalho.joinable()) return;
    {
      std::lock_guard<std::mutex> trava(m_trava);
      m_fim = true;
    }
    m_trabalhoPronto.notify_one();
    m_trabalho.join();
  }

  cripto::MD5 m_md5;
  std::string m_retido;
  std::thread m_trabalho;
  std::mutex m_trava;
  std::condition_variable m_trabalhoPronto, m_espaco;
  std::deque<std::shared_ptr<const std::string>> m_fila;
  bool m_fim = false;
};

// Takes a file's lines as they are read: the first one says which
// validator reads them; a line shaped as an EAD line is held back until it
// is known whether it is the last one (the signature, which is no line of
// the file).
class CLeitura {
 public:
  explicit CLeitura(Validacao& v) : m_v(v), m_coletor(v) {}

  // A line and the bytes that carry it (its line end included).
  void Acrescenta(std::string_view bruto) {
    if (m_retida) {
      const std::string retida = std::move(*m_retida);
      m_retida.reset();
      Entrega(retida);
    }
    std::string_view sem = bruto;
    if (!sem.empty() && sem.back() == '\n') sem.remove_suffix(1);
    if (!sem.empty() && sem.back() == '\r') sem.remove_suffix(1);
    if (FormaDeLinhaEAD(sem)) {
      m_retida = std::string(bruto);
      return;
    }
    Entrega(bruto);
  }

  void Fim() {
    if (m_retida) {
      std::string_view sem = *m_retida;
      if (sem.size() == CDigestoRetido::kLinhaEAD && sem.substr(sem.size() - 2) == "\r\n") {
        m_v.temLinhaEAD = true;
        m_v.linhaEAD = std::string(sem.substr(0, 3 + 256));
        ++m_numero;
      } else {
        Entrega(*m_retida);
      }
      m_retida.reset();
    }
    if (m_numero == 0) m_coletor.Erro(0, "", "vazio", "o arquivo não tem registros");
    if (m_validador) m_validador->Fim();
    m_coletor.Conclui();
    m_v.linhas -= std::min(m_v.linhas, m_v.linhasAssinatura);
  }

 private:
  void Entrega(std::string_view bruto) {
    Linha l;
    l.numero = ++m_numero;
    l.texto = bruto;
    if (!l.texto.empty() && l.texto.back() == '\n') {
      l.terminada = true;
      l.texto.remove_suffix(1);
      if (!l.texto.empty() && l.texto.back() == '\r') {
        l.texto.remove_suffix(1);
        l.crlf = true;
      }
    }
    ++m_v.linhas;
    if (l.numero == 1) {
      m_v.tipo = Reconhece(l.texto);
      m_validador = NovoValidador(m_v.tipo, m_coletor);
      if (!m_validador)
        m_coletor.Erro(1, "", "tipo-desconhecido",
                       "o primeiro registro não é o de nenhum dos arquivos fiscais que este programa conhece");
    }
    if (m_validador) m_validador->Linha(l);
  }

  Validacao& m_v;
  CColetor m_coletor;
  std::unique_ptr<CValidadorLinhas> m_validador;
  std::size_t m_numero = 0;
  std::optional<std::string> m_retida;
};

// Splits a text into lines and hands them on; answers the unfinished rest.
std::string_view Parte(std::string_view texto, CLeitura& leitura) {
  std::size_t inicio = 0;
  for (;;) {
    const void* fim = std::memchr(texto.data() + inicio, '\n', texto.size() - inicio);
    if (!fim) break;
    const std::size_t posicao = static_cast<std::size_t>(static_cast<const char*>(fim) - texto.data());
    leitura.Acrescenta(texto.substr(inicio, posicao + 1 - inicio));
    inicio = posicao + 1;
  }
  return texto.substr(inicio);
}

// Reads pieces of text, hands their lines on as they complete (a line cut
// between two pieces joined first) and the pieces to the digest.
class CPedacos {
 public:
  CPedacos(CLeitura& leitura, CDigestoRetido& digesto) : m_leitura(leitura), m_digesto(digesto) {}

  void Acrescenta(std::shared_ptr<const std::string> pedaco) {
    std::string_view texto = *pedaco;
    if (!m_resto.empty()) {
      const auto fim = texto.find('\n');
      if (fim == std::string_view::npos) {
        m_resto += texto;
        m_digesto.Acrescenta(std::move(pedaco));
        return;
      }
      m_resto += texto.substr(0, fim + 1);
      m_leitura.Acrescenta(m_resto);
      m_resto.clear();
      texto.remove_prefix(fim + 1);
    }
    m_resto = Parte(texto, m_leitura);
    m_digesto.Acrescenta(std::move(pedaco));
  }

  void Fim() {
    if (!m_resto.empty()) m_leitura.Acrescenta(m_resto);
    m_resto.clear();
  }

 private:
  CLeitura& m_leitura;
  CDigestoRetido& m_digesto;
  std::string m_resto;
};

}  // namespace

const char* NomeTipo(TipoArquivo tipo) {
  switch (tipo) {
    case TipoArquivo::Desconhecido: return "desconhecido";
    case TipoArquivo::Sintegra: return "Sintegra";
    case TipoArquivo::EFD: return "EFD ICMS/IPI";
    case TipoArquivo::EFDContribuicoes: return "EFD-Contribuições";
    case TipoArquivo::AtoCotepe: return "Ato COTEPE (registro E00)";
    case TipoArquivo::Movimentos: return "Movimentos por ECF";
    case TipoArquivo::DAVs: return "DAVs emitidos";
    case TipoArquivo::TabelaProdutos: return "Tabela de Produtos";
    case TipoArquivo::Estoque: return "Estoque";
    case TipoArquivo::ListaAutenticados: return "Lista de arquivos autenticados";
    case TipoArquivo::MFD: return "Memória Fita Detalhe (Ato COTEPE/ICMS 17/04)";
  }
  return "";
}

bool AssinadoComEAD(TipoArquivo tipo) {
  switch (tipo) {
    case TipoArquivo::Movimentos:
    case TipoArquivo::DAVs:
    case TipoArquivo::TabelaProdutos:
    case TipoArquivo::Estoque:
    case TipoArquivo::ListaAutenticados:
    case TipoArquivo::MFD:
      return true;
    default:
      return false;
  }
}

bool Validacao::Valido() const { return tipo != TipoArquivo::Desconhecido && Erros() == 0; }

std::size_t Validacao::Erros() const {
  std::size_t n = 0;
  for (const auto& r : regras)
    if (r.gravidade == Gravidade::Erro) n += r.vezes;
  return n;
}

std::size_t Validacao::Avisos() const {
  std::size_t n = 0;
  for (const auto& r : regras)
    if (r.gravidade == Gravidade::Aviso) n += r.vezes;
  return n;
}

Validacao ValidaConteudo(std::string_view conteudo) {
  Validacao v;
  CLeitura leitura(v);
  CDigestoRetido digesto(false);
  CPedacos pedacos(leitura, digesto);
  pedacos.Acrescenta(std::make_shared<const std::string>(conteudo));
  pedacos.Fim();
  leitura.Fim();
  v.digest = digesto.Finaliza(v.temLinhaEAD);
  return v;
}

Validacao ValidaArquivo(const std::string& caminhoNativo, bool* legivel) {
  Validacao v;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> arquivo(std::fopen(caminhoNativo.c_str(), "rb"), &std::fclose);
  *legivel = static_cast<bool>(arquivo);
  if (!arquivo) return v;
  std::setvbuf(arquivo.get(), nullptr, _IONBF, 0);
  CLeitura leitura(v);
  CDigestoRetido digesto(true);
  CPedacos pedacos(leitura, digesto);
  for (;;) {
    auto pedaco = std::make_shared<std::string>(kPedaco, '\0');
    const std::size_t lidos = std::fread(pedaco->data(), 1, pedaco->size(), arquivo.get());
    if (lidos == 0) {
      if (std::ferror(arquivo.get())) *legivel = false;
      break;
    }
    pedaco->resize(lidos);
    pedacos.Acrescenta(std::move(pedaco));
  }
  pedacos.Fim();
  leitura.Fim();
  v.digest = digesto.Finaliza(v.temLinhaEAD);
  return v;
}

}  // namespace qmx::validacao
