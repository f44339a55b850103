#include "plataforma/impressora/ArquivosMemoria.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/impressora/ArquivoAtoCotepe.h"
#include "plataforma/impressora/MemoriaEmulada.h"
#include "plataforma/impressora/SaidaRetorno.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::impressora {

const char* const NomeArquivoRetorno = "Retorno.txt";

namespace {

std::string Texto(const char* texto) { return texto ? texto : ""; }

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

std::string DataTexto(NumeroDia dia) { return TextoData(dia, true); }

std::string HoraTexto(std::int32_t hhmmss) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%02d:%02d:%02d", hhmmss / 10000 % 100, hhmmss / 100 % 100, hhmmss % 100);
  return texto;
}

// An amount held times 10 000, with two decimals after a comma.
std::string Valor(std::int64_t valor4) {
  const std::int64_t centavos = valor4 / 100;
  const std::int64_t absoluto = centavos < 0 ? -centavos : centavos;
  char texto[32];
  std::snprintf(texto, sizeof texto, "%s%lld,%02lld", centavos < 0 ? "-" : "", static_cast<long long>(absoluto / 100),
                static_cast<long long>(absoluto % 100));
  return texto;
}

// The documents of the range in the order the detail memory holds them:
// day by day, by COO (cupons with their items and payments, Z reductions,
// the other documents of the log).
void EscreveDocumentosMFD(CMemoriaEmulada& memoria, const CMemoriaEmulada::Faixa& faixa, CSaidaRetorno& saida) {
  NumeroDia inicial = 0, final = 0;
  if (!memoria.Dias(faixa, &inicial, &final)) return;
  for (NumeroDia dia = inicial; dia <= final; ++dia) {
    const CMemoriaEmulada::Faixa doDia{false, static_cast<std::uint32_t>(dia), static_cast<std::uint32_t>(dia)};
    std::vector<std::pair<std::uint32_t, std::string>> documentos;
    memoria.PercorreCupons(doDia, [&](const REG_EC_CXPS& c, const auto& itens, const auto& pagamentos) {
      if (!CMemoriaEmulada::NaFaixa(faixa, c.COO)) return;
      char cabeca[96];
      std::snprintf(cabeca, sizeof cabeca, "COO %06u CCF %06u CUPOM FISCAL %s %s\r\n", c.COO, c.CCF,
                    DataTexto(c.Data).c_str(), HoraTexto(c.Hora).c_str());
      std::string texto = cabeca;
      for (const auto& i : itens) {
        char linha[256];
        std::snprintf(linha, sizeof linha, "  %03u %-14u %-40.40s %s X %s = %s %s%s\r\n", i.Item, i.Codigo,
                      i.Descricao, Valor(i.Quantidade.int64 * 100).c_str(), Valor(i.ValorUnitario.int64).c_str(),
                      Valor(i.ValorTotal.int64).c_str(), memoria.Totalizador(i).c_str(),
                      i.Cancelado ? " CANCELADO" : "");
        texto += linha;
      }
      texto += "  TOTAL " + Valor(c.Total.int64) + (c.Cancelado ? " CANCELADO" : "") + "\r\n";
      for (const auto& p : pagamentos) texto += "  " + memoria.NomeForma(p.Forma) + " " + Valor(p.Valor.int64) + "\r\n";
      documentos.emplace_back(c.COO, std::move(texto));
    });
    memoria.PercorreDocumentos(doDia, [&](const REG_DOCUMENTO_ECFPS& d) {
      if (!CMemoriaEmulada::NaFaixa(faixa, d.COO)) return;
      char linha[96];
      std::snprintf(linha, sizeof linha, "COO %06u DOCUMENTO %u %s %s\r\n", d.COO, d.Tipo, DataTexto(d.Data).c_str(),
                    HoraTexto(d.Hora).c_str());
      documentos.emplace_back(d.COO, linha);
    });
    for (const auto& z : memoria.Reducoes(false, dia, dia)) {
      if (!CMemoriaEmulada::NaFaixa(faixa, z.COOFinal)) continue;
      char linha[96];
      std::snprintf(linha, sizeof linha, "COO %06u REDUCAO Z CRZ %04u %s\r\n", z.COOFinal, z.CRZ,
                    DataTexto(z.DataEmissao).c_str());
      documentos.emplace_back(z.COOFinal, linha);
    }
    std::stable_sort(documentos.begin(), documentos.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [coo, texto] : documentos) saida.Escreve(texto);
  }
}

}  // namespace

