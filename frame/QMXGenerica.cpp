#include "frame/QMXGenerica.h"

#include <cstdio>

#include "frame/DataCodificada.h"

CQMXGenerica::CQMXGenerica() = default;

CQMXGenerica::CQMXGenerica(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  Inicializa(chaveEmpresa, usuario, contexto);
}

CQMXGenerica::CQMXGenerica(const CQMXGenerica& outra) = default;
CQMXGenerica& CQMXGenerica::operator=(const CQMXGenerica& outra) = default;
CQMXGenerica::~CQMXGenerica() = default;

void CQMXGenerica::Inicializa(const char* chaveEmpresa, std::uint16_t usuario, std::int32_t contexto) {
  m_strEmpresa = chaveEmpresa ? chaveEmpresa : "";
  m_nUsuario = usuario;
  m_nContexto = contexto;
}

std::string CQMXGenerica::FormataCampo(const char* texto, std::uint16_t largura, bool numerico,
                                       bool mantemVirgula) {
  std::string campo = texto ? texto : "";
  if (numerico) {
    std::string limpo;
    limpo.reserve(campo.size());
    for (char c : campo)
      if (c != '/' && c != '-' && c != '.' && c != ' ' && (c != ',' || mantemVirgula)) limpo += c;
    if (largura == 0) return limpo;
    if (limpo.size() < largura) limpo.insert(0, largura - limpo.size(), '0');
    if (limpo.size() > largura) limpo.erase(0, limpo.size() - largura);
    return limpo;
  }
  campo.resize(largura, ' ');
  return campo;
}

void CQMXGenerica::FormataCampo(std::string& texto, std::uint16_t largura, bool numerico, bool mantemVirgula) const {
  texto = FormataCampo(texto.c_str(), largura, numerico, mantemVirgula);
}

std::string CQMXGenerica::InverteData(std::uint16_t numeroDia, bool anoPrimeiro) {
  const qmx::DiaMesAno data = qmx::DecodificaDia(numeroDia);
  // The century comes from the two-digit year alone (19 for 27..99, 20
  // below), so the 16-bit wrap of the oldest day numbers shows as 19xx.
  const unsigned doisDigitos = data.ano % 100u;
  const unsigned ano = numeroDia == 0 ? 0 : (doisDigitos >= 27 ? 1900u : 2000u) + doisDigitos;
  char texto[32];
  if (anoPrimeiro)
    std::snprintf(texto, sizeof texto, "%04u%02u%02u", ano, data.mes % 100u, data.dia % 100u);
  else
    std::snprintf(texto, sizeof texto, "%02u%02u%04u", data.dia % 100u, data.mes % 100u, ano);
  return texto;
}

void CQMXGenerica::AdicionaInterrogacao(std::uint16_t largura, std::string& texto) {
  texto = FormataCampo(texto.c_str(), largura, false, false);
  for (char& c : texto)
    if (c == ' ') c = '?';
}
