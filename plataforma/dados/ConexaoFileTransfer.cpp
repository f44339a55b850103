#include "plataforma/dados/ConexaoFileTransfer.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::dados {

namespace {

namespace fs = std::filesystem;

constexpr com::HRESULT kArquivoInexistente = com::Codigo(0x80070002u);  // ERROR_FILE_NOT_FOUND
constexpr com::HRESULT kFalhaEscrita = com::Codigo(0x8007001Du);        // ERROR_WRITE_FAULT

// The relative name as folders below the company's folder; empty when the
// name is empty, absolute or climbs out with "..".
fs::path Relativo(const std::string& nome) {
  const std::string utf8 = texto::CaminhoNativo(nome);
  fs::path caminho(utf8);
  if (utf8.empty() || caminho.is_absolute() || caminho.filename().empty()) return {};
  for (const auto& parte : caminho)
    if (parte == "..") return {};
  return caminho;
}

}  // namespace

com::HRESULT CConexaoFileTransfer::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                              std::int32_t contexto) {
  Finaliza();
  m_triplo = {chaveEmpresa, usuario, contexto};
  const auto pasta = PastaEmpresa(chaveEmpresa, "EC");
  if (!pasta) return com::RPC_S_SERVER_UNAVAILABLE;
  m_pasta = texto::CaminhoNativo(*pasta);
  if (m_pasta.empty()) return com::RPC_S_SERVER_UNAVAILABLE;
  if (m_pasta.back() != '/') m_pasta += '/';
  return com::S_OK;
}

com::HRESULT CConexaoFileTransfer::Write(std::int32_t tipoPasta, const char* arquivoLocal, std::int32_t modo,
                                         const char* nomeRelativo) {
  if (m_pasta.empty()) return com::RPC_S_SERVER_UNAVAILABLE;
  if (!arquivoLocal || !nomeRelativo) return com::E_POINTER;
  if (tipoPasta != kPastaEmpresaEC || modo != kModoSubstitui) return com::E_INVALIDARG;
  const fs::path relativo = Relativo(nomeRelativo);
  if (relativo.empty()) return com::E_INVALIDARG;

  std::ifstream origem(texto::CaminhoNativo(arquivoLocal), std::ios::binary);
  if (!origem) return kArquivoInexistente;
  const fs::path destino = fs::path(m_pasta) / relativo;
  std::error_code erro;
  fs::create_directories(destino.parent_path(), erro);
  if (erro) return kFalhaEscrita;
  // Written beside the target and renamed over it, so a reader never sees
  // half a file and a failure leaves the old one.
  const fs::path temporario = destino.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream saida(temporario, std::ios::binary | std::ios::trunc);
    // An empty file copies as an empty file (streaming nothing would set the error flag).
    if (origem.peek() != std::ifstream::traits_type::eof()) saida << origem.rdbuf();
    saida.flush();
    if (!saida || origem.bad()) {
      saida.close();
      fs::remove(temporario, erro);
      return kFalhaEscrita;
    }
  }
  fs::rename(temporario, destino, erro);
  if (erro) {
    fs::remove(temporario, erro);
    return kFalhaEscrita;
  }
  return com::S_OK;
}

}  // namespace qmx::dados
