#include "plataforma/arquivos/Descritores.h"

#include <windows.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

HANDLE Handle(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// The errno that matches the last system error, for the callers that tell it.
int ErrnoDe(DWORD erro) {
  switch (erro) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_LOCK_VIOLATION:
      return EWOULDBLOCK;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    default:
      return EIO;
  }
}

int Falha() {
  errno = ErrnoDe(GetLastError());
  return -1;
}

}  // namespace

int flock(int fd, int operacao) {
  const HANDLE arquivo = Handle(fd);
  if (arquivo == INVALID_HANDLE_VALUE) return errno = EBADF, -1;
  OVERLAPPED inicio{};
  if (operacao & LOCK_UN) return UnlockFileEx(arquivo, 0, MAXDWORD, MAXDWORD, &inicio) ? 0 : Falha();
  DWORD flags = 0;
  if (operacao & LOCK_EX) flags |= LOCKFILE_EXCLUSIVE_LOCK;
  if (operacao & LOCK_NB) flags |= LOCKFILE_FAIL_IMMEDIATELY;
  return LockFileEx(arquivo, flags, 0, MAXDWORD, MAXDWORD, &inicio) ? 0 : Falha();
}

int fsync(int fd) {
  const HANDLE arquivo = Handle(fd);
  if (arquivo == INVALID_HANDLE_VALUE) return errno = EBADF, -1;
  return FlushFileBuffers(arquivo) ? 0 : Falha();
}

ssize_t pread(int fd, void* destino, std::size_t tamanho, std::int64_t deslocamento) {
  OVERLAPPED posicao{};
  posicao.Offset = static_cast<DWORD>(deslocamento);
  posicao.OffsetHigh = static_cast<DWORD>(deslocamento >> 32);
  DWORD lidos = 0;
  const DWORD pedido = tamanho > 0x40000000u ? 0x40000000u : static_cast<DWORD>(tamanho);
  if (!ReadFile(Handle(fd), destino, pedido, &lidos, &posicao))
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : Falha();
  return static_cast<ssize_t>(lidos);
}

ssize_t pwrite(int fd, const void* origem, std::size_t tamanho, std::int64_t deslocamento) {
  OVERLAPPED posicao{};
  posicao.Offset = static_cast<DWORD>(deslocamento);
  posicao.OffsetHigh = static_cast<DWORD>(deslocamento >> 32);
  DWORD escritos = 0;
  const DWORD pedido = tamanho > 0x40000000u ? 0x40000000u : static_cast<DWORD>(tamanho);
  if (!WriteFile(Handle(fd), origem, pedido, &escritos, &posicao)) return Falha();
  return static_cast<ssize_t>(escritos);
}

