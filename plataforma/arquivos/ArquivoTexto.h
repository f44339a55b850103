#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/cripto/Cripto.h"

// A text file opened in text mode, as the Windows run time treats one:
// - reading turns CR LF into LF, keeps a lone CR, and stops at a Ctrl-Z
//   (0x1A), which ends the input as the end of the file does;
// - writing turns every LF into CR LF (so "\r\n" written gives CR CR LF).
//
// Sharing. A file open for writing is held exclusively and a file open for
// reading is held shared, through advisory flock() locks that our own readers
// and writers honour (other programs are not stopped by them). Opening fails
// at once, without waiting, when the lock cannot be had: a second writer is
// refused while a file is being written or read, and a reader is refused while
// it is being written.
//
// Writing never leaves a half-written file: the text goes to a temporary file
// beside the target (GravacaoAtomica's, held under its lock), which replaces
// the target only when Fechar succeeds; a new file's name does not exist
// before its whole text does. A failure after opening throws CExcecaoArquivo
// and leaves the target as it was. While writing, an existing target is held
// exclusively, and a second writer of the same target is refused.
//
// Only regular files open; a folder or a device does not.
//
// Paths are given as the library writes them ("\" between folders,
// Windows-1252 names) and turned into the system's form only to open the
// file; GetCaminho and the exceptions give them back as they were given.
class CArquivoTexto
{
public:
    enum class Modo
    {
        Leitura,
        Escrita,
        // Writing the bytes as they are given (no CR before LF): the fiscal
        // files end their lines themselves. Same locks and replacement.
        EscritaBinaria,
    };

    CArquivoTexto();
    ~CArquivoTexto();
    CArquivoTexto(const CArquivoTexto&) = delete;
    CArquivoTexto& operator=(const CArquivoTexto&) = delete;

    // False when the file cannot be opened (no exception). A file that is
    // already open is abandoned first.
    bool Abrir(const std::string& strCaminho, Modo modo);
    bool EstaAberto() const;
    const std::string& GetCaminho() const;

    // The next line without its line break; false at the end of the input.
    // An empty line gives "" and true; a last line without a line break is a
    // line. A NUL byte ends the line's text: the rest of that line is dropped.
    bool LerLinha(std::string& strLinha);

    void EscreverTexto(std::string_view strTexto);
    // Appends the first `nTamanho` bytes of the open file `nOrigem` (read
    // from its start, its own position left alone). In binary mode on Linux
    // the system copies them from file to file without passing them through
    // this process, and a digest reads them where the system keeps them;
    // otherwise they are read and written as EscreverTexto writes them.
    void AcrescentaDoArquivo(int nOrigem, std::uint64_t nTamanho);
    // How many bytes were written so far (after the text mode's CRs).
    std::size_t BytesEscritos() const { return m_nEscritos + m_buffer.size(); }

    // From here on the bytes written are digested as they go out (asked
    // before anything is written), so that a file can be signed without
    // being read back. Throws std::logic_error once bytes were written.
    void DigereAoEscrever();

    // Closes the file; for a file being written, puts the written text in
    // place of the target. Throws CExcecaoArquivo when that fails. The
    // second form lets `antes` finish the written file (its descriptor,
    // open for reading and writing: a signature) before it takes the
    // target's place; its false is a failure, with the target as it was.
    // `antes` gets the digest of every byte written when it was asked for
    // (DigereAoEscrever), null otherwise.
    using AntesDeGuardar = std::function<bool(int, const qmx::cripto::DigestMD5*)>;
    void Fechar();
    void Fechar(const AntesDeGuardar& antes);

    // Closes without throwing; a file being written is discarded.
    void Abortar() noexcept;

private:
    bool AbrirLeitura();
    bool AbrirEscrita();
    int LeByte();
    int LeCaractere();
    void Descarrega();
    void DescarregaContando();
    // Writes bytes to the file (and its digest) as they are.
    void Envia(const char* pDados, std::size_t nTamanho);
    [[noreturn]] void Falha(int nErro);

    std::string m_strCaminho;      // as given, in the library's form
    std::string m_strNativo;       // the same path in the system's form
    std::string m_strDestino;      // the target with symbolic links resolved
    int m_fd;                      // the file read, or an existing target held while writing
    qmx::GravacaoAtomica::Temporario m_temporario;
    Modo m_modo;
    std::size_t m_nEscritos = 0;
    std::unique_ptr<qmx::cripto::MD5> m_md5;  // the bytes written, when asked

    std::vector<char> m_buffer;
    std::size_t m_nPosicao;
    std::size_t m_nFim;
    int m_nDevolvido;
    bool m_bFimEntrada;
};
