#include "fisco/RelatorioIdentificacao.h"

#include <cstdio>

#include "fisco/ArquivosInstalacao.h"
#include "fisco/DadosDesenvolvedor.h"
#include "fisco/ListaArquivosAutenticados.h"
#include "plataforma/impressora/RelatorioGerencial.h"

namespace qmx {
namespace {

const std::string kSeparador(48, '-');

bool ListaOECF(const ECFIdentificacao& ecf, const std::string& uf) {
  const std::string serie = Maiusculas(ecf.numeroSerie);
  if (!ecf.habilitado || serie == "999999999" || serie == "EMULADOR") return false;
  return uf != "AL" || ecf.uf == "AL";
}

std::string Nome(const std::string& uf) {
  return "Nome:         Torvo ECF - Versão " + ListaArquivosAutenticados::TextoVersao(uf);
}

}  // namespace

std::vector<std::string> RelatorioIdentificacao::Pecas(const std::string& uf, const std::string& pasta,
                                                       const std::vector<ECFIdentificacao>& ecfs) {
  using D = DadosDesenvolvedor;
  std::vector<std::string> pecas;
  char erPaf[32];
  std::snprintf(erPaf, sizeof erPaf, "ER-PAF-ECF: %.2i.%.2i", 1, 13);
  // The developer's lines end in "\r\n"; the last one in "\r\n\r\n".
  pecas.push_back(std::string("\n\r") + "            Identificação do PAF-ECF" + "\n\r\n\r" +
                  "            Nº do Laudo: " + D::kNumeroLaudo + "\r\n\r\n" +
                  "            Identificação da Empresa" + "\r\n" + kSeparador + "\r\n" +
                  "Razão Social: " + D::kRazaoSocial + "\r\n" + "CNPJ:         " + D::kCNPJFormatado + "\r\n" +
                  "Endereço:     " + D::kEndereco + "\r\n" + "Contato:      " + D::kContato + "\r\n" +
                  "Telefone:     " + D::kTelefone + "\r\n\r\n" + "              Identificação PAF-ECF" + "\r\n" +
                  kSeparador + "\r\n" + Nome(uf) + "\r\n" + erPaf + "\r\n" + "Executável:   QMVCX.EXE" + "\r\n");
  pecas.push_back("MD-5:         " + ArquivosInstalacao::Digest(pasta, "QMVCX.EXE").value_or("") + "\r\n\r\n");
  pecas.push_back(std::string("Arquivo de Autenticações:") + "\r\n" + kSeparador + "\r\n" + "TORVO ECF.TXT " +
                  ArquivosInstalacao::Digest(pasta, "TORVO ECF.TXT").value_or("") + "\r\n" +
                  "Lista de arquivos autenticados:" + "\r\n" + kSeparador + "\r\n");
  std::string listados;
  for (const auto& nome : ArquivosInstalacao::Listados()) {
    char linha[64];
    std::snprintf(linha, sizeof linha, "%-14s ", nome.c_str());
    listados += linha + Maiusculas(ArquivosInstalacao::Digest(pasta, nome).value_or("")) + "\r\n";
  }
  pecas.push_back(listados + "\r\n");
  pecas.push_back(std::string("\r\nImpressoras habilitadas e seus Nºs de Série") + "\r\n" + kSeparador + "\r\n");
  for (const auto& ecf : ecfs) {
    if (!ListaOECF(ecf, uf)) continue;
    std::string nome = ecf.nome;
    if (nome.size() < 20) nome.resize(20, ' ');
    pecas.push_back(nome + ecf.numeroSerie + "\r\n");
  }
  pecas.push_back("\r\n");
  return pecas;
}

void RelatorioIdentificacao::Imprime(const std::vector<std::string>& pecas) {
  impressora::ImprimeRelatorioGerencial(kTitulo, pecas);
}

}  // namespace qmx
