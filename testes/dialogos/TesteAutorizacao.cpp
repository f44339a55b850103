// The authorization dialog as the point-of-sale program runs it, played
// through the scripted host on a company of the test's own.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "apoio/Caixas.h"
#include "apoio/EmpresaTeste.h"
#include "apoio/Motores.h"
#include "dialogos/QMXAutorizacao.h"
#include "frame/Espera.h"
#include "plataforma/dados/ConexaoUsuario.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/FreioLogin.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace {

namespace ui = qmx::ui;
namespace dados = qmx::dados;
namespace com = qmx::com;
using namespace std::chrono_literals;

const std::string kNao1529 = "Usuário ou senha não conferem.\nDigite-os novamente.";
const std::string kNao5535 = "Este usuário não está vinculado a nenhuma filial e não pode autorizar a operação.";
const std::string kNome15 = "abcdefghijklmno", kSenha15 = "123456789012345";

// What the point-of-sale program does when an operation needs consent.
struct PontoDeVenda {
  int resultado = 0;
  bool autorizado = false;
  std::uint16_t usuario = 0;
  bool servidorSolto = false;
  REG_CONEXAO_SERVIDORPS conexao{};  // as handed to the users' server

  explicit PontoDeVenda(const std::string& empresa) {
    CQMXAutorizacao autorizacao;
    autorizacao.SetEmpresa(empresa.c_str());
    resultado = autorizacao.DoModal();
    autorizado = autorizacao.m_bAutorizado;
    usuario = autorizacao.m_nUsuario;
    servidorSolto = autorizacao.m_pServidor == nullptr;
    conexao = autorizacao.m_regConexao;
  }
};

std::string Login(const std::string& nome, const std::string& senha) {
  return "digita 14033 " + nome + "\ndigita 14034 " + senha + "\nclica 1\n";
}
const std::string kCerto = Login("supervisor", "avila2026");

class Autorizacao : public ::testing::Test {
 protected:
  Autorizacao()
      : m_ativo(m_host), m_relogio({[this] { return m_agora; }, [this](std::chrono::milliseconds tempo) {
                                      m_esperas.push_back(tempo.count());
                                      m_agora += tempo;
                                    }}) {
    m_empresa.Filial(1, "Loja Centro", "SP", "Mercado Ávila Ltda");
    m_empresa.Usuario(3, "Supervisor", {1});
    m_empresa.Usuario(4, "Caixa", {});
    m_empresa.Usuario(5, "Gerente", {999});
    m_empresa.Gravador().GravaSenhaUsuario(3, "supervisor", "avila2026");
    m_empresa.Gravador().GravaSenhaUsuario(4, "caixa", "caixa123");
    m_empresa.Gravador().GravaSenhaUsuario(5, kNome15, kSenha15);
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  }

  PontoDeVenda Executa(const std::string& roteiro, const std::string& empresa = "TESTE") {
    m_host.Limpa();
    m_eventos.Limpa();
    m_host.CarregaRoteiro("dialogo 14032\n" + roteiro);
    PontoDeVenda pdv(empresa);
    EXPECT_TRUE(m_host.Erros().empty()) << m_host.Erros().front();
    EXPECT_TRUE(pdv.servidorSolto);
    EXPECT_EQ(pdv.resultado, pdv.autorizado ? ui::IDOK : ui::IDCANCEL);
    return pdv;
  }
  std::vector<std::string> Caixas() const { return qmx::testes::TextosCaixas(m_host); }
  std::vector<std::string> EventosDeLogin() const {
    std::vector<std::string> textos;
    for (const auto& evento : m_eventos.Eventos())
      if (evento.textos[0].rfind("Login recusado", 0) == 0) textos.push_back(evento.textos[0] + " / " + evento.textos[1]);
    return textos;
  }

  qmx::testes::EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
  dados::InstanteFreio m_agora{};
  std::vector<long long> m_esperas;
  dados::CRelogioFreioSubstituido m_relogio;
  qmx::eventos::CCapturaEventos m_eventos;
};

