#pragma once

#include <filesystem>

#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/MemoriaEmulada.h"

namespace qmx::impressora {

// What a file of the memories holds: the detail memory (MFD) or only what
// a fiscal memory keeps (MF).
enum class ConteudoAtoCotepe { MemoriaFitaDetalhe, MemoriaFiscal };

// The memory of a range in the fiscal authority's record layout for ECF
// memories (each line ended by CR LF): the ECF and its user (E01, E02), the
// Z reductions with their partial totalizers (E12, E13), and for the
// detail memory the cupons with their items, the other documents and the
// payments (E14 to E16, E21). Written whole or not at all.
bool GravaArquivoAtoCotepe(const ConfiguracaoImpressora& configuracao, CMemoriaEmulada& memoria,
                           const CMemoriaEmulada::Faixa& faixa, const std::filesystem::path& destino,
                           ConteudoAtoCotepe conteudo);

}  // namespace qmx::impressora
