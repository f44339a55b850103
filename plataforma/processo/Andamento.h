#pragma once

#include <cstdint>
#include <stdexcept>

namespace qmx::processo {

// Who follows this thread's long work. Writers of large outputs (a
// generated file) tell it how much they wrote, and long reads how many
// rows came, as they go, without knowing who listens; the one who listens
// decides when to show it, and may stop the work by throwing
// CTrabalhoCancelado out of either call.
class IObservadorAndamento {
 public:
  virtual ~IObservadorAndamento() = default;
  virtual void Escreveu(std::int64_t bytes) = 0;
  virtual void Leu(std::int64_t linhas) = 0;
};

// Thrown out of long work that the operator stopped. What the work had
// not finished is left as any failure leaves it (no file is written); it
// is not a failure to report.
class CTrabalhoCancelado : public std::runtime_error {
 public:
  CTrabalhoCancelado() : std::runtime_error("trabalho cancelado pelo operador") {}
};

// This thread's observer, or null; setting one answers the one it replaces.
IObservadorAndamento* ObservadorAndamento();
IObservadorAndamento* DefineObservadorAndamento(IObservadorAndamento* observador);

// Tell this thread's observer, if any, what was written or read since.
inline void ContaEscrita(std::int64_t bytes) {
  if (IObservadorAndamento* observador = ObservadorAndamento()) observador->Escreveu(bytes);
}
inline void ContaLeitura(std::int64_t linhas) {
  if (IObservadorAndamento* observador = ObservadorAndamento()) observador->Leu(linhas);
}

}  // namespace qmx::processo
