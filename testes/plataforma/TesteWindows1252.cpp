#include <gtest/gtest.h>

#include "plataforma/texto/Windows1252.h"

using namespace qmx::texto;

TEST(Windows1252, TodosOsBytesIdaEVolta) {
  std::string todos;
  for (int b = 1; b < 256; ++b) todos += static_cast<char>(b);
  const std::string utf8 = ParaUtf8(todos);
  EXPECT_EQ(DeUtf8(utf8), todos);
  EXPECT_EQ(ParaUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(ParaUtf8("\xE7\xE3"), "\xC3\xA7\xC3\xA3");
}

TEST(Windows1252, Utf8InvalidoOuForaDaTabelaViraInterrogacao) {
  EXPECT_EQ(DeUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(DeUtf8("\xC3"), "?");                  // cut sequence
  EXPECT_EQ(DeUtf8("\xC0\xAF"), "??");             // overlong form
  EXPECT_EQ(DeUtf8("\xE4\xB8\xAD"), "?");          // a character Windows-1252 lacks
  EXPECT_EQ(DeUtf8("\xF0\x9F\x98\x80x"), "?x");    // beyond the basic plane
  EXPECT_EQ(DeUtf8OuLatin("Regi\xE3o"), "Regi\xE3o");
  EXPECT_EQ(DeUtf8OuLatin("Regi\xC3\xA3o"), "Regi\xE3o");
}
