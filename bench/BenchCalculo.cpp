// Benchmarks of the cupom calculations: item values per second and the
// apportionment of a cupom discount (linear in the number of items).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "calculo/QMXCalculo.h"

namespace
{
std::vector<REG_QMXCALCULO_VALOR_ITEM_CUPOM> ItensAleatorios(std::size_t n)
{
    std::mt19937_64 g(42);
    std::vector<REG_QMXCALCULO_VALOR_ITEM_CUPOM> v(n);
    for (auto& r : v)
    {
        r = REG_QMXCALCULO_VALOR_ITEM_CUPOM{};
        r.ValorUnitario = static_cast<std::int64_t>(1 + g() % 100000) * 1000000; // up to 1 000.00
        r.Quantidade = CY{static_cast<std::int64_t>(1 + g() % 100000)};         // up to 10.0000
        r.Desconto = CY{static_cast<std::int64_t>(g() % 2 ? g() % 200000 : 0)};
        r.DescontoPercentual = static_cast<std::uint8_t>(g() % 2);
        r.PercentualAcrescimo = static_cast<std::uint16_t>(g() % 500);
        r.AcrescimoPercentual = static_cast<std::uint8_t>(g() % 2);
        r.DecimaisValor = static_cast<std::uint8_t>(2 + g() % 2);
        r.DecimaisQuantidade = 3;
        r.Arredondamento = static_cast<std::uint8_t>(g() % 2);
    }
    return v;
}

std::vector<tagREG_EC_CX_CIPS> Cupom(int n)
{
    std::mt19937_64 g(7);
    const std::int64_t aliquotas[] = {70000, 120000, 170000, 180000, 250000};
    std::vector<tagREG_EC_CX_CIPS> v(static_cast<std::size_t>(n));
    for (auto& it : v)
    {
        it = tagREG_EC_CX_CIPS{};
        it.ValorItem = static_cast<std::int64_t>(1 + g() % 100000) * 1000000;
        it.ValorAssociado = CY{static_cast<std::int64_t>(g() % 3 == 0 ? (g() % 1000) * 100 : 0)};
        it.Aliquota = CY{aliquotas[g() % 5]};
        it.TipoTributacao = static_cast<std::uint8_t>(g() % 3);
        it.Servico = static_cast<std::uint8_t>(g() % 20 == 0);
    }
    return v;
}
} // namespace

static void BM_CalcularValoresItemCupom(benchmark::State& state)
{
    const auto itens = ItensAleatorios(1024);
    std::size_t i = 0;
    for (auto _ : state)
    {
        REG_QMXCALCULO_VALOR_ITEM_CUPOM r = itens[i++ & 1023];
        CQMXCalculo::CalcularValoresItemCupom(&r);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalcularValoresItemCupom);

static void BM_RatearDescontoCupom(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const auto original = Cupom(n);
    std::int64_t nTotal = 0;
    for (const auto& it : original)
        nTotal += it.ValorItem;
    const CZTCurrencyEx8 desconto(nTotal / 7 / 1000000 * 1000000 + 1234567);
    auto itens = original;
    for (auto _ : state)
    {
        state.PauseTiming();
        itens = original;
        state.ResumeTiming();
        CQMXCalculo::RatearDescontoCupom(itens.data(), n, desconto, false);
        benchmark::DoNotOptimize(itens.data());
    }
    state.SetComplexityN(n);
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_RatearDescontoCupom)->RangeMultiplier(2)->Range(125, 8000)->Arg(1000)->Complexity(benchmark::oN);
