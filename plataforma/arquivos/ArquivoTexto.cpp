#include "plataforma/arquivos/ArquivoTexto.h"

#include <optional>
#include <stdexcept>

#include "plataforma/processo/Andamento.h"

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/texto/CaminhoArquivo.h"

#include <cerrno>
#include <algorithm>
#if defined(__linux__)
#include <sys/mman.h>
#include <sys/sendfile.h>
#endif
#include <climits>
#include <cstdlib>

namespace
{
    constexpr std::size_t TAMANHO_BUFFER = 64 * 1024;
    constexpr char CTRL_Z = '\x1A';

    void FechaDescritor(int& fd)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // The folder part of a path, with its final slash ("" for a bare name).
    std::string PastaDe(const std::string& strCaminho)
    {
        const std::size_t nBarra = strCaminho.find_last_of(qmx::descritores::kSeparadores);
        return nBarra == std::string::npos ? std::string() : strCaminho.substr(0, nBarra + 1);
    }

    std::string NomeDe(const std::string& strCaminho)
    {
        const std::size_t nBarra = strCaminho.find_last_of(qmx::descritores::kSeparadores);
        return nBarra == std::string::npos ? strCaminho : strCaminho.substr(nBarra + 1);
    }
}

CArquivoTexto::CArquivoTexto()
    : m_fd(-1), m_modo(Modo::Leitura), m_nPosicao(0), m_nFim(0),
      m_nDevolvido(-1), m_bFimEntrada(false)
{
}

CArquivoTexto::~CArquivoTexto()
{
    Abortar();
}

bool CArquivoTexto::EstaAberto() const
{
    return m_fd >= 0 || m_temporario.Descritor() >= 0;
}

const std::string& CArquivoTexto::GetCaminho() const
{
    return m_strCaminho;
}

bool CArquivoTexto::Abrir(const std::string& strCaminho, Modo modo)
{
    Abortar();
    if (strCaminho.empty() || strCaminho.find('\0') != std::string::npos)
        return false;
    m_strCaminho = strCaminho;
    m_strNativo = qmx::texto::CaminhoNativo(strCaminho);
    m_modo = modo;
    m_nEscritos = 0;
    m_md5.reset();
    return modo == Modo::Leitura ? AbrirLeitura() : AbrirEscrita();
}

bool CArquivoTexto::AbrirLeitura()
{
    // O_NONBLOCK only keeps a FIFO from blocking the open; it is refused below.
    m_fd = qmx::descritores::Abre(m_strNativo.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(m_fd, LOCK_SH | LOCK_NB) != 0)
    {
        FechaDescritor(m_fd);
        return false;
    }
    m_buffer.resize(TAMANHO_BUFFER);
    m_nPosicao = m_nFim = 0;
    m_nDevolvido = -1;
    m_bFimEntrada = false;
    return true;
}

bool CArquivoTexto::AbrirEscrita()
{
    // The target: the file a symbolic link at the path points to, or the
    // path in its real folder for a new file.
    m_strDestino = qmx::descritores::CaminhoReal(m_strNativo);
    if (m_strDestino.empty())
    {
        const std::string strPasta = qmx::descritores::CaminhoReal(PastaDe(m_strNativo).empty() ? "." : PastaDe(m_strNativo));
        if (strPasta.empty() || NomeDe(m_strNativo).empty())
            return false;
        m_strDestino = strPasta + qmx::descritores::kSeparadores[0] + NomeDe(m_strNativo);
    }
    // An existing target is held exclusively until it is replaced (no
    // reader reads it meanwhile); it is opened for writing, without
    // truncating it, so that a file the system refuses to change is refused.
    struct stat st {};
    if (::lstat(m_strDestino.c_str(), &st) == 0)
    {
        m_fd = qmx::descritores::Abre(m_strDestino.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        {
            Abortar();
            return false;
        }
    }
    else if (errno != ENOENT)
        return false;
    if (!m_temporario.Cria(m_strDestino) || qmx::GravacaoAtomica::OutroEscrevendo(m_strDestino, m_temporario.Caminho()))
    {
        Abortar();
        return false;
    }
    m_buffer.clear();
    m_buffer.reserve(TAMANHO_BUFFER);
    return true;
}

void CArquivoTexto::Abortar() noexcept
{
    m_temporario.Descarta();
    m_strDestino.clear();
    FechaDescritor(m_fd);
    m_buffer.clear();
    m_nPosicao = m_nFim = 0;
    m_nDevolvido = -1;
    m_bFimEntrada = false;
}

void CArquivoTexto::Falha(int nErro)
{
    Abortar();
    throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(nErro), nErro, m_strCaminho);
}

