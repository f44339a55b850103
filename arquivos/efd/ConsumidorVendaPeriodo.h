#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "arquivos/efd/ColecoesVendaPeriodo.h"
#include "arquivos/efd/DiaECFEFD.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::venda {

struct ContadoresConsumidor {
  std::uint32_t c300 = 0, c310 = 0, c320 = 0, c321 = 0;
};

// The daily summaries of the consumer notas of model 02 (profile B): per
// day with such documents, C300 with the day's number range and sums, C310
// per number of a cancelled document, and C320 per analytic line with its
// C321 items. A failing server is reported (QMXVendaPeriodo) and ends the
// writer; the days written stay.
class CConsumidorVendaPeriodo {
 public:
  CConsumidorVendaPeriodo(const TriploConexao& triplo, std::uint16_t filial, ColecoesVendaPeriodo& colecoes)
      : m_triplo(triplo), m_filial(filial), m_c(colecoes) {}

  ContadoresConsumidor Escreve(NumeroDia dataInicial, NumeroDia dataFinal, CDespejoTexto& corpo);

 private:
  struct Dia;
  void Acumula(Dia& dia, const REG_EC_CXPS& nota, const std::vector<REG_EC_CX_CIPS>& itens);
  void EscreveDia(const Dia& dia, std::string& texto, ContadoresConsumidor& n) const;

  TriploConexao m_triplo;
  std::uint16_t m_filial;
  ColecoesVendaPeriodo& m_c;
  efd::CfopsECF m_cfops;
};

}  // namespace qmx::venda