// Each refusal shows its message and keeps the dialog open; the right
// login in the same dialog is then accepted.
TEST_F(Autorizacao, RecusaMostraAMensagemEDeixaTentarDeNovo) {
  const struct {
    std::string roteiro, caixa, nomeNoLog;
  } casos[] = {
      {"", "", ""},
      {Login("supervisor", "avila2025"), kNao1529, "supervisor"},
      {Login("Supervisor", "avila2026"), kNao1529, "Supervisor"},
      {Login("sup\xE2\x98\x83rvisor", "avila2026"), kNao1529, "sup?rvisor"},  // beyond Windows-1252
      {Login("supervisor", ""), kNao1529, "supervisor"},
      {Login("caixa", "caixa123"), kNao5535, ""},  // no branch
  };
  for (const auto& caso : casos) {
    const PontoDeVenda pdv = Executa(caso.roteiro + kCerto);
    EXPECT_TRUE(pdv.autorizado) << caso.roteiro;
    EXPECT_EQ(pdv.usuario, 3) << caso.roteiro;
    // The users' server is opened for the company with user 65535 and
    // context 0, whoever logs in.
    // (The record is packed: its fields are read by value.)
    EXPECT_EQ(std::tuple(std::string(pdv.conexao.Empresa), static_cast<int>(pdv.conexao.Usuario),
                         static_cast<int>(pdv.conexao.Contexto), m_host.Dialogos()[0].titulo,
                         m_host.Dialogos()[0].focoAposInicio),
              std::tuple("TESTE", 65535, 0, "Torvo ECF - Autorização", 14033));
    EXPECT_EQ(Caixas(), caso.caixa.empty() ? std::vector<std::string>{} : std::vector<std::string>{caso.caixa});
    for (const auto& caixa : m_host.Caixas()) EXPECT_EQ(caixa.titulo, "Torvo Cadastros Gerais");
    // The failed login is in the system log by name, never its password.
    EXPECT_EQ(EventosDeLogin(), caso.nomeNoLog.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{"Login recusado para o usuário \"" +
                                                                                  caso.nomeNoLog + "\": / 1 falha seguida"});
    for (const auto& evento : m_eventos.Eventos())
      for (const auto& texto : evento.textos) EXPECT_EQ(texto.find("avila202"), std::string::npos) << texto;
  }
  EXPECT_TRUE(m_esperas.empty());
}

// A server that fails is reported with its numbers and line; the server is
// let go and a later OK asks it nothing (the dialog ends as cancelled).
TEST_F(Autorizacao, FalhasDoServidorSaoReportadas) {
  const struct {
    std::string empresa;
    int passoQueFalha;  // -1: the activation fails
    std::string relato;
    std::vector<std::string> depois;
  } casos[] = {
      {"TESTE", -1, "0x80070005 (Acesso negado.)\nMensagem: 267601  Detalhe: 0\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 146", {}},
      {"OUTRA", 0, "Mensagem: 267619  Detalhe: 6\nEmpresa: OUTRA\nOrigem: QMXAutorizacao, linha 159", {}},
      {"TESTE", 1, "Mensagem: 267627  Detalhe: 4\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 100", {}},
      // The login takes three steps (the name's failures, the password, the
      // failures cleared); the branches are the fourth.
      {"TESTE", 4, "Mensagem: 224693  Detalhe: 7\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 66", {kNao5535}},
  };
  qmx::EsperaSubstituida semEsperar([](std::uint32_t) {});
  for (const auto& caso : casos) {
    // Unavailable once (tried again), then refused.
    std::optional<dados::CFalhasAtivacaoInjetadas> falhaAtivacao;
    if (caso.passoQueFalha < 0)
      falhaAtivacao.emplace(std::vector<qmx::com::HRESULT>{qmx::com::RPC_S_SERVER_UNAVAILABLE, qmx::com::E_ACCESSDENIED});
    dados::CFalhaDadosInjetada falha(std::max(caso.passoQueFalha, 0), caso.passoQueFalha > 0 ? qmx::com::E_FAIL : 0);
    const PontoDeVenda pdv = Executa(kCerto + "clica 1\n", caso.empresa);
    EXPECT_FALSE(pdv.autorizado) << caso.relato;
    ASSERT_EQ(m_host.Caixas().size(), 1 + caso.depois.size()) << caso.relato;
    EXPECT_NE(m_host.Caixas()[0].texto.find(caso.relato), std::string::npos) << m_host.Caixas()[0].texto;
    const auto caixas = Caixas();
    EXPECT_EQ(std::vector<std::string>(caixas.begin() + 1, caixas.end()), caso.depois);
    if (falhaAtivacao) {
      EXPECT_EQ(dados::FalhasAtivacaoRespondidas(), 2);
    }
    // Nothing after the failing step reached the data.
    EXPECT_EQ(dados::PassosDadosContados(), std::max(caso.passoQueFalha, 0)) << caso.relato;
  }
}

