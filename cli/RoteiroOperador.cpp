#include "cli/RoteiroOperador.h"

#include <strings.h>

#include <cstdio>
#include <set>
#include <sstream>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"

namespace qmx::cli {
namespace {

// A script's steps without their first "dialogo" line (the steps then
// continue the dialog already opened).
std::string SemAberturaDeDialogo(const std::string& roteiro) {
  if (roteiro.rfind("dialogo ", 0) != 0) return roteiro;
  const auto fim = roteiro.find('\n');
  return fim == std::string::npos ? std::string() : roteiro.substr(fim + 1);
}

// A date typed into a dialog's date edit: day, month and year with slashes
// (the year of two or four digits, as the edit takes it), a day the
// calendar has. Anything else the edit would read as no date at all.
void ConfereDataDigitada(const std::string& opcao, const std::string& texto) {
  int dia = 0, mes = 0, ano = 0, lidos = 0;
  const bool forma = std::sscanf(texto.c_str(), "%2d/%2d/%4d%n", &dia, &mes, &ano, &lidos) == 3 &&
                     static_cast<std::size_t>(lidos) == texto.size() && texto.find_first_of(" +-") == std::string::npos;
  const std::size_t digitosAno = forma ? texto.size() - texto.rfind('/') - 1 : 0;
  if (!forma || (digitosAno != 2 && digitosAno != 4))
    throw ErroUso("--" + opcao + ": \"" + texto + "\" não é uma data DD/MM/AAAA");
  // A two-digit year as the edit reads it, in the hundred years of today.
  if (digitosAno == 2) ano = static_cast<int>(LeAnoDoisDigitos(static_cast<unsigned>(ano)));
  if (mes < 1 || mes > 12 || dia < 1 || static_cast<unsigned>(dia) > DiasDoMes(static_cast<unsigned>(mes), static_cast<unsigned>(ano)))
    throw ErroUso("--" + opcao + ": " + texto + " não é um dia do calendário");
}

}  // namespace

std::string RoteiroDasOpcoes(const Opcoes& opcoes) {
  std::ostringstream roteiro;
  bool temDialogo = false;
  const auto garanteDialogo = [&] {
    if (!temDialogo) roteiro << "dialogo *\n";
    temDialogo = true;
  };
  for (const auto& [nome, valor] : opcoes.EmOrdem()) {
    const auto igual = valor.find('=');
    if (nome == "dialogo") {
      roteiro << "dialogo " << (valor.empty() ? "*" : std::to_string(LeNumero(valor, 1, 65535, "--dialogo"))) << "\n";
      temDialogo = true;
    } else if (nome == "digita") {
      if (igual == std::string::npos) throw ErroUso("--digita espera ID=TEXTO");
      garanteDialogo();
      roteiro << "digita " << LeNumero(valor.substr(0, igual), 1, 65535, "--digita") << " " << valor.substr(igual + 1)
              << "\n";
    } else if (nome == "clica") {
      garanteDialogo();
      roteiro << "clica " << LeNumero(valor, 1, 65535, "--clica") << "\n";
    } else if (nome == "seleciona") {
      if (igual == std::string::npos) throw ErroUso("--seleciona espera ID=N");
      garanteDialogo();
      roteiro << "seleciona " << LeNumero(valor.substr(0, igual), 1, 65535, "--seleciona") << " "
              << LeNumero(valor.substr(igual + 1), 0, 100000, "--seleciona") << "\n";
    } else if (nome == "ok" || nome == "cancela") {
      garanteDialogo();
      roteiro << "clica " << (nome == "ok" ? 1 : 2) << "\n";
    } else if (nome == "resposta") {
      roteiro << "resposta " << valor << "\n";
    }
  }
  return roteiro.str();
}

std::string RoteiroDosCampos(const Comando& comando, const Opcoes& opcoes) {
  const CamposDialogo& c = comando.campos;
  if (c.idModelo == 0) return {};
  std::ostringstream roteiro;
  bool preenchido = false;
  // Choices first: a radio button enables the edits that belong to it.
  for (const auto& escolha : c.escolhas) {
    const auto valor = opcoes.Texto(escolha.nome);
    if (!valor) continue;
    int botao = 0;
    std::string aceitos;
    for (const auto& [nome, id] : escolha.valores) {
      if (strcasecmp(nome.c_str(), valor->c_str()) == 0) botao = id;
      aceitos += (aceitos.empty() ? "" : ", ") + nome;
    }
    if (botao == 0) throw ErroUso("--" + escolha.nome + " aceita " + aceitos);
    roteiro << "clica " << botao << "\n";
    preenchido = true;
  }
  std::set<int> radiosClicados;
  const auto clicaRadio = [&](int radio) {
    if (radio != 0 && radiosClicados.insert(radio).second) roteiro << "clica " << radio << "\n";
  };
  const auto campo = [&](const char* opcao, int id) {
    const auto valor = opcoes.Texto(opcao);
    if (!valor) return;
    if (id == 0) throw ErroUso("este diálogo não tem o campo --" + std::string(opcao));
    if (std::string(opcao).rfind("data-", 0) == 0) ConfereDataDigitada(opcao, *valor);
    clicaRadio(c.radioPeriodo);
    roteiro << "digita " << id << " " << *valor << "\n";
    preenchido = true;
  };
  campo("filial", c.filial);
  // As the operator does: Tab out of the branch, which enables its ECF edit.
  if (opcoes.Texto("filial") && opcoes.Texto("ecf")) roteiro << "tab\n";
  campo("ecf", c.ecf);
  campo("data-inicial", c.dataInicial);
  campo("data-final", c.dataFinal);
  for (const auto& [nome, id] : c.listas) {
    const auto valor = opcoes.Texto(nome);
    if (!valor) continue;
    roteiro << "seleciona " << id << " " << LeNumero(*valor, 1, 100, ("--" + nome).c_str()) - 1 << "\n";
    preenchido = true;
  }
  for (const auto& edicao : c.edicoes) {
    const auto valor = opcoes.Texto(edicao.opcao);
    if (!valor) continue;
    if (edicao.valor.rfind("DD/MM/", 0) == 0) ConfereDataDigitada(edicao.opcao, *valor);
    clicaRadio(edicao.radio);
    roteiro << "digita " << edicao.controle << " " << *valor << "\n";
    preenchido = true;
  }
  for (const auto& adicao : c.adicoes)
    for (const auto& valor : opcoes.Todos(adicao.opcao)) {
      roteiro << "digita " << adicao.edicao << " " << valor << "\nclica " << adicao.botao << "\n";
      preenchido = true;
    }
  for (const auto& [nome, id] : c.cliques) {
    if (!opcoes.Tem(nome)) continue;
    roteiro << "clica " << id << "\n";
    preenchido = true;
  }
  for (const auto& opcao : opcoes.Todos("opcao")) {
    roteiro << "clica " << LeNumero(opcao, 1, 65535, "--opcao") << "\n";
    preenchido = true;
  }
  if (!preenchido) return {};
  const bool fecha = opcoes.Tem("ok") || opcoes.Tem("cancela");
  return "dialogo " + std::to_string(c.idModelo) + "\n" + roteiro.str() + (fecha ? "" : "clica 1\n");
}

std::string RoteiroDoComando(const Comando& comando, const Opcoes& respostas) {
  const std::string campos = RoteiroDosCampos(comando, respostas);
  const std::string genericas = RoteiroDasOpcoes(respostas);
  return campos + (campos.empty() ? genericas : SemAberturaDeDialogo(genericas));
}

std::vector<std::string> SemRespostas(const std::vector<std::string>& argumentos, const Comando& comando,
                                      bool& tinhaRespostas) {
  const CamposDialogo& campos = comando.campos;
  std::set<std::string> comValor = {"dialogo", "digita", "clica", "seleciona", "resposta"};
  std::set<std::string> flags = {"ok", "cancela"};
  // A filter dialog takes the four usual fields as answers even where it
  // lacks one, so that the answer is refused naming the missing field.
  if (campos.idModelo != 0) comValor.insert({"filial", "ecf", "data-inicial", "data-final"});
  for (const auto& opcao : OpcoesDoDialogo(campos)) (opcao.valor.empty() ? flags : comValor).insert(opcao.nome);
  // The command's own options stay its own even where they also fill its
  // dialog (movimentos takes them as the export's arguments with
  // --automatico).
  for (const auto& opcao : comando.opcoes) {
    comValor.erase(opcao.nome);
    flags.erase(opcao.nome);
  }
  std::vector<std::string> restantes;
  tinhaRespostas = false;
  for (size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    const std::string nome = a.rfind("--", 0) == 0 ? a.substr(2, a.find('=') - 2) : std::string();
    const bool resposta = !nome.empty() && (comValor.count(nome) || (flags.count(nome) && a.find('=') == std::string::npos));
    // "--nome valor" takes the next argument with it; "--nome=valor" does not.
    if (resposta && comValor.count(nome) && a.find('=') == std::string::npos) ++i;
    if (resposta) tinhaRespostas = true;
    else restantes.push_back(a);
  }
  return restantes;
}

}  // namespace qmx::cli
