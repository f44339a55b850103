#include <gtest/gtest.h>

#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/mensagens/CatalogoMensagens.h"

namespace {

using qmx::mensagens::CCatalogoMensagens;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;

std::string Texto(const std::string& caminho, std::uint32_t numero) {
  return CCatalogoMensagens::LeDoArquivo(caminho, numero).texto;
}

TEST(CatalogoMensagens, FormatoDaLinha) {
  PastaTemporaria pasta;
  const std::string arquivo = pasta.Grava(
      "ZTXXMens.txt",
      "Catalogo de teste sem numero\r\n"
      "00000110Primeira linha\\nSegunda linha\r\n"
      "     122Com brancos antes do numero\r\n"
      "00000007Termina com quebra\\n\r\n"
      "00000008\r\n"
      "00000009Linha sem CR no fim\n"
      "00000010Um CR\rsozinho fica\r\n"
      "00000110Repetida: vale a primeira\r\n"
      "00000011Antes do fim de arquivo\r\n\x1A"
      "00000012Depois do Ctrl-Z\r\n");
  // 7 loses only the last of its two breaks; 0, the line without a number, matches nothing.
  for (const auto& [numero, texto] :
       {std::pair<std::uint32_t, const char*>{110, "Primeira linha\nSegunda linha"}, {122, "Com brancos antes do numero"},
        {7, "Termina com quebra\n"}, {8, ""}, {9, "Linha sem CR no fim"}, {10, "Um CR\rsozinho fica"},
        {11, "Antes do fim de arquivo"}, {12, ""}, {0, ""}})
    EXPECT_EQ(Texto(arquivo, numero), texto) << numero;
  EXPECT_TRUE(CCatalogoMensagens::LeDoArquivo(arquivo, 999).aberto);
}

TEST(CatalogoMensagens, LinhaLongaELidaEmPedacos) {
  PastaTemporaria pasta;
  // 1024 characters of line, then what follows reads as a line of its own:
  // a number at its start is found.
  const std::string longa = "00000050" + std::string(1016, 'a') + "00000051Continuacao\r\n";
  const std::string arquivo = pasta.Grava("ZTXXMens.txt", longa + "00000052Depois\r\n");
  EXPECT_EQ(Texto(arquivo, 50), std::string(1016, 'a'));
  EXPECT_EQ(Texto(arquivo, 51), "Continuacao");
  EXPECT_EQ(Texto(arquivo, 52), "Depois");
  // A line of exactly 1023 characters and its break is one piece.
  const std::string justa = "00000060" + std::string(1015, 'b') + "\r\n00000061Seguinte\r\n";
  const std::string outro = pasta.Grava("ZTYYMens.txt", justa);
  EXPECT_EQ(Texto(outro, 60), std::string(1015, 'b'));
  EXPECT_EQ(Texto(outro, 61), "Seguinte");
}

TEST(CatalogoMensagens, ArquivoAusenteVazioOuPasta) {
  PastaTemporaria pasta;
  const auto ausente = CCatalogoMensagens::LeDoArquivo(pasta.Caminho("ZTQQMens.txt"), 1);
  EXPECT_FALSE(ausente.aberto);
  EXPECT_EQ(ausente.caminho, pasta.Caminho("ZTQQMens.txt"));
  const auto vazio = CCatalogoMensagens::LeDoArquivo(pasta.Grava("ZTVVMens.txt", ""), 1);
  EXPECT_TRUE(vazio.aberto);
  EXPECT_EQ(vazio.texto, "");
  EXPECT_FALSE(CCatalogoMensagens::LeDoArquivo(pasta.Pasta().string(), 1).aberto);
}

TEST(CatalogoMensagens, PastaDoRegistro) {
  RegistroTemporario registro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  EXPECT_EQ(CCatalogoMensagens::CaminhoArquivo("EC"), QMX_FONTES_RAIZ "/recursos/mensagens/ZTECMens.txt");
  // Every message the library uses is in our catalogues.
  for (std::uint32_t numero : {110u, 122u, 146u, 152u, 161u, 162u, 238u, 280u}) {
    const auto leitura = CCatalogoMensagens::Le("EC", numero);
    EXPECT_TRUE(leitura.aberto);
    EXPECT_FALSE(leitura.texto.empty()) << numero;
  }
  for (std::uint32_t numero : {1529u, 5535u}) EXPECT_FALSE(CCatalogoMensagens::Le("DF", numero).texto.empty());
  registro.Reescreve("");
  EXPECT_EQ(CCatalogoMensagens::CaminhoArquivo("DF"), "Mensagens/ZTDFMens.txt");
}

}  // namespace
