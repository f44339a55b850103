#include "apoio/PastaTemporaria.h"
#include "tef/QMXArquivoTEF.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace
{
    const std::string DADOS = std::string(QMX_FONTES_TESTES) + "/tef/dados/";

    using Linha = std::tuple<int, int, std::string>;

    // The meaning of a file: every field's lines, field by field.
    std::vector<Linha> Conteudo(CQMXArquivoTEF& arquivo)
    {
        std::vector<Linha> linhas;
        T_Lista<CLinhaArqTEF> lista;
        for (int nCampo = 0; nCampo <= 65535; ++nCampo)
        {
            if (arquivo.PossuiCampo(static_cast<std::uint16_t>(nCampo), &lista))
                for (const CLinhaArqTEF& linha : lista)
                    linhas.emplace_back(linha.GetCampo(), linha.GetPosicao(), linha.GetTexto());
        }
        return linhas;
    }
}

// A payment manager's answer to a credit sale, with quoted receipt lines,
// Windows-1252 accents and two empty values, is read and written back: the
// bytes written are those of the golden file beside it, and reading them again
// gives the same fields, positions and texts.
TEST(RespostaTEF, LeEGravaRespostaDoGerenciador)
{
    CQMXArquivoTEF resposta(DADOS + "resposta.001");
    ASSERT_TRUE(resposta.LerArquivo());

    T_Lista<CLinhaArqTEF> comprovante;
    ASSERT_TRUE(resposta.PossuiCampo(29, &comprovante));
    ASSERT_EQ(comprovante.GetSize(), 6u);
    EXPECT_EQ(comprovante[1].GetTexto(), "COMPROVANTE DE VENDA - CR\xC9" "DITO");
    EXPECT_TRUE(comprovante[1].GetConteudoEhTexto());
    T_Lista<CLinhaArqTEF> vazio;
    EXPECT_FALSE(resposta.PossuiCampo(17, &vazio));  // an empty value leaves a cleared line
    ASSERT_TRUE(resposta.PossuiCampo(0, &vazio));
    EXPECT_EQ(vazio.GetSize(), 3u);
    EXPECT_FALSE(resposta.PossuiCampo(999, &vazio));

    qmx::testes::PastaTemporaria pasta;
    const std::string strGravada = pasta.Caminho("resposta.001");
    std::filesystem::copy_file(DADOS + "resposta.001", strGravada);
    CQMXArquivoTEF copia(strGravada);
    ASSERT_TRUE(copia.LerArquivo());
    ASSERT_TRUE(copia.GerarArquivo());
    EXPECT_EQ(qmx::testes::PastaTemporaria::Le(strGravada), qmx::testes::PastaTemporaria::Le(DADOS + "resposta.001.gravada"));

    CQMXArquivoTEF relida(strGravada);
    ASSERT_TRUE(relida.LerArquivo());
    EXPECT_EQ(Conteudo(relida), Conteudo(resposta));
}
