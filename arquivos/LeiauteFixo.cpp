#include "arquivos/LeiauteFixo.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/texto/LetrasEDigitos.h"
#include "frame/QMXGenerica.h"

namespace qmx {

using leiaute::Campo;
using leiaute::Tipo;

namespace {

bool TomaValor(Tipo tipo) { return tipo != Tipo::Brancos && tipo != Tipo::Literal; }

int Digitos(std::uint64_t numero) {
  int n = 1;
  while (numero >= 10) numero /= 10, ++n;
  return n;
}

}  // namespace

const std::string& CEscritorRegistro::Monta(std::span<const Campo> campos,
                                            std::initializer_list<leiaute::Valor> valores) {
  m_linha.clear();
  auto valor = valores.begin();
  for (const auto& campo : campos) {
    if (!TomaValor(campo.tipo)) {
      Acrescenta(campo, nullptr);
      continue;
    }
    if (valor == valores.end()) throw std::invalid_argument("registro com valores a menos");
    Acrescenta(campo, valor++);
  }
  if (valor != valores.end()) throw std::invalid_argument("registro com valores a mais");
  m_linha += m_fimLinha;
  return m_linha;
}

namespace {

// The decimal digits of a number written from the right, two at a time
// from a table of the hundred pairs (a month's file formats tens of
// millions of fields), ending just before `fim`; gives the first digit.
char* DigitosAntesDe(std::uint64_t magnitude, char* fim) {
  static constexpr char kPares[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* p = fim;
  while (magnitude >= 100) {
    const auto par = static_cast<std::size_t>(magnitude % 100) * 2;
    magnitude /= 100;
    *--p = kPares[par + 1];
    *--p = kPares[par];
  }
  if (magnitude >= 10) {
    const auto par = static_cast<std::size_t>(magnitude) * 2;
    *--p = kPares[par + 1];
    *--p = kPares[par];
  } else {
    *--p = static_cast<char>('0' + magnitude);
  }
  return p;
}

}  // namespace

// Zeros on the left up to the width; a number wider than the field keeps
// its leftmost digits, as the formatter's cut at the width does.
void CEscritorRegistro::Numero(std::uint64_t magnitude, int largura) {
  char digitos[20];
  char* fim = digitos + sizeof digitos;
  const char* p = DigitosAntesDe(magnitude, fim);
  const int n = static_cast<int>(fim - p);
  if (n < largura) m_linha.append(static_cast<std::size_t>(largura - n), '0');
  m_linha.append(p, static_cast<std::size_t>(n < largura ? n : largura));
}

void CEscritorRegistro::NumeroCortadoAEsquerda(std::uint64_t magnitude, int largura) {
  // Zeros on the left up to the width (at most 512); digits beyond the
  // width fall off on the left.
  if (largura > 512) largura = 512;
  if (largura <= 0) return;
  char digitos[20];
  char* fim = digitos + sizeof digitos;
  const char* p = DigitosAntesDe(magnitude, fim);
  const int n = static_cast<int>(fim - p);
  if (n < largura) {
    m_linha.append(static_cast<std::size_t>(largura - n), '0');
    m_linha.append(p, static_cast<std::size_t>(n));
  } else {
    m_linha.append(fim - largura, static_cast<std::size_t>(largura));
  }
}

void CEscritorRegistro::Acrescenta(const Campo& campo, const leiaute::Valor* valor) {
  switch (campo.tipo) {
    case Tipo::Brancos: m_linha.append(static_cast<std::size_t>(campo.largura), ' '); return;
    case Tipo::Literal: m_linha += campo.literal; return;
    case Tipo::X: {
      // "%-*s" cut at the width: the text's first characters, blanks after.
      const std::size_t n = strnlen(valor->texto, static_cast<std::size_t>(campo.largura));
      m_linha.append(valor->texto, n);
      m_linha.append(static_cast<std::size_t>(campo.largura) - n, ' ');
      return;
    }
    case Tipo::Inscricao: {
      const std::string limpa = texto::LetrasEDigitos(valor->texto);
      const std::size_t n = std::min(limpa.size(), static_cast<std::size_t>(campo.largura));
      m_linha.append(limpa, 0, n);
      m_linha.append(static_cast<std::size_t>(campo.largura) - n, ' ');
      return;
    }
    case Tipo::D: m_linha += m_formatador.FormataNumeroTexto(valor->texto, campo.largura, true); return;
    case Tipo::N:
      if (valor->numero >= 0) Numero(static_cast<std::uint64_t>(valor->numero), campo.largura);
      else m_linha += m_formatador.FormataInteiro(valor->numero, campo.largura, true);
      return;
    case Tipo::V:
      // The whole part (at least "0") and the first decimals, cut: the
      // amount times 10^d, when that text fits the field. A longer one is
      // cut at the width from its left, leading "0" included.
      if (valor->numero >= 0 && campo.decimais >= 0 && campo.decimais <= 4 &&
          Digitos(static_cast<std::uint64_t>(valor->numero) / 10000) + campo.decimais <= campo.largura) {
        std::uint64_t escala = 10000;
        for (int i = 0; i < campo.decimais; ++i) escala /= 10;
        Numero(static_cast<std::uint64_t>(valor->numero) / escala, campo.largura);
      } else {
        m_linha += m_formatador.FormataValor(valor->numero, campo.largura, campo.decimais, true, true);
      }
      return;
    case Tipo::Dt: {
      const DiaMesAno data = DecodificaDia(static_cast<NumeroDia>(valor->numero));
      Numero(static_cast<std::uint64_t>(data.ano), 4);
      Numero(static_cast<std::uint64_t>(data.mes), 2);
      Numero(static_cast<std::uint64_t>(data.dia), 2);
      return;
    }
    case Tipo::MesAno: m_linha += m_formatador.FormataMesAno(static_cast<std::uint16_t>(valor->numero), ""); return;
    case Tipo::Numerico:
      if (valor->texto) {
        m_linha += CQMXGenerica::FormataCampo(valor->texto, static_cast<std::uint16_t>(campo.largura), true, false);
      } else {
        // The sign is one of the characters a numeric field drops.
        const std::uint64_t magnitude = valor->numero < 0 ? 0 - static_cast<std::uint64_t>(valor->numero)
                                                          : static_cast<std::uint64_t>(valor->numero);
        NumeroCortadoAEsquerda(magnitude, campo.largura);
      }
      return;
    case Tipo::Quantia: {
      const std::uint64_t magnitude = valor->numero < 0 ? 0 - static_cast<std::uint64_t>(valor->numero)
                                                        : static_cast<std::uint64_t>(valor->numero);
      std::uint64_t escala = 10000;
      for (int i = 0; i < campo.decimais && i < 4; ++i) escala /= 10;
      std::uint64_t valorCampo = magnitude / escala;
      for (int i = 4; i < campo.decimais; ++i) valorCampo *= 10;
      NumeroCortadoAEsquerda(valorCampo, campo.largura);
      return;
    }
    case Tipo::DataInvertida:
      m_linha += qmx::DataInvertida(static_cast<NumeroDia>(valor->numero), true);
      return;
  }
}

}  // namespace qmx
