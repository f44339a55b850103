#include "arquivos/LinhaEFD.h"

#include <cstdio>
#include <cstring>

#include "frame/QMXGenerica.h"

namespace qmx::efd {

void AcrescentaNumerico(std::string& destino, std::string_view texto, int largura, bool mantemVirgula) {
  char limpo[CQMXFormatador::kTamanhoBuffer];
  std::size_t n = 0;
  for (char c : texto) {
    if (c == '/' || c == '-' || c == '.' || c == ' ' || (c == ',' && !mantemVirgula)) continue;
    if (n < sizeof limpo) limpo[n++] = c;
  }
  const std::size_t alvo = largura > 0 ? static_cast<std::size_t>(largura) : n;
  if (n < alvo) destino.append(alvo - n, '0');
  // Too long: the rightmost characters stay.
  const std::size_t corte = n > alvo ? n - alvo : 0;
  destino.append(limpo + corte, n - corte);
}

std::int64_t ParteDoValor(std::int64_t valor4, std::uint32_t centesimos) {
  const __int128 produto = static_cast<__int128>(valor4) * centesimos;
  __int128 quociente = produto / 10000;
  const __int128 resto = produto % 10000;
  const __int128 dobro = (resto < 0 ? -resto : resto) * 2;
  if (dobro > 10000 || (dobro == 10000 && (quociente % 2) != 0)) quociente += produto < 0 ? -1 : 1;
  return static_cast<std::int64_t>(quociente);
}

CLinhaEFD::CLinhaEFD(std::string& destino, const char* registro) : m_destino(destino) {
  m_destino += '|';
  m_destino += registro;
  m_destino += '|';
}

CLinhaEFD& CLinhaEFD::Texto(std::string_view campo) {
  m_destino.append(campo);
  m_destino += '|';
  return *this;
}

CLinhaEFD& CLinhaEFD::Vazios(int quantos) {
  m_destino.append(static_cast<std::size_t>(quantos), '|');
  return *this;
}

CLinhaEFD& CLinhaEFD::Inteiro(std::int64_t valor) {
  return Texto(m_formatador.FormataInteiro(valor, CQMXFormatador::kTamanhoBuffer - 1, false));
}

CLinhaEFD& CLinhaEFD::Valor(std::int64_t valor4, int decimais) {
  return Texto(m_formatador.FormataValor(valor4, CQMXFormatador::kTamanhoBuffer - 1, decimais, false, false));
}

CLinhaEFD& CLinhaEFD::ValorCortado(std::int64_t valor4, int decimais, std::size_t largura) {
  const std::string_view texto = m_formatador.FormataValor(valor4, CQMXFormatador::kTamanhoBuffer - 1, decimais, false, false);
  return Texto(texto.substr(0, largura));
}

CLinhaEFD& CLinhaEFD::Numerico(std::string_view texto, int largura, bool mantemVirgula) {
  AcrescentaNumerico(m_destino, texto, largura, mantemVirgula);
  m_destino += '|';
  return *this;
}

CLinhaEFD& CLinhaEFD::NumericoInteiro(std::int64_t valor, int largura) {
  return Numerico(m_formatador.FormataInteiro(valor, CQMXFormatador::kTamanhoBuffer - 1, false), largura);
}

CLinhaEFD& CLinhaEFD::N14(std::int64_t valor4, int decimais) {
  return Numerico(m_formatador.FormataValor(valor4, CQMXFormatador::kTamanhoBuffer - 1, decimais, false, false), 14,
                  true);
}

CLinhaEFD& CLinhaEFD::Aliquota6(std::uint16_t centesimos) {
  // "%.02f" of the rate over 100, the point turned into a comma.
  char texto[16];
  std::snprintf(texto, sizeof texto, "%u,%02u", static_cast<unsigned>(centesimos / 100),
                static_cast<unsigned>(centesimos % 100));
  return Numerico(texto, 6, true);
}

CLinhaEFD& CLinhaEFD::Digitos(std::string_view texto, int largura) {
  const std::string copia(texto);
  return Texto(m_formatador.FormataNumeroTexto(copia.c_str(), largura, true));
}

CLinhaEFD& CLinhaEFD::Data(std::uint16_t numeroDia) { return Texto(m_formatador.FormataDataDMA(numeroDia, "")); }

CLinhaEFD& CLinhaEFD::DataInvertida(std::uint16_t numeroDia) {
  return Texto(CQMXGenerica::InverteData(numeroDia, false));
}

CLinhaEFD& CLinhaEFD::Literal(std::string_view texto) {
  m_destino.append(texto);
  return *this;
}

void CLinhaEFD::Fim() { m_destino += "\r\n"; }

}  // namespace qmx::efd
