// qmx: runs the library's exports from the command line, the way the
// point-of-sale program does, with the operator's answers from options.
#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Biblioteca.h"
#include "cli/Comandos.h"
#include "cli/Opcoes.h"
#include "frame/QMXUTIL.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/processo/Sistema.h"

using namespace qmx::cli;

namespace {

namespace fs = std::filesystem;

// Exit codes.
constexpr int kVerdadeiro = 0;
constexpr int kFalso = 1;
constexpr int kErroUso = 2;
constexpr int kErroBiblioteca = 3;

void Escreve(std::ostream& destino, const std::string& cp1252) { destino << ParaTerminal(cp1252) << std::flush; }

std::string Ajuda() {
  std::ostringstream texto;
  texto << "uso: qmx [opções gerais] COMANDO [opções do comando]\n\n"
        << "Opções gerais:\n"
        << "  --empresa CHAVE      chave da empresa (QMX_Inicializa)\n"
        << "  --usuario N          código do usuário, 0 a 65535\n"
        << "  --contexto N         código de contexto\n"
        << "  --registro ARQUIVO   arquivo de registro (senão QMX_REGISTRO ou /etc/qmxutil/registro.ini)\n"
        << "  --biblioteca ARQ     a biblioteca a carregar (senão a que está ao lado do programa)\n"
        << "  --roteiro ARQUIVO    roteiro completo do operador para os diálogos\n"
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
    std::string nome = comando.nome;
    nome.resize(20, ' ');
    texto << "  " << nome << comando.ajuda;
    if (!comando.exportacao.empty()) texto << " [" << comando.exportacao << "]";
    texto << "\n";
  }
  texto << "\nSaída: 0 quando a exportação respondeu verdadeiro, 1 falso, 2 erro de uso, 3 biblioteca.\n";
  return texto.str();
}

// The operator's answers, in command-line order, as the host's script.
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

// A script's steps without their first "dialogo" line (the steps then
// continue the dialog already opened).
std::string SemAberturaDeDialogo(const std::string& roteiro) {
  if (roteiro.rfind("dialogo ", 0) != 0) return roteiro;
  const auto fim = roteiro.find('\n');
  return fim == std::string::npos ? std::string() : roteiro.substr(fim + 1);
}

