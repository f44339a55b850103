#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "plataforma/processo/Andamento.h"

namespace qmx::ui {

// Long work shown to the operator through the process's host while the
// object lives: what it is (the title of the work's window), how far it
// has gone and of how much. It follows this thread's work on its own (a
// generated file's bytes as they are written, a long read's rows as they
// come), and work made of steps it knows (the cupons of a day) counts
// them with Avanca. The host hears of it at most once every interval
// (kIntervalo) and at least that often while the work goes on; work
// shorter than one interval shows nothing. When the operator stops the
// work in the host, the next report throws processo::CTrabalhoCancelado:
// a dialog that runs the work is then cancelled.
class CProgresso : public processo::IObservadorAndamento {
 public:
  // What the amount done counts: the bytes written (a generated file,
  // whose total is not known before it is written) or steps of the work.
  enum class Unidade { Bytes, Cupons };

  // total 0: how much there is to do is not known.
  CProgresso(std::string titulo, Unidade unidade, std::int64_t total = 0);
  ~CProgresso() override;
  CProgresso(const CProgresso&) = delete;
  CProgresso& operator=(const CProgresso&) = delete;

  // Steps of the work done.
  void Avanca(std::int64_t passos = 1);
  void Escreveu(std::int64_t bytes) override;
  void Leu(std::int64_t linhas) override;

  // What a report says of the work so far: "12,5 MB gravados" (or, before
  // anything is written, "45.056 linhas lidas"), "40 de 250 cupons"; after
  // the first second, how fast the bytes go ("12,5 MB gravados, 3,1 MB/s")
  // or, with a total, about how long is left ("40 de 250 cupons, faltam
  // cerca de 12 s").
  std::string Texto() const;
  // The same from the amounts and the time since the work began.
  static std::string Texto(Unidade unidade, std::int64_t total, std::int64_t passos, std::int64_t bytes,
                           std::int64_t linhas, std::chrono::milliseconds decorrido);

  // The interval, unless QMX_PROGRESSO_MS names another when the library
  // starts. Tests and tools that must see reports of short work set a
  // shorter one (zero: every step is reported, and the start too); the
  // previous one comes back.
  static constexpr std::chrono::milliseconds kIntervalo{250};
  static std::chrono::milliseconds DefineIntervalo(std::chrono::milliseconds intervalo);

 private:
  void Relata();

  std::string m_titulo;
  Unidade m_unidade;
  std::int64_t m_total;
  std::int64_t m_passos = 0;
  std::int64_t m_bytes = 0;
  std::int64_t m_linhas = 0;
  std::chrono::steady_clock::time_point m_inicio;
  std::chrono::steady_clock::time_point m_proximo;
  bool m_relatado = false;
  processo::IObservadorAndamento* m_anterior;
};

}  // namespace qmx::ui
