#include "frame/MapaMFC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
    template <class K, class V>
    std::vector<K> Ordem(const CMapaMFC<K, V>& mapa)
    {
        std::vector<K> chaves;
        for (const auto& par : mapa)
            chaves.push_back(par.first);
        return chaves;
    }
}

TEST(MapaMFC, HashesPublicados)
{
    // 127773: quotient 1, remainder 0.
    for (auto [nChave, nHash] : {std::pair<int, std::uint32_t>{1, 16807u}, {2, 33614u}, {3, 50421u}, {0, 0u},
                                 {17, 285719u}, {-1, 2147466840u}, {std::numeric_limits<int>::min(), 2147466840u},
                                 {127773, 2147483647u - 2836u}})
        EXPECT_EQ(HashChaveMFC(nChave), nHash) << nChave;
    EXPECT_EQ(HashChaveMFC(0x100000001LL), 16807u); // a 32-bit long keeps the low bits
    for (const auto& [strChave, nHash] :
         {std::pair<std::string, std::uint32_t>{"A", 65u}, {"AB", 2211u}, {"abc", 108966u}, {"\xE9", 0xFFFFFFE9u}})
        EXPECT_EQ(HashChaveMFC(strChave), nHash) << strChave;
    EXPECT_EQ(HashChaveMFC(std::string("ab\0cd", 5)), HashChaveMFC(std::string("ab")));
}

TEST(MapaMFC, OrdemDeIteracaoPublicada)
{
    CMapaMFC<int, int> mapa;
    for (int k : {1, 2, 3})
        mapa[k] = k;
    EXPECT_EQ(Ordem(mapa), (std::vector<int>{2, 1, 3}));

    CMapaMFC<int, int> colisao;
    colisao[0] = 0;
    colisao[17] = 17;
    colisao[-1] = -1;
    EXPECT_EQ(Ordem(colisao), (std::vector<int>{17, 0, -1}));
}

TEST(MapaMFC, ChaveExistenteFicaNoLugarEChaveReinseridaVaiParaACabeca)
{
    CMapaMFC<int, std::string> mapa;
    mapa.SetAt(0, "a");
    mapa.SetAt(17, "b");
    mapa.SetAt(0, "c");
    EXPECT_EQ(Ordem(mapa), (std::vector<int>{17, 0}));
    EXPECT_TRUE(mapa.RemoveKey(0));
    EXPECT_FALSE(mapa.RemoveKey(0));
    mapa.SetAt(0, "e");
    EXPECT_EQ(Ordem(mapa), (std::vector<int>{0, 17}));
    EXPECT_EQ(mapa.GetCount(), 2u);
}

TEST(MapaMFC, TabelaDimensionadaSoQuandoVazia)
{
    CMapaMFC<unsigned short, int> mapa;
    ASSERT_TRUE(mapa.InitHashTable(1000));
    for (unsigned short k : {1, 2, 3, 999, 0})
        mapa[k] = k;
    EXPECT_EQ(Ordem(mapa), (std::vector<unsigned short>{0, 999, 3, 2, 1}));
    EXPECT_FALSE(mapa.InitHashTable(17));
    mapa.RemoveAll();
    EXPECT_TRUE(mapa.IsEmpty());
    EXPECT_EQ(mapa.GetHashTableSize(), 1000u);
    mapa[1000] = 0;
    mapa[0] = 0;  // 0 and 1000 share bucket 0 of 1000
    EXPECT_EQ(Ordem(mapa), (std::vector<unsigned short>{0, 1000}));
}

TEST(MapaMFC, ChavesReaisETextos)
{
    CMapaMFC<double, int> reais;
    reais[1.2] = 1;
    reais[1.9] = 2;
    reais[-1.5] = 3;  // truncated to -1: bucket 14
    reais[std::nan("")] = 4;
    reais[std::nan("")] = 5;
    EXPECT_EQ(reais.GetCount(), 4u);
    EXPECT_EQ(reais.Balde(1.2), reais.Balde(1.9));
    EXPECT_EQ(reais.Balde(std::nan("")), reais.Balde(1e300));
    EXPECT_EQ(*reais.PLookup(std::nan("")), 5);
    const std::vector<double> ordem = Ordem(reais);
    EXPECT_EQ(ordem[0], 1.9);
    EXPECT_EQ(ordem[1], 1.2);

    CMapaMFC<std::string, int> textos;
    for (const char* s : {"A", "AB", "abc"})
        textos[s] = 0;
    // buckets 14, 1 and 13 of 17
    EXPECT_EQ(Ordem(textos), (std::vector<std::string>{"AB", "abc", "A"}));
}