// Guessing passwords: from the fifth failure in a row each try waits, the
// right password too, and the waits grow to their ceiling.
TEST_F(Autorizacao, TentativasSeguidasEsperamCadaVezMais) {
  std::string roteiro;
  for (int i = 0; i < 11; ++i) roteiro += Login("supervisor", "chute" + std::to_string(i));
  EXPECT_TRUE(Executa(roteiro + kCerto).autorizado);
  EXPECT_EQ(m_esperas, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
  ASSERT_EQ(EventosDeLogin().size(), 11u);
  EXPECT_EQ(EventosDeLogin().back(), "Login recusado para o usuário \"supervisor\": / 11 falhas seguidas");
  std::vector<std::string> aguardos;  // each wait is logged
  for (const auto& evento : m_eventos.Eventos())
    if (evento.textos[0].find(" aguardou ") != std::string::npos) aguardos.push_back(evento.textos[0]);
  ASSERT_EQ(aguardos.size(), 7u);
  EXPECT_EQ(aguardos.back(), "Login do usuário \"supervisor\" aguardou 30000 ms");
  // The texts of an entry are joined by a blank in the system log: a sentence.
  for (const auto& evento : m_eventos.Eventos()) {
    if (evento.textos[0].find(" aguardou ") != std::string::npos) {
      EXPECT_EQ(evento.textos[1], "por falhas seguidas de tentativas anteriores");
    }
  }
  m_esperas.clear();  // the success forgot the failures
  Executa(Login("supervisor", "chute"));
  EXPECT_TRUE(m_esperas.empty());
}

// The wait owed by failures in a row, at each boundary: none up to the
// fourth, one second at the fifth, doubling to the ceiling; none a minute
// after the last failure.
TEST(FreioLogin, EsperaPorFalhasSeguidas) {
  const dados::InstanteFreio t{};
  const struct {
    int seguidas;
    std::chrono::milliseconds desde;
    std::chrono::milliseconds espera;
  } casos[] = {{0, 0ms, 0ms},       {4, 0ms, 0ms},        {5, 0ms, 1000ms},     {6, 0ms, 2000ms},
               {9, 0ms, 16000ms},   {10, 0ms, 30000ms},   {11, 0ms, 30000ms},   {1000, 0ms, 30000ms},
               {5, 59999ms, 1000ms}, {5, 60000ms, 0ms},   {1000, 60001ms, 0ms}};
  for (const auto& c : casos)
    EXPECT_EQ(dados::CFreioLogin::Espera(c.seguidas, t, t + c.desde), c.espera) << c.seguidas << " " << c.desde.count();
}

#if !defined(_WIN32)  // the processes are forked
// Failures of one name from several processes at once all count, kept in
// the company's data: the next try, in any process, waits by all of them;
// failures just under a minute apart keep counting, a minute's rest starts
// a new row, a success clears it; another name is apart.
using qmx::testes::MotorTeste;
using qmx::testes::NomeParametro;
class FreioEntreProcessos : public qmx::testes::NosDoisMotores {};

TEST_P(FreioEntreProcessos, FalhasDeTodosOsProcessosContam) {
  qmx::testes::EmpresaTeste empresa(GetParam());
  empresa.Filial(1, "Loja Centro", "SP", "Mercado Ávila Ltda");
  empresa.Usuario(3, "Supervisor", {1});
  empresa.Gravador().GravaSenhaUsuario(3, "supervisor", "avila2026");
  dados::InstanteFreio agora = std::chrono::system_clock::now();
  std::vector<long long> esperas;
  dados::CRelogioFreioSubstituido relogio({[&] { return agora; }, [&](std::chrono::milliseconds tempo) {
                                             esperas.push_back(tempo.count());
                                             agora += tempo;
                                           }});
  std::vector<pid_t> filhos;
  for (int i = 0; i < 6; ++i) {
    const pid_t filho = ::fork();
    if (filho == 0) {
      dados::CConexaoUsuario usuarios;
      std::uint16_t usuario = 1;
      const bool recusado = com::SUCCEEDED(usuarios.Inicializa(empresa.Chave(), 1, 0)) &&
                            com::SUCCEEDED(dados::CFreioLogin(usuarios).Autentica("supervisor", "chute", &usuario)) &&
                            usuario == 0;
      ::_exit(recusado ? 0 : 1);
    }
    filhos.push_back(filho);
  }
  for (const pid_t filho : filhos) {
    int estado = 0;
    ::waitpid(filho, &estado, 0);
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
  }
  dados::CConexaoUsuario usuarios;
  ASSERT_EQ(usuarios.Inicializa(empresa.Chave(), 1, 0), com::S_OK);
  dados::CFreioLogin freio(usuarios);
  const auto devida = [&](const std::string& nome) {
    std::chrono::milliseconds espera{-1};
    EXPECT_EQ(freio.EsperaDevida(nome, &espera), com::S_OK);
    return espera;
  };
  EXPECT_EQ(devida("supervisor"), 2000ms);  // six failures
  EXPECT_EQ(devida("caixa"), 0ms);
  int seguidas = 0;
  agora += 59999ms;
  ASSERT_EQ(freio.RegistraFalha("supervisor", &seguidas), com::S_OK);
  EXPECT_EQ(seguidas, 7);
  agora += 60s;
  EXPECT_EQ(devida("supervisor"), 0ms);
  ASSERT_EQ(freio.RegistraFalha("supervisor", &seguidas), com::S_OK);
  EXPECT_EQ(seguidas, 1);
  for (int i = 2; i <= 6; ++i) ASSERT_EQ(freio.RegistraFalha("supervisor", &seguidas), com::S_OK);
  std::uint16_t usuario = 0;
  ASSERT_EQ(freio.Autentica("supervisor", "avila2026", &usuario), com::S_OK);
  EXPECT_EQ(usuario, 3);
  EXPECT_EQ(esperas, (std::vector<long long>{2000}));
  EXPECT_EQ(devida("supervisor"), 0ms);
}

QMX_NOS_DOIS_MOTORES(FreioEntreProcessos);
#endif  // !_WIN32

}  // namespace