int CArquivoTexto::LeByte()
{
    if (m_nDevolvido >= 0)
    {
        const int c = m_nDevolvido;
        m_nDevolvido = -1;
        return c;
    }
    if (m_nPosicao == m_nFim)
    {
        if (m_bFimEntrada)
            return -1;
        ssize_t nLidos;
        do
            nLidos = ::read(m_fd, m_buffer.data(), m_buffer.size());
        while (nLidos < 0 && errno == EINTR);
        if (nLidos < 0)
            Falha(errno);
        if (nLidos == 0)
        {
            m_bFimEntrada = true;
            return -1;
        }
        m_nPosicao = 0;
        m_nFim = static_cast<std::size_t>(nLidos);
    }
    return static_cast<unsigned char>(m_buffer[m_nPosicao++]);
}

int CArquivoTexto::LeCaractere()
{
    const int c = LeByte();
    if (c == CTRL_Z)
    {
        // Nothing after a Ctrl-Z is read.
        m_bFimEntrada = true;
        m_nPosicao = m_nFim;
        return -1;
    }
    if (c == '\r')
    {
        const int nSeguinte = LeByte();
        if (nSeguinte == '\n')
            return '\n';
        if (nSeguinte >= 0)
            m_nDevolvido = nSeguinte;
    }
    return c;
}

bool CArquivoTexto::LerLinha(std::string& strLinha)
{
    strLinha.clear();
    if (m_fd < 0 || m_modo != Modo::Leitura)
        throw CExcecaoArquivo(CExcecaoArquivo::generica, EBADF, m_strCaminho);
    bool bLeuAlgo = false;
    bool bCortada = false;
    for (;;)
    {
        const int c = LeCaractere();
        if (c < 0)
            break;
        bLeuAlgo = true;
        if (c == '\n')
            break;
        if (c == '\0')
            bCortada = true;
        if (!bCortada)
            strLinha.push_back(static_cast<char>(c));
    }
    return bLeuAlgo;
}

void CArquivoTexto::EscreverTexto(std::string_view strTexto)
{
    if (m_temporario.Descritor() < 0 || m_modo == Modo::Leitura)
        throw CExcecaoArquivo(CExcecaoArquivo::generica, EBADF, m_strCaminho);
    if (m_modo == Modo::EscritaBinaria)
    {
        if (m_buffer.size() + strTexto.size() > TAMANHO_BUFFER)
            DescarregaContando();
        if (strTexto.size() >= TAMANHO_BUFFER)
        {
            // A text as large as the buffer goes out from where it is.
            qmx::processo::ContaEscrita(static_cast<std::int64_t>(strTexto.size()));
            Envia(strTexto.data(), strTexto.size());
        }
        else
            m_buffer.insert(m_buffer.end(), strTexto.begin(), strTexto.end());
        return;
    }
    for (const char c : strTexto)
    {
        if (c == '\n')
            m_buffer.push_back('\r');
        m_buffer.push_back(c);
        if (m_buffer.size() >= TAMANHO_BUFFER)
            DescarregaContando();
    }
}