// The operator's answers by name for a filter dialog: its fields, the
// choices clicked, then OK unless the answers already close the dialog.
std::string RoteiroDosCampos(const Comando& comando, const Opcoes& opcoes) {
  const CamposDialogo& c = comando.campos;
  if (c.idModelo == 0) return {};
  std::ostringstream roteiro;
  bool preenchido = false;
  const auto campo = [&](const char* opcao, int id) {
    const auto valor = opcoes.Texto(opcao);
    if (!valor) return;
    if (id == 0) throw ErroUso("este diálogo não tem o campo --" + std::string(opcao));
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
  for (const auto& [nome, id] : c.edicoes) {
    const auto valor = opcoes.Texto(nome);
    if (!valor) continue;
    roteiro << "digita " << id << " " << *valor << "\n";
    preenchido = true;
  }
  for (const auto& adicao : c.adicoes)
    for (const auto& valor : opcoes.Todos(adicao.opcao)) {
      roteiro << "digita " << adicao.edicao << " " << valor << "\nclica " << adicao.botao << "\n";
      preenchido = true;
    }
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
  for (const auto& opcao : opcoes.Todos("opcao")) {
    roteiro << "clica " << LeNumero(opcao, 1, 65535, "--opcao") << "\n";
    preenchido = true;
  }
  if (!preenchido) return {};
  const bool fecha = opcoes.Tem("ok") || opcoes.Tem("cancela");
  return "dialogo " + std::to_string(c.idModelo) + "\n" + roteiro.str() + (fecha ? "" : "clica 1\n");
}

// The options of a command without the operator's answers.
std::vector<std::string> SemRespostas(const std::vector<std::string>& argumentos, const CamposDialogo& campos,
                                      bool& tinhaRespostas) {
  std::vector<std::string> kComValor = {"dialogo", "digita", "clica", "seleciona", "resposta"};
  if (campos.idModelo != 0) kComValor.insert(kComValor.end(), {"filial", "ecf", "data-inicial", "data-final", "opcao"});
  for (const auto& lista : campos.listas) kComValor.push_back(lista.first);
  for (const auto& edicao : campos.edicoes) kComValor.push_back(edicao.first);
  for (const auto& adicao : campos.adicoes) kComValor.push_back(adicao.opcao);
  for (const auto& escolha : campos.escolhas) kComValor.push_back(escolha.nome);
  std::vector<std::string> restantes;
  tinhaRespostas = false;
  for (size_t i = 0; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    if (a == "--ok" || a == "--cancela") {
      tinhaRespostas = true;
      continue;
    }
    bool eraResposta = false;
    for (const auto& nome : kComValor) {
      if (a == "--" + nome) {
        ++i;
        eraResposta = true;
      } else if (a.rfind("--" + nome + "=", 0) == 0) {
        eraResposta = true;
      }
    }
    if (eraResposta) tinhaRespostas = true;
    else restantes.push_back(a);
  }
  return restantes;
}

// Prints what the operator saw: the record written by the library's host.
void MostraRegistro(const fs::path& arquivo) {
  std::ifstream entrada(arquivo, std::ios::binary);
  std::string linha;
  while (std::getline(entrada, linha)) {
    std::vector<std::string> campos;
    std::istringstream partes(linha);
    std::string campo;
    while (std::getline(partes, campo, '\t')) campos.push_back(campo);
    if (campos.size() >= 5 && campos[0] == "caixa")
      Escreve(std::cerr, "[caixa] " + campos[1] + ": " + campos[4] + " (resposta " + campos[3] + ")\n");
    else if (campos.size() >= 4 && campos[0] == "dialogo")
      Escreve(std::cerr, "[diálogo " + campos[1] + "] \"" + campos[2] + "\" fechado com " + campos[3] + "\n");
  }
}

int Executa(const std::vector<std::string>& argumentos, const char* argv0) {
  std::string empresa, registro, biblioteca, roteiroArquivo;
  long long usuario = 0, contexto = 0;
  size_t i = 0;
  for (; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    if (a == "--help" || a == "-h") {
      Escreve(std::cout, Ajuda());
      return kVerdadeiro;
    }
    if (a.rfind("--", 0) != 0) break;
    if (i + 1 >= argumentos.size()) throw ErroUso("a opção " + a + " precisa de um valor");
    const std::string& valor = argumentos[++i];
    if (a == "--empresa") empresa = DoTerminal(valor);
    else if (a == "--usuario") usuario = LeNumero(valor, 0, 65535, "--usuario");
    else if (a == "--contexto") contexto = LeNumero(valor, -2147483648LL, 2147483647LL, "--contexto");
    else if (a == "--registro") registro = valor;
    else if (a == "--biblioteca") biblioteca = valor;
    else if (a == "--roteiro") roteiroArquivo = valor;
    else throw ErroUso("opção geral desconhecida: " + a);
  }
  if (i >= argumentos.size()) throw ErroUso("falta o comando (qmx --help lista os comandos)");
  const Comando* comando = ProcuraComando(argumentos[i]);
  if (!comando) throw ErroUso("comando desconhecido: " + argumentos[i]);

  const std::vector<std::string> doComando(argumentos.begin() + static_cast<long>(i) + 1, argumentos.end());
  std::vector<std::string> flags = comando->flags;
  flags.insert(flags.end(), {"ok", "cancela"});
  bool tinhaRespostas = false;
  const Opcoes respostas(doComando, flags);
  const Opcoes opcoes(SemRespostas(doComando, comando->campos, tinhaRespostas), comando->flags);
  if (tinhaRespostas && !comando->abreDialogo) throw ErroUso("o comando " + comando->nome + " não abre diálogos");

  // The operator's script and the record of what was shown, in files that
  // the library's host reads and writes.
  const fs::path pastaTemporaria = fs::temp_directory_path() / ("qmx-" + std::to_string(qmx::sistema::IdProcesso()));
  fs::create_directories(pastaTemporaria);
  struct Limpa {
    fs::path pasta;
    ~Limpa() {
      std::error_code erro;
      fs::remove_all(pasta, erro);
    }
  } limpa{pastaTemporaria};
  std::string roteiro;
  if (!roteiroArquivo.empty()) {
    std::ifstream entrada(roteiroArquivo, std::ios::binary);
    if (!entrada) throw ErroUso("não foi possível ler o roteiro " + roteiroArquivo);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    roteiro = conteudo.str() + "\n";
  }
  const std::string campos = RoteiroDosCampos(*comando, respostas);
  // With answers by name the generic ones go to the same dialog.
  roteiro += campos + (campos.empty() ? RoteiroDasOpcoes(respostas) : SemAberturaDeDialogo(RoteiroDasOpcoes(respostas)));
  const fs::path arquivoRoteiro = pastaTemporaria / "roteiro.txt";
  const fs::path arquivoRegistro = pastaTemporaria / "registro-ui.txt";
  std::ofstream(arquivoRoteiro, std::ios::binary) << roteiro;
  qmx::sistema::DefineVariavel("QMX_ROTEIRO", qmx::descritores::Nome(arquivoRoteiro));
  qmx::sistema::DefineVariavel("QMX_ROTEIRO_REGISTRO", qmx::descritores::Nome(arquivoRegistro));
  if (!registro.empty()) qmx::sistema::DefineVariavel("QMX_REGISTRO", qmx::descritores::Nome(fs::absolute(registro)));

  std::unique_ptr<Biblioteca> carregada;
  try {
    carregada = std::make_unique<Biblioteca>(biblioteca.empty() ? CaminhoBibliotecaPadrao(argv0) : biblioteca);
  } catch (const std::exception& erro) {
    Escreve(std::cerr, std::string("qmx: ") + erro.what() + "\n");
    return kErroBiblioteca;
  }
  carregada->Funcao<QMX_BOOL(const char*, std::uint16_t, std::int32_t)>("QMX_Inicializa")(
      empresa.c_str(), static_cast<std::uint16_t>(usuario), static_cast<std::int32_t>(contexto));

  std::ostringstream saida;
  Ambiente ambiente{*carregada, opcoes, saida, empresa};
  bool resultado = false;
  try {
    resultado = comando->executa(ambiente);
  } catch (...) {
    Escreve(std::cout, saida.str());
    MostraRegistro(arquivoRegistro);
    throw;
  }
  Escreve(std::cout, saida.str());
  MostraRegistro(arquivoRegistro);
  carregada->Funcao<QMX_BOOL()>("QMX_Finaliza")();
  return resultado ? kVerdadeiro : kFalso;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argumentos(argv + 1, argv + argc);
  try {
    return Executa(argumentos, argv[0]);
  } catch (const ErroUso& erro) {
    Escreve(std::cerr, std::string("qmx: ") + erro.what() + "\n");
    return kErroUso;
  } catch (const std::invalid_argument& erro) {
    Escreve(std::cerr, std::string("qmx: ") + erro.what() + "\n");
    return kErroUso;
  } catch (const std::exception& erro) {
    Escreve(std::cerr, std::string("qmx: ") + erro.what() + "\n");
    return kFalso;
  }
}
