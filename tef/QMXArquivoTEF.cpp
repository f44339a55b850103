#include "tef/QMXArquivoTEF.h"

#include <utility>

CQMXArquivoTEF::CQMXArquivoTEF(const std::string& strCaminho)
    : m_strCaminho(strCaminho), m_mapCampos(BALDES_CAMPOS)
{
    m_mapCampos.InitHashTable(BALDES_CAMPOS);
}

CQMXArquivoTEF::~CQMXArquivoTEF() = default;

std::string CQMXArquivoTEF::GetCaminhoArquivo() const
{
    return m_strCaminho;
}

bool CQMXArquivoTEF::LerArquivo()
{
    m_mapCampos.RemoveAll();
    if (m_strCaminho.empty())
        return false;
    if (!m_arquivo.Abrir(m_strCaminho, CArquivoTexto::Modo::Leitura))
        return false;

    // The lines go to a map of their own that replaces ours only when the
    // whole file was read: a caller that catches a read error is not left
    // holding part of a file as if it were the file.
    CMapaMFC<std::uint16_t, T_Lista<CLinhaArqTEF>> mapLidos(BALDES_CAMPOS);
    std::string strLinha;
    while (m_arquivo.LerLinha(strLinha))
    {
        const CLinhaArqTEF linha(strLinha);
        if (linha.GetCampo() == CAMPO_FINAL)
            break;
        // Blank and unparsable lines are kept as cleared lines of field 0.
        mapLidos[linha.GetCampo()].Add(linha);
    }
    m_arquivo.Fechar();

    for (auto& par : mapLidos)
        SortListaLinhas(par.second);
    m_mapCampos = std::move(mapLidos);
    return true;
}

bool CQMXArquivoTEF::GerarArquivo()
{
    if (m_strCaminho.empty())
        return false;
    if (m_arquivo.EstaAberto())
        m_arquivo.Fechar();
    if (!m_arquivo.Abrir(m_strCaminho, CArquivoTexto::Modo::Escrita))
        return false;

    for (const auto& par : m_mapCampos)
    {
        for (const CLinhaArqTEF& linha : par.second)
        {
            const std::string strLinha = linha.ToString();
            if (strLinha.empty())
                continue;
            m_arquivo.EscreverTexto(strLinha);
            m_arquivo.EscreverTexto("\n");
        }
    }
    m_arquivo.Fechar();
    return true;
}

bool CQMXArquivoTEF::PossuiCampo(std::uint16_t nCampo, T_Lista<CLinhaArqTEF>* pLista)
{
    if (pLista == nullptr)
        return false;
    pLista->RemoveAll();
    const T_Lista<CLinhaArqTEF>* pCampo = m_mapCampos.PLookup(nCampo);
    if (pCampo == nullptr)
        return false;
    pLista->Copy(*pCampo);
    return pLista->GetSize() > 0;
}

void CQMXArquivoTEF::AdicionarLinha(CLinhaArqTEF linha)
{
    T_Lista<CLinhaArqTEF> lista;
    if (const T_Lista<CLinhaArqTEF>* pCampo = m_mapCampos.PLookup(linha.GetCampo()))
        lista.Copy(*pCampo);
    lista.Add(linha);
    SortListaLinhas(lista);
    m_mapCampos.SetAt(linha.GetCampo(), lista);
}

// Exchange sort by position: for each line, every later line with a smaller
// position trades places with it. Lines of equal position move only as these
// exchanges carry them, so the order among them is not always kept.
void CQMXArquivoTEF::SortListaLinhas(T_Lista<CLinhaArqTEF>& lista)
{
    const std::size_t n = lista.GetSize();
    for (std::size_t i = 0; i < n; ++i)
    {
        for (std::size_t j = i + 1; j < n; ++j)
        {
            if (lista[i].GetPosicao() > lista[j].GetPosicao())
            {
                CLinhaArqTEF troca(lista[i]);
                lista[i] = lista[j];
                lista[j] = troca;
            }
        }
    }
}
