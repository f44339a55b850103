#include "frame/QMXFormatador.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx {
namespace {

constexpr int kLarguraMaxima = CQMXFormatador::kTamanhoBuffer - 1;

int Limita(int largura) {
  if (largura < 0) return 0;
  return largura > kLarguraMaxima ? kLarguraMaxima : largura;
}

const char* SemNulo(const char* texto) { return texto ? texto : ""; }

}  // namespace

CQMXFormatador::CQMXFormatador() { std::memset(m_buffer, 0, sizeof m_buffer); }

const char* CQMXFormatador::Corta(int largura) {
  m_buffer[Limita(largura)] = '\0';
  return m_buffer;
}

void CQMXFormatador::Alinha(const char* texto, int n, int largura, char enchimento, bool aDireita) {
  n = n > kLarguraMaxima ? kLarguraMaxima : n;
  const int alvo = Limita(largura);
  const int enche = alvo > n ? alvo - n : 0;
  if (aDireita) {
    std::memset(m_buffer, enchimento, static_cast<size_t>(enche));
    std::memmove(m_buffer + enche, texto, static_cast<size_t>(n > kLarguraMaxima - enche ? kLarguraMaxima - enche : n));
  } else {
    std::memmove(m_buffer, texto, static_cast<size_t>(n));
    std::memset(m_buffer + n, enchimento, static_cast<size_t>(enche));
  }
  m_buffer[n + enche > kLarguraMaxima ? kLarguraMaxima : n + enche] = '\0';
}

const char* CQMXFormatador::FormataTexto(const char* texto, int largura, bool completa, bool alinhaEsquerda) {
  texto = SemNulo(texto);
  const int n = static_cast<int>(std::strlen(texto));
  // The space flag of "% -*s" does nothing for strings; blanks pad.
  Alinha(texto, n, completa ? largura : 0, ' ', !alinhaEsquerda);
  return Corta(largura);
}

const char* CQMXFormatador::FormataNumeroTexto(const char* texto, int largura, bool completaZeros) {
  char limpo[kTamanhoBuffer];
  int n = 0;
  for (const char* c = SemNulo(texto); *c && n < kLarguraMaxima; ++c)
    if (*c != '.' && *c != '/' && *c != '-') limpo[n++] = *c;
  // The Windows run-time pads "%0*s" with zeros (glibc would use blanks).
  Alinha(limpo, n, completaZeros ? largura : 0, '0', true);
  return Corta(largura);
}

const char* CQMXFormatador::FormataInteiro(std::int64_t valor, int largura, bool completaZeros) {
  if (completaZeros)
    std::snprintf(m_buffer, sizeof m_buffer, "%0*" PRId64, Limita(largura), valor);
  else
    std::snprintf(m_buffer, sizeof m_buffer, "%" PRId64, valor);
  return Corta(largura);
}

const char* CQMXFormatador::FormataValor(std::int64_t valor4, int largura, int decimais, bool tiraVirgula,
                                         bool completaZeros) {
  // The decimal text "[-]inteiro,dddd" with the grouping dots already gone,
  // built by hand so that no rounding and no allocation take place.
  char texto[kTamanhoBuffer];
  int n = 0;
  const bool negativo = valor4 < 0;
  const std::uint64_t magnitude = negativo ? 0 - static_cast<std::uint64_t>(valor4) : static_cast<std::uint64_t>(valor4);
  if (negativo) texto[n++] = '-';
  n += std::snprintf(texto + n, sizeof texto - static_cast<size_t>(n), "%" PRIu64, magnitude / 10000);
  if (decimais > 0) {
    if (!tiraVirgula) texto[n++] = ',';
    // The four decimals followed by "0000", cut to the count asked for:
    // at most eight decimal places ever come out.
    char oito[9];
    std::snprintf(oito, sizeof oito, "%04u0000", static_cast<unsigned>(magnitude % 10000));
    for (int i = 0; i < decimais && i < 8 && n < kLarguraMaxima; ++i) texto[n++] = oito[i];
  }
  Alinha(texto, n, completaZeros ? largura : 0, '0', true);
  return Corta(largura);
}

const char* CQMXFormatador::FormataDataDMA(NumeroDia numeroDia, const char* separador) {
  const DiaMesAno data = DecodificaDia(numeroDia);
  separador = SemNulo(separador);
  std::snprintf(m_buffer, sizeof m_buffer, "%02i%s%02i%s%04i", data.dia, separador, data.mes, separador, data.ano);
  return m_buffer;
}

const char* CQMXFormatador::FormataDataAMD(NumeroDia numeroDia, const char* separador) {
  const DiaMesAno data = DecodificaDia(numeroDia);
  separador = SemNulo(separador);
  std::snprintf(m_buffer, sizeof m_buffer, "%04i%s%02i%s%02i", data.ano, separador, data.mes, separador, data.dia);
  return m_buffer;
}

const char* CQMXFormatador::FormataMesAno(std::uint16_t codigoMes, const char* separador) {
  const DiaMesAno data = DecodificaMes(codigoMes);
  std::snprintf(m_buffer, sizeof m_buffer, "%02i%s%04i", data.mes, SemNulo(separador), data.ano);
  return m_buffer;
}

}  // namespace qmx
