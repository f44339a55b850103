#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

// The list of the lines of one TEF field: an array that grows by 100 elements
// at a time (100, 200, 300, ...), as the exported interface's list does.
template <class T>
class T_Lista
{
public:
    static constexpr std::size_t CRESCIMENTO = 100;

    std::size_t GetSize() const { return m_elementos.size(); }
    std::size_t GetCount() const { return m_elementos.size(); }
    bool IsEmpty() const { return m_elementos.empty(); }
    std::size_t GetCapacidade() const { return m_elementos.capacity(); }

    // Appends a copy of the element and returns its index.
    std::size_t Add(const T& elemento)
    {
        if (m_elementos.size() == m_elementos.capacity())
            m_elementos.reserve(m_elementos.capacity() + CRESCIMENTO);
        m_elementos.push_back(elemento);
        return m_elementos.size() - 1;
    }

    const T& GetAt(std::size_t nIndice) const { return m_elementos.at(nIndice); }
    T& ElementAt(std::size_t nIndice) { return m_elementos.at(nIndice); }
    void SetAt(std::size_t nIndice, const T& elemento) { m_elementos.at(nIndice) = elemento; }
    const T& operator[](std::size_t nIndice) const { return m_elementos.at(nIndice); }
    T& operator[](std::size_t nIndice) { return m_elementos.at(nIndice); }

    void RemoveAt(std::size_t nIndice)
    {
        if (nIndice >= m_elementos.size())
            throw std::out_of_range("T_Lista::RemoveAt: indice fora da lista");
        m_elementos.erase(m_elementos.begin() + static_cast<std::ptrdiff_t>(nIndice));
    }

    void RemoveAll() { m_elementos.clear(); }

    // Makes room for `n` elements at once, for a caller that knows how many
    // it will add (growing 100 at a time costs the square of the count).
    void Reserva(std::size_t n)
    {
        if (m_elementos.capacity() < n)
            m_elementos.reserve(n);
    }

    // Replaces the content with a copy of another list.
    void Copy(const T_Lista& origem)
    {
        if (this == &origem)
            return;
        m_elementos.clear();
        if (m_elementos.capacity() < origem.GetSize())
            m_elementos.reserve(origem.GetSize());
        m_elementos.insert(m_elementos.end(), origem.m_elementos.begin(), origem.m_elementos.end());
    }

    auto begin() { return m_elementos.begin(); }
    auto end() { return m_elementos.end(); }
    auto begin() const { return m_elementos.begin(); }
    auto end() const { return m_elementos.end(); }

private:
    std::vector<T> m_elementos;
};
