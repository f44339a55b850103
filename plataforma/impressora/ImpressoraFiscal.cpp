#include "plataforma/impressora/ImpressoraFiscal.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "plataforma/arquivos/Descritores.h"
#include "plataforma/impressora/ArquivosMemoria.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/impressora/MemoriaEmulada.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"

namespace qmx::impressora {

void AnotaTeclado(bool travar);

namespace {

// The management report open now (its index), 0 when none.
int g_relatorioAberto = 0;

// Copies an answer into a zeroed buffer of `tamanho` bytes, cut to fit.
void Responde(char* buffer, int tamanho, const std::string& resposta) {
  std::memset(buffer, 0, static_cast<size_t>(tamanho));
  std::memcpy(buffer, resposta.data(), std::min(resposta.size(), static_cast<size_t>(tamanho - 1)));
}

// Appends to the spool of the printer, creating its folder when missing.
// A piece goes in whole or not at all: when the disk takes only part of
// it, the spool is cut back to where it was and the call fails.
bool Imprime(const ConfiguracaoImpressora& configuracao, const std::string& bytes) {
  std::error_code erro;
  std::filesystem::create_directories(configuracao.pastaRetorno, erro);
  const int spool = descritores::Abre(ArquivoImpressao(configuracao).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (spool < 0) return false;
  const off_t antes = ::lseek(spool, 0, SEEK_END);
  std::size_t escrito = 0;
  while (escrito < bytes.size()) {
    const ssize_t n = ::write(spool, bytes.data() + escrito, bytes.size() - escrito);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    escrito += static_cast<std::size_t>(n);
  }
  const bool inteiro = escrito == bytes.size();
  if (!inteiro && antes >= 0) (void)::ftruncate(spool, antes);
  return ::close(spool) == 0 && inteiro;
}

}  // namespace

bool PegaNumeroSerie(char* numeroSerie) {
  if (!numeroSerie) return false;
  std::memset(numeroSerie, 0, kTamanhoNumeroSerie);
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "PegaNumeroSerie") || c.numeroSerie.empty()) return false;
  Responde(numeroSerie, kTamanhoNumeroSerie, c.numeroSerie);
  return true;
}

bool GetInfRegHKey(HKEY raiz, const std::string& chave, const std::string& valor, std::string* saida) {
  if (!saida) return false;
  saida->clear();
  // The registry stand-in holds the machine-wide keys only.
  if (raiz != HKEY::HKEY_LOCAL_MACHINE) return false;
  const auto lido = registro::Registro::LeValor(chave, valor);
  if (!lido) return false;
  *saida = *lido;
  return true;
}

bool PegaPathArqRetorno(std::string* caminho) {
  if (!caminho) return false;
  caminho->clear();
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "PegaPathArqRetorno")) return false;
  *caminho = texto::CaminhoWindows((std::filesystem::path(c.pastaRetorno) / NomeArquivoRetorno).string());
  return true;
}

bool InicioFimCOOsMFD(char* primeiro, char* ultimo) {
  if (!primeiro || !ultimo) return false;
  std::memset(primeiro, 0, kTamanhoCOO);
  std::memset(ultimo, 0, kTamanhoCOO);
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "InicioFimCOOsMFD")) return false;
  // A printer with its company's movement answers the COOs it used; one
  // without answers its settings.
  long inicial = c.cooInicial, final = c.cooFinal;
  CMemoriaEmulada memoria(c);
  if (memoria.TemMovimento()) {
    std::uint32_t a = 0, b = 0;
    memoria.FaixaCOO(&a, &b);
    inicial = a;
    final = b;
  }
  char texto[32];
  std::snprintf(texto, sizeof texto, "%06ld", inicial);
  Responde(primeiro, kTamanhoCOO, texto);
  std::snprintf(texto, sizeof texto, "%06ld", final);
  Responde(ultimo, kTamanhoCOO, texto);
  return true;
}

bool NumeroSubstituicoesProprietario(char* numero) {
  if (!numero) return false;
  std::memset(numero, 0, kTamanhoCOO);
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "NumeroSubstituicoesProprietario")) return false;
  Responde(numero, kTamanhoCOO, c.substituicoes);
  return true;
}

bool DownloadMFD(const char* arquivo, const char* tipo, const char* inicial, const char* final, const char* usuario) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "DownloadMFD") || !arquivo || !*arquivo) return false;
  // A Daruma driver answers in "Retorno.txt" of its own folder (registry
  // "SOFTWARE\Daruma\ECF", value "Path"), whatever file it was given.
  std::string modelo = c.modelo;
  for (char& letra : modelo) letra = static_cast<char>(std::tolower(static_cast<unsigned char>(letra)));
  if (modelo.find("daruma") != std::string::npos) {
    const auto pasta = registro::Registro::LeValor("SOFTWARE\\Daruma\\ECF", "Path");
    if (!pasta || pasta->empty()) return false;
    const std::string retorno = texto::CaminhoWindows(
        (std::filesystem::path(texto::CaminhoNativo(*pasta)) / NomeArquivoRetorno).string());
    return GravaImagemMFD(c, retorno.c_str(), tipo, inicial, final, usuario);
  }
  return GravaImagemMFD(c, arquivo, tipo, inicial, final, usuario);
}

