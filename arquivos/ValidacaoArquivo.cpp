#include "arquivos/ValidacaoArquivo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

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

// Takes a file's lines as they are read: the first one says which
// validator reads them; a line shaped as an EAD line is held back until it
// is known whether it is the last one (the signature, which is no line of
// the file); all that comes before the signature is digested on the way.
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
      if (sem.size() == 3 + 256 + 2 && sem.substr(sem.size() - 2) == "\r\n") {
        m_v.temLinhaEAD = true;
        m_v.linhaEAD = std::string(sem.substr(0, 3 + 256));
        ++m_numero;
      } else {
        Entrega(*m_retida);
      }
      m_retida.reset();
    }
    m_v.digest = m_md5.Finaliza();
    if (m_numero == 0) m_coletor.Erro(0, "", "vazio", "o arquivo não tem registros");
    if (m_validador) m_validador->Fim();
    m_coletor.Conclui();
    m_v.linhas -= std::min(m_v.linhas, m_v.linhasAssinatura);
  }

 private:
  void Entrega(std::string_view bruto) {
    m_md5.Acrescenta(bruto.data(), bruto.size());
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
  cripto::MD5 m_md5;
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
  const std::string_view resto = Parte(conteudo, leitura);
  if (!resto.empty()) leitura.Acrescenta(resto);
  leitura.Fim();
  return v;
}

Validacao ValidaArquivo(const std::string& caminhoNativo, bool* legivel) {
  Validacao v;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> arquivo(std::fopen(caminhoNativo.c_str(), "rb"), &std::fclose);
  *legivel = static_cast<bool>(arquivo);
  if (!arquivo) return v;
  CLeitura leitura(v);
  std::string pedaco(kPedaco, '\0');
  std::size_t guardado = 0;  // the unfinished line at the piece's start
  for (;;) {
    if (guardado == pedaco.size()) pedaco.resize(pedaco.size() * 2);  // a line longer than a piece
    const std::size_t lidos = std::fread(pedaco.data() + guardado, 1, pedaco.size() - guardado, arquivo.get());
    if (lidos == 0) {
      if (std::ferror(arquivo.get())) *legivel = false;
      break;
    }
    const std::string_view resto = Parte(std::string_view(pedaco.data(), guardado + lidos), leitura);
    std::memmove(pedaco.data(), resto.data(), resto.size());
    guardado = resto.size();
  }
  if (guardado) leitura.Acrescenta(std::string_view(pedaco.data(), guardado));
  leitura.Fim();
  return v;
}

}  // namespace qmx::validacao
