// CQMXCalculo: discount apportionment and approximate taxes.
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "calculo/QMXCalculo.h"

namespace
{
bool Participa(const tagREG_EC_CX_CIPS& item, bool bIncluirServicos)
{
    return item.Excluido == 0 && (bIncluirServicos || item.Servico == 0);
}

std::uint16_t AliquotaEmCentesimos(const tagREG_EC_CX_CIPS& item)
{
    return static_cast<std::uint16_t>(CZTCurrencyEx(item.Aliquota).GetHundredths());
}

// Tax kind in bits 16 to 23, the rate in hundredths in bits 0 to 15.
std::uint32_t ChaveGrupo(std::uint8_t nTipo, std::uint16_t nAliquota)
{
    return (static_cast<std::uint32_t>(nTipo) << 16) | nAliquota;
}

CZTCurrencyEx8 Com(int nDecimais, int nModo, const CZTCurrencyEx8& valor)
{
    CZTCurrencyEx8 r;
    r.SetFormat(nDecimais, nModo);
    r = valor;
    return r;
}

// Spreads the group's discount G over its participating items (given in
// cupom order by their positions), the group value V being their total.
void RatearDescontoGrupo(tagREG_EC_CX_CIPS* pItens, const std::vector<int>& posicoes,
                         const CZTCurrencyEx8& total, const CZTCurrencyEx8& desconto)
{
    // 1.
    if (total.GetRaw() == 0 || desconto.GetRaw() == 0)
        return;
    // 2. Proportional shares, cut at 2 decimals.
    // The largest item starts as the first one, whatever its value, so that
    // a group of negative items still takes its remainder.
    int nMaior = -1;
    std::int64_t nMaiorValor = 0;
    CZTCurrencyEx8 soma;
    for (int i : posicoes)
    {
        tagREG_EC_CX_CIPS& item = pItens[i];
        if (nMaior < 0 || item.ValorItem > nMaiorValor)
        {
            nMaior = i;
            nMaiorValor = item.ValorItem;
        }
        const CZTCurrencyEx8 valor(item.ValorItem);
        CZTCurrencyEx8 parte = Com(2, CZTCurrencyEx8::Truncate, valor * desconto / total);
        if (item.ValorAssociado.int64 > 0)
        {
            CZTCurrencyEx8 reducao = Com(2, CZTCurrencyEx8::Truncate, item.ValorAssociado * parte / valor);
            item.ValorAssociado = item.ValorAssociado - reducao.ToCurrencyEx().GetCY();
        }
        item.ValorItem = (valor - parte).GetRaw();
        soma += parte;
    }
    // 3. The remainder goes to the largest item.
    if (nMaior >= 0 && soma.GetRaw() != desconto.GetRaw())
    {
        const CZTCurrencyEx8 resto = desconto - soma;
        tagREG_EC_CX_CIPS& item = pItens[nMaior];
        if (item.ValorAssociado.int64 > 0)
        {
            CZTCurrencyEx8 reducao = Com(2, CZTCurrencyEx8::RoundHalfEven,
                                         item.ValorAssociado * resto / CZTCurrencyEx8(item.ValorItem));
            item.ValorAssociado = item.ValorAssociado - reducao.ToCurrencyEx().GetCY();
        }
        item.ValorItem = (CZTCurrencyEx8(item.ValorItem) - resto).GetRaw();
    }
}
} // namespace

