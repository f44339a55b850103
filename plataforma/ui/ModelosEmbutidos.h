#pragma once

namespace qmx::ui {

// Every dialog template of the library, as resource-script text, ending with
// a null pointer. Generated at build time from recursos/dialogos.
extern const char* const kModelosEmbutidos[];

}  // namespace qmx::ui
