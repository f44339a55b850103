#include "plataforma/com/Apartamento.h"

namespace {

// The test program stands where the point-of-sale program does: COM is
// initialised on its main thread before any test runs, and stays so.
qmx::com::CApartamentoCOM apartamento;

}  // namespace
