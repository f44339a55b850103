#pragma once

#include <vector>

#include "calculo/CY.h"
#include "calculo/RegistrosCalculo.h"
#include "calculo/ZTCurrencyEx.h"
#include "calculo/ZTCurrencyEx8.h"
#include "frame/QMXExport.h"
#include "plataforma/dados/RegistroCupomItem.h"

// The cupom calculations: static, stateless, exported.
// None shows a message, reads a data server or throws.
class QMX_API CQMXCalculo
{
public:
    // Item values and discount rules
    static void CalcularValoresItemCupom(REG_QMXCALCULO_VALOR_ITEM_CUPOM* pItem);
    static CZTCurrencyEx8 AplicaDesconto(CZTCurrencyEx8 valorUnitario, CZTCurrencyEx8& valorTotal,
                                         CY& cyDesconto, CZTCurrencyEx8 quantidade, bool bNaoUsado,
                                         bool bPercentual, int nNaoUsado);
    static CZTCurrencyEx8 AplicaDescontoEspecialItens(CZTCurrencyEx8& valorItem, CZTCurrencyEx8 multiplicador,
                                                      CZTCurrencyEx8 divisor, int nNaoUsado);
    static bool VerificaDesconto(CZTCurrencyEx8 valor, CZTCurrencyEx8 desconto, CZTCurrencyEx8 limite,
                                 bool bDescontoValor, int nDecimais);
    static bool ValidaDesconto(CY cyValor, CY cyDesconto, CY cyLimite, bool bDescontoPercentual,
                               bool bLimitePercentual, int nNaoUsado);
    static bool ValidarDesconto(CZTCurrencyEx8 valorUnitario, CZTCurrencyEx quantidade, CZTCurrencyEx desconto,
                                CZTCurrencyEx limite, bool bDescontoPercentual, bool bLimitePercentual);

    // Discount apportionment and approximate taxes
    static void RatearDescontoCupom(tagREG_EC_CX_CIPS* pItens, int nItens, CZTCurrencyEx8 desconto,
                                    bool bIncluirServicos);
    static void CalcularImpostosAproxCupom(const std::vector<REG_QMXCALCULO_IMPOSTOS_ITEM>& itens,
                                           REG_QMXCALCULO_IMPOSTOS_CUPOM& resultado);
};
