#include "plataforma/processo/Sistema.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace qmx::sistema {

namespace {

std::wstring Largo(const std::string& texto) {
  if (texto.empty()) return {};
  const int tamanho = MultiByteToWideChar(CP_ACP, 0, texto.data(), static_cast<int>(texto.size()), nullptr, 0);
  std::wstring largo(static_cast<std::size_t>(tamanho), L'\0');
  MultiByteToWideChar(CP_ACP, 0, texto.data(), static_cast<int>(texto.size()), largo.data(), tamanho);
  return largo;
}

std::string MensagemDoSistema(DWORD erro) {
  char texto[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr,
                 erro, 0, texto, sizeof texto, nullptr);
  return std::string(texto) + " (" + std::to_string(erro) + ")";
}

void AcrescentaArgumento(std::wstring& linha, const std::wstring& argumento) {
  if (!linha.empty()) linha += L' ';
  if (!argumento.empty() && argumento.find_first_of(L" \t\"") == std::wstring::npos) {
    linha += argumento;
    return;
  }
  linha += L'"';
  std::size_t barras = 0;
  for (wchar_t c : argumento) {
    if (c == L'\\') {
      ++barras;
      continue;
    }
    linha.append(c == L'"' ? barras * 2 + 1 : barras, L'\\');
    barras = 0;
    linha += c;
  }
  linha.append(barras * 2, L'\\');
  linha += L'"';
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
  for (const auto& argumento : argumentos) AcrescentaArgumento(linha, Largo(argumento));
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
  const BOOL criado = CreateProcessW(Largo(programa).c_str(), linha.data(), nullptr, nullptr, TRUE, 0, nullptr,
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
  m_handle = LoadLibraryW(Largo(caminhoNativo).c_str());
  if (!m_handle) throw std::runtime_error(MensagemDoSistema(GetLastError()));
}

BibliotecaDinamica::~BibliotecaDinamica() { FreeLibrary(static_cast<HMODULE>(m_handle)); }

void* BibliotecaDinamica::Simbolo(const char* nome) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), nome));
}

}  // namespace qmx::sistema
