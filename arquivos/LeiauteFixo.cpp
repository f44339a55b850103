#include "arquivos/LeiauteFixo.h"

#include <algorithm>
#include <cstring>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/texto/DigitosDecimais.h"
#include "plataforma/texto/LetrasEDigitos.h"
#include "frame/QMXGenerica.h"

namespace qmx {

using leiaute::Campo;
using leiaute::Tipo;

namespace {

// An amount of four implied decimals with `decimais` (0 to 4) of them: a
// division by a constant each, not by a power read from a table.
std::uint64_t ComDecimais(std::uint64_t valor4, int decimais) {
  switch (decimais) {
    case 0: return valor4 / 10000;
    case 1: return valor4 / 1000;
    case 2: return valor4 / 100;
    case 3: return valor4 / 10;
    default: return valor4;
  }
}

// What a line is grown by ahead of its fields: more than any record's
// width, so that a line grows its text once.
constexpr std::size_t kFolga = 256;

}  // namespace

// Zeros on the left up to the width; a number wider than the field keeps
// its leftmost digits, as the formatter's cut at the width does.
void CEscritorRegistro::Numero(std::uint64_t magnitude, int largura) {
  if (largura > 0) NumeroNaLargura(magnitude, static_cast<std::size_t>(largura), true);
}

void CEscritorRegistro::NumeroLargoDemais(std::uint64_t magnitude, char* campo, std::size_t largura,
                                          bool mantemAEsquerda) {
  char digitos[20];
  char* fim = digitos + sizeof digitos;
  const char* p = texto::DigitosAntesDe(magnitude, fim);
  const auto n = static_cast<std::size_t>(fim - p);
  if (n < largura) {
    std::memset(campo, '0', largura - n);
    std::memcpy(campo + (largura - n), p, n);
  } else {
    std::memcpy(campo, mantemAEsquerda ? p : fim - largura, largura);
  }
}

void CEscritorRegistro::Cresce(std::size_t n) { m_destino->resize(m_fim + n + kFolga); }

// Year, month and day; the lines of one day repeat its date, decoded once.
// Day numbers decode to years of four digits at most (and a day outside the
// calendar to zeros), so both kinds of date field write the same digits.
void CEscritorRegistro::Data(NumeroDia dia) {
  if (!m_haUltimaData || dia != m_ultimoDia) {
    const DiaMesAno data = DecodificaDia(dia);
    const unsigned partes[] = {data.ano, data.mes, data.dia};
    char* p = m_ultimaData + 8;
    for (int i = 2; i >= 0; --i) {
      unsigned v = partes[i];
      for (int k = 0; k < (i == 0 ? 4 : 2); ++k, v /= 10) *--p = static_cast<char>('0' + v % 10);
    }
    m_ultimoDia = dia;
    m_haUltimaData = true;
  }
  std::memcpy(Reserva(8), m_ultimaData, 8);
}

void CEscritorRegistro::Acrescenta(const Campo& campo, const leiaute::Valor* valor) {
  switch (campo.tipo) {
    case Tipo::Brancos:
      if (campo.largura > 0) std::memset(Reserva(static_cast<std::size_t>(campo.largura)), ' ', static_cast<std::size_t>(campo.largura));
      return;
    // A literal's width is its length (Lit).
    case Tipo::Literal: Texto(campo.literal, static_cast<std::size_t>(campo.largura)); return;
    case Tipo::X: Alfanumerico(valor->texto, campo.largura); return;
    case Tipo::Inscricao: {
      const std::string limpa = texto::LetrasEDigitos(valor->texto);
      if (campo.largura <= 0) return;
      const auto largura = static_cast<std::size_t>(campo.largura);
      const std::size_t n = std::min(limpa.size(), largura);
      char* p = Reserva(largura);
      std::memcpy(p, limpa.data(), n);
      std::memset(p + n, ' ', largura - n);
      return;
    }
    case Tipo::D: {
      const char* texto = m_formatador.FormataNumeroTexto(valor->texto, campo.largura, true);
      Texto(texto, std::strlen(texto));
      return;
    }
    case Tipo::N:
      if (valor->numero >= 0) Numero(static_cast<std::uint64_t>(valor->numero), campo.largura);
      else {
        const char* texto = m_formatador.FormataInteiro(valor->numero, campo.largura, true);
        Texto(texto, std::strlen(texto));
      }
      return;
    case Tipo::V:
      // The whole part (at least "0") and the first decimals, cut: the
      // amount times 10^d, when that text fits the field. A longer one is
      // cut at the width from its left, leading "0" included.
      if (valor->numero >= 0 && campo.decimais >= 0 && campo.decimais <= 4 &&
          texto::CabeEm(static_cast<std::uint64_t>(valor->numero) / 10000, long{campo.largura} - campo.decimais)) {
        Numero(ComDecimais(static_cast<std::uint64_t>(valor->numero), campo.decimais), campo.largura);
      } else {
        const char* texto = m_formatador.FormataValor(valor->numero, campo.largura, campo.decimais, true, true);
        Texto(texto, std::strlen(texto));
      }
      return;
    case Tipo::Dt: Data(static_cast<NumeroDia>(valor->numero)); return;
    case Tipo::MesAno: {
      const char* texto = m_formatador.FormataMesAno(static_cast<std::uint16_t>(valor->numero), "");
      Texto(texto, std::strlen(texto));
      return;
    }
    case Tipo::Numerico:
      if (valor->texto) {
        const std::string texto =
            CQMXGenerica::FormataCampo(valor->texto, static_cast<std::uint16_t>(campo.largura), true, false);
        Texto(texto.data(), texto.size());
      } else {
        NumericoInteiro(valor->numero, campo.largura);
      }
      return;
    case Tipo::Quantia: Quantia(valor->numero, campo.largura, campo.decimais); return;
    case Tipo::DataInvertida: Data(static_cast<NumeroDia>(valor->numero)); return;
  }
}

}  // namespace qmx
