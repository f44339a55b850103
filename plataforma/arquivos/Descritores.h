#pragma once

// File descriptors, the POSIX way, on every system the library builds for.
// On POSIX systems this is the system's own interface; on Windows the calls
// the C run-time lacks (flock, fsync, pread, pwrite, mkostemp, ...) are
// provided over the system's file handles, with the same meaning:
// - files are opened sharing reading, writing and deletion, so that a file
//   can be renamed over or removed while another descriptor holds it, as
//   POSIX allows;
// - flock takes a lock on the whole file (shared or exclusive, waiting or
//   not); the system enforces it on the other descriptors' reads and writes;
// - the flags that mean nothing there (O_NONBLOCK, O_NOCTTY, O_NOFOLLOW,
//   O_DIRECTORY) are accepted and ignored; O_CLOEXEC keeps the descriptor out
//   of child processes.
// Paths are the system's native form (texto::CaminhoNativo).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#if defined(_WIN32)
#include <io.h>
#include <unistd.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif
#define O_NONBLOCK 0
#define O_NOCTTY 0
#define O_NOFOLLOW 0
#define O_DIRECTORY 0
#define LOCK_SH 1
#define LOCK_EX 2
#define LOCK_NB 4
#define LOCK_UN 8
#define F_GETFL 3
#define F_SETFL 4
#define POSIX_FADV_SEQUENTIAL 2
#ifndef EDQUOT
#define EDQUOT ENOSPC
#endif

int flock(int fd, int operacao);
int fsync(int fd);
ssize_t pread(int fd, void* destino, std::size_t tamanho, std::int64_t deslocamento);
ssize_t pwrite(int fd, const void* origem, std::size_t tamanho, std::int64_t deslocamento);
int mkostemp(char* modelo, int flags);
int fcntl(int fd, int comando, ...);
inline int fchmod(int, int) { return 0; }  // permission bits do not exist there
inline int lstat(const char* caminho, struct stat* estado) { return ::stat(caminho, estado); }
inline int posix_fadvise(int, std::int64_t, std::int64_t, int) { return 0; }
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qmx::descritores {

// open(2) with the sharing described above.
int Abre(const char* caminhoNativo, int flags, int modo = 0666);

// rename(2): replaces the target when it exists, also on Windows.
int Renomeia(const char* de, const char* para);

// The characters that separate folders in a native path (the first is the
// system's own), and whether a
// rename may replace a file that a descriptor still holds open.
#if defined(_WIN32)
inline constexpr const char* kSeparadores = "\\/";
inline constexpr bool kRenomeiaSobreAberto = false;
#else
inline constexpr const char* kSeparadores = "/";
inline constexpr bool kRenomeiaSobreAberto = true;
#endif

// A path object's native narrow form (std::filesystem's own narrow form is
// UTF-8 on Windows, not the code page the system's narrow calls take).
std::string Nome(const std::filesystem::path& caminho);

// The same, or nothing when the system's narrow form cannot hold the path
// (on Windows, a character outside the ANSI code page).
std::optional<std::string> NomeExato(const std::filesystem::path& caminho);

// realpath(3): the absolute path with links resolved; empty on failure.
std::string CaminhoReal(const std::string& caminhoNativo);

// Whether the open descriptor and the path (not followed when it is a link)
// are the same file.
bool MesmoArquivo(int fd, const std::string& caminhoNativo);

// When the file was last written, in seconds of the system's clock.
std::int64_t SegundosModificacao(const struct stat& estado);

}  // namespace qmx::descritores
