// qmx: runs the library's exports from the command line, the way the
// point-of-sale program does, with the operator's answers from options.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Ajuda.h"
#include "cli/Biblioteca.h"
#include "cli/Comandos.h"
#include "cli/Interrupcao.h"
#include "cli/Opcoes.h"
#include "cli/RegistroOperador.h"
#include "cli/RoteiroOperador.h"
#include "frame/QMXUTIL.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/texto/Windows1252.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/com/Apartamento.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/processo/Sistema.h"
#include "plataforma/ui/JanelasDoAmbiente.h"

using namespace qmx::cli;

namespace {

namespace fs = std::filesystem;

constexpr const char* kTrava = ".trava";

// Holds a run's temporary folder: answers the lock's descriptor (-1 when it
// cannot be had, and the folder is then swept like an abandoned one).
int TravaPasta(const fs::path& pasta) {
  const int fd = qmx::descritores::Abre(qmx::descritores::Nome(pasta / kTrava).c_str(),
                                        O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The temporary folders of runs that were killed ("qmx-" and the process
// number): their lock is held by nobody and they are not new.
void LimpaPastasAbandonadas(const fs::path& temporaria) {
  std::error_code erro;
  const auto agora = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(temporaria, erro), fim; !erro && it != fim; it.increment(erro)) {
    const std::string nome = it->path().filename().string();
    if (nome.size() < 5 || nome.compare(0, 4, "qmx-") != 0 ||
        nome.find_first_not_of("0123456789", 4) != std::string::npos || !it->is_directory(erro))
      continue;
    if (agora - fs::last_write_time(it->path(), erro) < std::chrono::seconds(3) || erro) continue;
    const int fd = qmx::descritores::Abre(qmx::descritores::Nome(it->path() / kTrava).c_str(), O_RDONLY | O_CLOEXEC);
    const bool livre = fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) ::close(fd);
    if (livre) fs::remove_all(it->path(), erro);
  }
}

// Exit codes.
constexpr int kVerdadeiro = 0;
constexpr int kFalso = 1;
constexpr int kErroUso = 2;
constexpr int kErroBiblioteca = 3;

void Escreve(std::ostream& destino, const std::string& cp1252) { destino << ParaTerminal(cp1252) << std::flush; }

// The registry file the library will read: --registro, else QMX_REGISTRO,
// else the machine's. A command that reads machine settings refuses to run
// without one: against nothing, every setting would read as empty.
void ExigeRegistro(const std::string& opcao) {
  const char* ambiente = std::getenv("QMX_REGISTRO");
  const std::string caminho = !opcao.empty() ? opcao : ambiente && *ambiente ? ambiente : "/etc/qmxutil/registro.ini";
  std::error_code erro;
  if (fs::is_regular_file(caminho, erro)) return;
  if (fs::is_directory(caminho, erro)) {
    const bool temArquivo = fs::is_regular_file(fs::path(caminho) / "registro.ini", erro);
    throw ErroUso(DoTerminal(caminho) + " é uma pasta: o registro é um arquivo" +
                  (temArquivo ? " (esta pasta tem " + DoTerminal((fs::path(caminho) / "registro.ini").string()) + ")"
                              : std::string(" (registro.ini)")));
  }
  throw ErroUso("o arquivo de registro " + DoTerminal(caminho) +
                " não existe (indique-o com --registro ARQUIVO ou QMX_REGISTRO; o de sempre é "
                "/etc/qmxutil/registro.ini)");
}

// Where the emulated printer of this computer writes (a path of this
// system), and how much it holds: a command that printed says where to
// read it.
struct Impressao {
  std::string arquivo;
  std::uintmax_t tamanho = 0;
};

Impressao ImpressaoAtual() {
  Impressao impressao;
  try {
    impressao.arquivo = qmx::impressora::ArquivoImpressao(qmx::impressora::LeConfiguracao());
  } catch (const std::exception&) {
    return {};  // no emulated printer configured: nothing to say
  }
  std::error_code erro;
  const auto tamanho = fs::file_size(impressao.arquivo, erro);
  impressao.tamanho = erro ? 0 : tamanho;
  return impressao;
}

// Refuses options the command does not take.
void ConfereOpcoes(const Comando& comando, const Opcoes& opcoes) {
  std::vector<std::string> nomes;
  for (const auto& opcao : OpcoesDoComando(comando)) nomes.push_back(opcao.nome);
  opcoes.SoAceita(nomes);
}

std::vector<std::string> FlagsDoComando(const Comando& comando) {
  std::vector<std::string> flags = {"ok", "cancela"};
  for (const auto& opcao : OpcoesDoComando(comando))
    if (opcao.valor.empty()) flags.push_back(opcao.nome);
  return flags;
}

// The general options, before the command or after it.
struct OpcoesGerais {
  std::string empresa, registro, biblioteca, roteiroArquivo;
  long long usuario = 0, contexto = 0;
  bool janelas = false;

  // Takes "--nome valor" when it is a general option (false otherwise).
  bool Le(const std::string& a, const std::vector<std::string>& argumentos, size_t& i) {
    if (a == "--janelas") {
      janelas = true;
      return true;
    }
    static const char* const nomes[] = {"--empresa", "--usuario", "--contexto", "--registro", "--biblioteca", "--roteiro"};
    const std::string nome = a.substr(0, a.find('='));
    if (std::find(std::begin(nomes), std::end(nomes), nome) == std::end(nomes)) return false;
    std::string valor;
    if (nome.size() < a.size()) {
      valor = a.substr(nome.size() + 1);
    } else {
      if (i + 1 >= argumentos.size()) throw ErroUso("a opção " + a + " precisa de um valor");
      valor = argumentos[++i];
    }
    if (nome == "--empresa") empresa = DoTerminal(valor);
    else if (nome == "--usuario") usuario = LeNumero(valor, 0, 65535, "--usuario");
    else if (nome == "--contexto") contexto = LeNumero(valor, -2147483648LL, 2147483647LL, "--contexto");
    else if (nome == "--registro") registro = valor;
    else if (nome == "--biblioteca") biblioteca = valor;
    else roteiroArquivo = valor;
    return true;
  }
};

// The company must be one the registry names: an unknown key would reach
// the library as a data server that does not answer.
void ExigeEmpresa(const Comando& comando, const std::string& empresa) {
  if (empresa.empty())
    throw ErroUso("o comando " + comando.nome + " trabalha sobre uma empresa: falta --empresa CHAVE");
  if (!qmx::dados::ResolveBaseEmpresa(empresa))
    throw ErroUso("a empresa " + empresa + " não está no registro (chave SOFTWARE\\ZT Redudeva\\Empresas\\" + empresa +
                  " com o endereço da sua base)");
}

int Executa(const std::vector<std::string>& argumentos, const char* argv0) {
  OpcoesGerais gerais;
  size_t i = 0;
  for (; i < argumentos.size(); ++i) {
    const std::string& a = argumentos[i];
    if (a == "--help" || a == "-h") {
      Escreve(std::cout, AjudaGeral());
      return kVerdadeiro;
    }
    if (a == "--version") {
      Escreve(std::cout, std::string("qmx (QMXUTIL) ") + QMX_VERSAO + "\n");
      return kVerdadeiro;
    }
    if (a.rfind("--", 0) != 0) break;
    if (!gerais.Le(a, argumentos, i)) throw ErroUso("opção geral desconhecida: " + a);
  }
  if (i >= argumentos.size()) throw ErroUso("falta o comando (qmx --help lista os comandos)");
  const Comando* comando = ProcuraComando(argumentos[i]);
  if (!comando) throw ErroUso("comando desconhecido: " + argumentos[i]);

  // General options may also follow the command, unless it takes an option
  // of the same name.
  std::vector<std::string> doComando;
  const auto proprias = OpcoesDoComando(*comando);
  for (size_t k = i + 1; k < argumentos.size(); ++k) {
    const std::string& a = argumentos[k];
    const std::string nome = a.rfind("--", 0) == 0 ? a.substr(2, a.find('=') - 2) : std::string();
    const bool propria = std::any_of(proprias.begin(), proprias.end(), [&](const auto& o) { return o.nome == nome; });
    if (nome.empty() || propria || !gerais.Le(a, argumentos, k)) doComando.push_back(a);
  }
  const std::string& empresa = gerais.empresa;
  const std::string& registro = gerais.registro;
  const std::string& biblioteca = gerais.biblioteca;
  const std::string& roteiroArquivo = gerais.roteiroArquivo;
  const long long usuario = gerais.usuario, contexto = gerais.contexto;
  for (const auto& a : doComando)
    if (a == "--help" || a == "-h") {
      Escreve(std::cout, AjudaDoComando(*comando));
      return kVerdadeiro;
    }
  const std::vector<std::string> flags = FlagsDoComando(*comando);
  bool tinhaRespostas = false;
  const Opcoes respostas(doComando, flags);
  const Opcoes opcoes(SemRespostas(doComando, *comando, tinhaRespostas), flags);
  if (tinhaRespostas && !comando->abreDialogo) throw ErroUso("o comando " + comando->nome + " não abre diálogos");
  ConfereOpcoes(*comando, opcoes);
  // Dates given to the export are read before anything else runs.
  for (const auto& opcao : comando->opcoes)
    if (opcao.valor == "DD/MM/AAAA")
      for (const auto& valor : opcoes.Todos(opcao.nome)) LeData(valor);
  if (opcoes.Posicionais().size() > MaximoPosicionais(*comando))
    throw ErroUso("argumento a mais: \"" + opcoes.Posicionais()[MaximoPosicionais(*comando)] + "\"" +
                  (comando->argumentos.empty() ? " (o comando não leva argumentos)"
                                               : " (o comando leva " + comando->argumentos + "; um caminho com brancos vai entre aspas)"));
  // The operator's answers are checked before anything runs.
  const std::string roteiroDasOpcoes = RoteiroDoComando(*comando, respostas);
  if (comando->usaRegistro) ExigeRegistro(registro);

  // The operator's script and the record of what was shown, in files that
  // the library's host reads and writes, in a folder of this run held by a
  // lock; the folders of runs that were killed go first.
  LimpaPastasAbandonadas(fs::temp_directory_path());
  const fs::path pastaTemporaria = fs::temp_directory_path() / ("qmx-" + std::to_string(qmx::sistema::IdProcesso()));
  fs::create_directories(pastaTemporaria);
  struct Limpa {
    fs::path pasta;
    int trava;
    ~Limpa() {
      std::error_code erro;
      fs::remove_all(pasta, erro);
      if (trava >= 0) ::close(trava);
    }
  } limpa{pastaTemporaria, TravaPasta(pastaTemporaria)};
  // Ctrl-C and SIGTERM remove what this run was writing; every temporary
  // the library makes in the system's temporary folder goes into this run's
  // folder, which goes when the run ends (qmx limpar looks at the system's).
  PreparaInterrupcao(pastaTemporaria);
  if (comando->nome != "limpar") qmx::sistema::DefineVariavel("TMPDIR", qmx::descritores::Nome(pastaTemporaria));
  std::string roteiro;
  if (!roteiroArquivo.empty()) {
    std::ifstream entrada(roteiroArquivo, std::ios::binary);
    if (!entrada) throw ErroUso("não foi possível ler o roteiro " + roteiroArquivo);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    roteiro = conteudo.str() + "\n";
  }
  roteiro += roteiroDasOpcoes;
  const fs::path arquivoRoteiro = pastaTemporaria / "roteiro.txt";
  const fs::path arquivoRegistro = pastaTemporaria / "registro-ui.txt";
  std::ofstream(arquivoRoteiro, std::ios::binary) << roteiro;
  qmx::sistema::DefineVariavel("QMX_ROTEIRO", qmx::descritores::Nome(arquivoRoteiro));
  qmx::sistema::DefineVariavel("QMX_ROTEIRO_REGISTRO", qmx::descritores::Nome(arquivoRegistro));
  if (!registro.empty()) qmx::sistema::DefineVariavel("QMX_REGISTRO", qmx::descritores::Nome(fs::absolute(registro)));
  // Long work shows a bar on the terminal; a redirected error output gets
  // no such lines.
  if (::isatty(2)) qmx::sistema::DefineVariavel("QMX_PROGRESSO_TERMINAL", "1");
  // Real windows: the operator fills the dialogs (the answers given here
  // are not used); the library loads its Qt host.
  if (gerais.janelas) {
    const auto tem = [](const char* nome) {
      const char* valor = std::getenv(nome);
      return valor && *valor;
    };
    if (!tem("DISPLAY") && !tem("WAYLAND_DISPLAY") && !tem("QT_QPA_PLATFORM"))
      throw ErroUso("--janelas precisa de uma tela (DISPLAY ou WAYLAND_DISPLAY)");
    // The Qt host is a library of its own, beside the one loaded: without
    // it the run would fall back to the scripted host and end cancelled.
    // Checked before the display, since no display would help.
    const fs::path carregar = biblioteca.empty() ? CaminhoBibliotecaPadrao(argv0) : biblioteca;
    std::error_code erro;
    const fs::path anfitriao = carregar.parent_path() / qmx::ui::kPluginJanelasQt;
    if (!fs::exists(anfitriao, erro))
      throw ErroUso("--janelas precisa do anfitrião Qt das janelas, " + DoTerminal(anfitriao.string()) +
                    ", que não está instalado (no Debian, o pacote qmxutil-qt; numa compilação, Qt 6 Widgets "
                    "instalado)");
    // One named but not answering (a server gone, a session of another
    // user) would make Qt end the process.
    if (!qmx::ui::TelaResponde()) {
      const char* x = std::getenv("DISPLAY");
      const char* wayland = std::getenv("WAYLAND_DISPLAY");
      throw ErroUso(std::string("--janelas: a tela não responde (DISPLAY=") + (x ? x : "") +
                    ", WAYLAND_DISPLAY=" + (wayland ? wayland : "") + ")");
    }
    qmx::sistema::DefineVariavel("QMX_JANELAS", "qt");
    // Qt's runtime folder, in this run's own when the session gives none.
    if (!tem("XDG_RUNTIME_DIR")) {
      const fs::path runtime = pastaTemporaria / "runtime";
      fs::create_directories(runtime, erro);
      fs::permissions(runtime, fs::perms::owner_all, erro);
      qmx::sistema::DefineVariavel("XDG_RUNTIME_DIR", qmx::descritores::Nome(runtime));
    }
  }
  if (UsaEmpresa(*comando)) ExigeEmpresa(*comando, empresa);

  std::unique_ptr<Biblioteca> carregada;
  try {
    carregada = std::make_unique<Biblioteca>(biblioteca.empty() ? CaminhoBibliotecaPadrao(argv0) : biblioteca);
  } catch (const std::exception& erro) {
    Escreve(std::cerr, std::string("qmx: ") + erro.what() + "\n");
    return kErroBiblioteca;
  }
  carregada->Funcao<QMX_BOOL(const char*, std::uint16_t, std::int32_t)>("QMX_Inicializa")(
      empresa.c_str(), static_cast<std::uint16_t>(usuario), static_cast<std::int32_t>(contexto));

  const Impressao antes = comando->usaRegistro ? ImpressaoAtual() : Impressao{};
  std::ostringstream saida;
  Ambiente ambiente{*carregada, opcoes, saida, empresa};
  bool resultado = false;
  const auto mostraOQueFoiVisto = [&] {
    Escreve(std::cout, saida.str());
    std::ostringstream visto;
    const VistoPeloOperador fim = MostraRegistro(arquivoRegistro, comando->campos.idModelo, visto);
    Escreve(std::cerr, visto.str());
    return fim;
  };
  try {
    resultado = comando->executa(ambiente);
  } catch (...) {
    mostraOQueFoiVisto();
    throw;
  }
  VistoPeloOperador fim = mostraOQueFoiVisto();
  // An answer the dialog could not take (a list item it does not have, a
  // control that is disabled) is a mistake of the command line: the option
  // that made it is named when one did.
  // The dialog's own answer given in a notice is no refusal.
  if (comando->avisoEhResposta)
    fim.passosRecusados.erase(std::remove_if(fim.passosRecusados.begin(), fim.passosRecusados.end(),
                                             [](const std::string& p) { return p.find(", controle ") != std::string::npos; }),
                              fim.passosRecusados.end());
  if (!fim.passosRecusados.empty()) {
    carregada->Funcao<QMX_BOOL()>("QMX_Finaliza")();
    for (const std::string& passo : fim.passosRecusados) {
      std::string opcao;
      for (const auto& o : OpcoesDoComando(*comando))
        if (o.controle && passo.find(" " + std::to_string(o.controle)) != std::string::npos) opcao = "--" + o.nome + ": ";
      // A notice of the dialog is said in its own words.
      const auto aviso = passo.find(": ", passo.find(", controle "));
      if (passo.find(", controle ") != std::string::npos && aviso != std::string::npos)
        Escreve(std::cerr, "qmx: " + opcao + "recusado pelo diálogo: " + passo.substr(aviso + 2) + "\n");
      else
        Escreve(std::cerr, "qmx: " + opcao + "resposta recusada pelo diálogo (" + passo + ")\n");
    }
    return kErroUso;
  }
  if (comando->usaRegistro) {
    const Impressao depois = ImpressaoAtual();
    if (!depois.arquivo.empty() && (depois.tamanho != antes.tamanho || depois.arquivo != antes.arquivo))
      Escreve(std::cout, "impressão: " + qmx::texto::DeUtf8OuLatin(depois.arquivo) + "\n");
  }
  carregada->Funcao<QMX_BOOL()>("QMX_Finaliza")();
  // The export may answer true by contract even when the operator cancelled
  // or its work failed: the last line says which.
  // A failure the library showed outranks the dialog's closing: the
  // operator closes a dialog after a failure, the work was not cancelled.
  if (fim.caixaDeErro) {
    Escreve(std::cout, "falhou\n");
    return kFalso;
  }
  if (comando->abreDialogo && fim.dialogoCancelado) {
    Escreve(std::cout, "cancelado\n");
    return kFalso;
  }
  return resultado ? kVerdadeiro : kFalso;
}

}  // namespace

int main(int argc, char** argv) {
  // COM on this thread, as the point-of-sale program initialises it before
  // it calls the library.
  qmx::com::CApartamentoCOM apartamento;
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
