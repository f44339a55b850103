#pragma once

#include <string>

namespace qmx::ui {

// The record of what the operator was shown, which the qmx program reads
// after a run (QMX_ROTEIRO_REGISTRO names its file): a line a thing, its
// fields separated by tabs ("dialogo", its template, title and result;
// "caixa", title, flags, answer and text; ...). Every host writes it the
// same way, so that the program tells a cancelled dialog or a failure
// whoever drew the windows.
std::string EscapaRegistroUi(const std::string& texto);
void AnotaRegistroUi(const std::string& arquivo, const std::string& linha);

}  // namespace qmx::ui
