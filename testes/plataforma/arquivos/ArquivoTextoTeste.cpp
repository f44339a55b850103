#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "apoio/PastaTemporaria.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"

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

// Bytes appended from another file, from its start each time: as each
// mode writes them (a prefix when fewer are asked). Asking more than the
// file holds fails, and the file being written is never stored.
TEST(ArquivoTexto, AcrescentaDoArquivoOQueAOrigemTem)
{
    qmx::testes::PastaTemporaria pasta;
    const int nOrigem = qmx::descritores::Abre(pasta.Grava("origem", "a\nb\nc").c_str(), O_RDONLY);
    ASSERT_GE(nOrigem, 0);
    for (const auto modo : {CArquivoTexto::Modo::Escrita, CArquivoTexto::Modo::EscritaBinaria})
    {
        const bool bTexto = modo == CArquivoTexto::Modo::Escrita;
        CArquivoTexto arquivo;
        ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("saida"), modo));
        arquivo.EscreverTexto("0\n");
        arquivo.AcrescentaDoArquivo(nOrigem, 4);
        arquivo.AcrescentaDoArquivo(nOrigem, 5);
        EXPECT_EQ(arquivo.BytesEscritos(), bTexto ? 16u : 11u);
        arquivo.Fechar();
        EXPECT_EQ(qmx::testes::PastaTemporaria::Le(pasta.Caminho("saida")),
                  bTexto ? "0\r\na\r\nb\r\na\r\nb\r\nc" : "0\na\nb\na\nb\nc");
        // Pages past the source's end, digested: an error, not a fault.
        ASSERT_TRUE(arquivo.Abrir(pasta.Caminho("curta"), modo));
        arquivo.DigereAoEscrever();
        EXPECT_THROW(arquivo.AcrescentaDoArquivo(nOrigem, 5 + 8192), CExcecaoArquivo);
        arquivo.Abortar();
        EXPECT_FALSE(std::filesystem::exists(pasta.Caminho("curta")));
    }
    ::close(nOrigem);
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

// A spill read back comes in the pieces it was written in, across its
// blocks, ends cleanly between pieces and fails on a piece cut short; what
// is written after reading goes after the end, and a copy still has it all.
TEST(DespejoTexto, LidoDeVoltaNosPedacosEscritos)
{
    qmx::CDespejoTexto despejo("despejo");
    std::vector<std::string> pedacos;
    std::string tudo;
    for (std::size_t n : {0u, 1u, 300u, 65535u, 65536u, 65537u, 7u, 200000u, 2u})
    {
        std::string pedaco(n, '\0');
        for (std::size_t i = 0; i < n; ++i)
            pedaco[i] = static_cast<char>((i * 131 + n) % 256);  // NULs and every byte
        despejo.Escreve(pedaco);
        pedacos.push_back(pedaco);
        tudo += pedaco;
    }
    for (int volta = 0; volta < 2; ++volta)
    {
        despejo.Rebobina();
        for (const auto& esperado : pedacos)
        {
            std::string lido(esperado.size(), 'x');
            ASSERT_TRUE(despejo.Le(lido.data(), lido.size()));
            EXPECT_EQ(lido, esperado);
        }
        char c = 0;
        EXPECT_FALSE(despejo.Le(&c, 1));
    }
    // A piece asked past the end.
    despejo.Rebobina();
    std::string quase(tudo.size() - 1, '\0');
    ASSERT_TRUE(despejo.Le(quase.data(), quase.size()));
    char dois[2];
    EXPECT_THROW(despejo.Le(dois, 2), CExcecaoArquivo);

    despejo.Escreve("fim");
    EXPECT_EQ(despejo.Tamanho(), tudo.size() + 3);
    qmx::testes::PastaTemporaria pasta;
    const std::string caminho = pasta.Caminho("copia.bin");
    CArquivoTexto arquivo;
    ASSERT_TRUE(arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria));
    despejo.CopiaPara(arquivo);
    arquivo.Fechar();
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(caminho), tudo + "fim");
    despejo.Esvazia();
    despejo.Rebobina();
    EXPECT_FALSE(despejo.Le(dois, 1));
}
