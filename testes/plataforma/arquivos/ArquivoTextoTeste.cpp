#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/PastaTemporaria.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{
    std::vector<std::string> LeLinhas(const std::string& strCaminho)
    {
        CArquivoTexto arquivo;
        EXPECT_TRUE(arquivo.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
        std::vector<std::string> linhas;
        std::string strLinha;
        while (arquivo.LerLinha(strLinha))
            linhas.push_back(strLinha);
        EXPECT_FALSE(arquivo.LerLinha(strLinha));
        arquivo.Fechar();
        return linhas;
    }

    using Linhas = std::vector<std::string>;
}

TEST(ArquivoTexto, LeituraEmModoTexto)
{
    CPastaTemporaria pasta;
    EXPECT_EQ(LeLinhas(pasta.Grava("a", "a\r\nb\n\nc\rd\r\r\ne")), (Linhas{"a", "b", "", "c\rd\r", "e"}));
    EXPECT_EQ(LeLinhas(pasta.Grava("b", "x\r\x1Ay\r\nz")), (Linhas{"x\r"}));
    EXPECT_EQ(LeLinhas(pasta.Grava("c", std::string("ab\0cd\r\nef", 10))), (Linhas{"ab", "ef"}));
    EXPECT_EQ(LeLinhas(pasta.Grava("d", "")), Linhas{});

    // A CR LF split across two reads of the buffer, inside a long line.
    std::string strLonga(64 * 1024 - 1, 'x');
    EXPECT_EQ(LeLinhas(pasta.Grava("e", strLonga + "\r\n" + strLonga + "\r")), (Linhas{strLonga, strLonga + "\r"}));
}

TEST(ArquivoTexto, EscritaEmModoTextoSubstituiOArquivo)
{
    CPastaTemporaria pasta;
    const std::string strCaminho = pasta.Grava("saida.txt", std::string(5000, 'v'));
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("x\ny\r\n\x1A");
    EXPECT_EQ(CPastaTemporaria::Le(strCaminho).size(), 5000u);  // untouched until closed
    arquivo.Fechar();
    EXPECT_EQ(CPastaTemporaria::Le(strCaminho), "x\r\ny\r\r\n\x1A");
    EXPECT_EQ(pasta.Entradas(), 1u);
}

TEST(ArquivoTexto, GravacaoAbandonadaNaoDeixaRastro)
{
    CPastaTemporaria pasta;
    const std::string strExistente = pasta.Grava("existe.txt", "antigo");
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(strExistente, CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("novo");
    arquivo.Abortar();
    EXPECT_EQ(CPastaTemporaria::Le(strExistente), "antigo");

    {
        CArquivoTexto novo;
        ASSERT_TRUE(novo.Abrir(pasta.Caminho("novo.txt"), CArquivoTexto::Modo::Escrita));
        novo.EscreverTexto("texto");
    }  // destroyed without Fechar
    EXPECT_EQ(pasta.Entradas(), 1u);
}

TEST(ArquivoTexto, CompartilhamentoExclusivoNaGravacao)
{
    CPastaTemporaria pasta;
    const std::string strCaminho = pasta.Grava("req.001", "x\r\n");
    CArquivoTexto escritor, outro;
    ASSERT_TRUE(escritor.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    EXPECT_FALSE(outro.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    EXPECT_FALSE(outro.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
    escritor.Fechar();

    CArquivoTexto leitor, segundoLeitor;
    ASSERT_TRUE(leitor.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
    EXPECT_TRUE(segundoLeitor.Abrir(strCaminho, CArquivoTexto::Modo::Leitura));
    EXPECT_FALSE(outro.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    leitor.Fechar();
    segundoLeitor.Fechar();
    EXPECT_TRUE(outro.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
}

TEST(ArquivoTexto, GravacaoPorLinkSimbolicoAtualizaODestino)
{
    CPastaTemporaria pasta;
    const std::string strDestino = pasta.Grava("real.txt", "velho");
    std::filesystem::create_symlink(strDestino, pasta.Caminho("link.txt"));
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("link.txt"), CArquivoTexto::Modo::Escrita));
    arquivo.EscreverTexto("novo");
    arquivo.Fechar();
    EXPECT_TRUE(std::filesystem::is_symlink(pasta.Caminho("link.txt")));
    EXPECT_EQ(CPastaTemporaria::Le(strDestino), "novo");
}
