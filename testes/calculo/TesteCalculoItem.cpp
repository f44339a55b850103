// Edge cases of item values and discount rules.
#include <gtest/gtest.h>

#include "calculo/QMXCalculo.h"

namespace
{
REG_QMXCALCULO_VALOR_ITEM_CUPOM Item(std::int64_t nPreco8, std::int64_t nQtd4)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r{};
    r.ValorUnitario = nPreco8;
    r.Quantidade = CY{nQtd4};
    r.DecimaisValor = 2;
    r.DecimaisQuantidade = 3;
    return r;
}

CZTCurrencyEx8 E8(double d)
{
    return CZTCurrencyEx8(d);
}
} // namespace

TEST(CalculoItem, RegistroNuloEPrecoOuQuantidadeZero)
{
    CQMXCalculo::CalcularValoresItemCupom(nullptr);
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(0, 10000);
    r.DecimaisValor = 7;
    r.TotalDesconto = r.ValorBruto = r.ValorLiquido = r.AcrescimoUnitario = r.TotalAcrescimo = CY{99};
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.ValorBruto.int64, 0);
    EXPECT_EQ(r.TotalDesconto.int64, 0);
    EXPECT_EQ(r.ValorLiquido.int64, 0);
    EXPECT_EQ(r.AcrescimoUnitario.int64, 0);
    EXPECT_EQ(r.TotalAcrescimo.int64, 0);
    EXPECT_EQ(r.DecimaisValor, 7); // not normalised
    REG_QMXCALCULO_VALOR_ITEM_CUPOM q = Item(100000000, 0);
    q.DecimaisQuantidade = 9;
    CQMXCalculo::CalcularValoresItemCupom(&q);
    EXPECT_EQ(q.DecimaisQuantidade, 9);
    EXPECT_EQ(q.ValorBruto.int64, 0);
}

TEST(CalculoItem, PrecoCortadoAntesDoProduto)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(1000500000, 20000); // 10.005 x 2
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.ValorUnitario, 1000000000);
    EXPECT_EQ(r.ValorBruto.int64, 200000);
    EXPECT_EQ(r.ValorLiquido.int64, 200000);
}

TEST(CalculoItem, Decimais)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(123456789, 12345); // 1.23456789 x 1.2345
    r.DecimaisValor = 0;
    r.DecimaisQuantidade = 4;
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.DecimaisValor, 2);
    EXPECT_EQ(r.DecimaisQuantidade, 3);
    EXPECT_EQ(r.Quantidade.int64, 12340);
    EXPECT_EQ(r.ValorUnitario, 123000000);
    REG_QMXCALCULO_VALOR_ITEM_CUPOM s = Item(123456789, 10000);
    s.DecimaisValor = 5;
    CQMXCalculo::CalcularValoresItemCupom(&s);
    EXPECT_EQ(s.DecimaisValor, 3);
    EXPECT_EQ(s.ValorUnitario, 123400000);
}

TEST(CalculoItem, ArredondamentoDoBruto)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(333000000, 3350); // 3.33 x 0.335 = 1.11555
    r.Arredondamento = 1;
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.ValorBruto.int64, 11200);
    REG_QMXCALCULO_VALOR_ITEM_CUPOM t = Item(333000000, 3350);
    t.Arredondamento = 0;
    CQMXCalculo::CalcularValoresItemCupom(&t);
    EXPECT_EQ(t.ValorBruto.int64, 11100);
}

TEST(CalculoItem, DescontoPercentual)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(299000000, 30000); // 2.99 x 3, 10 %
    r.Desconto = CY{100000};
    r.DescontoPercentual = 1;
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.ValorBruto.int64, 89700);
    EXPECT_EQ(r.TotalDesconto.int64, 9000);
    EXPECT_EQ(r.ValorLiquido.int64, 80700);
    EXPECT_EQ(r.Desconto.int64, 100000);
}

TEST(CalculoItem, PercentualArredondadoAntes)
{
    // 12.345 % becomes 12.34 %: on 100.00 x 1 that is 12.34, not 12.35.
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(10000000000, 10000);
    r.Desconto = CY{123450};
    r.DescontoPercentual = 1;
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.Desconto.int64, 123400);
    EXPECT_EQ(r.TotalDesconto.int64, 123400);
    EXPECT_EQ(r.ValorLiquido.int64, 876600);
}

TEST(CalculoItem, DescontoEmValorPorUnidade)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(500000000, 25000); // 5.00 x 2.5, 0.125 per unit
    r.Desconto = CY{1250};
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.Desconto.int64, 1200);         // 0.125 -> 0.12 half to even
    EXPECT_EQ(r.TotalDesconto.int64, 3000);    // 0.12 x 2.5
    EXPECT_EQ(r.ValorLiquido.int64, 122000);
}

TEST(CalculoItem, Acrescimos)
{
    REG_QMXCALCULO_VALOR_ITEM_CUPOM r = Item(1000000000, 30000); // 10.00 x 3, 2.50 %
    r.AcrescimoPercentual = 1;
    r.PercentualAcrescimo = 250;
    CQMXCalculo::CalcularValoresItemCupom(&r);
    EXPECT_EQ(r.AcrescimoUnitario.int64, 2500);
    EXPECT_EQ(r.TotalAcrescimo.int64, 7500);
    EXPECT_EQ(r.ValorBruto.int64, 300000); // not added into the price
    REG_QMXCALCULO_VALOR_ITEM_CUPOM s = Item(1000000000, 30000);
    s.AcrescimoPercentual = 1;
    s.PercentualAcrescimo = 250;
    s.AcrescimoNoUnitario = 1;
    CQMXCalculo::CalcularValoresItemCupom(&s);
    EXPECT_EQ(s.ValorUnitario, 1025000000);
    EXPECT_EQ(s.ValorBruto.int64, 307500);
    REG_QMXCALCULO_VALOR_ITEM_CUPOM t = Item(1000000000, 10000); // amount 0.125 -> 0.12
    t.ValorAcrescimo = CY{1250};
    CQMXCalculo::CalcularValoresItemCupom(&t);
    EXPECT_EQ(t.AcrescimoUnitario.int64, 1200);
    EXPECT_EQ(t.TotalAcrescimo.int64, 1200);
}

