#include "plataforma/com/Apartamento.h"

namespace qmx::com {

// The in-process class table needs no initialisation: every thread reaches
// it as it is.
CApartamentoCOM::CApartamentoCOM(Tipo) : m_resultado(S_OK) {}

CApartamentoCOM::~CApartamentoCOM() = default;

}  // namespace qmx::com
