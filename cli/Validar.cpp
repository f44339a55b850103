#include "cli/Validar.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "arquivos/ValidacaoArquivo.h"
#include "cli/Comandos.h"
#include "cli/VerificacaoEAD.h"
#include "plataforma/cripto/ChavePublica.h"

namespace qmx::cli {
namespace {

using validacao::Gravidade;
using validacao::ResumoRegra;
using validacao::TipoArquivo;
using validacao::Validacao;

// A JSON string of a Windows-1252 text (the terminal layer makes it UTF-8).
std::string Json(const std::string& texto) {
  std::string r = "\"";
  for (char c : texto) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      r += '\\';
      r += c;
    } else if (b < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", b);
      r += escape;
    } else {
      r += c;
    }
  }
  return r + "\"";
}

const char* NomeGravidade(Gravidade g) {
  switch (g) {
    case Gravidade::Erro: return "erro";
    case Gravidade::Aviso: return "aviso";
    case Gravidade::Informacao: break;
  }
  return "info";
}

enum class EstadoEAD { NaoSeAplica, Valida, Invalida, Ausente };

const char* NomeEAD(EstadoEAD ead) {
  switch (ead) {
    case EstadoEAD::Valida: return "valida";
    case EstadoEAD::Invalida: return "invalida";
    case EstadoEAD::Ausente: return "ausente";
    case EstadoEAD::NaoSeAplica: break;
  }
  return "nao-se-aplica";
}

struct Resultado {
  std::string caminho;
  bool legivel = false;
  Validacao validacao;
  EstadoEAD ead = EstadoEAD::NaoSeAplica;
};

// A finding of the whole file (its signature) among the rules, errors
// before warnings before information.
void AcrescentaRegra(Validacao& v, Gravidade gravidade, const std::string& regra, const std::string& mensagem) {
  const auto depois = std::find_if(v.regras.begin(), v.regras.end(),
                                   [&](const ResumoRegra& r) { return gravidade < r.gravidade; });
  v.regras.insert(depois, {gravidade, regra, "EAD", mensagem, 1, {0}});
  v.problemas.insert(v.problemas.begin(), {0, "EAD", regra, mensagem, gravidade});
}

// The file read once against its layout; then its EAD line, if it has
// one, checked with the digest that reading took. Sintegra and EFD files
// are not signed; a PAF-ECF file signed with another developer's key (or
// not signed) is a warning unless the key to check it with was given.
Resultado Valida(const std::string& caminho, const std::optional<std::string>& chave) {
  Resultado r;
  r.caminho = caminho;
  r.validacao = validacao::ValidaArquivo(caminho, &r.legivel);
  if (!r.legivel) return r;
  Validacao& v = r.validacao;
  const bool assinado = validacao::AssinadoComEAD(v.tipo);
  if (v.temLinhaEAD && v.digest) {
    const auto ead = VerificaAssinatura(*v.digest, v.linhaEAD, chave ? std::string_view(*chave) : std::string_view());
    r.ead = ead == ResultadoVerificacao::Valida ? EstadoEAD::Valida : EstadoEAD::Invalida;
    if (r.ead == EstadoEAD::Valida) return r;
    if (chave)
      AcrescentaRegra(v, Gravidade::Erro, "ead", "a assinatura EAD não confere com a chave pública dada");
    else
      AcrescentaRegra(v, Gravidade::Aviso, "ead-de-outra-chave",
                      "a assinatura EAD não é da chave desta biblioteca: de outro programa (--chave a confere com a "
                      "chave pública dele), ou o arquivo mudou depois de assinado");
  } else if (assinado) {
    r.ead = EstadoEAD::Ausente;
    if (chave) AcrescentaRegra(v, Gravidade::Erro, "ead", "o arquivo não termina numa linha EAD");
    else AcrescentaRegra(v, Gravidade::Aviso, "ead-ausente", "o arquivo não termina numa linha EAD, e o PAF-ECF assina este arquivo");
  }
  return r;
}

bool Valido(const Resultado& r) { return r.legivel && r.validacao.Valido(); }

std::size_t Contagem(const Validacao& v, Gravidade g) {
  std::size_t n = 0;
  for (const ResumoRegra& r : v.regras)
    if (r.gravidade == g) n += r.vezes;
  return n;
}

// "Sintegra, 1234 linhas: válido, 2 avisos" and the like.
void Cabecalho(std::ostream& saida, const Resultado& r, bool maiusculas) {
  const Validacao& v = r.validacao;
  saida << validacao::NomeTipo(v.tipo);
  if (!v.versao.empty()) saida << " versão " << v.versao;
  saida << ", " << v.linhas << " linhas";
  if (v.linhasAssinatura) saida << " (e " << v.linhasAssinatura << " de assinatura)";
  saida << ": " << (Valido(r) ? "válido" : maiusculas ? "INVÁLIDO" : "inválido");
  const std::size_t erros = v.Erros(), avisos = v.Avisos();
  if (erros) saida << ", " << erros << (erros == 1 ? " erro" : " erros");
  if (avisos) saida << ", " << avisos << (avisos == 1 ? " aviso" : " avisos");
  if (r.ead == EstadoEAD::Valida) saida << ", EAD válida";
  saida << "\n";
}

