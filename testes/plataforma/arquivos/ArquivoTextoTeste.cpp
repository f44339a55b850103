#include "plataforma/arquivos/ArquivoTexto.h"
#include "apoio/PastaTemporaria.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{
    using Linhas = std::vector<std::string>;

    Linhas LeLinhas(const std::string& strCaminho)
    {
        CArquivoTexto arquivo;
        EXPECT_TRUE(arquivo.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
        Linhas linhas;
        for (std::string strLinha; arquivo.LerLinha(strLinha);)
            linhas.push_back(strLinha);
        return linhas;
    }
}

TEST(ArquivoTexto, LeituraEmModoTexto)
{
    qmx::testes::PastaTemporaria pasta;
    EXPECT_EQ(LeLinhas(pasta.Grava("a", "a\r\nb\n\nc\rd\r\r\ne")), (Linhas{"a", "b", "", "c\rd\r", "e"}));
    EXPECT_EQ(LeLinhas(pasta.Grava("b", "x\r\x1Ay\r\nz")), (Linhas{"x\r"}));
    EXPECT_EQ(LeLinhas(pasta.Grava("c", std::string("ab\0cd\r\nef", 10))), (Linhas{"ab", "ef"}));
    // A CR LF split across two reads of the buffer, inside a long line.
    const std::string strLonga(64 * 1024 - 1, 'x');
    EXPECT_EQ(LeLinhas(pasta.Grava("e", strLonga + "\r\n" + strLonga + "\r")), (Linhas{strLonga, strLonga + "\r"}));
}

TEST(ArquivoTexto, EscritaSubstituiOArquivoSoAoFechar)
{
    qmx::testes::PastaTemporaria pasta;
    const std::string strCaminho = pasta.Grava("saida.txt", "antigo");
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("x\ny\r\n\x1A");
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strCaminho), "antigo");
    arquivo.Fechar();
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strCaminho), "x\r\ny\r\r\n\x1A");

    ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("novo.txt"), CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("abandonado");
    arquivo.Abortar();  // a target this writer created goes away with it
    EXPECT_EQ(pasta.Entradas(), 1);
}

// Readers share a file; a writer is refused while any of them holds it.
TEST(ArquivoTexto, LeitoresCompartilhamEEscritorEspera)
{
    qmx::testes::PastaTemporaria pasta;
    const std::string strCaminho = pasta.Grava("req.001", "x\r\n");
    CArquivoTexto leitor, segundoLeitor, escritor;
    ASSERT_TRUE(leitor.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
    EXPECT_TRUE(segundoLeitor.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
    EXPECT_FALSE(escritor.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    leitor.Fechar();
    segundoLeitor.Fechar();
    EXPECT_TRUE(escritor.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
}

TEST(ArquivoTexto, GravacaoPorLinkSimbolicoAtualizaODestino)
{
    qmx::testes::PastaTemporaria pasta;
    const std::string strDestino = pasta.Grava("real.txt", "velho");
    std::filesystem::create_symlink(strDestino, pasta.Caminho("link.txt"));
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("link.txt"), CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("novo");
    arquivo.Fechar();
    EXPECT_TRUE(std::filesystem::is_symlink(pasta.Caminho("link.txt")));
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strDestino), "novo");
}