void CQMXCalculo::RatearDescontoCupom(tagREG_EC_CX_CIPS* pItens, int nItens, CZTCurrencyEx8 desconto,
                                      bool bIncluirServicos)
{
    // 1.
    if (pItens == nullptr || nItens <= 0 || desconto.GetRaw() == 0)
        return;

    // 2. Groups of equal tax kind and rate, in the order of their first item.
    // The positions of each group's items are kept so that the spreading
    // walks every item once (the same items in the same order as a walk over
    // the whole cupom per group).
    std::vector<REG_QMXCALCULO_TRIBUTACAO> grupos;
    std::vector<std::vector<int>> posicoes;
    std::unordered_map<std::uint32_t, int> indice;
    indice.reserve(static_cast<std::size_t>(nItens * 1.7));
    CZTCurrencyEx8 total;
    for (int i = 0; i < nItens; ++i)
    {
        const tagREG_EC_CX_CIPS& item = pItens[i];
        if (!Participa(item, bIncluirServicos))
            continue;
        const std::uint16_t nAliquota = AliquotaEmCentesimos(item);
        const std::uint32_t nChave = ChaveGrupo(item.TipoTributacao, nAliquota);
        auto it = indice.find(nChave);
        if (it != indice.end())
        {
            REG_QMXCALCULO_TRIBUTACAO& grupo = grupos[static_cast<std::size_t>(it->second)];
            grupo.Valor = (CZTCurrencyEx8(grupo.Valor) + CZTCurrencyEx8(item.ValorItem)).GetRaw();
            posicoes[static_cast<std::size_t>(it->second)].push_back(i);
        }
        else
        {
            indice.emplace(nChave, static_cast<int>(grupos.size()));
            grupos.push_back(REG_QMXCALCULO_TRIBUTACAO{item.TipoTributacao, nAliquota, item.ValorItem});
            posicoes.push_back(std::vector<int>{i});
        }
        total += CZTCurrencyEx8(item.ValorItem);
    }

    // 3. Factor D / T, cut at 4 decimals, or at 8 when that gives 0.
    CZTCurrencyEx8 fator = Com(4, CZTCurrencyEx8::Truncate, desconto / total);
    if (fator.GetRaw() == 0)
        fator = Com(8, CZTCurrencyEx8::Truncate, desconto / total);

    // 4. Each group's discount, cut at 2 decimals, kept at 8 decimals.
    std::vector<CZTCurrencyEx8> descontoGrupo(grupos.size());
    CZTCurrencyEx8 soma;
    std::vector<std::size_t> maiores;
    std::int64_t nMaiorValor = 0;
    for (std::size_t g = 0; g < grupos.size(); ++g)
    {
        descontoGrupo[g] = Com(2, CZTCurrencyEx8::Truncate, CZTCurrencyEx8(grupos[g].Valor) * fator);
        soma += descontoGrupo[g];
        if (maiores.empty() || grupos[g].Valor > nMaiorValor)
        {
            maiores.assign(1, g);
            nMaiorValor = grupos[g].Valor;
        }
        else if (grupos[g].Valor == nMaiorValor)
            maiores.push_back(g);
    }

    // 5. The remainder to one of the largest groups: highest rate, then the
    // lowest tax-kind code, then the first.
    if (soma.GetRaw() != desconto.GetRaw() && !maiores.empty())
    {
        std::size_t nEscolhido = maiores.front();
        for (std::size_t g : maiores)
        {
            const REG_QMXCALCULO_TRIBUTACAO& a = grupos[g];
            const REG_QMXCALCULO_TRIBUTACAO& b = grupos[nEscolhido];
            if (a.Aliquota > b.Aliquota || (a.Aliquota == b.Aliquota && a.Tipo < b.Tipo))
                nEscolhido = g;
        }
        descontoGrupo[nEscolhido] += desconto - soma;
    }

    // 6. Each group's discount over its items.
    for (std::size_t g = 0; g < grupos.size(); ++g)
        RatearDescontoGrupo(pItens, posicoes[g], CZTCurrencyEx8(grupos[g].Valor), descontoGrupo[g]);
}

void CQMXCalculo::CalcularImpostosAproxCupom(const std::vector<REG_QMXCALCULO_IMPOSTOS_ITEM>& itens,
                                             REG_QMXCALCULO_IMPOSTOS_CUPOM& resultado)
{
    // 1.
    resultado = REG_QMXCALCULO_IMPOSTOS_CUPOM{CY{0}, CY{0}, CY{0}, CY{0}};
    if (itens.empty())
        return;
    // 2. Sums per grouped rate; the order of the groups never shows in the result.
    std::unordered_map<std::uint16_t, CY> somas;
    somas.reserve(static_cast<std::size_t>(static_cast<double>(itens.size()) * 1.7));
    // 3.
    for (const REG_QMXCALCULO_IMPOSTOS_ITEM& item : itens)
    {
        if (item.PercentualAgrupado > 0)
        {
            CY& soma = somas.try_emplace(item.PercentualAgrupado, CY{0}).first->second;
            soma += item.Valor;
        }
        resultado.TotalInformado += item.ValorInformado;
        if (item.Percentual2 > 0)
        {
            CZTCurrencyEx imposto(false, CZTCurrencyEx::RoundHalfEven, CZTCurrencyEx(item.Valor).ApplyRate(item.Percentual2));
            resultado.Total2 += imposto.GetCY();
        }
        if (item.Percentual3 > 0)
        {
            CZTCurrencyEx imposto(false, CZTCurrencyEx::RoundHalfEven, CZTCurrencyEx(item.Valor).ApplyRate(item.Percentual3));
            resultado.Total3 += imposto.GetCY();
        }
    }
    // 4. The grouped tax, cut at 2 decimals once per distinct rate.
    for (const auto& [nAliquota, cySoma] : somas)
    {
        CZTCurrencyEx imposto(true, CZTCurrencyEx::Truncate, CZTCurrencyEx(cySoma).ApplyRate(nAliquota));
        resultado.TotalAgrupado += imposto.GetCY();
    }
}
