#include "tef/LinhaArqTEF.h"
#include "tef/T_Lista.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(T_Lista, CresceDeCemEmCemEConfereIndices)
{
    T_Lista<CLinhaArqTEF> lista;
    lista.Add(CLinhaArqTEF());
    EXPECT_EQ(lista.GetCapacidade(), 100u);
    for (int i = 1; i <= 100; ++i)
        lista.Add(CLinhaArqTEF());
    EXPECT_EQ(lista.GetSize(), 101u);
    EXPECT_EQ(lista.GetCapacidade(), 200u);
    EXPECT_THROW(lista.GetAt(101), std::out_of_range);
    EXPECT_THROW(lista.RemoveAt(101), std::out_of_range);
    lista.RemoveAt(0);
    EXPECT_EQ(lista.GetSize(), 100u);
}
