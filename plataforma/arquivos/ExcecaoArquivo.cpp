#include "plataforma/arquivos/ExcecaoArquivo.h"

#include <cerrno>
#include <cstring>

namespace
{
    std::string MontaMensagem(CExcecaoArquivo::Causa causa, int nErroSistema, const std::string& strArquivo)
    {
        const char* pszCausa = "erro no arquivo";
        switch (causa)
        {
        case CExcecaoArquivo::nenhuma: pszCausa = "sem erro"; break;
        case CExcecaoArquivo::generica: pszCausa = "erro no arquivo"; break;
        case CExcecaoArquivo::arquivoNaoEncontrado: pszCausa = "arquivo não encontrado"; break;
        case CExcecaoArquivo::caminhoInvalido: pszCausa = "caminho inválido"; break;
        case CExcecaoArquivo::acessoNegado: pszCausa = "acesso negado"; break;
        case CExcecaoArquivo::violacaoCompartilhamento: pszCausa = "arquivo em uso"; break;
        case CExcecaoArquivo::erroFisico: pszCausa = "erro de leitura ou gravação"; break;
        case CExcecaoArquivo::discoCheio: pszCausa = "disco cheio"; break;
        case CExcecaoArquivo::fimArquivo: pszCausa = "fim do arquivo"; break;
        }
        std::string strMensagem = pszCausa;
        strMensagem += ": ";
        strMensagem += strArquivo;
        if (nErroSistema != 0)
        {
            strMensagem += " (";
            strMensagem += std::strerror(nErroSistema);
            strMensagem += ")";
        }
        return strMensagem;
    }
}

CExcecaoArquivo::CExcecaoArquivo(Causa causa, int nErroSistema, const std::string& strArquivo)
    : std::runtime_error(MontaMensagem(causa, nErroSistema, strArquivo)), m_causa(causa),
      m_nErroSistema(nErroSistema), m_strArquivo(strArquivo)
{
}

CExcecaoArquivo::~CExcecaoArquivo() = default;

CExcecaoArquivo::Causa CExcecaoArquivo::CausaDoErro(int nErroSistema)
{
    switch (nErroSistema)
    {
    case 0: return nenhuma;
    case ENOENT: return arquivoNaoEncontrado;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR: return caminhoInvalido;
    case EACCES:
    case EPERM:
    case EROFS: return acessoNegado;
    case EWOULDBLOCK: return violacaoCompartilhamento;
    case EIO: return erroFisico;
    case ENOSPC:
    case EFBIG:
#if defined(EDQUOT)
    case EDQUOT:
#endif
      return discoCheio;
    default: return generica;
    }
}

CExcecaoArquivo::Causa CExcecaoArquivo::GetCausa() const { return m_causa; }
int CExcecaoArquivo::GetErroSistema() const { return m_nErroSistema; }
const std::string& CExcecaoArquivo::GetArquivo() const { return m_strArquivo; }