int mkostemp(char* modelo, int flags) {
  const std::size_t tamanho = std::strlen(modelo);
  if (tamanho < 6) return errno = EINVAL, -1;
  static constexpr char kLetras[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::random_device aleatorio;
  for (int tentativa = 0; tentativa < 100; ++tentativa) {
    for (std::size_t i = tamanho - 6; i < tamanho; ++i) modelo[i] = kLetras[aleatorio() % (sizeof kLetras - 1)];
    const int fd = qmx::descritores::Abre(modelo, O_RDWR | O_CREAT | O_EXCL | flags, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return errno = EEXIST, -1;
}

int fcntl(int fd, int comando, ...) {
  if (Handle(fd) == INVALID_HANDLE_VALUE) return errno = EBADF, -1;
  // Only the status flags are asked for, to clear O_NONBLOCK, which does
  // not exist there.
  return comando == F_GETFL || comando == F_SETFL ? 0 : (errno = EINVAL, -1);
}

namespace qmx::descritores {

int Abre(const char* caminhoNativo, int flags, int) {
  DWORD acesso = GENERIC_READ;
  int modoCRT = _O_RDONLY;
  if ((flags & (_O_WRONLY | _O_RDWR)) == _O_WRONLY) acesso = GENERIC_WRITE, modoCRT = _O_WRONLY;
  if (flags & _O_RDWR) acesso = GENERIC_READ | GENERIC_WRITE, modoCRT = _O_RDWR;
  if (flags & _O_APPEND) acesso = FILE_APPEND_DATA | SYNCHRONIZE | (acesso & GENERIC_READ), modoCRT |= _O_APPEND;
  DWORD criacao = OPEN_EXISTING;
  if ((flags & _O_CREAT) && (flags & _O_EXCL)) criacao = CREATE_NEW;
  else if ((flags & _O_CREAT) && (flags & _O_TRUNC)) criacao = CREATE_ALWAYS;
  else if (flags & _O_CREAT) criacao = OPEN_ALWAYS;
  else if (flags & _O_TRUNC) criacao = TRUNCATE_EXISTING;
  SECURITY_ATTRIBUTES heranca{sizeof heranca, nullptr, (flags & _O_NOINHERIT) ? FALSE : TRUE};
  const HANDLE arquivo = CreateFileA(caminhoNativo, acesso, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     &heranca, criacao, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (arquivo == INVALID_HANDLE_VALUE) return Falha();
  if (GetFileType(arquivo) != FILE_TYPE_DISK) {
    CloseHandle(arquivo);
    return errno = EINVAL, -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(arquivo), modoCRT | _O_BINARY);
  if (fd < 0) CloseHandle(arquivo);
  return fd;
}

int Renomeia(const char* de, const char* para) {
  return MoveFileExA(de, para, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : Falha();
}

std::string Nome(const std::filesystem::path& caminho) {
  const std::wstring& largo = caminho.native();
  if (largo.empty()) return {};
  const int tamanho =
      WideCharToMultiByte(CP_ACP, 0, largo.data(), static_cast<int>(largo.size()), nullptr, 0, nullptr, nullptr);
  std::string nome(static_cast<std::size_t>(tamanho), '\0');
  WideCharToMultiByte(CP_ACP, 0, largo.data(), static_cast<int>(largo.size()), nome.data(), tamanho, nullptr, nullptr);
  return nome;
}

std::optional<std::string> NomeExato(const std::filesystem::path& caminho) {
  const std::wstring& largo = caminho.native();
  if (largo.empty()) return std::string();
  BOOL substituido = FALSE;
  const int tamanho = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, largo.data(), static_cast<int>(largo.size()),
                                          nullptr, 0, nullptr, &substituido);
  if (tamanho <= 0 || substituido) return std::nullopt;
  std::string nome(static_cast<std::size_t>(tamanho), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, largo.data(), static_cast<int>(largo.size()), nome.data(), tamanho,
                      nullptr, nullptr);
  return nome;
}

std::string CaminhoReal(const std::string& caminhoNativo) {
  char real[MAX_PATH];
  const DWORD tamanho = GetFullPathNameA(caminhoNativo.c_str(), sizeof real, real, nullptr);
  return tamanho > 0 && tamanho < sizeof real ? std::string(real, tamanho) : std::string();
}

// The C run-time's stat has no file identity there: the volume's serial
// number and the file's index say it.
bool MesmoArquivo(int fd, const std::string& caminhoNativo) {
  BY_HANDLE_FILE_INFORMATION aberto{}, nomeado{};
  if (!GetFileInformationByHandle(Handle(fd), &aberto)) return false;
  const HANDLE outro = CreateFileA(caminhoNativo.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                   nullptr);
  if (outro == INVALID_HANDLE_VALUE) return false;
  const bool lido = GetFileInformationByHandle(outro, &nomeado);
  CloseHandle(outro);
  return lido && aberto.dwVolumeSerialNumber == nomeado.dwVolumeSerialNumber &&
         aberto.nFileIndexHigh == nomeado.nFileIndexHigh && aberto.nFileIndexLow == nomeado.nFileIndexLow;
}

std::int64_t SegundosModificacao(const struct stat& estado) { return static_cast<std::int64_t>(estado.st_mtime); }

}  // namespace qmx::descritores
