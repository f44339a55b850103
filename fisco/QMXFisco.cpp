#include "fisco/QMXFisco.h"


#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "fisco/ArquivoInteiro.h"
#include "fisco/ArquivosInstalacao.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/BlocoSecreto.h"
#include "fisco/DadosIdentificacao.h"
#include "fisco/EstadoDaFilial.h"
#include "fisco/ListaArquivosAutenticados.h"
#include "fisco/RelatorioIdentificacao.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/cripto/Cripto.h"
#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {
namespace {

bool Md5(const unsigned char* dados, size_t tamanho, unsigned char digest[16]) {
  const auto calculado = cripto::CalculaMD5(dados, tamanho);
  if (!calculado) return false;
  std::copy(calculado->begin(), calculado->end(), digest);
  return true;
}

// A data-server failure that stopped the work is told to the operator with
// its code and cause; a stop for any other reason has its own message.
void AvisaFalhaDados(const std::string& empresa, int linha) {
  if (const auto falha = dados::UltimaFalhaDados())
    mensagens::ZTTrataErro2(falha->resultado, 0, 0, empresa, "QMXFisco", linha, QMX_CARIMBO_COMPILACAO);
}

}  // namespace

std::string TextoDigest(const unsigned char* digest16) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string texto;
  for (int i = 0; i < 16; ++i) {
    texto += kHex[digest16[i] >> 4];
    texto += kHex[digest16[i] & 0xF];
  }
  return texto;
}

CQMXFisco::CQMXFisco(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto)
    : m_strEmpresa(chaveEmpresa), m_nUsuario(usuario), m_nContexto(contexto) {}

// The file is read whole in one read, as its length said when it was
// opened: a file that shrinks meanwhile gives a short read and fails.
bool CQMXFisco::GerarMD5Arquivo(const char* caminho, char* saida) const {
  if (!caminho || !saida) return false;
  const auto conteudo = ArquivoInteiro::Le(caminho);
  unsigned char digest[16];
  if (!conteudo || !Md5(reinterpret_cast<const unsigned char*>(conteudo->data()), conteudo->size(), digest))
    return false;
  const std::string texto = TextoDigest(digest);
  std::memcpy(saida, texto.c_str(), texto.size() + 1);
  return true;
}

// The digest of the text followed by the library's secret block.
bool CQMXFisco::GerarMD5StringMD5(const char* texto, unsigned char* saida) const {
  if (!saida) return false;
  std::string dados = texto ? texto : "";
  dados.append(reinterpret_cast<const char*>(kBlocoSecreto), kTamanhoBlocoSecreto);
  unsigned char digest[16];
  if (!Md5(reinterpret_cast<const unsigned char*>(dados.data()), dados.size(), digest)) return false;
  std::memcpy(saida, digest, sizeof digest);
  return true;
}

bool CQMXFisco::GerarMD5String(const char* texto, char* saida) const {
  unsigned char digest[16];
  if (!saida || !GerarMD5StringMD5(texto, digest)) return false;
  const std::string hex = TextoDigest(digest);
  std::memcpy(saida, hex.c_str(), hex.size() + 1);
  return true;
}

bool CQMXFisco::AssinarArquivo(const char* caminho) const { return caminho && AssinaturaEAD::AssinaArquivo(caminho); }

// The state of the branch decides the version text, so it is read first:
// when it cannot be, nothing is written.
bool CQMXFisco::GerarListaArquivos(char* saida, bool mostraMensagem, std::uint16_t filial) const {
  dados::LimpaFalhaDados();
  const auto uf = EstadoDaFilial({m_strEmpresa, m_nUsuario, m_nContexto}, filial);
  if (!uf) {
    if (mostraMensagem) AvisaFalhaDados(m_strEmpresa, __LINE__);
    return false;
  }
  const auto pasta = ArquivosInstalacao::Pasta();
  if (!pasta) {
    if (mostraMensagem)
      ui::CaixaMensagem("A pasta de instalação do Torvo ECF não está no registro (valor \"Path\" da chave "
                        "SOFTWARE\\ZT Redudeva\\Torvo ECF).",
                        {}, ui::MB_ICONEXCLAMATION);
    return false;
  }
  const auto digest = ListaArquivosAutenticados::Gera(*uf, *pasta);
  if (!digest) {
    if (mostraMensagem)
      ui::CaixaMensagem("Não foi possível gravar e assinar o arquivo '" +
                            ArquivosInstalacao::Caminho(*pasta, ListaArquivosAutenticados::kNomeArquivo) + "'.",
                        {}, ui::MB_ICONEXCLAMATION);
    return false;
  }
  if (saida) std::memcpy(saida, digest->c_str(), digest->size() + 1);
  if (mostraMensagem) {
    const std::string caminho = ArquivosInstalacao::Caminho(*pasta, ListaArquivosAutenticados::kNomeArquivo);
    std::vector<char> texto(caminho.size() + 64);
    std::snprintf(texto.data(), texto.size(), "Arquivo MD-5 gerado em '%s'.", caminho.c_str());
    ui::CaixaMensagem(texto.data(), {}, ui::MB_ICONINFORMATION);
  }
  return true;
}

// Everything the report needs is read before the printer is asked for
// anything, so a failed check or read prints nothing.
bool CQMXFisco::IdentificacaoPAFECF() const {
  dados::LimpaFalhaDados();
  const auto dados = LeDadosIdentificacao({m_strEmpresa, m_nUsuario, m_nContexto});
  if (!dados) {
    AvisaFalhaDados(m_strEmpresa, __LINE__);
    return false;
  }
  // Without an installation folder no file can be read: the report still
  // goes out, with empty digests, as for any file that is missing.
  const std::string pasta = ArquivosInstalacao::Pasta().value_or("");
  RelatorioIdentificacao::Imprime(RelatorioIdentificacao::Pecas(dados->uf, pasta, dados->ecfs));
  return true;
}

}  // namespace qmx