TEST(CalculoItem, AplicaDesconto)
{
    CZTCurrencyEx8 total = E8(8.97);
    CY d{30000000}; // 0.30 as eight-decimal raw
    CZTCurrencyEx8 r = CQMXCalculo::AplicaDesconto(E8(2.99), total, d, E8(3.0), true, false, 2);
    EXPECT_EQ(r.GetRaw(), 90000000);
    EXPECT_EQ(total.GetRaw(), 807000000);
    CY p{1000000000}; // 10 %
    CZTCurrencyEx8 total2 = E8(8.97);
    CQMXCalculo::AplicaDesconto(E8(2.99), total2, p, E8(3.0), true, true, 2);
    EXPECT_EQ(p.int64, 30000000); // the unit discount as an amount goes back
    EXPECT_EQ(total2.GetRaw(), 807000000);
}

TEST(CalculoItem, AplicaDescontoEspecialItens)
{
    CZTCurrencyEx8 v = E8(33.33);
    CZTCurrencyEx8 r = CQMXCalculo::AplicaDescontoEspecialItens(v, E8(10.0), E8(100.0), 0);
    EXPECT_EQ(r.GetRaw(), 333000000);
    EXPECT_EQ(v.GetRaw(), 3000000000);
    EXPECT_EQ(v.GetDecimals(), 8);
    // Half away from zero after the division: 0.125 -> 0.13.
    CZTCurrencyEx8 w = E8(1.25);
    EXPECT_EQ(CQMXCalculo::AplicaDescontoEspecialItens(w, E8(1.0), E8(10.0), 0).GetRaw(), 13000000);
}

TEST(CalculoItem, ValidarDesconto)
{
    CZTCurrencyEx q(3.0);
    EXPECT_FALSE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.40), CZTCurrencyEx(1.00), false, false));
    EXPECT_TRUE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.40), CZTCurrencyEx(5.00), false, true));
    EXPECT_TRUE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.50), CZTCurrencyEx(5.00), false, true));
    EXPECT_FALSE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.51), CZTCurrencyEx(5.00), false, true));
    EXPECT_FALSE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.01), CZTCurrencyEx(0.0), false, false));
    EXPECT_TRUE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(0.0), CZTCurrencyEx(0.0), false, false));
    // Two percentages compared directly.
    EXPECT_TRUE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(5.0), CZTCurrencyEx(5.0), true, true));
    EXPECT_FALSE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(5.0001), CZTCurrencyEx(5.0), true, true));
    // A percentage discount against an amount limit: 5 % of 10.00 = 0.50, x 3 = 1.50.
    EXPECT_TRUE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(5.0), CZTCurrencyEx(1.50), true, false));
    EXPECT_FALSE(CQMXCalculo::ValidarDesconto(E8(10.0), q, CZTCurrencyEx(5.0), CZTCurrencyEx(1.49), true, false));
}

TEST(CalculoItem, ValidaDesconto)
{
    const CY valor{1000000000}; // 10.00 as eight-decimal raw
    EXPECT_TRUE(CQMXCalculo::ValidaDesconto(valor, CY{999900000000}, CY{0}, false, false, 0));
    EXPECT_TRUE(CQMXCalculo::ValidaDesconto(valor, CY{0}, CY{100}, false, false, 0));
    EXPECT_TRUE(CQMXCalculo::ValidaDesconto(valor, CY{50000000}, CY{50000000}, false, false, 0));
    EXPECT_FALSE(CQMXCalculo::ValidaDesconto(valor, CY{51000000}, CY{50000000}, false, false, 0));
    // 5 % of 10.00 = 0.50 as the limit.
    EXPECT_TRUE(CQMXCalculo::ValidaDesconto(valor, CY{50000000}, CY{500000000}, false, true, 0));
    EXPECT_FALSE(CQMXCalculo::ValidaDesconto(valor, CY{51000000}, CY{500000000}, false, true, 0));
    // 6 % discount = 0.60 against 0.55.
    EXPECT_FALSE(CQMXCalculo::ValidaDesconto(valor, CY{600000000}, CY{55000000}, true, false, 0));
}

TEST(CalculoItem, VerificaDesconto)
{
    // 1.00 of 10.00 is 10 %.
    EXPECT_TRUE(CQMXCalculo::VerificaDesconto(E8(10.0), E8(1.0), E8(10.0), true, 2));
    EXPECT_FALSE(CQMXCalculo::VerificaDesconto(E8(10.0), E8(1.01), E8(10.0), true, 2));
    // 0.333 of 3.00 is 11.1 %: with 2 decimals the discount rounds to 0.33 -> 11.00 %.
    EXPECT_TRUE(CQMXCalculo::VerificaDesconto(E8(3.0), E8(0.333), E8(11.0), true, 2));
    EXPECT_FALSE(CQMXCalculo::VerificaDesconto(E8(3.0), E8(0.333), E8(11.0), true, 3));
    // Compared directly: 0.125 and 0.13 are equal at 2 decimals half away from zero.
    EXPECT_TRUE(CQMXCalculo::VerificaDesconto(E8(3.0), E8(0.125), E8(0.13), false, 2));
    EXPECT_FALSE(CQMXCalculo::VerificaDesconto(E8(3.0), E8(0.125), E8(0.12), false, 2));
}
