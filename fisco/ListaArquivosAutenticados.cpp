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
#include "plataforma/cripto/Cripto.h"

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
  // Signed in memory and stored whole in one step; the digest is that of the
  // bytes stored. Reading the file back would race with another terminal
  // writing the same list in the same folder: it could return the other's
  // digest, which then goes into a file this terminal generates.
  std::string lista = Monta(uf, pasta);
  const auto bloco = AssinaturaEAD::BlocoDe(lista);
  if (!bloco) return std::nullopt;
  const auto assinatura = AssinaturaEAD::Assina(*bloco);
  if (!assinatura) return std::nullopt;
  lista += AssinaturaEAD::LinhaEAD(*assinatura);
  const std::string caminho = ArquivosInstalacao::Caminho(pasta, kNomeArquivo);
  if (!ArquivoInteiro::Substitui(caminho, lista)) return std::nullopt;
  const auto digest = cripto::CalculaMD5(lista.data(), lista.size());
  if (!digest) return std::nullopt;
  return TextoDigest(digest->data());
}

}  // namespace qmx
