#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "arquivos/ValidacaoArquivo.h"
#include "plataforma/calendario/NumeroDia.h"

// What every validator of a kind of file shares: the lines, the problems
// found, the fields of fixed-width records and the forms of dates and
// numbers the layouts use.
namespace qmx::validacao {

struct Linha {
  std::string_view texto;  // without its line end
  std::size_t numero = 0;  // 1-based
  bool crlf = false;       // ended in CR LF (else LF, or nothing on the last line)
  bool terminada = false;  // had a line end at all
};

// Collects the problems of one file: every time a rule is broken is
// counted; the first three times of each rule (in one register) are kept
// with their lines, so that a file with thousands of bad lines gives a
// report people read.
class CColetor {
 public:
  explicit CColetor(Validacao& destino) : m_destino(destino) {}
  void Erro(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem) {
    Acrescenta(linha, registro, regra, std::move(mensagem), Gravidade::Erro);
  }
  void Aviso(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem) {
    Acrescenta(linha, registro, regra, std::move(mensagem), Gravidade::Aviso);
  }
  void Informa(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem) {
    Acrescenta(linha, registro, regra, std::move(mensagem), Gravidade::Informacao);
  }
  Validacao& Destino() { return m_destino; }
  // Closes the report: the problems in line order, the rules errors first.
  void Conclui();

 private:
  void Acrescenta(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem,
                  Gravidade gravidade);
  Validacao& m_destino;
};

// A validator of one kind of file: it takes the file's lines one by one,
// keeping only what its rules need, and closes its checks at the end.
class CValidadorLinhas {
 public:
  virtual ~CValidadorLinhas() = default;
  virtual void Linha(const Linha& linha) = 0;
  virtual void Fim() = 0;
};

// ----- forms of values -----

// Both are run over every field of every line of a file: eight bytes at a
// time where the text is long enough.
inline std::uint64_t OitoBytes(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);
  return x;
}
inline bool SoDigitos(std::string_view texto) {
  if (texto.empty()) return false;
  std::size_t i = 0;
  constexpr std::uint64_t kAltos = 0xF0F0F0F0F0F0F0F0ull, kTres = 0x3030303030303030ull, kSeis = 0x0606060606060606ull;
  // A digit has 3 in its high half, and adding 6 to its low half keeps it 3.
  for (; i + 8 <= texto.size(); i += 8) {
    const std::uint64_t x = OitoBytes(texto.data() + i);
    if ((x & kAltos) != kTres || ((x + kSeis) & kAltos) != kTres) return false;
  }
  for (; i < texto.size(); ++i)
    if (static_cast<unsigned char>(texto[i] - '0') > 9) return false;
  return true;
}
// AAAAMMDD and DDMMAAAA of a day of the calendar; MMAAAA of a month.
std::optional<NumeroDia> DataAMD(std::string_view texto);
std::optional<NumeroDia> DataDMA(std::string_view texto);
bool MesAnoValido(std::string_view texto);
// Printable characters of Windows-1252 only (no control characters).
inline bool TextoImprimivel(std::string_view texto) {
  std::size_t i = 0;
  constexpr std::uint64_t kUns = 0x0101010101010101ull, kOitentas = 0x8080808080808080ull;
  // A byte below 0x20, or one equal to 0x7F, in the eight.
  for (; i + 8 <= texto.size(); i += 8) {
    const std::uint64_t x = OitoBytes(texto.data() + i), d = x ^ (kUns * 0x7F);
    if (((x - kUns * 0x20) & ~x & kOitentas) || ((d - kUns) & ~d & kOitentas)) return false;
  }
  for (; i < texto.size(); ++i) {
    const auto b = static_cast<unsigned char>(texto[i]);
    if (b < 0x20 || b == 0x7F) return false;
  }
  return true;
}
// The whole number a field of digits holds (fields of up to 18 digits).
std::int64_t Numero(std::string_view digitos);
// Check digits of a CNPJ (14 digits) and of a CPF (11 digits).
bool CnpjValido(std::string_view digitos);
bool CpfValido(std::string_view digitos);
// The two-letter code of a Brazilian state.
bool UfValida(std::string_view uf);

// A 64-bit digest of a key made of fields (FNV-1a, a separator between
// fields), for the sets of codes a rule keeps: eight bytes a key, whatever
// the size of the file.
inline std::uint64_t Chave(std::initializer_list<std::string_view> campos) {
  std::uint64_t h = 14695981039346656037ull;
  for (std::string_view campo : campos) {
    for (char c : campo) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    h = (h ^ 0x1Fu) * 1099511628211ull;
  }
  return h;
}

// ----- fixed-width records -----

enum class TipoCampo {
  N,           // digits, zeros on the left
  X,           // any printable text, blanks on the right
  Data,        // AAAAMMDD
  DataOuZero,  // AAAAMMDD or eight zeros (no date)
  Hora,        // HHMMSS
  MesAno,      // MMAAAA
  Brancos,     // blanks only
};

