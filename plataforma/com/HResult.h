#pragma once

#include <cstdint>

namespace qmx::com {

// Result codes of the component model, with their Windows values: negative
// means failure.
using HRESULT = std::int32_t;

constexpr HRESULT Codigo(std::uint32_t valor) { return static_cast<HRESULT>(valor); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = Codigo(0x80004001u);
constexpr HRESULT E_NOINTERFACE = Codigo(0x80004002u);
constexpr HRESULT E_POINTER = Codigo(0x80004003u);
constexpr HRESULT E_FAIL = Codigo(0x80004005u);
constexpr HRESULT E_ACCESSDENIED = Codigo(0x80070005u);
constexpr HRESULT E_OUTOFMEMORY = Codigo(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = Codigo(0x80070057u);
constexpr HRESULT REGDB_E_CLASSNOTREG = Codigo(0x80040154u);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = Codigo(0x80080005u);
// The RPC server is unavailable: the data server cannot be reached.
constexpr HRESULT RPC_S_SERVER_UNAVAILABLE = Codigo(0x800706BAu);
constexpr HRESULT E_UNEXPECTED = Codigo(0x8000FFFFu);
constexpr HRESULT CLASS_E_NOAGGREGATION = Codigo(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = Codigo(0x80040111u);
constexpr HRESULT CO_E_CLASSSTRING = Codigo(0x800401F3u);
// Success, but some of the interfaces asked for are not there.
constexpr HRESULT CO_S_NOTALLINTERFACES = Codigo(0x00080012u);
constexpr HRESULT DISP_E_OVERFLOW = Codigo(0x8002000Au);
constexpr HRESULT DISP_E_DIVBYZERO = Codigo(0x80020012u);

// Error codes of the operating system (the Win32 numbering), used where a
// system call fails and its code travels on as a result or in a message.
constexpr std::uint32_t ERROR_SUCCESS = 0;
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr std::uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_INVALID_HANDLE = 6;
constexpr std::uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr std::uint32_t ERROR_GEN_FAILURE = 31;
constexpr std::uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::uint32_t ERROR_BROKEN_PIPE = 109;
constexpr std::uint32_t ERROR_BAD_EXE_FORMAT = 193;
constexpr std::uint32_t ERROR_RPC_SERVER_UNAVAILABLE = 1722;  // RPC_S_SERVER_UNAVAILABLE as a system code

// A system error code as a result code (facility 7); 0 stays success.
constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t erro) {
  return erro == 0 ? S_OK : Codigo(0x80070000u | (erro & 0xFFFFu));
}

constexpr bool FAILED(HRESULT resultado) { return resultado < 0; }
constexpr bool SUCCEEDED(HRESULT resultado) { return resultado >= 0; }

}  // namespace qmx::com
