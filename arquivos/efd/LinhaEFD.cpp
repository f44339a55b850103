#include "arquivos/efd/LinhaEFD.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "calculo/Inteiro128.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/texto/DigitosDecimais.h"
#include "plataforma/texto/LetrasEDigitos.h"

namespace qmx::efd {

namespace {

// The characters of a numeric field of FormataCampo: "/", "-", ".",
// blanks (and "," unless kept) removed; at most 512 of them.
struct TextoNumerico {
  char limpo[512];
  std::size_t n = 0;
  TextoNumerico(std::string_view texto, bool mantemVirgula) {
    for (char c : texto) {
      if (c == '/' || c == '-' || c == '.' || c == ' ' || (c == ',' && !mantemVirgula)) continue;
      if (n < sizeof limpo) limpo[n++] = c;
    }
  }
  // The field's width: zeros on the left up to `largura`.
  std::size_t Largura(int largura) const { return largura > 0 ? static_cast<std::size_t>(largura) : n; }
  // Writes the field of that width; too long, the rightmost characters
  // stay. Answers its end.
  char* Escreve(char* saida, std::size_t alvo) const {
    if (n < alvo) {
      std::memset(saida, '0', alvo - n);
      saida += alvo - n;
    }
    const std::size_t corte = n > alvo ? n - alvo : 0;
    std::memcpy(saida, limpo + corte, n - corte);
    return saida + (n - corte);
  }
};

}  // namespace

void AcrescentaNumerico(std::string& destino, std::string_view texto, int largura, bool mantemVirgula) {
  const TextoNumerico numerico(texto, mantemVirgula);
  const std::size_t alvo = numerico.Largura(largura);
  const std::size_t inicio = destino.size();
  destino.resize(inicio + alvo);
  numerico.Escreve(destino.data() + inicio, alvo);
}

bool TemDigito(std::string_view texto) {
  for (char c : texto)
    if (c >= '0' && c <= '9') return true;
  return false;
}

std::int64_t ParteDoValor(std::int64_t valor4, std::uint32_t centesimos) {
  // Every item's PIS and COFINS come through here: a product that fits 64
  // bits is divided there, the same rounding as below.
  std::int64_t produto64;
  if (!__builtin_mul_overflow(valor4, static_cast<std::int64_t>(centesimos), &produto64)) {
    std::int64_t quociente = produto64 / 10000;
    const std::int64_t resto = produto64 % 10000;
    const std::int64_t dobro = (resto < 0 ? -resto : resto) * 2;
    if (dobro > 10000 || (dobro == 10000 && (quociente % 2) != 0)) quociente += produto64 < 0 ? -1 : 1;
    return quociente;
  }
  const qmx::Inteiro128 produto = static_cast<qmx::Inteiro128>(valor4) * centesimos;
  qmx::Inteiro128 quociente = produto / 10000;
  const qmx::Inteiro128 resto = produto % 10000;
  const qmx::Inteiro128 dobro = (resto < 0 ? -resto : resto) * 2;
  if (dobro > 10000 || (dobro == 10000 && (quociente % 2) != 0)) quociente += produto < 0 ? -1 : 1;
  return static_cast<std::int64_t>(quociente);
}

namespace {

// The i-th decimal digit of a value kept in ten-thousandths: four digits
// are kept, the ones past them are zeros.
char DigitoDecimal(unsigned fracao, int i) {
  static constexpr unsigned kDivisor[4] = {1000, 100, 10, 1};
  return i < 4 ? static_cast<char>('0' + fracao / kDivisor[i] % 10) : '0';
}

}  // namespace

std::size_t TextoValor(char* saida, std::int64_t valor4, int decimais) {
  std::size_t n = 0;
  const bool negativo = valor4 < 0;
  const std::uint64_t magnitude = negativo ? 0 - static_cast<std::uint64_t>(valor4) : static_cast<std::uint64_t>(valor4);
  if (negativo) saida[n++] = '-';
  n = static_cast<std::size_t>(std::to_chars(saida + n, saida + 32, magnitude / 10000).ptr - saida);
  if (decimais > 0) {
    saida[n++] = ',';
    const auto fracao = static_cast<unsigned>(magnitude % 10000);
    for (int i = 0; i < decimais && i < 8; ++i) saida[n++] = DigitoDecimal(fracao, i);
  }
  return n;
}

std::size_t TextoData(char* saida, NumeroDia numeroDia) {
  const DiaMesAno data = DecodificaDia(numeroDia);
  const unsigned ano = data.ano;
  std::memcpy(saida, texto::ParDeDigitos(data.dia % 100u), 2);
  std::memcpy(saida + 2, texto::ParDeDigitos(data.mes % 100u), 2);
  std::memcpy(saida + 4, texto::ParDeDigitos(ano / 100 % 100), 2);
  std::memcpy(saida + 6, texto::ParDeDigitos(ano % 100), 2);
  return 8;
}

namespace {

// What the text is grown by ahead of a line: the widest item line and
// then some, so that most lines grow it once.
constexpr std::size_t kFolga = 256;

}  // namespace

CLinhaEFD::CLinhaEFD(std::string& destino, const char* registro)
    : m_destino(destino), m_cursor(destino.data() + destino.size()), m_limite(m_cursor) {
  const std::size_t n = std::strlen(registro);
  char* p = Espaco(n + 2);
  *p++ = '|';
  std::memcpy(p, registro, n);
  Campo(p + n);
}

CLinhaEFD::~CLinhaEFD() {
  // The text may have grown past an ended line since.
  if (!m_terminada) Corta();
}

void CLinhaEFD::Cresce(std::size_t n) {
  const auto escrito = static_cast<std::size_t>(m_cursor - m_destino.data());
  m_destino.resize(escrito + n + kFolga);
  m_cursor = m_destino.data() + escrito;
  m_limite = m_destino.data() + m_destino.size();
}

// The text cut back to the line's end.
void CLinhaEFD::Corta() {
  m_destino.resize(static_cast<std::size_t>(m_cursor - m_destino.data()));
  m_limite = m_cursor;
}

std::string SoDigitos(std::string_view texto) {
  std::string digitos;
  for (char c : texto)
    if (c >= '0' && c <= '9') digitos += c;
  return digitos;
}

CLinhaEFD& CLinhaEFD::Cfop(std::string_view texto) {
  // Every item line has one: its digits, zeros on the left up to four or
  // the rightmost four.
  char digitos[64];
  std::size_t n = 0;
  for (char c : texto)
    if (c >= '0' && c <= '9' && n < sizeof digitos) digitos[n++] = c;
  if (n == 0) return Vazio();
  char* p = Espaco(5);
  if (n >= 4) {
    std::memcpy(p, digitos + n - 4, 4);
  } else {
    std::memset(p, '0', 4 - n);
    std::memcpy(p + 4 - n, digitos, n);
  }
  return Campo(p + 4);
}

CLinhaEFD& CLinhaEFD::Inscricao(std::string_view inscricao) { return Texto(texto::LetrasEDigitos(inscricao)); }

CLinhaEFD& CLinhaEFD::Telefone(std::string_view ddd, std::string_view numero) {
  const std::string digitos = SoDigitos(numero);
  if (digitos.empty()) return Vazio();
  // The area code is two digits: a trunk prefix typed before it ("019")
  // is not part of it.
  std::string area = SoDigitos(ddd);
  if (area.size() > 2) area.erase(0, area.size() - 2);
  return Texto(area + digitos);
}

CLinhaEFD& CLinhaEFD::Texto(std::string_view campo) {
  char* p = Espaco(campo.size() + 1);
  // An empty field may have no characters at all to copy from.
  if (!campo.empty()) std::memcpy(p, campo.data(), campo.size());
  return Campo(p + campo.size());
}

CLinhaEFD& CLinhaEFD::Codigo(char tipo, std::uint32_t numero) {
  char* p = Espaco(16);
  *p = tipo;
  return Campo(std::to_chars(p + 1, p + 15, numero).ptr);
}

CLinhaEFD& CLinhaEFD::Vazios(int quantos) {
  if (quantos <= 0) return *this;
  char* p = Espaco(static_cast<std::size_t>(quantos));
  std::memset(p, '|', static_cast<std::size_t>(quantos));
  m_cursor += quantos;
  return *this;
}

CLinhaEFD& CLinhaEFD::Inteiro(std::int64_t valor) {
  char* p = Espaco(24);
  return Campo(std::to_chars(p, p + 23, valor).ptr);
}

CLinhaEFD& CLinhaEFD::Valor(std::int64_t valor4, int decimais) {
  char* p = Espaco(33);
  return Campo(p + TextoValor(p, valor4, decimais));
}

CLinhaEFD& CLinhaEFD::ValorCortado(std::int64_t valor4, int decimais, std::size_t largura) {
  char texto[32];
  return Texto(std::string_view(texto, TextoValor(texto, valor4, decimais)).substr(0, largura));
}

CLinhaEFD& CLinhaEFD::Numerico(std::string_view texto, int largura, bool mantemVirgula) {
  const TextoNumerico numerico(texto, mantemVirgula);
  const std::size_t alvo = numerico.Largura(largura);
  return Campo(numerico.Escreve(Espaco(alvo + 1), alvo));
}

CLinhaEFD& CLinhaEFD::NumericoInteiro(std::int64_t valor, int largura) {
  char texto[24];
  return Numerico(std::string_view(texto, static_cast<std::size_t>(std::to_chars(texto, texto + sizeof texto, valor).ptr - texto)),
                  largura);
}

CLinhaEFD& CLinhaEFD::N14(std::int64_t valor4, int decimais) {
  // The value's text as a numeric field of 14 keeping its comma: the sign
  // (the only character of the text such a field drops) left out, zeros on
  // the left, or the rightmost 14 characters of a longer text. Every item
  // line has several, so the digits go straight into the field, in the
  // line, from the right.
  char* const campo = Espaco(15);
  std::memcpy(campo, "00000000000000|", 15);
  m_cursor += 15;
  const std::uint64_t magnitude = valor4 < 0 ? 0 - static_cast<std::uint64_t>(valor4) : static_cast<std::uint64_t>(valor4);
  int posicao = 14;
  if (decimais == 2) {
    std::memcpy(campo + 12, texto::ParDeDigitos(static_cast<unsigned>(magnitude % 10000 / 100)), 2);
    campo[11] = ',';
    posicao = 11;
  } else if (decimais == 3) {
    const auto fracao = static_cast<unsigned>(magnitude % 10000);
    campo[13] = static_cast<char>('0' + fracao / 10 % 10);
    std::memcpy(campo + 11, texto::ParDeDigitos(fracao / 100), 2);
    campo[10] = ',';
    posicao = 10;
  } else if (decimais > 0) {
    const auto fracao = static_cast<unsigned>(magnitude % 10000);
    for (int i = std::min(decimais, 8) - 1; i >= 0 && posicao > 0; --i) campo[--posicao] = DigitoDecimal(fracao, i);
    if (posicao > 0) campo[--posicao] = ',';
  }
  // The whole part's digits before the comma (zero is the field's own
  // "0"); of a whole part wider than what is left, the rightmost.
  const std::uint64_t inteiro = magnitude / 10000;
  if (inteiro == 0) return *this;
  if (texto::CabeEm(inteiro, posicao)) {
    texto::DigitosAntesDe(inteiro, campo + posicao);
  } else if (posicao > 0) {
    char digitos[20];
    texto::DigitosAntesDe(inteiro, digitos + sizeof digitos);
    std::memcpy(campo, digitos + sizeof digitos - posicao, static_cast<std::size_t>(posicao));
  }
  return *this;
}

CLinhaEFD& CLinhaEFD::Aliquota6(std::uint16_t centesimos) {
  // "%.02f" of the rate over 100, the point turned into a comma, in a
  // numeric field of 6: at most 655,35, so always three whole digits.
  char* p = Espaco(7);
  const unsigned inteiro = centesimos / 100u;
  p[0] = static_cast<char>('0' + inteiro / 100);
  std::memcpy(p + 1, texto::ParDeDigitos(inteiro % 100), 2);
  p[3] = ',';
  std::memcpy(p + 4, texto::ParDeDigitos(centesimos % 100u), 2);
  return Campo(p + 6);
}

// "%0*s" of the text without its separators, then cut at the width.
CLinhaEFD& CLinhaEFD::Digitos(std::string_view texto, int largura) {
  std::size_t n = 0;
  for (char c : texto) n += (c != '.' && c != '/' && c != '-') ? 1 : 0;
  const std::size_t alvo = largura > 0 ? static_cast<std::size_t>(largura) : 0;
  char* p = Espaco(alvo + 1);
  if (n < alvo) {
    std::memset(p, '0', alvo - n);
    p += alvo - n;
  }
  std::size_t escritos = n < alvo ? alvo - n : 0;
  for (char c : texto) {
    if (escritos >= alvo) break;
    if (c == '.' || c == '/' || c == '-') continue;
    *p++ = c;
    ++escritos;
  }
  return Campo(p);
}

CLinhaEFD& CLinhaEFD::Data(NumeroDia numeroDia) {
  char* p = Espaco(9);
  return Campo(p + TextoData(p, numeroDia));
}

CLinhaEFD& CLinhaEFD::Literal(std::string_view texto) {
  if (texto.empty()) return *this;
  std::memcpy(Espaco(texto.size()), texto.data(), texto.size());
  m_cursor += texto.size();
  return *this;
}

void CLinhaEFD::Fim() {
  std::memcpy(Espaco(2), "\r\n", 2);
  m_cursor += 2;
  Corta();
  m_terminada = true;
}

}  // namespace qmx::efd
