#pragma once

#include "frame/QMXExport.h"

#include <stdexcept>
#include <string>

// The file exception that reading and writing raise when a file that did
// open then fails (a read error, a full disk, a failed flush). It carries a
// cause in the style of the Windows framework's file exception, the
// operating system's error number and the file name. It is thrown by value.
// Exported so that a caller of the shared library can catch it by type.
class QMX_API CExcecaoArquivo : public std::runtime_error
{
public:
    enum Causa
    {
        nenhuma = 0,
        generica,
        arquivoNaoEncontrado,
        caminhoInvalido,
        acessoNegado,
        violacaoCompartilhamento,
        erroFisico,
        discoCheio,
        fimArquivo,
    };

    CExcecaoArquivo(Causa causa, int nErroSistema, const std::string& strArquivo);
    ~CExcecaoArquivo() override;

    // Cause that fits an operating-system error number.
    static Causa CausaDoErro(int nErroSistema);

    Causa GetCausa() const;
    int GetErroSistema() const;
    const std::string& GetArquivo() const;

private:
    Causa m_causa;
    int m_nErroSistema;
    std::string m_strArquivo;
};
