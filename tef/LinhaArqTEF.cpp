#include "tef/LinhaArqTEF.h"

#include <cstdio>
#include <string_view>

namespace
{
    // Blanks of the text trims: space, tab, line feed, vertical tab, form
    // feed, carriage return. Bytes above 127 are never blanks.
    bool EhBranco(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

    std::string_view AparaEsquerda(std::string_view s)
    {
        std::size_t n = 0;
        while (n < s.size() && EhBranco(s[n]))
            ++n;
        return s.substr(n);
    }

    std::string_view AparaDireita(std::string_view s)
    {
        std::size_t n = s.size();
        while (n > 0 && EhBranco(s[n - 1]))
            --n;
        return s.substr(0, n);
    }

    // Reads a decimal number the way the C run time's atoi does: leading
    // blanks skipped, an optional sign, then digits up to the first other
    // character ("12a" is 12, "abc" is 0). A result outside 0..65535 gives 0.
    std::uint16_t LeNumero(std::string_view s)
    {
        s = AparaEsquerda(s);
        bool bNegativo = false;
        if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        {
            bNegativo = s.front() == '-';
            s.remove_prefix(1);
        }
        std::uint32_t nValor = 0;
        for (const char c : s)
        {
            if (c < '0' || c > '9')
                break;
            nValor = nValor * 10 + static_cast<std::uint32_t>(c - '0');
            if (nValor > 65535)
                return 0;
        }
        if (bNegativo && nValor != 0)
            return 0;
        return static_cast<std::uint16_t>(nValor);
    }

    // A text as a C string sees it: up to its first NUL.
    std::string_view AteNulo(const std::string& s)
    {
        return std::string_view(s.c_str());
    }
}

CLinhaArqTEF::CLinhaArqTEF()
    : m_nCampo(0), m_nPosicao(0), m_bConteudoEhTexto(false)
{
}

CLinhaArqTEF::CLinhaArqTEF(const std::string& strLinha)
    : CLinhaArqTEF()
{
    InterpretaLinha(strLinha);
}

CLinhaArqTEF::CLinhaArqTEF(const CLinhaArqTEF& outra)
    : m_nCampo(outra.m_nCampo), m_nPosicao(outra.m_nPosicao), m_strTexto(outra.m_strTexto),
      m_bConteudoEhTexto(outra.m_bConteudoEhTexto)
{
}

CLinhaArqTEF::~CLinhaArqTEF() = default;

CLinhaArqTEF& CLinhaArqTEF::operator=(const CLinhaArqTEF& outra)
{
    Copiar(outra);
    return *this;
}

CLinhaArqTEF& CLinhaArqTEF::operator=(const std::string& strLinha)
{
    InterpretaLinha(strLinha);
    return *this;
}

std::uint16_t CLinhaArqTEF::GetCampo() const { return m_nCampo; }
std::uint16_t CLinhaArqTEF::GetPosicao() const { return m_nPosicao; }
std::string CLinhaArqTEF::GetTexto() const { return m_strTexto; }
bool CLinhaArqTEF::GetConteudoEhTexto() const { return m_bConteudoEhTexto; }

void CLinhaArqTEF::SetCampo(std::uint16_t nCampo)
{
    if (nCampo < 1000)
        m_nCampo = nCampo;
}

void CLinhaArqTEF::SetPosicao(std::uint16_t nPosicao)
{
    if (nPosicao < 1000)
        m_nPosicao = nPosicao;
}

void CLinhaArqTEF::SetTexto(const std::string& strTexto)
{
    if (m_bConteudoEhTexto)
    {
        m_strTexto = "\"";
        m_strTexto += AteNulo(strTexto);
        m_strTexto += '"';
    }
    else
    {
        m_strTexto = strTexto;
    }
}

void CLinhaArqTEF::SetConteudoEhTexto(bool bConteudoEhTexto)
{
    m_bConteudoEhTexto = bConteudoEhTexto;
}

void CLinhaArqTEF::Limpar()
{
    m_nCampo = 0;
    m_nPosicao = 0;
    m_strTexto.clear();
    m_bConteudoEhTexto = false;
}

void CLinhaArqTEF::Copiar(const CLinhaArqTEF& outra)
{
    if (this == &outra)
        return;
    m_nCampo = outra.m_nCampo;
    m_nPosicao = outra.m_nPosicao;
    m_strTexto = outra.m_strTexto;
    m_bConteudoEhTexto = outra.m_bConteudoEhTexto;
}

void CLinhaArqTEF::InterpretaLinha(const std::string& strLinha)
{
    Limpar();
    const std::string_view linha = AparaDireita(AparaEsquerda(AteNulo(strLinha)));
    if (linha.empty())
        return;

    const std::size_t nIgual = linha.find('=');
    if (nIgual == std::string_view::npos || nIgual == 0 || nIgual == linha.size() - 1)
        return;

    const std::string_view chave = AparaDireita(linha.substr(0, nIgual));
    const std::size_t nHifen = chave.find('-');
    if (nHifen == std::string_view::npos || nHifen == 0 || nHifen == chave.size() - 1)
        return;

    // The 1000 limit of SetCampo/SetPosicao does not apply to a parsed line.
    m_nCampo = LeNumero(AparaDireita(chave.substr(0, nHifen)));
    m_nPosicao = LeNumero(chave.substr(nHifen + 1));

    std::string_view valor = AparaEsquerda(linha.substr(nIgual + 1));
    m_bConteudoEhTexto = !valor.empty() && valor.front() == '"' && valor.back() == '"';
    if (m_bConteudoEhTexto)
    {
        // A lone double quote is both the first and the last character: it
        // leaves an empty quoted text.
        valor = valor.size() >= 2 ? valor.substr(1, valor.size() - 2) : std::string_view();
    }
    m_strTexto.assign(valor);
}

std::string CLinhaArqTEF::ToString() const
{
    char szChave[32];
    std::snprintf(szChave, sizeof szChave, "%.3i-%.3i = ", static_cast<int>(m_nCampo),
                  static_cast<int>(m_nPosicao));
    std::string strLinha(szChave);
    strLinha += AteNulo(m_strTexto);
    return strLinha;
}
