#include "tef/LinhaArqTEF.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
    struct Esperado
    {
        const char* pszLinha;
        int nCampo;
        int nPosicao;
        const char* pszTexto;
        bool bTexto;
    };

    void Confere(const Esperado& e)
    {
        const CLinhaArqTEF linha{std::string(e.pszLinha)};
        EXPECT_EQ(std::tuple(linha.GetCampo(), linha.GetPosicao(), linha.GetTexto(), linha.GetConteudoEhTexto()),
                  std::tuple(e.nCampo, e.nPosicao, e.pszTexto, e.bTexto))
            << e.pszLinha;
    }
}

TEST(LinhaArqTEF, LinhasValidasELinhasQueFicamLimpas)
{
    const Esperado casos[] = {
        {"001-000 = 1234", 1, 0, "1234", false}, {"  027-002 =  \"ABC DEF\"  ", 27, 2, "ABC DEF", true},
        {"\t001-000\t=\tX\t", 1, 0, "X", false}, {"001 - 002 = X", 1, 2, "X", false},
        {"001-000=a=b", 1, 0, "a=b", false}, {"001-002-003 = X", 1, 2, "X", false},
        {"1500-000 = X", 1500, 0, "X", false}, {"65535-65535 = X", 65535, 65535, "X", false},
        {"65536-000 = X", 0, 0, "X", false}, {"99999999999999999999-7 = X", 0, 7, "X", false},
        {"1--5 = X", 1, 0, "X", false}, {"12a-0b7 = X", 12, 0, "X", false}, {"abc-def = X", 0, 0, "X", false},
        {"001-000 = \"", 1, 0, "", true}, {"001-000 = \"\"", 1, 0, "", true},
        {"001-000 = \"ABC", 1, 0, "\"ABC", false}, {"001-000 = \"  A \"", 1, 0, "  A ", true},
        {"010-000 = CR\xC9" "DITO", 10, 0, "CR\xC9" "DITO", false},
    };
    for (const Esperado& e : casos)
        Confere(e);
    // Lines that stay cleared.
    for (const char* psz : {"", "   ", "=5", "5=", "abc", "000 = X", "-1 = X", "1- = X", "001-000 = ", "001-000 =",
                            " = ", "- = X"})
        Confere({psz, 0, 0, "", false});
}

TEST(LinhaArqTEF, EscritaDaLinha)
{
    // The quotes are not written back, nor can the outer blanks they kept be.
    for (auto [pszLinha, pszEscrita] : {std::pair{"001-000 = 1234", "001-000 = 1234"},
                                        {"027-002 = \"ABC DEF\"", "027-002 = ABC DEF"},
                                        {"1500-7 = X", "1500-007 = X"},
                                        {"029-001 = \"  A \"", "029-001 =   A "}})
        EXPECT_EQ(CLinhaArqTEF(std::string(pszLinha)).ToString(), pszEscrita);
    EXPECT_EQ(CLinhaArqTEF().ToString(), "000-000 = ");
    const std::string strLonga(100000, 'x');
    EXPECT_EQ(CLinhaArqTEF("002-000 = " + strLonga).ToString(), "002-000 = " + strLonga);
}

TEST(LinhaArqTEF, Modificadores)
{
    CLinhaArqTEF linha;
    linha.SetCampo(12);
    linha.SetCampo(1000);
    linha.SetPosicao(999);
    linha.SetPosicao(65535);
    EXPECT_EQ(linha.GetCampo(), 12);
    EXPECT_EQ(linha.GetPosicao(), 999);

    linha.SetConteudoEhTexto(true);
    linha.SetTexto("ABC");
    EXPECT_EQ(linha.GetTexto(), "\"ABC\"");
    EXPECT_EQ(linha.ToString(), "012-999 = \"ABC\"");
    linha.SetConteudoEhTexto(false);
    linha.SetTexto("ABC");
    EXPECT_EQ(linha.GetTexto(), "ABC");

    CLinhaArqTEF copia(linha);
    linha = std::string("nada");  // assignment from text parses and clears
    EXPECT_EQ(linha.ToString(), "000-000 = ");
    EXPECT_EQ(copia.ToString(), "012-999 = ABC");
    linha = copia;
    EXPECT_EQ(linha.GetPosicao(), 999);
    linha.Limpar();
    EXPECT_EQ(linha.GetTexto(), "");
}
