#pragma once

#include "cli/EmpresaDemo.h"

namespace qmx::dados {
class CGravadorEmpresa;
}

namespace qmx::cli {

// What a varied company's seed chose (a company without a seed chooses
// nothing).
struct EscolhasVariedade {
  bool industrial = false;
  bool simplesNacional = false;
  char origem = '0';  // the CSTs' first digit
  bool inscricaoLonga = false;
  bool faxVazio = false;
  bool contadorSoCpf = false;
  bool participanteApagado = false;
  bool produtoSoNoInventario = false;
  bool relatoriosCheque = false;
  bool descontoISSQN = false;
  bool totalizadorRepartido = false;
  bool emissorasForaDeOrdem = false;
  // The consumer notas written while an ECF was out of order: the pads
  // entered from the last, and their items with discounts.
  bool notasConsumidorForaDeOrdem = false;
  bool notasConsumidorComDesconto = false;
  // ECF 1 sells one product at two rates of its table on one day.
  bool itemDuasAliquotas = false;
  // A product sold by branch 1 has no unit.
  bool produtoSemUnidade = false;
  // Some card sales on installments of branch 1 took a cash down payment.
  bool entradaComParcelas = false;
  // The last cupom of ECF 1's first day was cancelled at the till (the
  // stock may have gone already: the tests integrate it before).
  bool ultimoCupomCancelado = false;
  // A weighed product is sold in a few grams: its cost rounds to less than
  // a cent.
  bool quantidadeMinima = false;
  // A taxed product of branch 1 went into tax substitution after the month:
  // its past sales keep what they were sold under.
  bool tributacaoMudouDepois = false;
  // A product sold by notas of branch 1 (and at no till) left the register
  // after the month, deleted by another program: the notas kept it.
  bool produtoApagado = false;
  // The second ECF of the list reduced its first day without a sale.
  bool diaSemVenda = false;
};

EscolhasVariedade EscolhasDaSemente(std::uint64_t semente);

// Varies a varied company's registers after its month is written, each
// choice drawn from its seed, as real stores differ: the branch industrial
// or not, in Simples Nacional (CSOSN) or not, its CSTs with foreign origin
// (1, 2), its registration of 15 characters with punctuation, its fax empty
// with an area code; the accountant known by a CNPJ or by a CPF alone; a
// participant deleted after its nota; a product that is only in the
// inventory; management reports logged as the cheque and DAV kinds (13,
// 14); the ISSQN discount flag; a Z reduction whose rate totalizer is
// split over two positions of the same rate; a product sold without a unit;
// card sales on installments with a cash down payment; the last cupom of a day
// cancelled; a few grams of a weighed product; a product's register changed
// after its sales; a product of the notas deleted after them; a Z reduction
// without sale. Each choice keeps the data true to itself (a split
// totalizer keeps its sum).
void AplicaVariedade(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros, const OpcoesDemo& opcoes);

// The number of the ECF at a place of the company's list (from 1). ECF 1,
// the emulated printer's, keeps its number; in a seed that chose so, the
// others are numbered with gaps and out of the list's order, as in a store
// that retired and replaced machines. Numbers stay within 2..98.
std::uint16_t NumeroEmissora(const OpcoesDemo& opcoes, int ordem);

}  // namespace qmx::cli
