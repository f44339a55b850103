#include "cli/Validar.h"

#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "arquivos/ValidacaoArquivo.h"
#include "cli/Comandos.h"
#include "cli/VerificacaoEAD.h"

namespace qmx::cli {
namespace {

using validacao::Gravidade;
using validacao::Problema;
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

const char* NomeEAD(ResultadoVerificacao ead) {
  switch (ead) {
    case ResultadoVerificacao::Valida: return "valida";
    case ResultadoVerificacao::Invalida: return "invalida";
    case ResultadoVerificacao::SemLinhaEAD: return "ausente";
    case ResultadoVerificacao::Ilegivel: break;
  }
  return "ilegivel";
}

struct Resultado {
  std::string caminho;
  bool legivel = false;
  Validacao validacao;
  ResultadoVerificacao ead = ResultadoVerificacao::Ilegivel;
};

// The file's content checked, then its signature: a signature that does
// not hold is an error; a missing one too, but for the SPED extract (an
// extract for the back office, which the library does not sign).
Resultado Valida(const std::string& caminho) {
  Resultado r;
  r.caminho = caminho;
  std::ifstream arquivo(caminho, std::ios::binary);
  if (!arquivo) return r;
  r.legivel = true;
  std::stringstream conteudo;
  conteudo << arquivo.rdbuf();
  r.validacao = validacao::ValidaConteudo(conteudo.str());
  r.ead = VerificaArquivo(caminho);
  auto& problemas = r.validacao.problemas;
  if (r.ead == ResultadoVerificacao::Invalida)
    problemas.insert(problemas.begin(), {0, "EAD", "ead", "a assinatura EAD não confere com a chave pública", Gravidade::Erro});
  else if (r.ead != ResultadoVerificacao::Valida)
    problemas.insert(problemas.begin(), {0, "EAD", "ead", "o arquivo não termina numa linha EAD",
                                         r.validacao.tipo == TipoArquivo::EFD ? Gravidade::Aviso : Gravidade::Erro});
  return r;
}

bool Valido(const Resultado& r) { return r.legivel && r.validacao.Valido(); }

void MostraTexto(std::ostream& saida, const Resultado& r) {
  const std::string nome = DoTerminal(r.caminho);
  if (!r.legivel) {
    saida << nome << ": não foi possível ler o arquivo\n";
    return;
  }
  const Validacao& v = r.validacao;
  const std::size_t erros = v.Erros(), avisos = v.problemas.size() - erros;
  saida << nome << ": " << validacao::NomeTipo(v.tipo) << ", " << v.linhas << " linhas: "
        << (Valido(r) ? "válido" : "inválido");
  if (erros) saida << ", " << erros << (erros == 1 ? " erro" : " erros");
  if (avisos) saida << ", " << avisos << (avisos == 1 ? " aviso" : " avisos");
  saida << "\n";
  for (const Problema& p : v.problemas) {
    saida << "  " << (p.gravidade == Gravidade::Aviso ? "aviso: " : "");
    if (p.linha) saida << "linha " << p.linha << ", ";
    if (!p.registro.empty()) saida << "registro " << p.registro << ": ";
    saida << p.mensagem << " [" << p.regra << "]\n";
  }
}

void MostraJson(std::ostream& saida, const std::vector<Resultado>& resultados) {
  saida << "[";
  for (std::size_t i = 0; i < resultados.size(); ++i) {
    const Resultado& r = resultados[i];
    saida << (i ? ",\n " : "") << "{\"arquivo\": " << Json(DoTerminal(r.caminho)) << ", \"legivel\": "
          << (r.legivel ? "true" : "false") << ", \"tipo\": " << Json(validacao::NomeTipo(r.validacao.tipo))
          << ", \"linhas\": " << r.validacao.linhas << ", \"ead\": \"" << NomeEAD(r.ead)
          << "\", \"valido\": " << (Valido(r) ? "true" : "false") << ", \"problemas\": [";
    for (std::size_t j = 0; j < r.validacao.problemas.size(); ++j) {
      const Problema& p = r.validacao.problemas[j];
      saida << (j ? ", " : "") << "{\"linha\": " << p.linha << ", \"registro\": " << Json(p.registro)
            << ", \"regra\": " << Json(p.regra) << ", \"gravidade\": \""
            << (p.gravidade == Gravidade::Erro ? "erro" : "aviso") << "\", \"mensagem\": " << Json(p.mensagem) << "}";
    }
    saida << "]}";
  }
  saida << "]\n";
}

}  // namespace

bool MostraValidacao(std::ostream& saida, const std::string& caminho, const std::string& recuo) {
  const Resultado r = Valida(caminho);
  if (!r.legivel) {
    saida << recuo << "não foi possível ler o arquivo\n";
    return false;
  }
  const Validacao& v = r.validacao;
  const std::size_t erros = v.Erros(), avisos = v.problemas.size() - erros;
  saida << recuo << "leiaute: " << validacao::NomeTipo(v.tipo) << ", " << v.linhas << " linhas: "
        << (Valido(r) ? "válido" : "INVÁLIDO");
  if (erros) saida << ", " << erros << (erros == 1 ? " erro" : " erros");
  if (avisos) saida << ", " << avisos << (avisos == 1 ? " aviso" : " avisos");
  saida << "\n";
  std::size_t mostrados = 0;
  for (const Problema& p : v.problemas) {
    if (p.gravidade != Gravidade::Erro || ++mostrados > 10) continue;
    saida << recuo << "  ";
    if (p.linha) saida << "linha " << p.linha << ", ";
    if (!p.registro.empty()) saida << "registro " << p.registro << ": ";
    saida << p.mensagem << " [" << p.regra << "]\n";
  }
  return Valido(r);
}

bool ExecutaValidar(Ambiente& a) {
  const auto& arquivos = a.opcoes.Posicionais();
  if (arquivos.empty()) throw ErroUso("falta o arquivo a validar");
  std::vector<Resultado> resultados;
  bool todos = true;
  for (const std::string& caminho : arquivos) {
    resultados.push_back(Valida(caminho));
    todos = Valido(resultados.back()) && todos;
  }
  if (a.opcoes.Tem("json")) {
    MostraJson(a.saida, resultados);
  } else {
    for (const Resultado& r : resultados) MostraTexto(a.saida, r);
  }
  return todos;
}

}  // namespace qmx::cli
