#include "apoio/PastaTemporaria.h"
#include "tef/QMXArquivoTEF.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace
{
    // Random bytes, mostly from the characters the parser and the reader
    // look at, so that near-valid lines are common.
    std::string Sorteia(std::mt19937& gerador, std::size_t nMaximo)
    {
        static const std::string ALFABETO = "0123456789-= \"\t\r\n\x1A\xC9\x00" "a+";
        std::uniform_int_distribution<std::size_t> tamanho(0, nMaximo);
        std::uniform_int_distribution<int> byte(0, 255);
        std::uniform_int_distribution<std::size_t> letra(0, ALFABETO.size());
        std::string s(tamanho(gerador), '\0');
        for (char& c : s)
        {
            const std::size_t n = letra(gerador);
            c = n == ALFABETO.size() ? static_cast<char>(byte(gerador)) : ALFABETO[n];
        }
        return s;
    }

    // Lines held, counted in the file written from them (a text never holds
    // a line feed, so each line written ends in the only one it has).
    std::size_t GravaEConta(CQMXArquivoTEF& arquivo)
    {
        EXPECT_TRUE(arquivo.GerarArquivo());
        const std::string strGravado = qmx::testes::PastaTemporaria::Le(arquivo.GetCaminhoArquivo());
        return static_cast<std::size_t>(std::count(strGravado.begin(), strGravado.end(), '\n'));
    }
}

// An unquoted line, written out and parsed again, is the same line unless its
// text is empty (then it clears) or looks quoted (then it loses its quotes).
// Quoted texts may begin or end in blanks, which the unquoted line written
// for them cannot carry.
TEST(FuzzTEF, InterpretaLinhaComBytesAleatorios)
{
    std::mt19937 gerador(20240607);
    int nConferidas = 0;
    for (int i = 0; i < 4000; ++i)
    {
        // Every other input starts as a well-formed key, to reach the value rules.
        const std::string strPrefixo = i % 2 ? std::to_string(gerador() % 70000) + "-" + Sorteia(gerador, 3) + " =" : "";
        const CLinhaArqTEF linha(strPrefixo + Sorteia(gerador, 40));
        const CLinhaArqTEF relida(linha.ToString());
        const std::string t = linha.GetTexto();
        if (linha.GetConteudoEhTexto() || t.empty() || (t.front() == '"' && t.back() == '"'))
            continue;
        ASSERT_EQ(relida.GetCampo(), linha.GetCampo());
        ASSERT_EQ(relida.GetPosicao(), linha.GetPosicao());
        ASSERT_EQ(relida.GetTexto(), t);
        ++nConferidas;
    }
    EXPECT_GT(nConferidas, 1000);
}

// Any file reads; it keeps at most one line per line break (plus a last
// line), never field 999, and what it writes reads back to as many lines.
TEST(FuzzTEF, LerArquivoComBytesAleatorios)
{
    std::mt19937 gerador(1000003);
    qmx::testes::PastaTemporaria pasta;
    T_Lista<CLinhaArqTEF> lista;
    for (int i = 0; i < 1000; ++i)
    {
        const std::string strBytes = Sorteia(gerador, 300);
        CQMXArquivoTEF arquivo(pasta.Grava("f.001", strBytes));
        ASSERT_TRUE(arquivo.LerArquivo());
        ASSERT_FALSE(arquivo.PossuiCampo(999, &lista));
        const std::size_t nLinhas = GravaEConta(arquivo);
        ASSERT_LE(nLinhas, static_cast<std::size_t>(std::count(strBytes.begin(), strBytes.end(), '\n')) + 1);
        ASSERT_TRUE(arquivo.LerArquivo());
        ASSERT_EQ(GravaEConta(arquivo), nLinhas) << i;
    }
}
