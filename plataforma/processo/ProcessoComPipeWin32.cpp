#include "plataforma/processo/ProcessoComPipe.h"

#include "plataforma/processo/LinhaComando.h"
#include "plataforma/texto/TextoLargo.h"

#include <windows.h>

namespace qmx::processo {

using texto::Largo;

namespace {

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : m_h(h) {}
  ~Handle() { Fecha(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE* Endereco() { return &m_h; }
  HANDLE get() const { return m_h; }
  void Fecha() {
    if (m_h && m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
    m_h = nullptr;
  }

 private:
  HANDLE m_h;
};

}  // namespace

std::uint32_t ExecutaComPipe(const std::vector<std::string>& argumentos, std::string& saida) {
  saida.clear();
  if (argumentos.empty() || argumentos[0].empty()) return ERROR_INVALID_PARAMETER;

  // The write end is inherited by the child as its output and error; the
  // read end stays ours alone.
  SECURITY_ATTRIBUTES heranca{sizeof heranca, nullptr, TRUE};
  Handle leitura, escrita;
  if (!CreatePipe(leitura.Endereco(), escrita.Endereco(), &heranca, 0)) return GetLastError();
  if (!SetHandleInformation(leitura.get(), HANDLE_FLAG_INHERIT, 0)) return GetLastError();
  Handle entrada(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &heranca, OPEN_EXISTING, 0,
                             nullptr));

  std::wstring linha;
  for (const auto& argumento : argumentos) AcrescentaArgumento(linha, Largo(argumento));
  STARTUPINFOW inicio{};
  inicio.cb = sizeof inicio;
  inicio.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  inicio.wShowWindow = SW_HIDE;
  inicio.hStdInput = entrada.get();
  inicio.hStdOutput = escrita.get();
  inicio.hStdError = escrita.get();
  PROCESS_INFORMATION processo{};
  if (!CreateProcessW(nullptr, linha.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &inicio,
                      &processo))
    return GetLastError();
  Handle filho(processo.hProcess);
  Handle fio(processo.hThread);
  escrita.Fecha();
  entrada.Fecha();

  // Reading to the end before waiting gives the same text as waiting first,
  // and cannot stall a program whose output outgrows the pipe.
  std::uint32_t resultado = 0;
  char bloco[4096];
  for (;;) {
    DWORD lidos = 0;
    if (ReadFile(leitura.get(), bloco, sizeof bloco, &lidos, nullptr)) {
      if (lidos == 0) break;
      saida.append(bloco, lidos);
    } else {
      const DWORD erro = GetLastError();
      if (erro != ERROR_BROKEN_PIPE) resultado = erro;
      break;
    }
  }
  if (WaitForSingleObject(filho.get(), INFINITE) == WAIT_FAILED && resultado == 0) resultado = GetLastError();
  return resultado;
}

// Windows's ping sends four echoes unless told otherwise. It has no "--";
// its options start with "-" or "/", which no host name does.
std::vector<std::string> ComandoPing(const std::string& host) { return {"ping", host}; }

std::string CaminhoPrograma() {
  std::wstring caminho(MAX_PATH, L'\0');
  for (;;) {
    const DWORD tamanho = GetModuleFileNameW(nullptr, caminho.data(), static_cast<DWORD>(caminho.size()));
    if (tamanho == 0) return {};
    if (tamanho < caminho.size()) {
      caminho.resize(tamanho);
      break;
    }
    caminho.resize(caminho.size() * 2);
  }
  const int bytes = WideCharToMultiByte(1252, 0, caminho.data(), static_cast<int>(caminho.size()), nullptr, 0,
                                        nullptr, nullptr);
  std::string texto(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(1252, 0, caminho.data(), static_cast<int>(caminho.size()), texto.data(), bytes, nullptr,
                      nullptr);
  return texto;
}

}  // namespace qmx::processo
