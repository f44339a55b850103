#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "apoio/LimiteTamanhoArquivo.h"
#include "apoio/PastaTemporaria.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "tef/QMXArquivoTEF.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
    class ArquivoTEF : public ::testing::Test
    {
    protected:
        std::string Gera(CQMXArquivoTEF& arquivo)
        {
            EXPECT_TRUE(arquivo.GerarArquivo());
            return qmx::testes::PastaTemporaria::Le(arquivo.GetCaminhoArquivo());
        }
        // Reads the bytes given and writes them back; the bytes written.
        std::string LeEGrava(const std::string& strBytes)
        {
            CQMXArquivoTEF arquivo(m_pasta.Grava("ida.001", strBytes));
            EXPECT_TRUE(arquivo.LerArquivo());
            return Gera(arquivo);
        }
        void Adiciona(CQMXArquivoTEF& arquivo, const std::string& strLinha)
        {
            arquivo.AdicionarLinha(CLinhaArqTEF(strLinha));
        }

        qmx::testes::PastaTemporaria m_pasta;
    };
}

TEST_F(ArquivoTEF, LeituraDeLinhas)
{
    // Reading stops at field 999 and at an end-of-file byte; blank and unparsable
    // lines stay as cleared lines of field 0, in reading order.
    for (auto [pszLido, pszGravado] : {
             std::pair{"000-000 = CRT\r\n001-000 = 7\r\n999-999 = 0\r\n002-000 = X\r\n", "000-000 = CRT\r\n001-000 = 7\r\n"},
             {"\r\nlixo\r\n001-000 = 1\r\n000-000 = ADM\r\n", "000-000 = \r\n000-000 = \r\n000-000 = ADM\r\n001-000 = 1\r\n"},
             {"001-000 = A\n002-000 = B\r\n003-000 = C", "003-000 = C\r\n002-000 = B\r\n001-000 = A\r\n"},
             {"001-000 = A\r\n\x1A" "002-000 = B\r\n", "001-000 = A\r\n"},
             {"", ""},
             // Fields 0 and 1000 share bucket 0: the newer one is written first.
             {"000-000 = A\r\n1000-000 = B\r\n", "1000-000 = B\r\n000-000 = A\r\n"}})
        EXPECT_EQ(LeEGrava(pszLido), pszGravado) << pszLido;
}

TEST_F(ArquivoTEF, OrdemDeEscritaDosCamposEDasPosicoes)
{
    CQMXArquivoTEF arquivo(m_pasta.Caminho("saida.001"));
    for (const char* psz : {"001-000 = a", "002-000 = b", "003-002 = c2", "999-000 = z", "000-000 = CRT",
                            "003-000 = c0", "003-001 = c1"})
        Adiciona(arquivo, psz);
    EXPECT_EQ(Gera(arquivo), "000-000 = CRT\r\n999-000 = z\r\n003-000 = c0\r\n003-001 = c1\r\n003-002 = c2\r\n"
                             "002-000 = b\r\n001-000 = a\r\n");
}

TEST_F(ArquivoTEF, PossuiCampo)
{
    CQMXArquivoTEF arquivo(m_pasta.Caminho("x.001"));
    Adiciona(arquivo, "029-002 = L2");
    Adiciona(arquivo, "029-001 = L1");
    T_Lista<CLinhaArqTEF> lista;
    EXPECT_FALSE(arquivo.PossuiCampo(29, nullptr));
    ASSERT_TRUE(arquivo.PossuiCampo(29, &lista));
    ASSERT_EQ(lista.GetSize(), 2u);
    EXPECT_EQ(lista[0].GetTexto(), "L1");
    EXPECT_FALSE(arquivo.PossuiCampo(30, &lista));
    EXPECT_TRUE(lista.IsEmpty());
}

