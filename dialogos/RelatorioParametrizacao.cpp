// The configuration-parameters report printed on the fiscal printer.
#include "frame/QMXUTIL.h"

// The report is printed through the fiscal printer layer, which this
// build does not have yet: nothing is printed and the answer is false.
bool ECImprimeParametrizacao(std::uint16_t /*filial*/, std::uint16_t /*ecf*/) { return false; }
