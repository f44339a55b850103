#include "tef/QMXArquivoTEF.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

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
    // Each field's lines are gathered first and go into its list at once,
    // the fields entering the map in the order they first appeared.
    CMapaMFC<std::uint16_t, T_Lista<CLinhaArqTEF>> mapLidos(BALDES_CAMPOS);
    std::vector<std::uint16_t> ordemCampos;
    std::unordered_map<std::uint16_t, std::vector<CLinhaArqTEF>> linhasPorCampo;
    std::string strLinha;
    while (m_arquivo.LerLinha(strLinha))
    {
        CLinhaArqTEF linha(strLinha);
        if (linha.GetCampo() == CAMPO_FINAL)
            break;
        // Blank and unparsable lines are kept as cleared lines of field 0.
        auto& linhas = linhasPorCampo[linha.GetCampo()];
        if (linhas.empty())
            ordemCampos.push_back(linha.GetCampo());
        linhas.push_back(std::move(linha));
    }
    m_arquivo.Fechar();
    for (const std::uint16_t nCampo : ordemCampos)
    {
        T_Lista<CLinhaArqTEF>& lista = mapLidos[nCampo];
        const auto& linhas = linhasPorCampo[nCampo];
        lista.Reserva(linhas.size());
        for (const CLinhaArqTEF& linha : linhas)
            lista.Add(linha);
    }

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

namespace
{

// Minimum positions over ranges of the list, to find the next line that an
// exchange would bring forward without looking at every line between.
class CArvoreMinimos
{
public:
    explicit CArvoreMinimos(const T_Lista<CLinhaArqTEF>& lista) : m_nFolhas(1)
    {
        while (m_nFolhas < lista.GetSize())
            m_nFolhas *= 2;
        m_minimos.assign(2 * m_nFolhas, SEM_LINHA);
        for (std::size_t i = 0; i < lista.GetSize(); ++i)
            m_minimos[m_nFolhas + i] = lista[i].GetPosicao();
        for (std::size_t no = m_nFolhas - 1; no > 0; --no)
            m_minimos[no] = std::min(m_minimos[2 * no], m_minimos[2 * no + 1]);
    }

    void Muda(std::size_t i, std::uint32_t posicao)
    {
        std::size_t no = m_nFolhas + i;
        m_minimos[no] = posicao;
        for (no /= 2; no > 0; no /= 2)
            m_minimos[no] = std::min(m_minimos[2 * no], m_minimos[2 * no + 1]);
    }

    // The first index from `inicio` on whose position is below `limite`;
    // the list's size when there is none.
    std::size_t PrimeiroMenor(std::size_t inicio, std::uint32_t limite, std::size_t tamanho) const
    {
        std::size_t achado = Busca(1, 0, m_nFolhas, inicio, limite);
        return std::min(achado, tamanho);
    }

private:
    static constexpr std::uint32_t SEM_LINHA = 0x10000;  // above every position

    std::size_t Busca(std::size_t no, std::size_t de, std::size_t ate, std::size_t inicio, std::uint32_t limite) const
    {
        if (ate <= inicio || m_minimos[no] >= limite)
            return SIZE_MAX;
        if (ate - de == 1)
            return de;
        const std::size_t meio = (de + ate) / 2;
        const std::size_t esquerda = Busca(2 * no, de, meio, inicio, limite);
        return esquerda != SIZE_MAX ? esquerda : Busca(2 * no + 1, meio, ate, inicio, limite);
    }

    std::size_t m_nFolhas;
    std::vector<std::uint32_t> m_minimos;
};

}  // namespace

// Exchange sort by position: for each line, every later line with a smaller
// position trades places with it. Lines of equal position move only as these
// exchanges carry them, so the order among them is not always kept.
// The same exchanges are made, in the same order, but the next line to
// exchange is found in the tree of minimums instead of by comparing every
// later line: a list already in order costs one pass, and a file of many
// lines no longer costs the square of their number.
void CQMXArquivoTEF::SortListaLinhas(T_Lista<CLinhaArqTEF>& lista)
{
    const std::size_t n = lista.GetSize();
    bool bOrdenada = true;
    for (std::size_t i = 1; i < n && bOrdenada; ++i)
        bOrdenada = lista[i - 1].GetPosicao() <= lista[i].GetPosicao();
    if (bOrdenada)
        return;

    CArvoreMinimos arvore(lista);
    for (std::size_t i = 0; i < n; ++i)
    {
        for (std::size_t j = arvore.PrimeiroMenor(i + 1, lista[i].GetPosicao(), n); j < n;
             j = arvore.PrimeiroMenor(j + 1, lista[i].GetPosicao(), n))
        {
            std::swap(lista[i], lista[j]);
            arvore.Muda(i, lista[i].GetPosicao());
            arvore.Muda(j, lista[j].GetPosicao());
        }
    }
}
