#include "cli/Demo.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "cli/Comandos.h"
#include "cli/ConferenciaIntegracao.h"
#include "cli/EmpresaDemo.h"
#include "cli/Validar.h"
#include "cli/Mensagem.h"
#include "cli/VerificacaoEAD.h"
#include "cli/Opcoes.h"
#include "frame/QMXUTIL.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoMunicipio.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/SessaoDados.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/impressora/ImpressoraEmulada.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"
#include "plataforma/processo/ProcessoComPipe.h"
#include "plataforma/processo/Sistema.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/registro/TextoRegistro.h"

namespace qmx::cli {
namespace {

namespace fs = std::filesystem;

// The serial number of the emulated fiscal printer of this computer; the
// first ECF of the company carries it.
constexpr const char* kSerieEmulada = "QMX0000000000000001";

// A path of this system as the library's texts hold it (and as the
// summary, written in Windows-1252 like them, shows it).
std::string Texto(const fs::path& caminho) { return qmx::texto::CaminhoDaBiblioteca(descritores::Nome(caminho)); }

// A connection string as it may be shown: without its password.
std::string SemSenha(std::string endereco) {
  for (std::size_t i = endereco.find("password="); i != std::string::npos; i = endereco.find("password=", i + 1)) {
    const std::size_t inicio = i + 9;
    std::size_t fim = inicio;
    if (fim < endereco.size() && endereco[fim] == '\'') {
      fim = endereco.find('\'', fim + 1);
      fim = fim == std::string::npos ? endereco.size() : fim + 1;
    } else {
      fim = endereco.find(' ', fim);
      if (fim == std::string::npos) fim = endereco.size();
    }
    endereco.replace(inicio, fim - inicio, "***");
  }
  return endereco;
}

// The machine-wide settings of the demonstration, in the registry file form
// (UTF-8, like the paths of this system it holds): the emulated printer's
// detail memory holds the COOs of ECF 1 in the month. On Windows, where the
// library reads the system's registry, they are written there too.
//
// The clock setting of the machine (ZT_DATETIME) comes along, so that the
// demonstration runs on the day the machine's library runs on.
void EscreveRegistro(const fs::path& arquivo, const fs::path& pasta, const std::string& endereco,
                     const std::string& relogio, const ContagemMovimentoDemo& movimento = {}) {
  std::ostringstream saida;
  saida << qmx::texto::ParaUtf8("; Registro da empresa de demonstração do QMXUTIL\n")
        << "[SOFTWARE\\ZT Redudeva\\Torvo ECF]\n"
        << "Path=" << (pasta / "TorvoECF").string() << "/\n"
        << "[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\n"
        << "Modelo=EMULADA\n"
        << "NumeroSerie=" << kSerieEmulada << "\n"
        << "NumeroCaixa=001\n"
        << "Empresa=DEMO\n";
  if (movimento.ultimoCOOEmissora1)
    saida << "COOInicialMFD=" << movimento.primeiroCOOEmissora1 << "\n"
          << "COOFinalMFD=" << movimento.ultimoCOOEmissora1 << "\n";
  saida << "PastaRetorno=" << (pasta / "ECF").string() << "\n"
        << "[SOFTWARE\\ZT Redudeva]\n"
        << "LocalTorvo=" << (pasta / "local").string() << "/\n"
        << "[SOFTWARE\\ZT Redudeva\\Empresas\\DEMO]\n"
        << "EC=" << (pasta / "DEMO").string() << "/\n"
        << "BaseDados=" << endereco << "\n"
        << "[SOFTWARE\\ZT Redudeva\\Mensagens]\n"
        << "Path=" << (pasta / "Mensagens").string() << "\n";
  if (!relogio.empty())
    saida << "[SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\n"
          << "ZT_DATETIME=" << relogio << "\n";
  std::ofstream(arquivo, std::ios::binary | std::ios::trunc) << saida.str();
#if defined(_WIN32)
  unsigned long erro = 0;
  if (!registro::GravaNoRegistroDoSistema(saida.str(), &erro))
    throw std::runtime_error("o registro do sistema recusou as chaves da demonstração (erro " + std::to_string(erro) +
                             "; HKEY_LOCAL_MACHINE pede um administrador)");
#endif
}

// The maker's message catalogues, copied into the company's installation.
void InstalaMensagens(const fs::path& destino) {
  fs::create_directories(destino);
  for (const auto& entrada : fs::directory_iterator(PastaMensagensInstalada()))
    if (entrada.path().extension() == ".txt")
      fs::copy_file(entrada.path(), destino / entrada.path().filename(), fs::copy_options::overwrite_existing);
}

void Titulo(std::ostream& saida, const std::string& texto) { saida << "\n== " << texto << " ==\n"; }

// A database named by --base must hold no company yet: the demonstration
// would mix its own with it. A database without the tables is empty.
void ExigeBaseSemEmpresa(const std::string& endereco) {
  std::int64_t filiais = 0;
  try {
    filiais = dados::AbreSessao(endereco, false)->Consulta("SELECT COUNT(*) FROM filial", {}).at(0).Inteiro(0);
  } catch (const dados::CErroDados&) {
    return;  // no tables yet (or no server, which the company's creation reports)
  }
  if (filiais > 0)
    throw ErroUso("a base " + SemSenha(endereco) + " já tem uma empresa (" + std::to_string(filiais) +
                  " filiais): a demonstração não se mistura com ela");
}

// The company as the connection classes read it back.
void MostraEmpresa(std::ostream& saida, const ResumoEmpresaDemo& resumo, const MesDemo& mes) {
  saida << "  " << resumo.filiais << " filiais, " << resumo.emissoras << " ECFs, " << resumo.usuarios
        << " usuários, " << resumo.municipios << " municípios\n";
  dados::CConexaoFilial filiais;
  dados::CConexaoMunicipio municipios;
  dados::CConexaoEmissora emissoras;
  if (com::FAILED(filiais.Inicializa("DEMO", 1, 0, false)) || com::FAILED(municipios.Inicializa("DEMO", 1, 0)) ||
      com::FAILED(emissoras.Inicializa("DEMO", 1, 0))) {
    saida << "  (a base de dados não pôde ser aberta)\n";
    return;
  }
  for (std::uint16_t numero = 1; numero <= 2; ++numero) {
    REG_FILIALPS f{};
    REG_MUNICIPIO_PS m{};
    if (com::FAILED(filiais.GetInterface()->Le(numero, &f))) continue;
    municipios.GetInterface()->Le(static_cast<std::uint16_t>(f.Municipio), &m);
    saida << "  Filial " << f.Numero << ": " << f.NomeFantasia << ", " << m.Nome << "/" << f.UF << " (IBGE "
          << m.CodigoIBGE << "), CNPJ " << f.Cnpj << "\n";
  }
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  if (com::SUCCEEDED(emissoras.GetInterface()->Lista(&quantidade, &lista)))
    for (std::size_t i = 0; i < lista.size() && i < 3; ++i)
      saida << "  ECF " << lista[i].Numero << " da filial " << lista[i].Filial << ": " << lista[i].NumeroSerie << " ("
            << lista[i].Marca << " " << lista[i].Modelo << ", " << lista[i].QuantidadeAliquotas << " alíquotas)\n";
  const auto& m = resumo.movimento;
  saida << "  Movimento de " << mes.Texto(1) << " a " << mes.Texto(mes.Dias()) << ": " << m.cupons << " cupons com "
        << m.itens << " itens, "
        << m.pagamentos << " pagamentos e " << m.parcelas << " parcelas; " << m.reducoes << " reduções Z; "
        << m.documentos << " documentos do ECF; " << m.notas << " notas fiscais; " << m.davs << " DAVs; "
        << m.posicoes << " posições de estoque e " << m.inventario << " saldos de inventário\n"
        << "  Usuário para o diálogo de autorização: " << kLoginDemo << ", senha " << kSenhaDemo << "\n";
}

// The signed list of the authenticated files for the branch of this
// computer's ECF, then the identification report on the emulated printer.
bool MostraListaEIdentificacao(std::ostream& saida, Biblioteca& b, const fs::path& instalacao) {
  Titulo(saida, "Lista de arquivos autenticados");
  char digest[33] = {};
  const bool gerada = b.Funcao<QMX_BOOL(char*, std::uint8_t)>("QMX_GerarMD5_PAFECF")(digest, 0);
  saida << "  QMX_GerarMD5_PAFECF: " << (gerada ? "verdadeiro" : "falso") << ", MD5 " << digest << "\n";
  const fs::path lista = instalacao / "Torvo ECF.txt";
  std::ifstream arquivo(lista, std::ios::binary);
  saida << "  " << Texto(lista) << ":\n";
  for (std::string linha; std::getline(arquivo, linha);) {
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    if (linha.rfind("EAD", 0) == 0) linha = linha.substr(0, 19) + "... (assinatura EAD)";
    saida << "    " << linha << "\n";
  }

  Titulo(saida, "Identificação do PAF-ECF");
  const bool impresso = b.Funcao<QMX_BOOL()>("QMX_IdentificacaoPAFECF")();
  saida << "  QMX_IdentificacaoPAFECF: " << (impresso ? "verdadeiro" : "falso") << "\n"
        << "  impresso em " << Texto(impressora::ArquivoImpressao(impressora::LeConfiguracao())) << "\n";

  Titulo(saida, "Parâmetros de configuração do PAF-ECF");
  const bool parametros = b.Funcao<bool(std::uint16_t, std::uint16_t)>("_Z23ECImprimeParametrizacaott")(1, 1);
  saida << "  ECImprimeParametrizacao(filial 1, ECF 1): " << (parametros ? "verdadeiro" : "falso") << "\n";
  return gerada && impresso && parametros;
}

// Runs this program again for one export, as the point-of-sale program
// would call it, with the operator's answers as options; answers the exit
// code (the export's answer: 0 true, 1 false).
int RodaQmx(const std::vector<std::string>& argumentos) {
  std::vector<std::string> todos = {"qmx", "--empresa", "DEMO", "--usuario", "1"};
  todos.insert(todos.end(), argumentos.begin(), argumentos.end());
  // What the child shows (its boxes and dialogs) stays out of the summary.
  return sistema::ExecutaSilencioso(processo::CaminhoPrograma(), todos);
}

std::set<fs::path> Arquivos(const fs::path& pasta) {
  std::set<fs::path> arquivos;
  if (fs::exists(pasta))
    for (const auto& e : fs::directory_iterator(pasta)) arquivos.insert(e.path());
  return arquivos;
}


// The fiscal files of the month: each one generated by its export, then its
// EAD line checked with the published key.
bool GeraArquivosEletronicos(std::ostream& saida, const fs::path& pasta, const MesDemo& mes) {
  bool tudoCerto = true;
  Titulo(saida, "Arquivos eletrônicos de " + mes.Texto(1).substr(3));
  const fs::path destino = pasta / "DEMO" / "Arquivos-Eletronicos";
  const std::string inicio = mes.Texto(1);
  const std::string fim = mes.Texto(mes.Dias());
  // The MFD dialog takes two-digit years.
  const std::string inicioCurto = inicio.substr(0, 6) + inicio.substr(8);
  const std::string fimCurto = fim.substr(0, 6) + fim.substr(8);
  const std::vector<std::pair<const char*, std::vector<std::string>>> pedidos = {
      {"Sintegra da filial 1",
       {"sintegra", "--filial", "1", "--data-inicial", inicio, "--data-final", fim, "--natureza", "3"}},
      {"Movimentos do ECF 1",
       {"movimentos", "--data-inicial", inicio, "--data-final", fim, "--ecf", "1", "--filial", "1", "--automatico"}},
      {"DAVs do ECF 1",
       {"davs", "--filial", "1", "--ecf", "1", "--data-inicial", inicio, "--data-final", fim, "--opcao", "13011"}},
      {"Tabela de Produtos da filial 1",
       {"tab-produtos", "--filial", "1", "--tabela-produtos", "1", "--tabela-servicos", "1"}},
      {"Estoque da filial 1", {"estoque", "--filial", "1"}},
      {"Extrato SPED Fiscal da filial 1 (perfil A)",
       {"sped-fiscal", "--filial", "1", "--ecf", "0", "--data-inicial", inicio, "--data-final", fim}},
      {"Leitura da Memória Fiscal do ECF 1 (Ato COTEPE 17/04)",
       {"lmf", "--tipo", "c", "--clica", "13059", "--digita", "13060=" + inicio, "--digita", "13061=" + fim,
        "--ok"}},
      {"Arquivo MFD do ECF 1", {"arq-mfd", "--data-inicial", inicioCurto, "--data-final", fimCurto}},
      {"Venda do Período da filial 1 (Ato COTEPE, perfil B)",
       {"venda-periodo", "--filial", "1", "--data-inicial", inicio, "--data-final", fim, "--leiaute", "cotepe",
        "--perfil", "B"}},
  };
  for (const auto& [nome, argumentos] : pedidos) {
    const auto antes = Arquivos(destino);
    const int resultado = RodaQmx(argumentos);
    tudoCerto = tudoCerto && resultado == 0;
    saida << "  " << nome << ": qmx " << argumentos.front() << " respondeu " << (resultado == 0 ? "verdadeiro" : "falso")
          << "\n";
    for (const auto& arquivo : Arquivos(destino)) {
      if (antes.count(arquivo)) continue;
      const auto verificacao = VerificaArquivo(arquivo.string());
      const char* assinatura = verificacao == ResultadoVerificacao::Valida        ? "assinatura EAD válida"
                               : verificacao == ResultadoVerificacao::SemLinhaEAD ? "extrato sem linha EAD"
                                                                                  : "assinatura EAD INVÁLIDA";
      tudoCerto = tudoCerto && verificacao != ResultadoVerificacao::Invalida && verificacao != ResultadoVerificacao::Ilegivel;
      saida << "    " << Texto(arquivo) << " (" << fs::file_size(arquivo) << " bytes, " << assinatura << ")\n";
      // And against the published layout, as qmx validar checks it.
      tudoCerto = MostraValidacao(saida, arquivo.string(), "      ") && tudoCerto;
    }
  }
  Titulo(saida, "Meios de pagamento da primeira semana");
  const int meios = RodaQmx({"meios-pagamento", "--data-inicial", mes.Texto(2), "--data-final", mes.Texto(8)});
  saida << "  qmx meios-pagamento respondeu " << (meios == 0 ? "verdadeiro" : "falso") << "; impresso em "
        << Texto(impressora::ArquivoImpressao(impressora::LeConfiguracao())) << "\n";
  return tudoCerto && meios == 0;
}

// One day of ECF 1 carried into the back office by the four passes, with
// the integration log they wrote.
bool IntegraUmDia(std::ostream& saida, Biblioteca& b, const fs::path& pasta, const MesDemo& mes, int dia) {
  bool tudoCerto = true;
  Titulo(saida, "Integração de " + mes.Texto(dia) + " do ECF 1 com a retaguarda");
  const fs::path log = pasta / "DEMO" / "integracao.log";
  fs::remove(log);
  b.Funcao<QMX_BOOL(const char*)>("QMX_SetDiretorio")(Texto(log).c_str());
  REG_QMX_PARAMETROS_INTEGRACAO parametros{};
  parametros.nData = DiaDezesseisBits(mes.Dia(dia));
  parametros.nEcf = 1;
  for (const char* passo : {"QMX_ProcIntegraES", "QMX_ProcIntegraCN", "QMX_ProcIntegraEF", "QMX_ProcIntegraFN"}) {
    const std::int32_t r = b.Funcao<std::int32_t(REG_QMX_PARAMETROS_INTEGRACAO)>(passo)(parametros);
    tudoCerto = tudoCerto && r == 0;
    saida << "  " << passo << ": " << r << (r == 0 ? " (integrado)" : r == 1 ? " (ficaram pendências)" : " (falhou)")
          << "\n";
  }
  saida << "  Log (" << Texto(log) << "):\n";
  std::ifstream linhas(log, std::ios::binary);
  for (std::string linha; std::getline(linhas, linha);) {
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    saida << "    " << linha << "\n";
  }
  // Every payment of the day in the back office, once.
  return MostraConferencia(saida, "DEMO", mes.Dia(dia), 1, "  ") && tudoCerto;
}

// The month of "MM/AAAA", or the month before the library clock's.
MesDemo LeMes(const std::optional<std::string>& texto) {
  MesDemo mes;
  if (!texto) {
    const DiaMesAno hoje = DecodificaDia(CQMXRelogio::PegaDiaHoje());
    mes.mes = hoje.mes == 1 ? 12 : hoje.mes - 1u;
    mes.ano = hoje.mes == 1 ? hoje.ano - 1u : hoje.ano;
    return mes;
  }
  unsigned m = 0, a = 0;
  char barra = 0, resto = 0;
  // The month with one digit or two, as a date takes its day and month.
  const auto barraEm = texto->find('/');
  if (std::sscanf(texto->c_str(), "%2u%c%4u%c", &m, &barra, &a, &resto) != 3 || barra != '/' ||
      (barraEm != 1 && barraEm != 2) || texto->size() != barraEm + 5 || m < 1 || m > 12)
    throw ErroUso("mês inválido (use MM/AAAA): " + *texto);
  mes.mes = m;
  mes.ano = a;
  // Every day of the month, and the two years of history before it, must
  // be days that the exports' 16-bit day numbers reach today.
  const NumeroDia hoje = CQMXRelogio::PegaDiaHoje();
  if (a < 1000 || CodificaDia(1, 1, a - 4) < InicioDaJanela(hoje) || mes.Ultimo() > FimDaJanela(hoje))
    throw ErroUso("mês fora do intervalo que o relógio da biblioteca alcança: " + *texto);
  // A month's movement, its files and its books are of a month that is
  // over: the exports refuse a period that reaches past today.
  if (mes.Ultimo() >= hoje) {
    const DiaMesAno d = DecodificaDia(hoje);
    char agora[24];
    std::snprintf(agora, sizeof agora, "%02u/%02u/%04u", d.dia, d.mes, d.ano);
    throw ErroUso("o mês " + mes.Texto(1).substr(3) + " ainda não terminou (hoje é " + agora +
                  " pelo relógio da biblioteca): a demonstração monta um mês já fechado");
  }
  return mes;
}

}  // namespace

bool ExecutaDemo(Ambiente& a) {
  OpcoesDemo opcoes;
  opcoes.mes = LeMes(a.opcoes.Texto("mes"));
  opcoes.tamanho = static_cast<int>(a.opcoes.Numero("tamanho", 1, 300, 1));
  opcoes.lojaGrande = a.opcoes.Tem("loja-grande");
  if (a.opcoes.Tem("rede")) {
    if (opcoes.lojaGrande || a.opcoes.Tem("tamanho")) throw ErroUso("--rede não se combina com --tamanho nem --loja-grande");
    opcoes.rede = static_cast<int>(a.opcoes.Numero("rede", 1, 999, 1));
    opcoes.cuponsLojaGrande = 250;
  }
  if (a.opcoes.Tem("cupons-por-dia")) {
    if (!opcoes.lojaGrande && !opcoes.rede) throw ErroUso("--cupons-por-dia só vale com --loja-grande ou --rede");
    opcoes.cuponsLojaGrande =
        static_cast<int>(a.opcoes.Numero("cupons-por-dia", 10, 1000, opcoes.cuponsLojaGrande));
  }
  if (const auto semente = a.opcoes.Texto("variada")) {
    opcoes.variedade = static_cast<std::uint64_t>(LeNumero(*semente, 1, 9'000'000'000'000'000'000LL, "semente"));
    if (opcoes.lojaGrande || opcoes.rede || opcoes.tamanho != 1)
      throw ErroUso("--variada não se combina com --tamanho, --loja-grande nem --rede");
  }
  opcoes.serieEmulada = kSerieEmulada;
  // Big companies take a while: a line per day shows how far they are.
  opcoes.progresso = opcoes.lojaGrande || opcoes.rede || opcoes.tamanho >= 5;
  const fs::path pasta = fs::absolute(a.opcoes.Texto("pasta").value_or("qmx-demo"));
  // Every path the library will meet lies in this folder: one that its
  // texts cannot hold is refused before anything is written.
  Texto(pasta);
  // One demonstration at a time in a folder: a second one would write the
  // same database and files under the first's feet.
  fs::create_directories(pasta);
  const int trava = descritores::Abre(descritores::Nome(pasta / ".qmx-demo-trava").c_str(),
                                      O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
  if (trava >= 0 && ::flock(trava, LOCK_EX | LOCK_NB) != 0) {
    ::close(trava);
    throw ErroUso("outra demonstração está montando a empresa em " + Texto(pasta) +
                  ": espere que termine, ou dê outra --pasta");
  }
  struct SoltaTrava {
    int fd;
    ~SoltaTrava() {
      if (fd >= 0) ::close(fd);
    }
  } soltaTrava{trava};
  fs::create_directories(pasta / "TorvoECF");
  fs::create_directories(pasta / "DEMO");
  fs::create_directories(pasta / "local");
  const fs::path registro = pasta / "registro.ini";
  // The clock the library runs on: the environment's setting over the file's.
  const char* relogioDoAmbiente = std::getenv("ZT_DATETIME");
  const std::string relogio = relogioDoAmbiente
                                  ? std::string(relogioDoAmbiente)
                                  : registro::Registro::LeTexto(
                                        "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                                        "ZT_DATETIME");
  // The company's database: a SQLite file of its own, or the one --base
  // names (a PostgreSQL server's, for a chain's terminals).
  const auto base = a.opcoes.Texto("base");
  const std::string endereco = base ? *base : "sqlite:" + (pasta / "DEMO" / "empresa.db").string();
  if (base) ExigeBaseSemEmpresa(endereco);
  EscreveRegistro(registro, pasta, endereco, relogio);
  InstalaMensagens(pasta / "Mensagens");
  sistema::DefineVariavel("QMX_REGISTRO", descritores::Nome(registro));
  a.saida << "Empresa de demonstração em " << Texto(pasta) << "\n"
          << "Registro: " << Texto(registro) << "\n";

  Titulo(a.saida, "Empresa de demonstração");
  const ResumoEmpresaDemo resumo = CriaEmpresaDemo(endereco, opcoes);
  EscreveRegistro(registro, pasta, endereco, relogio, resumo.movimento);
  a.saida << "  Base de dados: "
          << (base ? SemSenha(endereco) : Texto(fs::path(dados::ArquivoSQLite(endereco)))) << "\n";
  MostraEmpresa(a.saida, resumo, opcoes.mes);

  auto& b = a.biblioteca;
  b.Funcao<QMX_BOOL(const char*, std::uint16_t, std::int32_t)>("QMX_Inicializa")("DEMO", 1, 0);

  Titulo(a.saida, "Operações registradas do ECF");
  const auto descricao = b.Funcao<QMX_BOOL(std::uint8_t, const char**)>("QMX_DescricaoUltimoCOO");
  for (int codigo = 0; codigo <= 39; ++codigo) {
    const char* texto = nullptr;
    descricao(static_cast<std::uint8_t>(codigo), &texto);
    a.saida << "  " << codigo << ": " << texto << "\n";
  }

  Titulo(a.saida, "Mensagens do catálogo");
  for (const auto& [modulo, numero] : {std::pair<const char*, unsigned>{"EC", 110}, {"EC", 280}, {"DF", 1529}}) {
    const auto leitura = qmx::mensagens::CCatalogoMensagens::Le(modulo, numero);
    std::string texto = leitura.texto;
    for (size_t i = 0; (i = texto.find('\n', i)) != std::string::npos; i += 3) texto.replace(i, 1, " / ");
    a.saida << "  " << modulo << " " << numero << ": " << texto << "\n";
  }

  // The 16-bit day numbers of the exports, read in the window of today:
  // past the end of 2026 they start again from 1.
  Titulo(a.saida, "Datas e horas");
  const auto montaData = b.Funcao<std::string(std::uint16_t, bool)>("_Z9MontaDataB5cxx11tb");
  const auto montaHora = b.Funcao<std::string(std::int32_t, bool)>("_Z9MontaHoraB5cxx11ib");
  for (std::uint16_t dia : {std::uint16_t{0}, std::uint16_t{28856}, std::uint16_t{55519}, std::uint16_t{65380},
                            std::uint16_t{65381}, std::uint16_t{1}, DiaDezesseisBits(CQMXRelogio::PegaDiaHoje())})
    a.saida << "  dia " << dia << ": " << montaData(dia, true) << "\n";
  a.saida << "  93015 com segundos: " << montaHora(93015, true) << "\n";

  Titulo(a.saida, "Resumo MD5 de um arquivo");
  const fs::path exemplo = pasta / "TorvoECF" / "QMVCX.EXE";
  std::ofstream(exemplo, std::ios::binary) << "executavel de demonstracao\r\n";
  char digest[33] = {};
  b.Funcao<QMX_BOOL(const char*, char*)>("QMX_GerarMD5_Arquivo")(Texto(exemplo).c_str(), digest);
  a.saida << "  " << Texto(exemplo) << ": " << digest << "\n";

  // Every step must answer as it should; the summary still runs to the end.
  bool tudoCerto = digest[0] != 0;
  tudoCerto = MostraListaEIdentificacao(a.saida, b, pasta / "TorvoECF") && tudoCerto;

  Titulo(a.saida, "Cifra de texto e valor");
  char hexTexto[256] = {}, hexValor[256] = {};
  b.Funcao<QMX_BOOL(std::int32_t, std::int32_t, const char*, const char*, char*, char*)>("QMX_Criptografar")(
      4711, 123, "Operador Ávila", "1.234,56", hexTexto, hexValor);
  char senha[32] = {};
  b.Funcao<QMX_BOOL(std::uint16_t, std::uint16_t, char*)>("QMX_MontaSenha")(4711, 123, senha);
  char texto[128] = {};
  std::int64_t valor = 0;
  b.Funcao<QMX_BOOL(const char*, const char*, const char*, char*, std::int64_t*)>("QMX_Descriptografar")(
      senha, hexTexto, hexValor, texto, &valor);
  a.saida << "  chave empacotada: " << senha << "\n  texto cifrado: " << hexTexto << "\n  valor cifrado: " << hexValor
          << "\n  decifrado: \"" << texto << "\" e " << valor << " (valor x 10000)\n";

  tudoCerto = GeraArquivosEletronicos(a.saida, pasta, opcoes.mes) && tudoCerto;
  // The 2nd of the month, or the first day a varied company moved.
  tudoCerto = IntegraUmDia(a.saida, b, pasta, opcoes.mes, opcoes.variedade ? resumo.movimento.primeiroDia : 2) &&
              tudoCerto;

  Titulo(a.saida, "Diálogo de Índices Técnicos de Produção");
  const bool indice = b.Funcao<QMX_BOOL()>("QMX_TabIndiceTecnicoProducao")();
  a.saida << "  QMX_TabIndiceTecnicoProducao: " << (indice ? "verdadeiro" : "falso") << "\n";
  return tudoCerto && indice;
}

}  // namespace qmx::cli
