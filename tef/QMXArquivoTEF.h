#pragma once

#include "frame/MapaMFC.h"
#include "frame/QMXExport.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "tef/LinhaArqTEF.h"
#include "tef/T_Lista.h"

#include <cstdint>
#include <string>

// A TEF exchange file held in memory as the lists of its lines grouped by
// field number. Reads and writes the file in text mode; a read or write error
// after the file opened throws CExcecaoArquivo to the caller.
class QMX_API CQMXArquivoTEF
{
public:
    explicit CQMXArquivoTEF(const std::string& strCaminho);
    virtual ~CQMXArquivoTEF();
    CQMXArquivoTEF(const CQMXArquivoTEF&) = delete;
    CQMXArquivoTEF& operator=(const CQMXArquivoTEF&) = delete;

    std::string GetCaminhoArquivo() const;

    // Replaces the lines held with those of the file, up to field 999.
    bool LerArquivo();
    // Writes the lines held to the file, replacing it.
    bool GerarArquivo();
    // Copies the field's lines into *pLista; true when there is at least one.
    bool PossuiCampo(std::uint16_t nCampo, T_Lista<CLinhaArqTEF>* pLista);
    void AdicionarLinha(CLinhaArqTEF linha);

private:
    void SortListaLinhas(T_Lista<CLinhaArqTEF>& lista);

    // Hash table of 1000 buckets, so the fields come out in the order of the
    // Park-Miller hash of their numbers modulo 1000.
    static constexpr unsigned BALDES_CAMPOS = 1000;
    // The field that ends a file: it is never stored.
    static constexpr std::uint16_t CAMPO_FINAL = 999;

    std::string m_strCaminho;
    CArquivoTexto m_arquivo;
    CMapaMFC<std::uint16_t, T_Lista<CLinhaArqTEF>> m_mapCampos;
};
