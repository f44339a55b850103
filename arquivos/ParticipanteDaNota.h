#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plataforma/com/HResult.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/dados/RegistroNotaFiscal.h"

namespace qmx {

// The participant of a nota as the files write it: as it was when the nota
// was issued (the nota keeps it); for a nota written before notas kept it,
// as the register has it; for one whose participant had left the register
// before, its code alone. Every issued nota is written (a file that leaves
// one out under-declares the month): `identificado` false tells the
// generator to name the nota to the operator. Answers the servers'
// failure, S_OK otherwise.
com::HRESULT LeParticipanteDaNota(dados::IZTDF_NotasFiscais& notas, dados::IZTDF_CFRT& cadastro,
                                  const REG_NOTA_FISCALPS& nota, ZTCFRT* participante, bool* identificado);

// Tells the operator which notas went into a file with their participant's
// code alone (nothing when none did).
void AvisaNotasSemParticipante(const std::vector<std::uint32_t>& numeros, const std::string& titulo);

}  // namespace qmx
