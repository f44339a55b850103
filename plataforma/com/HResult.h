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
constexpr HRESULT DISP_E_OVERFLOW = Codigo(0x8002000Au);
constexpr HRESULT DISP_E_DIVBYZERO = Codigo(0x80020012u);

constexpr bool FAILED(HRESULT resultado) { return resultado < 0; }
constexpr bool SUCCEEDED(HRESULT resultado) { return resultado >= 0; }

}  // namespace qmx::com
