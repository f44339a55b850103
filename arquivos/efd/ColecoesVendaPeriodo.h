#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "arquivos/efd/ItensEFD.h"
#include "frame/HashChaveMFC.h"
#include "frame/MapaMFC.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::venda {

// The key of the analytic lines (C190, C320): the tax situation whole (the
// origin digit and the code, or a CSOSN: 260 and 500 stay 260 and 500;
// one byte would have made them 4 and 244), the CFOP text and the ICMS
// rate in hundredths of a percent.
struct REG_COTEPE_CHAVE_ANALITICO {
  std::uint16_t Cst;
  char Cfop[6];
  std::uint16_t Aliquota;
  bool operator==(const REG_COTEPE_CHAVE_ANALITICO& o) const {
    return Cst == o.Cst && std::strcmp(Cfop, o.Cfop) == 0 && Aliquota == o.Aliquota;
  }
};

// Its hash, as the maps take it: the situation and the CFOP's digits as one
// integer (situation × 10000 + CFOP) through the integer hash, so that the
// analytic lines of the notas, of the consumer notas and of the ECF days
// come out in the same order for the same keys.
std::uint32_t HashChaveMFC(const REG_COTEPE_CHAVE_ANALITICO& chave);

REG_COTEPE_CHAVE_ANALITICO ChaveAnalitica(const std::string& cst, const std::string& cfop, std::uint16_t aliquota);

// The sums of an analytic line.
struct REG_COTEPE_ACUMULADOR_ANALITICO {
  std::int64_t Operacao = 0, BaseICMS = 0, ICMS = 0, BaseST = 0, ICMSST = 0, ReducaoBase = 0, IPI = 0;
};

// An item of a consumer-notas day under its analytic line.
struct REG_COTEPE_ACUMULADOR_ITENS {
  std::int64_t Quantidade = 0, Valor = 0, Desconto = 0, BaseICMS = 0, ICMS = 0, PIS = 0, COFINS = 0;
  bool Servico = false;
  std::uint32_t Codigo = 0;
  std::string Unidade;
};

// What the document registers gather for block 0: participants, natures
// and observations; and the products, services and units, read on their
// first use (the same collection the ECF lines use, so the maps iterate
// the same way).
struct ColecoesVendaPeriodo {
  ColecoesVendaPeriodo(const TriploConexao& triplo, std::uint16_t filial) : itens(triplo, filial) {}

  CMapaMFC<std::uint32_t, ZTCFRT> participantes;
  efd::CItensEFD itens;
  CMapaMFC<std::string, std::string> naturezas;
  std::vector<std::string> observacoes;
};

}  // namespace qmx::venda
