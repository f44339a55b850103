#pragma once

#include "frame/QMXExport.h"

#include <cstdint>
#include <string>

// One line of a TEF exchange file: "FFF-PPP = value", the field number and
// the position (the index of the line within a multi-line field) written with
// at least three digits. A quoted value is marked by m_bConteudoEhTexto.
// A cleared line is field 0, position 0, empty text, flag false.
class QMX_API CLinhaArqTEF
{
public:
    CLinhaArqTEF();
    explicit CLinhaArqTEF(const std::string& strLinha);
    CLinhaArqTEF(const CLinhaArqTEF& outra);
    virtual ~CLinhaArqTEF();

    CLinhaArqTEF& operator=(const CLinhaArqTEF& outra);
    CLinhaArqTEF& operator=(const std::string& strLinha);

    std::uint16_t GetCampo() const;
    std::uint16_t GetPosicao() const;
    std::string GetTexto() const;
    bool GetConteudoEhTexto() const;

    // Field and position numbers of 1000 and above are refused here (the old
    // value stays); a parsed line may still carry them.
    void SetCampo(std::uint16_t nCampo);
    void SetPosicao(std::uint16_t nPosicao);
    // With the flag set the text is stored between double quotes, so set the
    // flag first.
    void SetTexto(const std::string& strTexto);
    void SetConteudoEhTexto(bool bConteudoEhTexto);

    void Limpar();
    void Copiar(const CLinhaArqTEF& outra);
    // Parses one line of the file; a line that does not follow the syntax
    // leaves this line cleared.
    void InterpretaLinha(const std::string& strLinha);
    std::string ToString() const;

private:
    std::uint16_t m_nCampo;
    std::uint16_t m_nPosicao;
    std::string m_strTexto;
    bool m_bConteudoEhTexto;
};
