#include "integracao/RecebimentosCupom.h"

#include <algorithm>

namespace qmx {

namespace {

constexpr std::uint16_t kPrimeiraFormaDaImpressora = 250;

bool EmFormaAPrazo(const FormasPagamento& formas, std::uint16_t forma) {
  const auto achada = formas.find(forma);
  return achada != formas.end() && achada->second.APrazo;
}

}  // namespace

std::vector<REG_EC_CX_PAGAMENTOPS> PagamentosLiquidos(const std::vector<REG_EC_CX_PAGAMENTOPS>& pagamentos,
                                                      const FormasDinheiro& dinheiro) {
  std::int64_t deducoes = 0;
  std::vector<REG_EC_CX_PAGAMENTOPS> liquidos;
  for (const auto& p : pagamentos) {
    if (p.Forma >= kPrimeiraFormaDaImpressora) deducoes += p.Valor.int64;
    else if (p.Forma != 0 && p.Valor.int64 != 0) liquidos.push_back(p);
  }
  // The money from the last payment back, then the others likewise.
  for (const bool emDinheiro : {true, false})
    for (auto p = liquidos.rbegin(); p != liquidos.rend() && deducoes > 0; ++p) {
      if ((dinheiro.count(p->Forma) != 0) != emDinheiro) continue;
      const std::int64_t tirado = std::min(deducoes, p->Valor.int64);
      p->Valor.int64 -= tirado;
      deducoes -= tirado;
    }
  std::erase_if(liquidos, [](const REG_EC_CX_PAGAMENTOPS& p) { return p.Valor.int64 == 0; });
  return liquidos;
}

bool RecebimentosDoCupom(const dados::CupomCompleto& cupom, const FormasPagamento& formas, const CondicoesAVista& aVista,
                         const FormasDinheiro& dinheiro, std::vector<Recebimento>& recebimentos) {
  recebimentos.clear();
  if (cupom.Cupom.Cancelado) return true;
  // The net payments point into the cupom's own list, for the holder data.
  const auto liquidos = PagamentosLiquidos(cupom.Pagamentos, dinheiro);
  auto origem = [&](const REG_EC_CX_PAGAMENTOPS& p) -> const REG_EC_CX_PAGAMENTOPS* {
    for (const auto& original : cupom.Pagamentos)
      if (original.Sequencia == p.Sequencia) return &original;
    return nullptr;
  };

  if (cupom.Parcelas.empty()) {
    // A sale on credit (by its condition) is titled per payment like a
    // customer's: it is not cash of the day.
    const bool umTituloPorPagamento = cupom.Cupom.Cliente || VendaAPrazo(cupom, aVista);
    const auto tipo = umTituloPorPagamento ? Recebimento::Tipo::AVistaCliente : Recebimento::Tipo::AVistaTotal;
    for (const auto& p : liquidos)
      recebimentos.push_back({tipo, p.Forma, 0, umTituloPorPagamento ? p.Sequencia : 0u, 0, p.Valor.int64, origem(p)});
    return true;
  }

  // Who pays the installments: credit means first, then the rest from the
  // last payment back. Each keeps what it has left for the down payment.
  std::vector<std::pair<REG_EC_CX_PAGAMENTOPS, std::int64_t>> fontes;
  for (const auto& p : liquidos)
    if (EmFormaAPrazo(formas, p.Forma)) fontes.emplace_back(p, p.Valor.int64);
  for (auto p = liquidos.rbegin(); p != liquidos.rend(); ++p)
    if (!EmFormaAPrazo(formas, p->Forma)) fontes.emplace_back(*p, p->Valor.int64);

  std::uint32_t ultimoNumero = 0;
  std::size_t fonte = 0;
  for (const auto& parcela : cupom.Parcelas) {
    while (fonte < fontes.size() && fontes[fonte].second == 0) ++fonte;
    if (fonte == fontes.size()) return false;
    // An installment is titled in the means where it starts; what it takes
    // beyond that payment comes off the next ones.
    recebimentos.push_back({Recebimento::Tipo::Parcela, fontes[fonte].first.Forma, parcela.TipoDocumento,
                            parcela.Sequencia, parcela.Vencimento, parcela.Valor.int64, origem(fontes[fonte].first)});
    ultimoNumero = std::max<std::uint32_t>(ultimoNumero, parcela.Sequencia);
    std::int64_t falta = parcela.Valor.int64;
    for (std::size_t f = fonte; falta > 0 && f < fontes.size(); ++f) {
      const std::int64_t tirado = std::min(falta, fontes[f].second);
      fontes[f].second -= tirado;
      falta -= tirado;
    }
    if (falta > 0) return false;
  }
  // The down payment: what each payment has left, in payment order.
  for (const auto& p : liquidos)
    for (const auto& [fontePagamento, resta] : fontes)
      if (fontePagamento.Sequencia == p.Sequencia && resta > 0)
        recebimentos.push_back({Recebimento::Tipo::Entrada, p.Forma, 0, ++ultimoNumero, 0, resta, origem(p)});
  return true;
}

bool VendaAPrazo(const dados::CupomCompleto& cupom, const CondicoesAVista& aVista) {
  if (!cupom.Parcelas.empty()) return true;
  const auto condicao = aVista.find(cupom.Cupom.CondicaoPagamento);
  return condicao != aVista.end() && !condicao->second;
}

}  // namespace qmx