// One line per rule: how bad, where, what, how many times and the first lines.
void Regra(std::ostream& saida, const ResumoRegra& r, const std::string& recuo) {
  saida << recuo << NomeGravidade(r.gravidade) << " [" << r.regra << "]";
  if (!r.registro.empty()) saida << " registro " << r.registro;
  saida << ": " << r.mensagem;
  std::vector<std::size_t> linhas;
  for (std::size_t l : r.linhas)
    if (l) linhas.push_back(l);
  if (r.vezes > 1 || !linhas.empty()) {
    saida << " (";
    if (r.vezes > 1) saida << r.vezes << " vezes" << (linhas.empty() ? "" : "; ");
    if (!linhas.empty()) saida << (linhas.size() == 1 ? "linha " : "linhas ");
    for (std::size_t i = 0; i < linhas.size(); ++i) saida << (i ? ", " : "") << linhas[i];
    if (r.vezes > linhas.size() && !linhas.empty()) saida << "...";
    saida << ")";
  }
  saida << "\n";
}

void MostraTexto(std::ostream& saida, const Resultado& r) {
  saida << DoTerminal(r.caminho) << ": ";
  if (!r.legivel) {
    saida << "não foi possível ler o arquivo\n";
    return;
  }
  Cabecalho(saida, r, false);
  for (const ResumoRegra& regra : r.validacao.regras) Regra(saida, regra, "  ");
}

void MostraJson(std::ostream& saida, const std::vector<Resultado>& resultados) {
  saida << "[";
  for (std::size_t i = 0; i < resultados.size(); ++i) {
    const Resultado& r = resultados[i];
    const Validacao& v = r.validacao;
    saida << (i ? ",\n " : "") << "{\"arquivo\": " << Json(DoTerminal(r.caminho))
          << ", \"legivel\": " << (r.legivel ? "true" : "false") << ", \"tipo\": " << Json(validacao::NomeTipo(v.tipo))
          << ", \"versao\": " << Json(v.versao) << ", \"linhas\": " << v.linhas
          << ", \"linhasAssinatura\": " << v.linhasAssinatura << ", \"ead\": \"" << NomeEAD(r.ead)
          << "\", \"valido\": " << (Valido(r) ? "true" : "false") << ", \"erros\": " << Contagem(v, Gravidade::Erro)
          << ", \"avisos\": " << Contagem(v, Gravidade::Aviso) << ", \"regras\": [";
    for (std::size_t j = 0; j < v.regras.size(); ++j) {
      const ResumoRegra& g = v.regras[j];
      saida << (j ? ", " : "") << "{\"gravidade\": \"" << NomeGravidade(g.gravidade) << "\", \"regra\": " << Json(g.regra)
            << ", \"registro\": " << Json(g.registro) << ", \"mensagem\": " << Json(g.mensagem)
            << ", \"vezes\": " << g.vezes << ", \"linhas\": [";
      for (std::size_t k = 0; k < g.linhas.size(); ++k) saida << (k ? ", " : "") << g.linhas[k];
      saida << "]}";
    }
    saida << "]}";
  }
  saida << "]\n";
}

// The developer's public key that --chave names, read once.
std::optional<std::string> LeChave(Ambiente& a) {
  if (!a.opcoes.Tem("chave")) return std::nullopt;
  const std::string caminho = *a.opcoes.Texto("chave");
  std::ifstream arquivo(caminho, std::ios::binary);
  std::stringstream texto;
  if (arquivo) texto << arquivo.rdbuf();
  if (!arquivo || !cripto::LeChavePublicaPEM(texto.str()))
    throw ErroUso("--chave " + DoTerminal(caminho) + " não é um arquivo de chave pública PEM (-----BEGIN PUBLIC KEY-----)");
  return texto.str();
}

}  // namespace

bool MostraValidacao(std::ostream& saida, const std::string& caminho, const std::string& recuo) {
  const Resultado r = Valida(caminho, std::nullopt);
  if (!r.legivel) {
    saida << recuo << "não foi possível ler o arquivo\n";
    return false;
  }
  saida << recuo << "leiaute: ";
  Cabecalho(saida, r, true);
  std::size_t mostradas = 0;
  for (const ResumoRegra& regra : r.validacao.regras)
    if (regra.gravidade == Gravidade::Erro && ++mostradas <= 10) Regra(saida, regra, recuo + "  ");
  return Valido(r);
}

bool ExecutaValidar(Ambiente& a) {
  const auto& arquivos = a.opcoes.Posicionais();
  if (arquivos.empty()) throw ErroUso("falta o arquivo a validar");
  const auto chave = LeChave(a);
  std::vector<Resultado> resultados;
  bool todos = true;
  for (const std::string& caminho : arquivos) {
    resultados.push_back(Valida(caminho, chave));
    todos = Valido(resultados.back()) && todos;
    if (!a.opcoes.Tem("json")) {
      MostraTexto(a.saida, resultados.back());
      resultados.pop_back();  // nothing of a file is kept once shown
    }
  }
  if (a.opcoes.Tem("json")) MostraJson(a.saida, resultados);
  return todos;
}

}  // namespace qmx::cli
