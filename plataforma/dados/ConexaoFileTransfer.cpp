#include "plataforma/dados/ConexaoFileTransfer.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/arquivos/LeituraRegular.h"

#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::dados {

namespace {

namespace fs = std::filesystem;

constexpr com::HRESULT kArquivoInexistente = com::Codigo(0x80070002u);  // ERROR_FILE_NOT_FOUND
constexpr com::HRESULT kFalhaEscrita = com::Codigo(0x8007001Du);  // ERROR_WRITE_FAULT

// The relative name as folders below the company's folder; empty when the
// name is empty, absolute or climbs out with "..".
fs::path Relativo(const std::string& nome) {
  const std::string utf8 = texto::CaminhoNativo(nome);
  fs::path caminho(utf8);
  if (utf8.empty() || caminho.has_root_path() || caminho.filename().empty()) return {};
  for (const auto& parte : caminho)
    if (parte == ".." || parte == ".") return {};
  // Control characters never belong in a name of the company's folder.
  for (const unsigned char c : utf8)
    if (c < 0x20 || c == 0x7F) return {};
  return caminho;
}

}  // namespace

const com::HRESULT CConexaoFileTransfer::kFalhaGravacao = kFalhaEscrita;

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
  LimpaFalhaDados();
  if (m_pasta.empty()) return com::RPC_S_SERVER_UNAVAILABLE;
  if (!arquivoLocal || !nomeRelativo) return com::E_POINTER;
  if (tipoPasta != kPastaEmpresaEC || modo != kModoSubstitui) return com::E_INVALIDARG;
  const fs::path relativo = Relativo(nomeRelativo);
  if (relativo.empty()) return com::E_INVALIDARG;

  const int origem = LeituraRegular::Abre(texto::CaminhoNativo(arquivoLocal));
  if (origem < 0) {
    RegistraFalhaDados(kArquivoInexistente, "não foi possível ler " + std::string(arquivoLocal));
    return kArquivoInexistente;
  }
  const fs::path destino = fs::path(m_pasta) / relativo;
  std::error_code erro;
  fs::create_directories(destino.parent_path(), erro);
  const bool gravado = !erro && GravacaoAtomica::Substitui(destino.string(), origem);
  const int erroSistema = erro ? erro.value() : errno;
  ::close(origem);
  m_arquivoNaoGravado.clear();
  m_erroGravacao = 0;
  if (gravado) return com::S_OK;
  // Which file could not be written, and why, in the operator's words.
  m_arquivoNaoGravado = texto::DeUtf8OuLatin(destino.string());
  m_erroGravacao = erroSistema;
  RegistraFalhaDados(kFalhaEscrita, "não foi possível gravar " + m_arquivoNaoGravado + ": " +
                                        qmx::CausaDaFalha(erroSistema, m_arquivoNaoGravado));
  return kFalhaEscrita;
}

}  // namespace qmx::dados
