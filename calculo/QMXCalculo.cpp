// CQMXCalculo: item values and discount rules.
#include "calculo/QMXCalculo.h"

namespace
{
constexpr int RHAZ = CZTCurrencyEx8::RoundHalfAwayFromZero;
constexpr int TRUNCAR = CZTCurrencyEx8::Truncate;
constexpr int MEIO_PAR = CZTCurrencyEx8::RoundHalfEven;

// An eight-decimal value with the given settings, then the value assigned
// (and so rounded by those settings).
CZTCurrencyEx8 Com(int nDecimais, int nModo, const CZTCurrencyEx8& valor)
{
    CZTCurrencyEx8 r;
    r.SetFormat(nDecimais, nModo);
    r = valor;
    return r;
}

// An eight-decimal value as a CY (four decimals, half to even: exact for the
// values of these calculations, which have at most four decimals).
CY ComoCY(const CZTCurrencyEx8& valor)
{
    return valor.ToCurrencyEx().GetCY();
}

// A CY as an eight-decimal value.
CZTCurrencyEx8 De(CY cy)
{
    CZTCurrencyEx8 r;
    r = CZTCurrencyEx(cy);
    return r;
}
} // namespace

void CQMXCalculo::CalcularValoresItemCupom(REG_QMXCALCULO_VALOR_ITEM_CUPOM* p)
{
    // 1. Nothing for a null record; outputs zeroed; nothing more without price or quantity.
    if (p == nullptr)
        return;
    p->TotalDesconto = p->ValorBruto = p->ValorLiquido = p->AcrescimoUnitario = p->TotalAcrescimo = CY{0};
    if (p->ValorUnitario == 0 || p->Quantidade.int64 == 0)
        return;

    // 2. Decimals of the price: 2 or 3; of the quantity: at most 3.
    p->DecimaisValor = p->DecimaisValor > 2 ? 3 : 2;
    if (p->DecimaisQuantidade > 3)
        p->DecimaisQuantidade = 3;
    const int nDecValor = p->DecimaisValor;

    // 3. Price, cut to its decimals.
    CZTCurrencyEx8 preco = Com(nDecValor, TRUNCAR, CZTCurrencyEx8(p->ValorUnitario));
    // 4. Quantity, cut to its decimals.
    CZTCurrencyEx8 quantidade = Com(p->DecimaisQuantidade, TRUNCAR, De(p->Quantidade));
    // 5. Unit surcharge, half to even at the price's decimals.
    CZTCurrencyEx8 acrescimo;
    acrescimo.SetFormat(nDecValor, MEIO_PAR);
    if (p->AcrescimoPercentual != 0)
        acrescimo = preco.ApplyRate(p->PercentualAcrescimo);
    else
        acrescimo = De(p->ValorAcrescimo);
    // 6. Surcharge into the price (still cut at its decimals).
    if (p->AcrescimoNoUnitario != 0)
        preco = preco + acrescimo;
    // 7. Line surcharge.
    CZTCurrencyEx8 totalAcrescimo = Com(2, MEIO_PAR, quantidade * acrescimo);
    // 8. Discount typed by the operator, half to even at 2 decimals.
    CZTCurrencyEx8 desconto = Com(2, MEIO_PAR, De(p->Desconto));
    // 9. Gross value.
    CZTCurrencyEx8 bruto = Com(2, p->Arredondamento == 1 ? MEIO_PAR : TRUNCAR, preco * quantidade);

    // 10. Write back.
    p->ValorUnitario = preco.GetRaw();
    p->Quantidade = ComoCY(quantidade);
    p->Desconto = ComoCY(desconto);
    p->AcrescimoUnitario = ComoCY(acrescimo);
    p->TotalAcrescimo = ComoCY(totalAcrescimo);
    p->ValorBruto = ComoCY(bruto);

    // 11. The discount of the line, taken off the gross value.
    if (desconto.GetRaw() > 0)
    {
        CY cyRascunho{desconto.GetRaw()};
        CZTCurrencyEx8 total =
            AplicaDesconto(preco, bruto, cyRascunho, quantidade, true, p->DescontoPercentual == 1, 2);
        p->TotalDesconto = ComoCY(total);
    }
    // 12. Net value.
    p->ValorLiquido = ComoCY(bruto);
}

CZTCurrencyEx8 CQMXCalculo::AplicaDesconto(CZTCurrencyEx8 valorUnitario, CZTCurrencyEx8& valorTotal,
                                           CY& cyDesconto, CZTCurrencyEx8 quantidade, bool /*bNaoUsado*/,
                                           bool bPercentual, int /*nNaoUsado*/)
{
    // 1. Unit discount (a percentage too) half to even at 2 decimals.
    CZTCurrencyEx8 desconto = Com(2, MEIO_PAR, CZTCurrencyEx8(cyDesconto.int64));
    // 2. A percentage of the unit value becomes an amount.
    if (bPercentual)
        desconto = (valorUnitario * desconto) / 100.0;
    // 3. The unit discount as an amount goes back to the caller.
    cyDesconto.int64 = desconto.GetRaw();
    // 4. Discount of the line.
    CZTCurrencyEx8 resultado = Com(2, MEIO_PAR, desconto * quantidade);
    // 5. Taken off the line value, at its own settings.
    valorTotal -= resultado;
    return resultado;
}

