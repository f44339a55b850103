#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::impressora {

// An answer file of the emulated printer, stored as every file of the
// library is (GravacaoAtomica): written beside its final place and renamed
// over it only when whole, so that a reader never sees half of one.
class CSaidaRetorno {
 public:
  explicit CSaidaRetorno(std::filesystem::path destino);
  CSaidaRetorno(const CSaidaRetorno&) = delete;
  CSaidaRetorno& operator=(const CSaidaRetorno&) = delete;

  void Escreve(const std::string& texto);
  // Renames the file into place; false when it could not be written (for
  // want of room, after a box of the printer's own, as its driver shows).
  // A file not concluded is removed when the object goes.
  bool Conclui();

 private:
  bool Descarrega();

  GravacaoAtomica::Temporario m_temporario;
  std::string m_destino;
  std::string m_buffer;
  bool m_falhou = false;
  int m_erro = 0;  // the cause of the first failed write
};

// Fixed-width fields of the fiscal authority's layouts: a number with zeros
// on the left (its rightmost digits when too long), a text with blanks on
// the right (its first characters when too long), a date as year, month
// and day, and an amount or quantity (held times 10 000) with the given
// decimals, cut and without sign.
std::string CampoN(std::uint64_t valor, int largura);
std::string CampoX(const std::string& texto, int largura);
std::string CampoD(NumeroDia dia);
std::string CampoValor(std::int64_t valor4, int largura, int decimais);

}  // namespace qmx::impressora