std::string TextoLeituraMemoriaFiscal(const ConfiguracaoImpressora& c, const char* modo, const char* inicio,
                                      const char* fim, const char* tipo) {
  const bool completa = Texto(tipo) != "s";
  std::string texto = Linha("LEITURA DA MEMORIA FISCAL %s\r\n", completa ? "COMPLETA" : "SIMPLIFICADA");
  texto += Linha("ECF: %s CAIXA: %s MODELO: %s\r\n", c.numeroSerie, c.numeroCaixa, c.modelo);
  texto += Linha("INTERVALO POR %s: %s A %s\r\n", modo, Texto(inicio), Texto(fim));
  // The reductions of the range: by movement date, or by their counter.
  CMemoriaEmulada memoria(c);
  const bool porReducao = Texto(modo) == "REDUCAO";
  const std::uint32_t primeiro = porReducao ? static_cast<std::uint32_t>(LeCOO(inicio, 0)) : DiaDoTexto(inicio);
  const std::uint32_t ultimo = porReducao ? static_cast<std::uint32_t>(LeCOO(fim, 0)) : DiaDoTexto(fim);
  const auto reducoes = memoria.Reducoes(porReducao, primeiro, ultimo);
  for (const auto& z : reducoes) {
    char linha[160];
    std::snprintf(linha, sizeof linha, "CRZ %04u CRO %03u COO %06u DATA %s VENDA BRUTA %s GT %s\r\n", z.CRZ, z.CRO,
                  z.COOFinal, DataTexto(z.Data).c_str(), Valor(z.VendaBruta.int64).c_str(),
                  Valor(z.GrandeTotal.int64).c_str());
    texto += linha;
    if (completa)
      memoria.Totalizadores(z, [&](const std::string& codigo, std::int64_t valor) {
        texto += Linha("  %-7s %s\r\n", codigo, Valor(valor));
      });
  }
  texto += "REDUCOES NO INTERVALO: " + std::to_string(reducoes.size()) + "\r\n";
  texto += "FIM DA LEITURA\r\n";
  return texto;
}

bool GravaRetorno(const ConfiguracaoImpressora& c, const std::string& conteudo) {
  CSaidaRetorno saida(std::filesystem::path(c.pastaRetorno) / NomeArquivoRetorno);
  saida.Escreve(conteudo);
  return saida.Conclui();
}

bool GravaImagemMFD(const ConfiguracaoImpressora& c, const char* arquivo, const char* tipo, const char* inicial,
                    const char* final, const char* usuario) {
  const std::string t = Texto(tipo);
  if (t != "0" && t != "1" && t != "2") return false;
  CMemoriaEmulada memoria(c);
  std::uint32_t primeiro = 0, ultimo = 0;
  memoria.FaixaCOO(&primeiro, &ultimo);
  CMemoriaEmulada::Faixa faixa{true, primeiro, ultimo};  // "0": the whole memory
  if (t == "1")
    faixa = {false, static_cast<std::uint32_t>(DiaDoTexto(inicial)), static_cast<std::uint32_t>(DiaDoTexto(final))};
  if (t == "2") faixa = {true, static_cast<std::uint32_t>(std::max(LeCOO(inicial, 1), 1L)),
                         static_cast<std::uint32_t>(LeCOO(final, 0))};
  CSaidaRetorno saida(texto::CaminhoNativo(arquivo));
  saida.Escreve("MFD " + c.numeroSerie + "\r\n");
  saida.Escreve(Linha("TIPO %s INICIAL %s FINAL %s", t, Texto(inicial), Texto(final)) +
                Linha(" USUARIO %s\r\n", Texto(usuario)));
  EscreveDocumentosMFD(memoria, faixa, saida);
  return saida.Conclui();
}

