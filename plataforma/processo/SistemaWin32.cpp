#include "plataforma/processo/Sistema.h"

#include "plataforma/processo/LinhaComando.h"
#include "plataforma/texto/TextoLargo.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace qmx::sistema {

using processo::AcrescentaArgumento;

namespace {

// The system's narrow texts (paths, arguments, names) are in its ANSI code
// page.
std::wstring LargoAnsi(const std::string& texto) { return texto::Largo(texto, CP_ACP); }

std::string MensagemDoSistema(DWORD erro) {
  char texto[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr,
                 erro, 0, texto, sizeof texto, nullptr);
  return std::string(texto) + " (" + std::to_string(erro) + ")";
}

}  // namespace

// The C run-time keeps its own copy of the environment beside the system's:
// _putenv_s changes both, so getenv and child processes agree. There an
// empty value removes the variable.
void DefineVariavel(const std::string& nome, const std::string& valor) { _putenv_s(nome.c_str(), valor.c_str()); }

void RemoveVariavel(const std::string& nome) { _putenv_s(nome.c_str(), ""); }

long IdProcesso() { return static_cast<long>(GetCurrentProcessId()); }

int ExecutaSilencioso(const std::string& programa, const std::vector<std::string>& argumentos) {
  std::wstring linha;
  for (const auto& argumento : argumentos) AcrescentaArgumento(linha, LargoAnsi(argumento));
  SECURITY_ATTRIBUTES heranca{sizeof heranca, nullptr, TRUE};
  const HANDLE nulo = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &heranca,
                                  OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW inicio{};
  inicio.cb = sizeof inicio;
  inicio.dwFlags = STARTF_USESTDHANDLES;
  inicio.hStdInput = nulo;
  inicio.hStdOutput = nulo;
  inicio.hStdError = nulo;
  PROCESS_INFORMATION processo{};
  const BOOL criado = CreateProcessW(LargoAnsi(programa).c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     nullptr, &inicio, &processo);
  if (nulo != INVALID_HANDLE_VALUE) CloseHandle(nulo);
  if (!criado) return -1;
  DWORD codigo = 0;
  const bool terminou = WaitForSingleObject(processo.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                        GetExitCodeProcess(processo.hProcess, &codigo);
  CloseHandle(processo.hThread);
  CloseHandle(processo.hProcess);
  return terminou ? static_cast<int>(codigo) : -1;
}

BibliotecaDinamica::BibliotecaDinamica(const std::string& caminhoNativo) {
  m_handle = LoadLibraryW(LargoAnsi(caminhoNativo).c_str());
  if (!m_handle) throw std::runtime_error(MensagemDoSistema(GetLastError()));
}

BibliotecaDinamica::~BibliotecaDinamica() { FreeLibrary(static_cast<HMODULE>(m_handle)); }

void* BibliotecaDinamica::Simbolo(const char* nome) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), nome));
}

}  // namespace qmx::sistema
