#include "plataforma/calendario/JanelaDatas.h"

#include <algorithm>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx {
namespace {

constexpr NumeroDia kDiasDaJanela = 65535;
constexpr unsigned kAnosAFrente = 10;
// The windows never end before the calendar the 16-bit numbers and the
// pivot of two-digit years always had.
constexpr NumeroDia kFimMinimoDaJanela = kDiasDaJanela;
constexpr unsigned kFimMinimoDosAnos = 2026;

FonteHoje& Fonte() {
  static FonteHoje fonte = nullptr;
  return fonte;
}

}  // namespace

std::uint16_t DiaDezesseisBits(NumeroDia numeroDia) {
  if (numeroDia <= 0) return 0;
  return static_cast<std::uint16_t>((numeroDia - 1) % kDiasDaJanela + 1);
}

NumeroDia FimDaJanela(NumeroDia hoje) {
  const DiaMesAno d = DecodificaDia(hoje);
  // Ten years on, the same day of the same month; 29 February becomes the
  // 28th in a common year. The calendar stops at 9999.
  const NumeroDia dezAnos = d.ano == 0 ? 0 : CodificaDia(d.dia, d.mes, std::min(d.ano + kAnosAFrente, 9999u));
  return std::max(dezAnos, kFimMinimoDaJanela);
}

NumeroDia InicioDaJanela(NumeroDia hoje) { return FimDaJanela(hoje) - (kDiasDaJanela - 1); }

NumeroDia DiaNaJanela(std::uint16_t dia16, NumeroDia hoje) {
  if (dia16 == 0) return 0;
  const NumeroDia fim = FimDaJanela(hoje);
  // The day at or before the window's end that 65 535 separates from the
  // 16-bit value by a whole number of turns.
  const NumeroDia atras = ((fim - dia16) % kDiasDaJanela + kDiasDaJanela) % kDiasDaJanela;
  return fim - atras;
}

unsigned AnoNaJanela(unsigned doisDigitos, unsigned anoHoje) {
  if (doisDigitos >= 100) return doisDigitos;
  const unsigned fim = std::max(anoHoje + kAnosAFrente, kFimMinimoDosAnos);
  return fim - (fim + 100u - doisDigitos) % 100u;
}

void DefineFonteHoje(FonteHoje fonte) { Fonte() = fonte; }

NumeroDia HojeDaFonte() { return Fonte() ? Fonte()() : 0; }

namespace {
FonteAgora g_agora = nullptr;
}  // namespace

void DefineFonteAgora(FonteAgora fonte) { g_agora = fonte; }

std::int64_t AgoraDaFonte() { return g_agora ? g_agora() : 0; }

NumeroDia LeDiaDezesseisBits(std::uint16_t dia16) { return dia16 == 0 ? 0 : DiaNaJanela(dia16, HojeDaFonte()); }

unsigned LeAnoDoisDigitos(unsigned doisDigitos) {
  if (doisDigitos >= 100) return doisDigitos;
  return AnoNaJanela(doisDigitos, DecodificaDia(HojeDaFonte()).ano);
}

}  // namespace qmx
