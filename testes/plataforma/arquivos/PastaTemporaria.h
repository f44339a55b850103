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
    CPastaTemporaria()
    {
        std::string strModelo = (std::filesystem::temp_directory_path() / "qmx-teste-XXXXXX").string();
        if (::mkdtemp(strModelo.data()) == nullptr)
            throw std::runtime_error("mkdtemp falhou");
        m_pasta = strModelo;
    }
    ~CPastaTemporaria()
    {
        std::error_code erro;
        std::filesystem::remove_all(m_pasta, erro);
    }

    std::string Caminho(const std::string& strNome) const { return (m_pasta / strNome).string(); }
    const std::filesystem::path& Pasta() const { return m_pasta; }

    std::string Grava(const std::string& strNome, const std::string& strBytes) const
    {
        std::ofstream(Caminho(strNome), std::ios::binary) << strBytes;
        return Caminho(strNome);
    }

    static std::string Le(const std::string& strCaminho)
    {
        std::ifstream arquivo(strCaminho, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(arquivo), std::istreambuf_iterator<char>());
    }

    // Number of entries in the folder (a leftover temporary file shows here).
    std::size_t Entradas() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_pasta),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path m_pasta;
};
