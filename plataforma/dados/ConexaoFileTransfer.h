#pragma once

#include <cstdint>
#include <string>

#include "plataforma/com/HResult.h"
#include "frame/ContextoBiblioteca.h"

namespace qmx::dados {

// Stores files in a company's folders on behalf of the library, as the
// data server's file transfer does: the generated fiscal files go to the
// company's point-of-sale folder under the relative name given.
class CConexaoFileTransfer {
 public:
  // Folder kind of the company's point-of-sale folder; write mode that
  // replaces a file of the same name.
  static constexpr std::int32_t kPastaEmpresaEC = 5;
  static constexpr std::int32_t kModoSubstitui = 3;

  CConexaoFileTransfer() = default;
  ~CConexaoFileTransfer() { Finaliza(); }
  CConexaoFileTransfer(const CConexaoFileTransfer&) = delete;
  CConexaoFileTransfer& operator=(const CConexaoFileTransfer&) = delete;

  // RPC_S_SERVER_UNAVAILABLE when the registry has no folder for the company.
  com::HRESULT Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto);
  // Copies the local file to the folder of that kind under the relative
  // name ("Arquivos-Eletronicos\nome.txt"; either slash separates folders).
  // The copy appears whole or not at all. E_INVALIDARG for another kind or
  // mode, or a name that leaves the folder; a local file that cannot be
  // read is HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
  com::HRESULT Write(std::int32_t tipoPasta, const char* arquivoLocal, std::int32_t modo, const char* nomeRelativo);
  void Finaliza() { m_pasta.clear(); }

  // When the last Write could not write the file in the folder (its
  // HRESULT is then kFalhaGravacao): the file, as this system names it, and
  // the system's error number.
  static const com::HRESULT kFalhaGravacao;
  const std::string& ArquivoNaoGravado() const { return m_arquivoNaoGravado; }
  int ErroDaGravacao() const { return m_erroGravacao; }

 private:
  TriploConexao m_triplo;
  std::string m_pasta;  // UTF-8, ends with '/'
  std::string m_arquivoNaoGravado;
  int m_erroGravacao = 0;
};

}  // namespace qmx::dados
