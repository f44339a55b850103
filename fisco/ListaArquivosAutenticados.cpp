#include "fisco/ListaArquivosAutenticados.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fisco/ArquivoInteiro.h"
#include "fisco/ArquivosInstalacao.h"
#include "fisco/AssinaturaEAD.h"
#include "fisco/DadosDesenvolvedor.h"
#include "fisco/QMXFisco.h"
#include "frame/QMXGenerica.h"

namespace qmx {
namespace {

std::string Texto(const std::string& valor, int largura) {
  return CQMXGenerica::FormataCampo(valor.c_str(), static_cast<std::uint16_t>(largura), false, false);
}

}  // namespace

std::string ListaArquivosAutenticados::TextoVersao(const std::string& uf) {
  const auto& v = DadosDesenvolvedor::kVersao;
  char texto[64];
  if (uf == "AL")
    std::snprintf(texto, sizeof texto, "%i.%i.%i%i", v[0], v[1], v[2], v[3]);
  else
    std::snprintf(texto, sizeof texto, "%i.%i ERP %i.%i", v[0], v[1], v[2], v[3]);
  return texto;
}

std::string ListaArquivosAutenticados::Monta(const std::string& uf, const std::string& pasta) {
  using D = DadosDesenvolvedor;
  std::string lista;
  lista += "N1" + std::string(D::kCNPJ) + Texto("ISENTO", 14) + Texto(D::kInscricaoMunicipal, 14) +
           Texto(D::kRazaoSocial, 50) + "\r\n";
  lista += "N2" + Texto(D::kNumeroLaudo, 10) + Texto(D::kNomePrograma, 50) + Texto(TextoVersao(uf), 12) + "\r\n";
  // The N3 lines go in the order of the files' names, as the published
  // list is classified (not in the order the installation lists them).
  std::vector<std::string> nomes(ArquivosInstalacao::Listados().begin(), ArquivosInstalacao::Listados().end());
  std::sort(nomes.begin(), nomes.end());
  int contagem = 0;
  for (const auto& nome : nomes) {
    const auto digest = ArquivosInstalacao::Digest(pasta, nome);
    lista += "N3" + Texto(nome, 50) + (digest ? Maiusculas(*digest) : std::string(32, ' ')) + "\r\n";
    ++contagem;
  }
  char quantidade[16];
  std::snprintf(quantidade, sizeof quantidade, "%06d", contagem);
  lista += "N9" + std::string(D::kCNPJ) + Texto("ISENTO", 14) + quantidade + "\r\n";
  return lista;
}

std::optional<std::string> ListaArquivosAutenticados::Gera(const std::string& uf, const std::string& pasta) {
  const std::string caminho = ArquivosInstalacao::Caminho(pasta, kNomeArquivo);
  if (!ArquivoInteiro::Substitui(caminho, Monta(uf, pasta))) return std::nullopt;
  if (!AssinaturaEAD::AssinaArquivo(caminho)) return std::nullopt;
  char digest[33] = {};
  if (!CQMXFisco().GerarMD5Arquivo(caminho.c_str(), digest)) return std::nullopt;
  return std::string(digest);
}

}  // namespace qmx
