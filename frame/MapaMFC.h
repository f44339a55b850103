#pragma once

#include "frame/HashChaveMFC.h"

#include <cstddef>
#include <forward_list>
#include <iterator>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

// A hash map that keeps and walks its keys exactly as the Windows
// collections' CMap does, for every file whose lines come out "in map order":
// - bucket = HashChaveMFC(key) % table size; 17 buckets unless sized;
// - the table never grows or rehashes; it is allocated on the first insert;
// - a new key goes to the head of its bucket's chain, and replacing the value
//   of an existing key leaves it where it is;
// - iteration walks the buckets from 0 upwards, each chain from head to tail.
template <class Chave, class Valor>
class CMapaMFC
{
public:
    using Par = std::pair<const Chave, Valor>;
    static constexpr unsigned TAMANHO_PADRAO = 17;

    explicit CMapaMFC(unsigned nTamanhoTabela = TAMANHO_PADRAO)
        : m_nTamanhoTabela(ValidaTamanho(nTamanhoTabela))
    {
    }

    // Like the Windows collections, a map is not copied; it may be moved.
    CMapaMFC(const CMapaMFC&) = delete;
    CMapaMFC& operator=(const CMapaMFC&) = delete;
    CMapaMFC(CMapaMFC&& outro) noexcept
        : m_nTamanhoTabela(outro.m_nTamanhoTabela), m_nContagem(std::exchange(outro.m_nContagem, 0)),
          m_tabela(std::move(outro.m_tabela))
    {
        outro.m_tabela.clear();
    }
    CMapaMFC& operator=(CMapaMFC&& outro) noexcept
    {
        if (this != &outro)
        {
            m_nTamanhoTabela = outro.m_nTamanhoTabela;
            m_nContagem = std::exchange(outro.m_nContagem, 0);
            m_tabela = std::move(outro.m_tabela);
            outro.m_tabela.clear();
        }
        return *this;
    }

    // Sets the number of buckets and allocates the table now. Only an empty
    // map can be resized, since the table is never rehashed; false otherwise.
    bool InitHashTable(unsigned nTamanhoTabela)
    {
        if (m_nContagem != 0)
            return false;
        m_nTamanhoTabela = ValidaTamanho(nTamanhoTabela);
        m_tabela.clear();
        m_tabela.resize(m_nTamanhoTabela);
        return true;
    }

    unsigned GetHashTableSize() const { return m_nTamanhoTabela; }
    std::size_t GetCount() const { return m_nContagem; }
    bool IsEmpty() const { return m_nContagem == 0; }

    // The bucket a key belongs to in this map.
    unsigned Balde(const Chave& chave) const
    {
        return static_cast<unsigned>(HashChaveMFC(chave) % m_nTamanhoTabela);
    }

    Valor* PLookup(const Chave& chave)
    {
        if (m_tabela.empty())
            return nullptr;
        for (Par& par : m_tabela[Balde(chave)])
            if (ChavesIguaisMFC<Chave>(par.first, chave))
                return &par.second;
        return nullptr;
    }

    const Valor* PLookup(const Chave& chave) const
    {
        return const_cast<CMapaMFC*>(this)->PLookup(chave);
    }

    bool Lookup(const Chave& chave, Valor& valor) const
    {
        const Valor* p = PLookup(chave);
        if (p == nullptr)
            return false;
        valor = *p;
        return true;
    }

    // The value of a key, inserted at the head of its bucket (with a default
    // value) when the key is new.
    Valor& operator[](const Chave& chave)
    {
        if (Valor* p = PLookup(chave))
            return *p;
        if (m_tabela.empty())
            m_tabela.resize(m_nTamanhoTabela);
        auto& cadeia = m_tabela[Balde(chave)];
        cadeia.emplace_front(chave, Valor());
        ++m_nContagem;
        return cadeia.front().second;
    }

    void SetAt(const Chave& chave, const Valor& valor) { (*this)[chave] = valor; }

    bool RemoveKey(const Chave& chave)
    {
        if (m_tabela.empty())
            return false;
        auto& cadeia = m_tabela[Balde(chave)];
        for (auto antes = cadeia.before_begin(), it = cadeia.begin(); it != cadeia.end(); antes = it++)
        {
            if (ChavesIguaisMFC<Chave>(it->first, chave))
            {
                cadeia.erase_after(antes);
                --m_nContagem;
                return true;
            }
        }
        return false;
    }

    // Empties the map and frees the table; the size stays for the next insert.
    void RemoveAll()
    {
        m_tabela.clear();
        m_tabela.shrink_to_fit();
        m_nContagem = 0;
    }

    template <bool Constante>
    class Iterador
    {
        using Tabela = std::conditional_t<Constante, const std::vector<std::forward_list<Par>>,
                                          std::vector<std::forward_list<Par>>>;
        using IteradorCadeia = std::conditional_t<Constante, typename std::forward_list<Par>::const_iterator,
                                                  typename std::forward_list<Par>::iterator>;

    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Par;
        using difference_type = std::ptrdiff_t;
        using pointer = std::conditional_t<Constante, const Par*, Par*>;
        using reference = std::conditional_t<Constante, const Par&, Par&>;

        Iterador() = default;
        Iterador(Tabela* pTabela, std::size_t nBalde) : m_pTabela(pTabela), m_nBalde(nBalde)
        {
            if (m_pTabela != nullptr && m_nBalde < m_pTabela->size())
            {
                m_it = (*m_pTabela)[m_nBalde].begin();
                AvancaAteElemento();
            }
        }

        reference operator*() const { return *m_it; }
        pointer operator->() const { return &*m_it; }

        Iterador& operator++()
        {
            ++m_it;
            AvancaAteElemento();
            return *this;
        }
        Iterador operator++(int)
        {
            Iterador anterior = *this;
            ++*this;
            return anterior;
        }

        bool operator==(const Iterador& outro) const
        {
            if (NoFim() || outro.NoFim())
                return NoFim() == outro.NoFim();
            return m_nBalde == outro.m_nBalde && m_it == outro.m_it;
        }

    private:
        bool NoFim() const { return m_pTabela == nullptr || m_nBalde >= m_pTabela->size(); }

        void AvancaAteElemento()
        {
            while (m_nBalde < m_pTabela->size() && m_it == (*m_pTabela)[m_nBalde].end())
            {
                if (++m_nBalde < m_pTabela->size())
                    m_it = (*m_pTabela)[m_nBalde].begin();
            }
        }

        Tabela* m_pTabela = nullptr;
        std::size_t m_nBalde = 0;
        IteradorCadeia m_it{};
    };

    using iterator = Iterador<false>;
    using const_iterator = Iterador<true>;

    iterator begin() { return iterator(&m_tabela, 0); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(&m_tabela, 0); }
    const_iterator end() const { return const_iterator(); }

private:
    static unsigned ValidaTamanho(unsigned nTamanhoTabela)
    {
        if (nTamanhoTabela == 0)
            throw std::invalid_argument("CMapaMFC: a tabela precisa de ao menos um balde");
        return nTamanhoTabela;
    }

    unsigned m_nTamanhoTabela;
    std::size_t m_nContagem = 0;
    std::vector<std::forward_list<Par>> m_tabela;
};
