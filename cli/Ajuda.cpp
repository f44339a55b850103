#include "cli/Ajuda.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "cli/Comandos.h"
#include "plataforma/ui/ModeloDialogo.h"
#include "plataforma/ui/ModuloRecursos.h"

namespace qmx::cli {
namespace {

constexpr const char* kSaidas =
    "Saída: 0 quando a exportação respondeu verdadeiro; 1 quando respondeu falso, quando o diálogo\n"
    "foi cancelado (última linha \"cancelado\") ou quando o trabalho falhou e a biblioteca mostrou\n"
    "um erro (última linha \"falhou\"); 2 erro de uso (também uma resposta do operador que o diálogo\n"
    "não aceita); 3 a biblioteca não pôde ser carregada.\n";
// The commands of qmx's own, which call no export.
constexpr const char* kSaidasProprias = "Saída: 0 quando o comando deu certo; 1 quando não; 2 erro de uso.\n";

std::string Coluna(std::string texto, std::size_t largura) {
  if (texto.size() < largura) texto.resize(largura, ' ');
  else texto += "  ";
  return texto;
}

// The library's own templates, whichever module is current.
const qmx::ui::ModeloDialogo* Modelo(int id) { return qmx::ui::ModuloBiblioteca().Modelo(id); }

// A control's label: its own text (buttons), else the static text that
// ends nearest before it on the same row.
std::string Rotulo(const qmx::ui::ModeloDialogo& modelo, const qmx::ui::ModeloControle& controle) {
  if (!controle.texto.empty()) return controle.texto;
  const qmx::ui::ModeloControle* melhor = nullptr;
  for (const auto& outro : modelo.controles) {
    if (outro.classe != "Static" || outro.id != -1 || outro.texto.empty()) continue;
    const auto& r = outro.retangulo;
    if (std::abs(r.y - controle.retangulo.y) > 4 || r.x >= controle.retangulo.x) continue;
    if (!melhor || r.x > melhor->retangulo.x) melhor = &outro;
  }
  if (!melhor) return "";
  std::string texto = melhor->texto;
  if (!texto.empty() && texto.back() == ':') texto.pop_back();
  return texto;
}

std::string RotuloDoCampo(int idModelo, int idControle) {
  const auto* modelo = Modelo(idModelo);
  const auto* controle = modelo ? modelo->Controle(idControle) : nullptr;
  return controle ? Rotulo(*modelo, *controle) : "";
}

}  // namespace

std::string AjudaGeral() {
  std::ostringstream texto;
  texto << "uso: qmx [opções gerais] COMANDO [opções do comando]\n"
        << "     qmx COMANDO --help   o que o comando aceita\n\n"
        << "Opções gerais:\n"
        << "  --empresa CHAVE      chave da empresa (QMX_Inicializa)\n"
        << "  --usuario N          código do usuário, 0 a 65535\n"
        << "  --contexto N         código de contexto\n"
        << "  --registro ARQUIVO   arquivo de registro (senão QMX_REGISTRO ou /etc/qmxutil/registro.ini)\n"
        << "  --biblioteca ARQ     a biblioteca a carregar (senão a que está ao lado do programa)\n"
        << "  --roteiro ARQUIVO    roteiro completo do operador para os diálogos\n"
        << "  --janelas            diálogos em janelas de verdade (Qt), preenchidos pelo operador\n"
        << "  --version            a versão\n"
        << "  --help               esta ajuda\n\n"
        << "Respostas do operador (comandos que abrem diálogos; valem na ordem dada):\n"
        << "  --dialogo ID         as próximas respostas são do diálogo de modelo ID\n"
        << "  --digita ID=TEXTO    digita um texto no controle ID\n"
        << "  --clica ID           clica o botão ID\n"
        << "  --seleciona ID=N     escolhe a linha N de uma lista\n"
        << "  --ok | --cancela     clica OK | Cancelar\n"
        << "  --resposta R         resposta da próxima caixa de mensagem (ok, cancelar, sim, nao ou número)\n\n"
        << "Comandos:\n";
  for (const auto& comando : Comandos()) {
    texto << "  " << Coluna(comando.nome, 20) << comando.ajuda;
    if (!comando.exportacao.empty()) texto << " [" << comando.exportacao << "]";
    texto << "\n";
  }
  texto << "\n" << kSaidas;
  return texto.str();
}

std::string AjudaDoComando(const Comando& comando) {
  std::ostringstream texto;
  texto << "uso: qmx [opções gerais] " << comando.nome;
  if (!comando.argumentos.empty()) texto << " " << comando.argumentos;
  const auto opcoes = OpcoesDoComando(comando);
  if (!opcoes.empty()) texto << " [opções]";
  if (comando.abreDialogo) texto << " [respostas do operador]";
  texto << "\n\n" << comando.ajuda;
  if (!comando.exportacao.empty()) texto << " [" << comando.exportacao << "]";
  texto << "\n";
  if (!opcoes.empty()) {
    texto << "\nOpções:\n";
    for (const auto& opcao : opcoes) {
      std::string ajuda = opcao.ajuda;
      if (ajuda.empty()) ajuda = RotuloDoCampo(comando.campos.idModelo, opcao.controle);
      if (opcao.controle)
        ajuda += (ajuda.empty() ? "" : " ") + std::string("(controle ") + std::to_string(opcao.controle) + ")";
      texto << "  " << Coluna("--" + opcao.nome + (opcao.valor.empty() ? "" : " " + opcao.valor), 28) << ajuda << "\n";
    }
  }
  if (const auto* modelo = Modelo(comando.campos.idModelo)) {
    texto << "\nControles do diálogo " << modelo->id << " \"" << modelo->titulo << "\":\n";
    for (const auto& controle : modelo->controles) {
      if (controle.id <= 0) continue;
      texto << "  " << Coluna(std::to_string(controle.id), 8) << Coluna(controle.classe, 16) << Rotulo(*modelo, controle)
            << "\n";
    }
  }
  if (comando.abreDialogo)
    texto << "\nRespostas do operador: --dialogo, --digita, --clica, --seleciona, --ok, --cancela, --resposta\n"
          << "(qmx --help).\n";
  texto << "\n" << (comando.exportacao.empty() ? kSaidasProprias : kSaidas);
  return texto.str();
}

}  // namespace qmx::cli