bool FormatoDadosMFD(const char* origem, const char* destino, const char* formato, const char* tipo,
                     const char* inicial, const char* final, const char* usuario) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "FormatoDadosMFD") || !origem || !destino || !*destino) return false;
  if (RespondeSemArquivo(c, "FormatoDadosMFD")) return true;
  return GravaEspelhoMFD(c, origem, destino, formato, tipo, inicial, final, usuario);
}

namespace {

// The emulated ECF has one user, the taxpayer registered as "01"; the
// memories of another are refused, as the ECF refuses them.
bool UsuarioDaImpressora(const char* usuario) { return usuario && std::string_view(usuario) == "01"; }

// Only the single file signed afterwards by the program is emulated: keys
// of the printer's own signature are not.
bool ChaveEmBranco(const char* chave) { return !chave || std::string_view(chave).find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

bool ArquivoMFD(const char* /*origem*/, const char* inicial, const char* final, const char* tipo, const char* usuario,
                int geracao, const char* chavePublica, const char* chavePrivada, int arquivoUnico) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "ArquivoMFD") || !UsuarioDaImpressora(usuario) || arquivoUnico != 1 ||
      !ChaveEmBranco(chavePublica) || !ChaveEmBranco(chavePrivada))
    return false;
  if (RespondeSemArquivo(c, "ArquivoMFD")) return true;
  return GravaArquivoMFD(c, inicial, final, tipo, usuario, geracao);
}

bool ArquivoMF(const char* inicial, const char* final, const char* tipo, const char* usuario) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "ArquivoMF") || !UsuarioDaImpressora(usuario)) return false;
  return GravaArquivoMF(c, inicial, final, tipo, usuario);
}

bool LeituraMemoriaFiscalData(const char* inicio, const char* fim, bool paraArquivo, const char* tipo) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "LeituraMemoriaFiscalData")) return false;
  const std::string leitura = TextoLeituraMemoriaFiscal(c, "DATA", inicio, fim, tipo);
  return paraArquivo ? GravaRetorno(c, leitura) : Imprime(c, "\x01" "LEITURA\r\n" + leitura);
}

bool LeituraMemoriaFiscalReducao(const char* inicio, const char* fim, bool paraArquivo, const char* tipo) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "LeituraMemoriaFiscalReducao")) return false;
  const std::string leitura = TextoLeituraMemoriaFiscal(c, "REDUCAO", inicio, fim, tipo);
  return paraArquivo ? GravaRetorno(c, leitura) : Imprime(c, "\x01" "LEITURA\r\n" + leitura);
}

bool NumeroCaixa(char* numero) {
  if (!numero) return false;
  std::memset(numero, 0, kTamanhoNumeroCaixa);
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "NumeroCaixa")) return false;
  Responde(numero, kTamanhoNumeroCaixa, c.numeroCaixa);
  return true;
}

// The three answers are short texts; the callers' buffers hold at least 20.
bool VerificaInformacoesSB(char* versao, char* data, char* hora) {
  if (!versao || !data || !hora) return false;
  std::memset(versao, 0, 20);
  std::memset(data, 0, 20);
  std::memset(hora, 0, 20);
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "VerificaInformacoesSB")) return false;
  Responde(versao, 20, c.versaoSB);
  Responde(data, 20, c.dataSB);
  Responde(hora, 20, c.horaSB);
  return true;
}

bool BuscaIndiceRelatorioGerencial(const std::string& titulo, unsigned char& indice) {
  indice = 255;
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "BuscaIndiceRelatorioGerencial")) return false;
  for (size_t i = 0; i < c.relatorios.size() && i < 254; ++i)
    if (c.relatorios[i] == titulo) {
      indice = static_cast<unsigned char>(i + 1);
      return true;
    }
  return true;  // the search worked; the index says there is no such report
}

bool AbreRelatorioGerencial(unsigned char indice) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "AbreRelatorioGerencial") || g_relatorioAberto != 0) return false;
  if (indice == 0 || indice > c.relatorios.size()) return false;
  if (!Imprime(c, "\x01" "ABRE " + std::to_string(indice) + " " + c.relatorios[indice - 1] + "\r\n")) return false;
  g_relatorioAberto = indice;
  PecasRelatorio().clear();
  return true;
}

bool RelatorioGerencial(char* texto) {
  const auto c = LeConfiguracao();
  if (!OperacaoDisponivel(c, "RelatorioGerencial") || g_relatorioAberto == 0 || !texto) return false;
  if (!Imprime(c, texto)) return false;
  PecasRelatorio().push_back(texto);
  return true;
}

bool FechaRelatorioGerencial() {
  const auto c = LeConfiguracao();
  if (g_relatorioAberto == 0) return false;
  if (!OperacaoDisponivel(c, "FechaRelatorioGerencial")) return false;
  g_relatorioAberto = 0;
  return Imprime(c, "\x01" "FECHA\r\n");
}

// The time is how long a desktop host keeps the notice up, in milliseconds;
// the scripted host only records the notice.
void ExibeMensagem(const std::string& texto, unsigned short /*tempo*/) {
  ui::CaixaMensagem(texto, "Torvo ECF", ui::MB_OK | ui::MB_ICONINFORMATION);
}

bool TravarTeclado(bool travar) {
  AnotaTeclado(travar);
  return true;
}

}  // namespace qmx::impressora
