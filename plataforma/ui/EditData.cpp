#include "plataforma/ui/EditData.h"

#include <cstdio>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"

namespace qmx::ui {

void CZTEditData::SubclassDlgItem(int idControle, CDialogo* dialogo, int tipo) {
  dialogo->GetDlgItem(idControle);  // refuses an id the template lacks
  m_dialogo = dialogo;
  m_id = idControle;
  m_tipo = tipo;
}

std::string CZTEditData::TextoData(NumeroDia numeroDia, int tipo) {
  if (numeroDia == 0) return {};
  return qmx::TextoData(numeroDia, tipo != 1);
}

// "D/M/AA" to "DD/MM/AAAA", blanks around allowed.
NumeroDia CZTEditData::LeData(const std::string& texto, NumeroDia hoje) {
  const auto inicio = texto.find_first_not_of(' ');
  if (inicio == std::string::npos) return 0;
  const std::string t = texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1);
  const auto barra1 = t.find('/');
  const auto barra2 = barra1 == std::string::npos ? barra1 : t.find('/', barra1 + 1);
  if (barra2 == std::string::npos || t.find('/', barra2 + 1) != std::string::npos) return 0;
  const std::string partes[3] = {t.substr(0, barra1), t.substr(barra1 + 1, barra2 - barra1 - 1),
                                 t.substr(barra2 + 1)};
  unsigned valores[3] = {};
  for (int i = 0; i < 3; ++i) {
    if (partes[i].empty() || partes[i].size() > 4 || partes[i].find_first_not_of("0123456789") != std::string::npos)
      return 0;
    valores[i] = static_cast<unsigned>(std::stoul(partes[i]));
  }
  unsigned dia = valores[0], mes = valores[1], ano = valores[2];
  if (partes[0].size() > 2 || partes[1].size() > 2) return 0;
  if (partes[2].size() == 2) ano = AnoNaJanela(ano, DecodificaDia(hoje).ano);
  else if (partes[2].size() != 4) return 0;
  if (mes < 1 || mes > 12 || dia < 1 || dia > DiasDoMes(mes, ano)) return 0;  // 31/04 is no date
  const NumeroDia numero = CodificaDia(dia, mes, ano);
  // Only the days that the 16-bit day numbers reach today: the date must
  // cross the exported surface and come back the same.
  return numero >= InicioDaJanela(hoje) && numero <= FimDaJanela(hoje) ? numero : 0;
}

void CZTEditData::SetData(NumeroDia numeroDia) {
  if (m_dialogo) m_dialogo->SetDlgItemText(m_id, TextoData(numeroDia, m_tipo));
}

NumeroDia CZTEditData::GetData() const {
  return m_dialogo ? LeData(m_dialogo->GetDlgItemText(m_id), HojeDaFonte()) : 0;
}

}  // namespace qmx::ui
