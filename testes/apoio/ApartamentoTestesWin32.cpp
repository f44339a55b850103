#include "plataforma/com/Apartamento.h"

namespace {

// The test program stands where the point-of-sale program does: COM is
// initialised on its main thread before any test runs, and stays so. The
// tests' dialogs are the scripted host's, so no window needs a
// single-threaded apartment; and Wine without a display makes such an
// apartment wait about ten seconds for a desktop, in every test process.
qmx::com::CApartamentoCOM apartamento(qmx::com::CApartamentoCOM::Tipo::VariasLinhas);

}  // namespace
