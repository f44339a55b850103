#include "plataforma/impressora/ImpressoraEmulada.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "plataforma/registro/Registro.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::impressora {
namespace {

constexpr const char* kChave = "SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal";
constexpr const char* kRelatoriosPadrao = "IDENT. PAF-ECF|MEIOS DE PAGTO|DAV EMITIDOS|PARAM. CONFIG.";

struct EstadoTeclado {
  bool travado = false;
  int vezes = 0;
};

EstadoTeclado& Teclado() {
  static EstadoTeclado estado;
  return estado;
}

std::vector<std::string> Divide(const std::string& texto, char separador) {
  std::vector<std::string> partes;
  std::istringstream entrada(texto);
  std::string parte;
  while (std::getline(entrada, parte, separador)) {
    const auto inicio = parte.find_first_not_of(' ');
    const auto fim = parte.find_last_not_of(' ');
    if (inicio != std::string::npos) partes.push_back(parte.substr(inicio, fim - inicio + 1));
  }
  return partes;
}

long Numero(const std::string& valor, long padrao) {
  try {
    size_t usados = 0;
    const long numero = std::stol(valor, &usados);
    return usados == valor.size() && numero >= 0 ? numero : padrao;
  } catch (...) {
    return padrao;
  }
}

std::string Valor(const char* nome, const char* padrao) {
  return registro::Registro::LeValor(kChave, nome).value_or(padrao);
}

}  // namespace

ConfiguracaoImpressora LeConfiguracao() {
  ConfiguracaoImpressora c;
  c.modelo = Valor("Modelo", "");
  c.numeroSerie = Valor("NumeroSerie", "");
  c.numeroCaixa = Valor("NumeroCaixa", "1");
  const std::string pasta = Valor("PastaRetorno", "");
  c.pastaRetorno = pasta.empty() ? (std::filesystem::temp_directory_path() / "qmx-ecf").string()
                                 : texto::CaminhoNativo(pasta);
  c.cooInicial = Numero(Valor("COOInicialMFD", "1"), 1);
  c.cooFinal = Numero(Valor("COOFinalMFD", "1"), 1);
  c.substituicoes = Valor("Substituicoes", "1");
  c.versaoSB = Valor("VersaoSB", "01.00.00");
  c.dataSB = Valor("DataSB", "01/01/2020");
  c.horaSB = Valor("HoraSB", "08:00:00");
  c.dataUsuario = Valor("DataUsuario", c.dataSB.c_str());
  c.horaUsuario = Valor("HoraUsuario", c.horaSB.c_str());
  c.relatorios = Divide(Valor("Relatorios", kRelatoriosPadrao), '|');
  c.falhas = Divide(Valor("Falhas", ""), ',');
  return c;
}

bool OperacaoDisponivel(const ConfiguracaoImpressora& configuracao, const std::string& operacao) {
  if (configuracao.modelo.empty()) return false;
  for (const auto& falha : configuracao.falhas)
    if (falha == operacao) return false;
  return true;
}

bool RespondeSemArquivo(const ConfiguracaoImpressora& configuracao, const std::string& operacao) {
  for (const auto& falha : configuracao.falhas)
    if (falha == operacao + ":sem-arquivo") return true;
  return false;
}

std::string ArquivoImpressao(const ConfiguracaoImpressora& configuracao) {
  const std::string serie = configuracao.numeroSerie.empty() ? "sem-serie" : configuracao.numeroSerie;
  return (std::filesystem::path(configuracao.pastaRetorno) /
          ("impressao-" + texto::ParaUtf8(texto::NomeArquivoSeguro(serie)) + ".txt"))
      .string();
}

std::vector<RelatorioImpresso> RelatoriosImpressos() {
  std::ifstream arquivo(ArquivoImpressao(LeConfiguracao()), std::ios::binary);
  std::stringstream conteudo;
  conteudo << arquivo.rdbuf();
  const std::string texto = conteudo.str();
  std::vector<RelatorioImpresso> relatorios;
  // Markers: "\x01ABRE <indice> <titulo>\r\n" ... "\x01FECHA\r\n".
  size_t pos = 0;
  while ((pos = texto.find("\x01" "ABRE ", pos)) != std::string::npos) {
    const size_t fimLinha = texto.find("\r\n", pos);
    if (fimLinha == std::string::npos) break;
    RelatorioImpresso relatorio;
    const std::string cabecalho = texto.substr(pos + 6, fimLinha - pos - 6);
    const size_t espaco = cabecalho.find(' ');
    relatorio.indice = static_cast<int>(Numero(cabecalho.substr(0, espaco), 0));
    relatorio.titulo = espaco == std::string::npos ? std::string() : cabecalho.substr(espaco + 1);
    const size_t inicio = fimLinha + 2;
    const size_t fecha = texto.find("\x01" "FECHA\r\n", inicio);
    const size_t proxima = texto.find("\x01" "ABRE ", inicio);
    const size_t fim = std::min(fecha, proxima);
    relatorio.texto = texto.substr(inicio, fim == std::string::npos ? std::string::npos : fim - inicio);
    relatorio.fechado = fecha != std::string::npos && fecha == fim;
    relatorios.push_back(std::move(relatorio));
    pos = inicio;
  }
  return relatorios;
}

std::vector<std::string>& PecasRelatorio() {
  static std::vector<std::string> pecas;
  return pecas;
}

bool TecladoTravado() { return Teclado().travado; }
int VezesTecladoTravado() { return Teclado().vezes; }

// Used by the layer.
void AnotaTeclado(bool travar) {
  Teclado().travado = travar;
  if (travar) ++Teclado().vezes;
}

}  // namespace qmx::impressora
