#pragma once

#include <cstdint>
#include <string>

namespace qmx::mensagens {

// The maker's message library, as this library calls it.
//
// ZTTrataErro2 tells the operator that a data-server call failed: a box
// with the result code and its system text, the catalogue message (module
// "EC") when there is one, and where the failure was found (company, source
// file, line, build stamp). ZTMensagem shows a numbered message of a
// module's catalogue, captioned with the module's product title. Both write
// what they show to the event log under the source "ZT Redudeva" (errors as
// error entries, messages as information).
bool ZTTrataErro2(std::int32_t resultado, std::uint32_t mensagem, std::uint32_t detalhe,
                  const std::string& chaveEmpresa, const std::string& arquivoFonte, int linha,
                  const std::string& carimbo);
void ZTMensagem(std::uint32_t mensagem, const std::string& modulo);

// The box shown when a catalogue file cannot be opened (titled "Erro", with
// the exclamation icon).
void AvisaCatalogoInacessivel(const std::string& caminho);

// The event source of the maker's products.
inline constexpr const char* kFonteEventos = "ZT Redudeva";

}  // namespace qmx::mensagens
