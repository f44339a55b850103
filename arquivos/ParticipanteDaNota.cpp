#include "arquivos/ParticipanteDaNota.h"

#include <cstdio>

#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {

com::HRESULT LeParticipanteDaNota(dados::IZTDF_NotasFiscais& notas, dados::IZTDF_CFRT& cadastro,
                                  const REG_NOTA_FISCALPS& nota, ZTCFRT* participante, bool* identificado) {
  *identificado = true;
  com::HRESULT lido = notas.LeParticipanteDaNota(nota.Id, participante);
  if (lido != dados::QMX_E_REGISTRO_INEXISTENTE) return lido;
  lido = cadastro.Le(nota.Participante, participante);
  if (lido != dados::QMX_E_REGISTRO_INEXISTENTE) return lido;
  *identificado = false;
  *participante = ZTCFRT{};
  participante->Codigo = nota.Participante;
  std::snprintf(participante->Nome, sizeof participante->Nome, "PARTICIPANTE %u", nota.Participante);
  participante->TipoPessoa = ' ';  // neither CNPJ nor CPF is known
  std::snprintf(participante->Pais, sizeof participante->Pais, "1058");
  return com::S_OK;
}

void AvisaNotasSemParticipante(const std::vector<std::uint32_t>& numeros, const std::string& titulo) {
  if (numeros.empty()) return;
  std::string lista;
  for (const auto n : numeros) lista += (lista.empty() ? "" : ", ") + std::to_string(n);
  ui::CaixaMensagem("Notas fiscais gravadas só com o código do participante, que já não estava cadastrado "
                    "quando as notas passaram a guardá-lo: confira a sua identificação.\r\nNúmeros: " +
                        lista,
                    titulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

}  // namespace qmx