TEST_F(ArquivoTEF, CaminhosQueNaoAbremEArquivoEmUso)
{
    CQMXArquivoTEF vazio("");
    Adiciona(vazio, "001-000 = 1");
    EXPECT_FALSE(vazio.GerarArquivo());
    EXPECT_FALSE(vazio.LerArquivo());
    T_Lista<CLinhaArqTEF> lista;
    EXPECT_FALSE(vazio.PossuiCampo(1, &lista));  // the failed read emptied the lines

    CQMXArquivoTEF pasta(m_pasta.Pasta().string());
    EXPECT_FALSE(pasta.LerArquivo());
    EXPECT_FALSE(pasta.GerarArquivo());
    EXPECT_FALSE(CQMXArquivoTEF(m_pasta.Caminho("sumiu.001")).LerArquivo());
    EXPECT_FALSE(CQMXArquivoTEF(m_pasta.Caminho("nao-existe/req.001")).GerarArquivo());

    // A file in use by another writer is neither read nor written.
    const std::string strCaminho = m_pasta.Grava("req.001", "000-000 = ATV\r\n");
    CArquivoTexto outroEscritor;
    ASSERT_TRUE(outroEscritor.Abrir(strCaminho, CArquivoTexto::Modo::Escrita));
    CQMXArquivoTEF arquivo(strCaminho);
    Adiciona(arquivo, "000-000 = CRT");
    EXPECT_FALSE(arquivo.GerarArquivo());
    EXPECT_FALSE(arquivo.LerArquivo());
    outroEscritor.Abortar();
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strCaminho), "000-000 = ATV\r\n");
}

// The caller gives paths as the library writes them: "\" between folders and
// Windows-1252 names. They reach the file system as its own paths.
TEST_F(ArquivoTEF, CaminhoNaFormaDaBiblioteca)
{
    const std::string strNome = "Transa\xE7\xE3o.001";
    const std::string strCaminho = qmx::texto::CaminhoWindows(m_pasta.Caminho("req")) + "\\" + strNome;
    ASSERT_EQ(strCaminho.find('/'), std::string::npos);
    m_pasta.Grava("req/x", "");
    CQMXArquivoTEF arquivo(strCaminho);
    Adiciona(arquivo, "000-000 = CRT");
    ASSERT_TRUE(arquivo.GerarArquivo());
    const std::string strNativo = m_pasta.Caminho("req") + "/" + qmx::texto::CaminhoNativo(strNome);
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strNativo), "000-000 = CRT\r\n");

    m_pasta.Grava("req/" + qmx::texto::CaminhoNativo(strNome), "001-000 = 7\r\n");
    ASSERT_TRUE(arquivo.LerArquivo());
    T_Lista<CLinhaArqTEF> lista;
    EXPECT_TRUE(arquivo.PossuiCampo(1, &lista));
    EXPECT_FALSE(arquivo.PossuiCampo(0, &lista));
}

#if !defined(_WIN32)  // /proc/self/mem and RLIMIT_FSIZE are Linux's
TEST_F(ArquivoTEF, ErrosDepoisDeAbrirLancamExcecao)
{
    // Reading this process's own memory file at offset 0 opens but fails;
    // what the object held before is gone all the same.
    CQMXArquivoTEF memoria("/proc/self/mem");
    Adiciona(memoria, "001-000 = 7");
    EXPECT_THROW(memoria.LerArquivo(), CExcecaoArquivo);
    T_Lista<CLinhaArqTEF> lista;
    EXPECT_FALSE(memoria.PossuiCampo(1, &lista));

    // A file-size limit makes the write fail after the file opened; the old
    // file stays whole and no temporary file is left.
    const std::string strCaminho = m_pasta.Grava("resp.001", "000-000 = ATV\r\n");
    CQMXArquivoTEF arquivo(strCaminho);
    Adiciona(arquivo, "001-000 = " + std::string(200000, '9'));
    try
    {
        qmx::testes::LimiteTamanhoArquivo limite(4096);
        arquivo.GerarArquivo();
        ADD_FAILURE() << "GerarArquivo did not throw";
    }
    catch (const CExcecaoArquivo& e)
    {
        EXPECT_EQ(e.GetCausa(), CExcecaoArquivo::discoCheio);
        EXPECT_EQ(e.GetArquivo(), strCaminho);
    }
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strCaminho), "000-000 = ATV\r\n");
    EXPECT_EQ(m_pasta.Entradas(), 1);
    EXPECT_EQ(Gera(arquivo).size(), 10u + 200000u + 2u);
}
#endif  // !_WIN32
