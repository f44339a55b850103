#include "arquivos/EnvioArquivoEletronico.h"

#include <filesystem>

#include "arquivos/FalhaArquivo.h"
#include "fisco/ArquivoInteiro.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/QMXFisco.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/dados/ConexaoFileTransfer.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {
namespace {

// Message number of a failed file transfer in the point-of-sale catalogue.
constexpr std::uint32_t kMensagemFalhaEnvio = 0;


}  // namespace

std::string CQMXEnvioArquivo::CaminhoNaEmpresa(const std::string& nomeArquivo) const {
  std::string pasta = dados::PastaEmpresa(m_triplo.chaveEmpresa, "EC").value_or("");
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
  return pasta + kPastaArquivos + texto::NomeArquivoSeguro(nomeArquivo);
}

bool CQMXEnvioArquivo::GeraEEnvia(const std::string& nomeArquivo, const std::string& texto,
                                  const AvisoArquivoGerado& aviso, bool mantemTemporario) {
  m_temporario.clear();
  const auto pasta = qmx::ArquivoTemporario::Pasta();
  qmx::ArquivoTemporario temporario;
  if (!pasta || !temporario.Cria(*pasta, "txt")) return false;  // nothing written, signed or stored
  m_temporario = temporario.Caminho();
  bool enviado = false;
  if (ArquivoInteiro::Substitui(m_temporario, texto) && CQMXFisco().AssinarArquivo(m_temporario.c_str()))
    enviado = Envia(m_temporario, nomeArquivo, aviso.titulo);
  if (enviado) Avisa(nomeArquivo, aviso);
  if (mantemTemporario) temporario.Mantem();
  return enviado;
}

bool CQMXEnvioArquivo::EscreveEEnvia(const std::string& nomeArquivo,
                                     const std::function<void(CArquivoTexto&)>& escreve,
                                     const AvisoArquivoGerado& aviso) {
  m_temporario.clear();
  const auto pasta = qmx::ArquivoTemporario::Pasta();
  qmx::ArquivoTemporario temporario;  // removed when this ends, whatever happens
  if (!pasta || !temporario.Cria(*pasta, "txt")) return false;
  m_temporario = temporario.Caminho();
  CArquivoTexto arquivo;
  if (!arquivo.Abrir(m_temporario, CArquivoTexto::Modo::EscritaBinaria)) return false;
  // Digested as it is written and signed from that digest before it takes
  // its name: a large file is not read back to be signed.
  arquivo.DigereAoEscrever();
  escreve(arquivo);
  bool assinado = true;
  try {
    arquivo.Fechar(AssinaturaEAD::AoGuardar(&assinado));
  } catch (const CExcecaoArquivo&) {
    if (!assinado) return false;  // not signed: as a signature refused afterwards, nothing is sent
    throw;
  }
  return EnviaEAvisa(m_temporario, nomeArquivo, aviso);
}

bool CQMXEnvioArquivo::AssinaEEnvia(const std::string& arquivoLocal, const std::string& nomeArquivo,
                                    const AvisoArquivoGerado& aviso) {
  if (!CQMXFisco().AssinarArquivo(arquivoLocal.c_str())) return false;
  return EnviaEAvisa(arquivoLocal, nomeArquivo, aviso);
}

bool CQMXEnvioArquivo::EnviaEAvisa(const std::string& arquivoLocal, const std::string& nomeArquivo,
                                   const AvisoArquivoGerado& aviso) {
  if (!Envia(arquivoLocal, nomeArquivo, aviso.titulo)) return false;
  Avisa(nomeArquivo, aviso);
  return true;
}

// A failure of the data server's file transfer is reported like any other
// data-server failure, but a file the folder would not take is a file's
// failure, told as every generator tells one. The name may come from the
// data (a serial number): no separator in it can take the file out of the
// company's folder.
bool CQMXEnvioArquivo::Envia(const std::string& arquivoLocal, const std::string& nomeArquivo,
                             const std::string& titulo) {
  dados::CConexaoFileTransfer transferencia;
  com::HRESULT resultado = transferencia.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  if (com::SUCCEEDED(resultado))
    resultado = transferencia.Write(dados::CConexaoFileTransfer::kPastaEmpresaEC, arquivoLocal.c_str(),
                                    dados::CConexaoFileTransfer::kModoSubstitui,
                                    (std::string(kPastaArquivos) + texto::NomeArquivoSeguro(nomeArquivo)).c_str());
  transferencia.Finaliza();
  if (resultado == dados::CConexaoFileTransfer::kFalhaGravacao) {
    AvisaFalhaArquivo(titulo, transferencia.ArquivoNaoGravado(),
                      CausaDaFalha(transferencia.ErroDaGravacao(), transferencia.ArquivoNaoGravado()));
    return false;
  }
  if (com::FAILED(resultado)) {
    mensagens::ZTTrataErro2(resultado, kMensagemFalhaEnvio, 0, m_triplo.chaveEmpresa, m_fonte, __LINE__,
                            QMX_CARIMBO_COMPILACAO);
    return false;
  }
  return true;
}

void CQMXEnvioArquivo::Avisa(const std::string& nomeArquivo, const AvisoArquivoGerado& aviso) const {
  const std::string caminho = CaminhoNaEmpresa(nomeArquivo);
  std::string texto;
  switch (aviso.forma) {
    case AvisoArquivoGerado::Forma::Padrao: texto = "Arquivo gerado em\r\n" + caminho; break;
    case AvisoArquivoGerado::Forma::DAV: texto = "Arquivo gerado em " + caminho; break;
    case AvisoArquivoGerado::Forma::ArquivoMFD: texto = "Arquivo gerado em:\n\r" + caminho; break;
    case AvisoArquivoGerado::Forma::EspelhoMFD: texto = "As informações foram geradas com Sucesso em\r\n" + caminho; break;
  }
  ui::CaixaMensagem(texto, aviso.titulo, ui::MB_OK | ui::MB_ICONEXCLAMATION | ui::MB_SYSTEMMODAL);
}

}  // namespace qmx
