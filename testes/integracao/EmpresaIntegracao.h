#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apoio/EmpresaTeste.h"
#include "apoio/MovimentoTeste.h"
#include "frame/QMXUTIL.h"

namespace qmx::testes {

// A company ready for the integration passes, on the engine asked for:
// branch 1 (SP) with ECF 1 fully configured for the back office (stock
// CFOP 5102 and document type 6, the four grids and classification
// accounts, sales clearing account 1.1.05, cash account 1.1.01, vouchers
// 2.1.01, kept change 4.2.01 and treasury 1.1.06), ECF 2
// without stock CFOP and ECF 3 without stock document type;
// the chart of accounts, the grids 1 (sales: debit 1.1.01) and 2 (stock:
// debit 3.1.01, credit 1.1.02), the storage places 1 "DEPOSITO" (business
// account G-LOJA, no negative stock) and 2 "GONDOLA" (negative stock
// allowed, no business account), the means DINHEIRO (1, into 1.1.01),
// CARTAO (2, on credit, into 1.1.03) and CHEQUE (3, into 1.1.04), and the
// products (last purchase cost)
//   10 ARROZ   T 18%  place 1, grid 2, 100 in stock   8,3333
//   11 FEIJAO  F      place 2, grid 2                  5,25
//   12 OLEO    T 12%  place 1, no grid, 50 in stock    6,10
//   13 ACUCAR  T  7%  place 1, grid 2, 1 in stock      2,50
//   14 CAFE    T 18%  place 2, grid 2, cost account requiring a managerial one; 10,00
// and the service 20 ENTREGA. The system starts on 01/01/2026; the log goes
// to a file in the company's folder; the clock reads 06/12/2026 10:00:00.
class EmpresaIntegracao {
 public:
  explicit EmpresaIntegracao(MotorTeste motor = MotorTeste::SQLite);
  ~EmpresaIntegracao();

  static const NumeroDia kDia;  // 10/11/2026

  EmpresaTeste empresa;
  MovimentoTeste movimento;

  // The parameter record of a pass.
  static REG_QMX_PARAMETROS_INTEGRACAO Parametros(NumeroDia data, std::uint16_t ecf);
  // The log's lines without their date and time.
  std::vector<std::string> LinhasLog() const;
  std::string ArquivoLog() const;
  void LimpaLog() const;

  // Rows of a query as "a|b|c" texts (Windows-1252), in the query's order.
  std::vector<std::string> Linhas(const std::string& sql);
  std::int64_t Conta(const std::string& tabela);
};

}  // namespace qmx::testes
