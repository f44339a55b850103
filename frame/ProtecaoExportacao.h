#pragma once

#include <exception>
#include <string>

namespace qmx {

// Tells the operator that an export stopped on an unexpected fault.
void ReportaFalhaInterna(const char* exportacao, const std::string& detalhe);

// Runs an export's work so that no exception leaves the library: a fault
// is reported to the operator and the export returns `falha`.
template <class R, class F>
R Protegido(const char* exportacao, R falha, F&& trabalho) {
  try {
    return trabalho();
  } catch (const std::exception& erro) {
    ReportaFalhaInterna(exportacao, erro.what());
  } catch (...) {
    ReportaFalhaInterna(exportacao, "falha desconhecida");
  }
  return falha;
}

}  // namespace qmx
