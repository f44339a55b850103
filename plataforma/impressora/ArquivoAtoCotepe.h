#pragma once

#include <filesystem>

#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/MemoriaEmulada.h"

namespace qmx::impressora {

// The detail memory of a range in the fiscal authority's record layout for
// ECF memories (records E01, E02, E12 to E16 and E21, each line ended by CR
// LF): the ECF and its user, the Z reductions with their partial
// totalizers, the cupons with their items, the other documents and the
// payments. Written whole or not at all.
bool GravaArquivoAtoCotepe(const ConfiguracaoImpressora& configuracao, CMemoriaEmulada& memoria,
                           const CMemoriaEmulada::Faixa& faixa, const std::filesystem::path& destino);

}  // namespace qmx::impressora
