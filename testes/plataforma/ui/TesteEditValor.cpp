#include <gtest/gtest.h>

#include "plataforma/ui/EditValor.h"

using qmx::ui::CZTEditValor;

namespace {

TEST(EditValor, SoDigitosAteALargura) {
  EXPECT_EQ(CZTEditValor::Filtra("12a3", 4), "123");
  EXPECT_EQ(CZTEditValor::Filtra("-0042", 4), "0042");
  EXPECT_EQ(CZTEditValor::Filtra("1234567", 6), "123456");
  EXPECT_EQ(CZTEditValor::Filtra(" 1.5 ", 6), "15");
  EXPECT_EQ(CZTEditValor::Filtra("", 6), "");
}

}  // namespace