bool GravaEspelhoMFD(const ConfiguracaoImpressora& c, const char* origem, const char* destino, const char* formato,
                     const char* tipo, const char* inicial, const char* final, const char* usuario) {
  if (Texto(formato) != "0") return false;
  std::ifstream entrada(texto::CaminhoNativo(Texto(origem)), std::ios::binary);
  if (!entrada) return false;
  CSaidaRetorno espelho(texto::CaminhoNativo(Texto(destino)));
  espelho.Escreve(Linha("ESPELHO DA MFD %s\r\n", c.numeroSerie));
  espelho.Escreve(Linha("TIPO %s INICIAL %s FINAL %s\r\n", Texto(tipo), Texto(inicial), Texto(final)));
  espelho.Escreve(Linha("USUARIO %s\r\n", Texto(usuario)));
  char bloco[1 << 16];
  while (entrada.read(bloco, sizeof bloco) || entrada.gcount() > 0)
    espelho.Escreve(std::string(bloco, static_cast<std::size_t>(entrada.gcount())));
  return espelho.Conclui();
}

namespace {

// The range of a file of the memories: dates ("D") or COOs ("C").
std::optional<CMemoriaEmulada::Faixa> FaixaDoArquivo(const std::string& tipo, const char* inicial, const char* final) {
  if (tipo == "D")
    return CMemoriaEmulada::Faixa{false, static_cast<std::uint32_t>(DiaDoTexto(inicial)),
                                  static_cast<std::uint32_t>(DiaDoTexto(final))};
  if (tipo == "C")
    return CMemoriaEmulada::Faixa{true, static_cast<std::uint32_t>(LeCOO(inicial, 0)),
                                  static_cast<std::uint32_t>(LeCOO(final, 0))};
  return std::nullopt;
}

// The file lies in the answer folder under the serial number (left-aligned
// in 20 characters) and the range; the second generation drops every "0"
// of that name, as its readers expect.
std::filesystem::path CaminhoArquivoMemoria(const ConfiguracaoImpressora& c, const char* inicial, const char* final,
                                            int geracao) {
  char nome[512];
  std::snprintf(nome, sizeof nome, "%-20s_%s_%s.txt", c.numeroSerie.c_str(), Texto(inicial).c_str(),
                Texto(final).c_str());
  std::string nomeArquivo = nome;
  if (geracao == 1) std::erase(nomeArquivo, '0');
  return std::filesystem::path(c.pastaRetorno) / texto::ParaUtf8(texto::NomeArquivoSeguro(nomeArquivo));
}

}  // namespace

bool GravaArquivoMFD(const ConfiguracaoImpressora& c, const char* inicial, const char* final, const char* tipo,
                     const char* /*usuario*/, int geracao) {
  const auto faixa = FaixaDoArquivo(Texto(tipo), inicial, final);
  if (!faixa) return false;
  CMemoriaEmulada memoria(c);
  return GravaArquivoAtoCotepe(c, memoria, *faixa, CaminhoArquivoMemoria(c, inicial, final, geracao),
                               ConteudoAtoCotepe::MemoriaFitaDetalhe);
}

bool GravaArquivoMF(const ConfiguracaoImpressora& c, const char* inicial, const char* final, const char* tipo,
                    const char* /*usuario*/) {
  const auto faixa = FaixaDoArquivo(Texto(tipo), inicial, final);
  if (!faixa) return false;
  CMemoriaEmulada memoria(c);
  return GravaArquivoAtoCotepe(c, memoria, *faixa, CaminhoArquivoMemoria(c, inicial, final, 0),
                               ConteudoAtoCotepe::MemoriaFiscal);
}

}  // namespace qmx::impressora
