#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/dados/RegistroMestre.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::movimentos {

// What R01 tells of the ECF's basic software, as the printer answered.
struct SoftwareBasico {
  std::string versao, data, hora, numeroCaixa;
};

// Everything the file is about: the ECF with its rate table, its branch,
// the period, the point-of-sale master and what the printer and the
// authenticated-file list said.
struct DadosMovimentos {
  TriploConexao triplo;
  REG_EMISSORPS emissora{};
  std::vector<REG_EMISSOR_ALIQUOTA> aliquotas;
  REG_FILIALPS filial{};
  REG_EC_MESTREPS mestre{};
  NumeroDia dataInicial = 0;
  NumeroDia dataFinal = 0;
  SoftwareBasico software;
  std::string md5Lista;
};

// Writes R01 to R07 of one ECF and period as a stream: the day's Z
// reductions (R02) and their totalizers (R03), the cupons (R04) with their
// items (R05, kept in a temporary file until the R04 lines are out), the
// other documents (R06) and the payments (R07, sorted as whole texts in
// batches of bounded size, merged at the end).
void EscreveMovimentos(const DadosMovimentos& dados, CArquivoTexto& saida);

// The file name: model code, serial number and final date (DDMMYYYY).
std::string NomeArquivoMovimentos(const REG_EMISSORPS& emissora, NumeroDia dataFinal);

}  // namespace qmx::movimentos
