#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "apoio/PastaTemporaria.h"
#include "frame/QMXUTIL.h"

using qmx::testes::PastaTemporaria;

namespace {

TEST(MD5Arquivo, FalhaDeixaOBufferComoEstava) {
  PastaTemporaria pasta;
  char digest[33] = "intacto";
  // A missing file, a folder and no name.
  for (const std::string& caminho : {pasta.Caminho("nao-existe.txt"), pasta.Pasta().string(), std::string()}) {
    EXPECT_TRUE(QMX_GerarMD5_Arquivo(caminho.c_str(), digest)) << caminho;
    EXPECT_STREQ(digest, "intacto") << caminho;
  }
}

TEST(MD5Arquivo, CaminhoComAcentosEmWindows1252) {
  PastaTemporaria pasta;
  // The file is made through the system's own form of the name (UTF-8 on
  // Linux, UTF-16 on Windows); the caller names files in Windows-1252.
  std::ofstream(pasta.Pasta() / std::filesystem::u8path("Rela\xC3\xA7\xC3\xA3o com brancos.txt"), std::ios::binary)
      << "abc";
  const std::string caminho = (pasta.Pasta().string() + "/Rela\xE7\xE3o com brancos.txt");
  char digest[33] = {};
  QMX_GerarMD5_Arquivo(caminho.c_str(), digest);
  EXPECT_STREQ(digest, "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
