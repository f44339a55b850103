#include "plataforma/impressora/ArquivosMemoria.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::impressora {

const char* const NomeArquivoRetorno = "Retorno.txt";

namespace {

// Lines of COO listed at most in one answer, so that a huge range cannot
// fill the disk.
constexpr long kMaximoLinhas = 100000;

std::string Texto(const char* texto) { return texto ? texto : ""; }

// Writes the whole file beside its final place and renames it over, so that
// a reader never sees half of it.
bool GravaInteiro(const std::filesystem::path& destino, const std::string& conteudo) {
  std::error_code erro;
  if (destino.has_parent_path()) std::filesystem::create_directories(destino.parent_path(), erro);
  const auto temporario = destino.string() + ".tmp" + std::to_string(getpid());
  {
    std::ofstream saida(temporario, std::ios::binary | std::ios::trunc);
    saida << conteudo;
    saida.flush();
    if (!saida) {
      std::filesystem::remove(temporario, erro);
      return false;
    }
  }
  std::filesystem::rename(temporario, destino, erro);
  if (erro) std::filesystem::remove(temporario, erro);
  return !erro;
}

long LeCOO(const char* texto, long padrao) {
  if (!texto || !*texto) return padrao;
  char* fim = nullptr;
  const long valor = std::strtol(texto, &fim, 10);
  return (fim && *fim == '\0' && valor >= 0) ? valor : padrao;
}

std::string Linha(const char* formato, const std::string& a, const std::string& b = {}, const std::string& c = {}) {
  char linha[512];
  std::snprintf(linha, sizeof linha, formato, a.c_str(), b.c_str(), c.c_str());
  return linha;
}

}  // namespace

std::string TextoLeituraMemoriaFiscal(const ConfiguracaoImpressora& c, const char* modo, const char* inicio,
                                      const char* fim, const char* tipo) {
  const std::string leitura = Texto(tipo) == "s" ? "SIMPLIFICADA" : "COMPLETA";
  std::string texto = Linha("LEITURA DA MEMORIA FISCAL %s\r\n", leitura);
  texto += Linha("ECF: %s CAIXA: %s MODELO: %s\r\n", c.numeroSerie, c.numeroCaixa, c.modelo);
  texto += Linha("INTERVALO POR %s: %s A %s\r\n", modo, Texto(inicio), Texto(fim));
  texto += "FIM DA LEITURA\r\n";
  return texto;
}

bool GravaRetorno(const ConfiguracaoImpressora& c, const std::string& conteudo) {
  return GravaInteiro(std::filesystem::path(c.pastaRetorno) / NomeArquivoRetorno, conteudo);
}

bool GravaImagemMFD(const ConfiguracaoImpressora& c, const char* arquivo, const char* tipo, const char* inicial,
                    const char* final, const char* usuario) {
  const std::string t = Texto(tipo);
  if (t != "0" && t != "1" && t != "2") return false;
  long primeiro = c.cooInicial, ultimo = c.cooFinal;
  if (t == "2") {
    primeiro = std::max(LeCOO(inicial, c.cooInicial), c.cooInicial);
    ultimo = std::min(LeCOO(final, c.cooFinal), c.cooFinal);
  }
  std::ostringstream imagem;
  imagem << "MFD " << c.numeroSerie << "\r\n"
         << "TIPO " << t << " INICIAL " << Texto(inicial) << " FINAL " << Texto(final) << " USUARIO "
         << Texto(usuario) << "\r\n";
  for (long coo = primeiro; coo <= ultimo && coo - primeiro < kMaximoLinhas; ++coo) {
    char linha[32];
    std::snprintf(linha, sizeof linha, "COO %06ld\r\n", coo);
    imagem << linha;
  }
  return GravaInteiro(texto::CaminhoNativo(arquivo), imagem.str());
}

bool GravaEspelhoMFD(const ConfiguracaoImpressora& c, const char* origem, const char* destino, const char* formato,
                     const char* tipo, const char* inicial, const char* final, const char* usuario) {
  if (Texto(formato) != "0") return false;
  std::ifstream entrada(texto::CaminhoNativo(Texto(origem)), std::ios::binary);
  if (!entrada) return false;
  std::stringstream imagem;
  imagem << entrada.rdbuf();
  std::string espelho = Linha("ESPELHO DA MFD %s\r\n", c.numeroSerie);
  espelho += Linha("TIPO %s INICIAL %s FINAL %s\r\n", Texto(tipo), Texto(inicial), Texto(final));
  espelho += Linha("USUARIO %s\r\n", Texto(usuario));
  espelho += imagem.str();
  return GravaInteiro(texto::CaminhoNativo(Texto(destino)), espelho);
}

// The file lies in the answer folder under the serial number (left-aligned
// in 20 characters) and the range; the second generation drops every "0"
// of that name, as its readers expect.
bool GravaArquivoMFD(const ConfiguracaoImpressora& c, const char* inicial, const char* final, const char* tipo,
                     const char* usuario, int geracao) {
  char nome[512];
  std::snprintf(nome, sizeof nome, "%-20s_%s_%s.txt", c.numeroSerie.c_str(), Texto(inicial).c_str(),
                Texto(final).c_str());
  std::string nomeArquivo = nome;
  if (geracao == 1) std::erase(nomeArquivo, '0');
  std::string conteudo = Linha("E01%-20s%-20s", c.numeroSerie, c.modelo) + "\r\n";
  conteudo += Linha("E02TIPO %s INICIAL %s FINAL %s", Texto(tipo), Texto(inicial), Texto(final)) +
              Linha(" USUARIO %s\r\n", Texto(usuario));
  return GravaInteiro(std::filesystem::path(c.pastaRetorno) / texto::ParaUtf8(texto::NomeArquivoSeguro(nomeArquivo)),
                      conteudo);
}

}  // namespace qmx::impressora
