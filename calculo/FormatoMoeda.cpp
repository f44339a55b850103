#include "calculo/FormatoMoeda.h"

std::string QMXFormatarValorFixo(std::int64_t nValor, int nEscala, int nDecimais)
{
    const bool bNegativo = nValor < 0;
    std::uint64_t nMag = bNegativo ? static_cast<std::uint64_t>(-(nValor + 1)) + 1u
                                   : static_cast<std::uint64_t>(nValor);
    std::uint64_t nPotencia = 1;
    for (int i = 0; i < nEscala; ++i)
        nPotencia *= 10;
    std::uint64_t nInteiro = nMag / nPotencia;
    std::uint64_t nFracao = nMag % nPotencia;
    for (int i = nDecimais; i < nEscala; ++i)
        nFracao /= 10;

    std::string sInteiro = std::to_string(nInteiro);
    std::string sTexto;
    for (std::size_t i = 0; i < sInteiro.size(); ++i)
    {
        if (i > 0 && (sInteiro.size() - i) % 3 == 0)
            sTexto += '.';
        sTexto += sInteiro[i];
    }
    if (nDecimais > 0)
    {
        std::string sFracao = std::to_string(nFracao);
        sTexto += ',';
        sTexto.append(static_cast<std::size_t>(nDecimais) - sFracao.size(), '0');
        sTexto += sFracao;
    }
    if (bNegativo && (nInteiro != 0 || nFracao != 0))
        sTexto.insert(sTexto.begin(), '-');
    return sTexto;
}
