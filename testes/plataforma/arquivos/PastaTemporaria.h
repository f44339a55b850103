#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

// A fresh folder under the system's temporary folder, removed with its
// content at the end of the test.
class CPastaTemporaria
{
public:
    CPastaTemporaria() : m_pasta((std::filesystem::temp_directory_path() / "qmx-teste-XXXXXX").string())
    {
        std::string strModelo = m_pasta.string();
        if (::mkdtemp(strModelo.data()) == nullptr)
            throw std::runtime_error("mkdtemp falhou");
        m_pasta = strModelo;
    }
    ~CPastaTemporaria() { std::error_code erro; std::filesystem::remove_all(m_pasta, erro); }

    const std::filesystem::path& Pasta() const { return m_pasta; }
    std::string Caminho(const std::string& strNome) const { return (m_pasta / strNome).string(); }
    std::string Grava(const std::string& strNome, const std::string& strBytes) const
    {
        std::ofstream(Caminho(strNome), std::ios::binary) << strBytes;
        return Caminho(strNome);
    }
    static std::string Le(const std::string& strCaminho)
    {
        std::ifstream arquivo(strCaminho, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(arquivo), {});
    }
    // Entries in the folder: a leftover temporary file shows here.
    auto Entradas() const { return std::distance(std::filesystem::directory_iterator(m_pasta), {}); }

private:
    std::filesystem::path m_pasta;
};
