#include "arquivos/RetornoImpressora.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "fisco/QMXFisco.h"
#include "plataforma/arquivos/FaltaEspaco.h"
#include "plataforma/ui/HostUI.h"

#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx::retorno_impressora {

std::optional<std::string> NumeroSerie() {
  char serie[impressora::kTamanhoNumeroSerie] = {};
  if (!impressora::PegaNumeroSerie(serie)) return std::nullopt;
  // Deliberate: the printer's answer goes into file names, so a separator
  // or a character no file system takes never leaves the answer folder.
  return texto::NomeArquivoSeguro(serie);
}

std::string ModeloMinusculo() {
  std::string modelo;
  impressora::GetInfRegHKey(impressora::HKEY::HKEY_LOCAL_MACHINE,
                            "SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal\\", "Modelo", &modelo);
  // Only the ASCII letters change: the model names compared are ASCII.
  for (char& c : modelo)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return modelo;
}

std::optional<std::string> PastaRetorno() {
  std::string caminho;
  if (!impressora::PegaPathArqRetorno(&caminho)) return std::nullopt;
  const auto barra = caminho.rfind('\\');
  return barra == std::string::npos ? std::string() : caminho.substr(0, barra + 1);
}

std::string NomeAtoCotepe(const std::string& serie, const std::string& inicial, const std::string& final) {
  std::string nome = serie;
  if (nome.size() < 20) nome.append(20 - nome.size(), ' ');
  return nome + "_" + inicial + "_" + final + ".txt";
}

std::string SemBarras(const std::string& texto) {
  std::string saida = texto;
  std::erase(saida, '/');
  return saida;
}

bool AssinaRetorno(const std::string& arquivo, const std::string& titulo, bool* semEspaco) {
  errno = 0;
  if (CQMXFisco().AssinarArquivo(arquivo.c_str())) return true;
  const std::string falta = TextoFaltaEspaco(errno, arquivo);
  if (semEspaco) *semEspaco = !falta.empty();
  if (!falta.empty())
    ui::CaixaMensagem("Não foi possível assinar o arquivo\r\n" + arquivo + falta, titulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return false;
}

void ApagaSeExiste(const std::string& caminho) {
  std::error_code erro;
  const std::filesystem::path nativo = texto::CaminhoNativo(caminho);
  if (std::filesystem::exists(nativo, erro)) std::filesystem::remove(nativo, erro);
}

}  // namespace qmx::retorno_impressora