CZTCurrencyEx8 CQMXCalculo::AplicaDescontoEspecialItens(CZTCurrencyEx8& valorItem, CZTCurrencyEx8 multiplicador,
                                                        CZTCurrencyEx8 divisor, int /*nNaoUsado*/)
{
    // 1. Product cut at 2 decimals; 2. quotient rounded half away from zero.
    CZTCurrencyEx8 resultado = Com(2, TRUNCAR, valorItem * multiplicador);
    resultado.SetRound(true);
    resultado = resultado / divisor;
    // 3. Taken off the item value.
    valorItem -= resultado;
    return resultado;
}

bool CQMXCalculo::VerificaDesconto(CZTCurrencyEx8 valor, CZTCurrencyEx8 desconto, CZTCurrencyEx8 limite,
                                   bool bDescontoValor, int nDecimais)
{
    valor.SetFormat(nDecimais, RHAZ);
    desconto.SetFormat(nDecimais, RHAZ);
    limite.SetFormat(nDecimais, RHAZ);
    if (bDescontoValor)
    {
        // A zero value gives a zero percentage (there is no percentage of nothing).
        CZTCurrencyEx8 percentual = Com(nDecimais, RHAZ, (desconto * 100.0) / valor);
        return percentual.GetRaw() <= limite.GetRaw();
    }
    return desconto.GetRaw() <= limite.GetRaw();
}

namespace
{
// Step 2 and 3 of ValidaDesconto: an eight-decimal raw brought to an amount at
// 2 decimals half to even; a percentage of the value when bPercentual.
CZTCurrencyEx ValorDoDesconto(CY cyValor, CY cyRaw, bool bPercentual)
{
    CZTCurrencyEx x(true, CZTCurrencyEx::RoundHalfEven, cyRaw / 10000.0);
    if (bPercentual)
    {
        CZTCurrencyEx valor(cyValor / 10000.0);
        x.SetValue(valor.ApplyRate(static_cast<std::uint16_t>(x.GetHundredths())));
    }
    return x;
}
} // namespace

bool CQMXCalculo::ValidaDesconto(CY cyValor, CY cyDesconto, CY cyLimite, bool bDescontoPercentual,
                                 bool bLimitePercentual, int /*nNaoUsado*/)
{
    if (cyDesconto.int64 == 0 || cyLimite.int64 == 0)
        return true;
    CZTCurrencyEx x = ValorDoDesconto(cyValor, cyDesconto, bDescontoPercentual);
    CZTCurrencyEx y = ValorDoDesconto(cyValor, cyLimite, bLimitePercentual);
    return x.GetCY() <= y.GetCY();
}

bool CQMXCalculo::ValidarDesconto(CZTCurrencyEx8 valorUnitario, CZTCurrencyEx quantidade, CZTCurrencyEx desconto,
                                  CZTCurrencyEx limite, bool bDescontoPercentual, bool bLimitePercentual)
{
    // 1. No discount: allowed; a zero limit: no discount at all.
    if (desconto.GetCY().int64 == 0)
        return true;
    if (limite.GetCY().int64 == 0)
        return false;
    // 2. Two percentages, at the caller's settings.
    if (bDescontoPercentual && bLimitePercentual)
        return desconto.GetCY() <= limite.GetCY();
    // 3. Both to 2 decimals, then half to even.
    desconto.SetDecimals(2);
    desconto.SetRounding(CZTCurrencyEx::RoundHalfEven);
    limite.SetDecimals(2);
    limite.SetRounding(CZTCurrencyEx::RoundHalfEven);
    // 4. A percentage discount becomes an amount per unit.
    if (bDescontoPercentual)
        desconto.SetValue(valorUnitario.ToCurrencyEx().ApplyRate(static_cast<std::uint16_t>(desconto.GetHundredths())));
    // 5. Discount of the line.
    CZTCurrencyEx x(true, CZTCurrencyEx::RoundHalfEven, desconto.GetCY() * quantidade.GetCY());
    // 6. Limit of the line: a percentage per unit times the quantity, or an amount for the whole line.
    CZTCurrencyEx y(limite);
    if (bLimitePercentual)
    {
        limite.SetValue(valorUnitario.ToCurrencyEx().ApplyRate(static_cast<std::uint16_t>(limite.GetHundredths())));
        y = CZTCurrencyEx(true, CZTCurrencyEx::RoundHalfEven, limite.GetCY() * quantidade.GetCY());
    }
    // 7.
    return x.GetCY() <= y.GetCY();
}