struct CampoFixo {
  const char* nome;
  std::size_t inicio;  // 1-based, as the layouts number positions
  std::size_t largura;
  TipoCampo tipo;
};

// The record's width and each field's form; returns false when the width
// is wrong (the fields are then not looked at).
bool ConfereRegistroFixo(const Linha& linha, std::string_view registro, std::size_t largura,
                         std::initializer_list<CampoFixo> campos, CColetor& coletor);

// The text of a field by its 1-based position.
inline std::string_view Campo(std::string_view linha, std::size_t inicio, std::size_t largura) {
  if (inicio == 0 || inicio - 1 >= linha.size()) return {};
  return linha.substr(inicio - 1, largura);
}

// ----- files of typed fixed-width records (the PAF-ECF files, the MFD) -----

struct LeiauteTipado {
  std::string_view tipo;  // "R01", "D2", "E15"...
  std::size_t largura;
  std::vector<CampoFixo> campos;
};

// The lines of a file of typed records, one at a time: CR LF (a line
// without it reported with `semCrlf`), a known type, its width and fields, the types
// grouped in the order `leiautes` lists them. Answers the type's position
// in `leiautes`, or nothing for a line of no known type or the wrong width
// (reported).
class CRegistrosTipados {
 public:
  CRegistrosTipados(std::vector<LeiauteTipado> leiautes, CColetor& coletor, Gravidade semCrlf = Gravidade::Erro);
  std::optional<std::size_t> Confere(const Linha& linha);
  // How many lines of each type came (of the right width or not).
  std::size_t Quantos(std::size_t tipo) const { return m_quantos[tipo]; }
  const LeiauteTipado& Leiaute(std::size_t tipo) const { return m_leiautes[tipo]; }
  std::size_t Tipos() const { return m_leiautes.size(); }

 private:
  std::vector<LeiauteTipado> m_leiautes;
  std::vector<std::size_t> m_quantos;
  CColetor& m_coletor;
  Gravidade m_semCrlf;
  std::size_t m_ultimo = 0;
};

// The sort order of one type of line, as the lines come: the first line
// whose key is smaller than the one before it is reported.
class COrdem {
 public:
  COrdem() = default;
  COrdem(std::string_view tipo, std::string_view descricao, bool soAviso = false)
      : m_tipo(tipo), m_descricao(descricao), m_soAviso(soAviso) {}
  void Confere(const Linha& linha, std::string_view chave, CColetor& coletor);
  bool Nomeada() const { return !m_tipo.empty(); }

 private:
  std::string m_tipo, m_descricao;
  bool m_soAviso = false;
  bool m_relatado = false, m_temAnterior = false;
  std::string m_anterior;
};

// A field's text as a string, for messages and keys.
inline std::string Texto(std::string_view v) { return std::string(v); }

// A flag of one character among the allowed ones.
void Indicador(const Linha* l, std::string_view tipo, std::size_t posicao, std::string_view nome,
               std::string_view permitidos, CColetor& coletor);

// The fields of the records the Movimentos file and the detail memory
// share (R02 to R07, E12 to E21): the ECF's head (serial number,
// additional memory letter, model, user number), then the record's own.
std::vector<CampoFixo> CabecaECF(std::initializer_list<CampoFixo> resto);
// The records the two files write alike, field for field: the reduction
// (R02, E12), its partial totalizers (R03, E13), the cupom (R04, E14) and
// its payments (R07, E21).
const std::vector<CampoFixo>& CamposReducao();
const std::vector<CampoFixo>& CamposTotalizador();
const std::vector<CampoFixo>& CamposCupom();
const std::vector<CampoFixo>& CamposPagamento();
// The cupom's item (R05, E15): alike but for where the two digit counts
// stand at the end (R05 has one flag more before them).
std::vector<CampoFixo> CamposItem(std::size_t casasDaQuantidade);

// A partial totalizer of a Z reduction: a rate ("01T1800"; "T1800" too
// where the number goes in a field of its own), substitution, exempt and
// not taxed ("F1", "FS1"...), discounts, surcharges, cancellations and the
// non-fiscal ones. Blanks on the right are not part of the code.
bool TotalizadorParcialValido(std::string_view codigo, bool aceitaSemNumero);

// A state registration as the PAF-ECF files hold it: text aligned to the
// left, letters and digits without punctuation, never a number padded with
// zeros to the field's width.
bool InscricaoSemPontuacao(std::string_view campo);

// ----- pipe-delimited records -----

// "|REG|a|b|" to {"REG", "a", "b"}; nothing when the line does not start
// and end with a bar.
std::optional<std::vector<std::string_view>> CamposDelimitados(std::string_view linha);

}  // namespace qmx::validacao