void CArquivoTexto::AcrescentaDoArquivo(int nOrigem, std::uint64_t nTamanho)
{
    if (m_temporario.Descritor() < 0 || m_modo == Modo::Leitura)
        throw CExcecaoArquivo(CExcecaoArquivo::generica, EBADF, m_strCaminho);
    std::uint64_t nCopiados = 0;
#if defined(__linux__)
    if (m_modo == Modo::EscritaBinaria)
    {
        Descarrega();
        // A source shorter than asked fails here, not in the mapping (a
        // mapped page past the end of a file is a fault, not an error).
        struct stat origem;
        if (::fstat(nOrigem, &origem) != 0)
            Falha(errno);
        if (static_cast<std::uint64_t>(origem.st_size) < nTamanho)
            Falha(EIO);
        // In windows of 4 MiB: each one digested from a read-only mapping
        // (when digesting), then copied by the kernel.
        constexpr std::uint64_t kJanela = std::uint64_t{1} << 22;
        while (nCopiados < nTamanho)
        {
            const std::size_t nPedaco = static_cast<std::size_t>(std::min(kJanela, nTamanho - nCopiados));
            if (m_md5)
            {
                void* pMapa = ::mmap(nullptr, nPedaco, PROT_READ, MAP_PRIVATE | MAP_POPULATE, nOrigem,
                                     static_cast<off_t>(nCopiados));
                if (pMapa == MAP_FAILED)
                    Falha(errno);
                const bool bDigerido = m_md5->Acrescenta(pMapa, nPedaco);
                ::munmap(pMapa, nPedaco);
                if (!bDigerido)
                    Falha(EIO);
            }
            off_t nDe = static_cast<off_t>(nCopiados);
            std::size_t nFalta = nPedaco;
            while (nFalta > 0)
            {
                const ssize_t n = ::sendfile(m_temporario.Descritor(), nOrigem, &nDe, nFalta);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    Falha(n < 0 ? errno : EIO);
                nFalta -= static_cast<std::size_t>(n);
            }
            nCopiados += nPedaco;
            m_nEscritos += nPedaco;
            qmx::processo::ContaEscrita(static_cast<std::int64_t>(nPedaco));
        }
        return;
    }
#endif
    std::vector<char> bloco(TAMANHO_BUFFER);
    while (nCopiados < nTamanho)
    {
        const std::size_t nPedido = static_cast<std::size_t>(std::min<std::uint64_t>(bloco.size(), nTamanho - nCopiados));
        const ssize_t n = ::pread(nOrigem, bloco.data(), nPedido, static_cast<std::int64_t>(nCopiados));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Falha(n < 0 ? errno : EIO);
        EscreverTexto(std::string_view(bloco.data(), static_cast<std::size_t>(n)));
        nCopiados += static_cast<std::uint64_t>(n);
    }
}

// A full buffer written while the text comes: the thread's long work, if
// anyone follows it, has gone that far.
void CArquivoTexto::DescarregaContando()
{
    qmx::processo::ContaEscrita(static_cast<std::int64_t>(m_buffer.size()));
    Descarrega();
}

void CArquivoTexto::Descarrega()
{
    Envia(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void CArquivoTexto::Envia(const char* pDados, std::size_t nTamanho)
{
    std::size_t nEnviados = 0;
    while (nEnviados < nTamanho)
    {
        const ssize_t n = ::write(m_temporario.Descritor(), pDados + nEnviados, nTamanho - nEnviados);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Falha(n < 0 ? errno : EIO);
        nEnviados += static_cast<std::size_t>(n);
    }
    if (m_md5 && !m_md5->Acrescenta(pDados, nTamanho))
        Falha(EIO);
    m_nEscritos += nEnviados;
}

void CArquivoTexto::DigereAoEscrever()
{
    if (!EstaAberto() || m_modo == Modo::Leitura || BytesEscritos() != 0)
        throw std::logic_error("o resumo do arquivo vem desde o primeiro byte escrito");
    m_md5 = std::make_unique<qmx::cripto::MD5>();
}

void CArquivoTexto::Fechar()
{
    Fechar({});
}

void CArquivoTexto::Fechar(const AntesDeGuardar& antes)
{
    if (!EstaAberto())
        return;
    if (m_modo == Modo::Leitura)
    {
        Abortar();
        return;
    }
    Descarrega();
    if (antes)
    {
        std::optional<qmx::cripto::DigestMD5> digest;
        if (m_md5 && !(digest = m_md5->Finaliza()))
            Falha(EIO);
        errno = 0;
        if (!antes(m_temporario.Descritor(), digest ? &*digest : nullptr))
            Falha(errno ? errno : EIO);
    }
    // Windows replaces no file that is open: the target's descriptor (and
    // its lock) goes first there.
    if (!qmx::descritores::kRenomeiaSobreAberto)
        FechaDescritor(m_fd);
    if (!m_temporario.Conclui())
        Falha(errno);
    Abortar();
}
