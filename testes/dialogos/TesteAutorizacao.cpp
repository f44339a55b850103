// The authorization dialog as the point-of-sale program runs it, played
// through the scripted host on a company of the test's own.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "apoio/EmpresaTeste.h"
#include "plataforma/ServidorDeTeste.h"
#include "dialogos/QMXAutorizacao.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/dados/FreioLogin.h"
#include "plataforma/eventos/LogEventos.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace {

namespace ui = qmx::ui;
namespace dados = qmx::dados;
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

  void PedeAutorizacao(const std::string& empresa) {
    CQMXAutorizacao autorizacao;
    autorizacao.SetEmpresa(empresa.c_str());
    resultado = autorizacao.DoModal();
    autorizado = autorizacao.m_bAutorizado;
    usuario = autorizacao.m_nUsuario;
    servidorSolto = autorizacao.m_pServidor == nullptr;
  }
};

std::string Login(const std::string& nome, const std::string& senha) {
  return "digita 14033 " + nome + "\ndigita 14034 " + senha + "\nclica 1\n";
}

class Autorizacao : public ::testing::Test {
 protected:
  Autorizacao()
      : m_ativo(m_host),
        m_relogio({[this] { return m_agora; },
                   [this](std::chrono::milliseconds tempo) {
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
    m_host.CarregaRoteiro("dialogo 14032\n" + roteiro);
    PontoDeVenda pdv;
    pdv.PedeAutorizacao(empresa);
    EXPECT_TRUE(m_host.Erros().empty()) << m_host.Erros().front();
    EXPECT_TRUE(pdv.servidorSolto);
    return pdv;
  }
  std::vector<std::string> Caixas() const {
    std::vector<std::string> textos;
    for (const auto& caixa : m_host.Caixas()) textos.push_back(caixa.texto);
    return textos;
  }
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

TEST_F(Autorizacao, UsuarioComFilialEAutorizado) {
  const PontoDeVenda pdv = Executa(Login("supervisor", "avila2026"));
  EXPECT_EQ(pdv.resultado, ui::IDOK);
  EXPECT_TRUE(pdv.autorizado);
  EXPECT_EQ(pdv.usuario, 3);
  EXPECT_EQ(m_host.Dialogos()[0].titulo, "Torvo ECF - Autorização");
  EXPECT_EQ(m_host.Dialogos()[0].focoAposInicio, 14033);
  EXPECT_TRUE(m_host.Caixas().empty());
  EXPECT_TRUE(m_esperas.empty());
}

// Each refusal shows its message, keeps the dialog open, and the next try
// in the same dialog is accepted.
TEST_F(Autorizacao, RecusaMostraAMensagemEDeixaTentarDeNovo) {
  const struct {
    std::string roteiro, caixa, nomeNoLog;
  } casos[] = {
      {Login("supervisor", "avila2025"), kNao1529, "supervisor"},
      {Login("Supervisor", "avila2026"), kNao1529, "Supervisor"},
      {Login("ninguem", "avila2026"), kNao1529, "ninguem"},
      {Login("sup\xE2\x98\x83rvisor", "avila2026"), kNao1529, "sup?rvisor"},
      {Login("supervisor", ""), kNao1529, "supervisor"},
      {Login("caixa", "caixa123"), kNao5535, ""},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    m_eventos.Limpa();
    const PontoDeVenda pdv = Executa(caso.roteiro + Login("supervisor", "avila2026"));
    EXPECT_EQ(pdv.resultado, ui::IDOK) << caso.roteiro;
    EXPECT_EQ(pdv.usuario, 3) << caso.roteiro;
    EXPECT_EQ(Caixas(), std::vector<std::string>{caso.caixa}) << caso.roteiro;
    EXPECT_EQ(m_host.Caixas()[0].titulo, "Torvo Cadastros Gerais") << caso.roteiro;
    // The failed login is in the system log by name, never its password.
    const std::vector<std::string> esperados =
        caso.nomeNoLog.empty() ? std::vector<std::string>{}
                               : std::vector<std::string>{"Login recusado para o usuário \"" + caso.nomeNoLog +
                                                          "\" / 1 falha(s) seguida(s)"};
    EXPECT_EQ(EventosDeLogin(), esperados) << caso.roteiro;
    for (const auto& evento : m_eventos.Eventos())
      for (const auto& texto : evento.textos) EXPECT_EQ(texto.find("avila202"), std::string::npos) << texto;
  }
}

TEST_F(Autorizacao, CamposAceitamQuinzeCaracteres) {
  const struct {
    std::string nome, senha;
    bool autorizado;
  } casos[] = {
      {kNome15, kSenha15, true},
      {kNome15 + "X", kSenha15 + "Y", true},  // the 16th character is refused
      {kNome15 + std::string(85, 'X'), kSenha15 + std::string(85, 'Y'), true},
      {kNome15.substr(0, 14), kSenha15, false},
      {kNome15, kSenha15.substr(0, 14), false},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    const PontoDeVenda pdv = Executa(Login(caso.nome, caso.senha));
    EXPECT_EQ(pdv.autorizado, caso.autorizado) << caso.nome << " " << caso.senha;
    EXPECT_EQ(pdv.usuario, caso.autorizado ? 5 : 0);
    const auto& controles = m_host.Dialogos()[0].aoFechar;
    EXPECT_EQ(controles.at(14033).texto, caso.nome.substr(0, 15));
    EXPECT_EQ(controles.at(14034).texto, caso.senha.substr(0, 15));
  }
}

TEST_F(Autorizacao, CancelarOuFecharNaoAutoriza) {
  for (const char* fim : {"clica 2\n", "fecha\n", ""}) {
    m_host.Limpa();
    const PontoDeVenda pdv = Executa("digita 14033 supervisor\ndigita 14034 avila2026\n" + std::string(fim));
    EXPECT_EQ(pdv.resultado, ui::IDCANCEL) << fim;
    EXPECT_FALSE(pdv.autorizado);
    EXPECT_EQ(pdv.usuario, 0);
  }
  // F1 opens the help of the point of sale's module.
  m_host.Limpa();
  Executa("ajuda\n");
  EXPECT_EQ(m_host.Ajudas(), std::vector<std::string>{"EC"});
}

// A server that fails is reported with its numbers and line; the server is
// let go and a later OK asks it nothing (the dialog ends as cancelled).
TEST_F(Autorizacao, FalhasDoServidorSaoReportadas) {
  const struct {
    const char* nome;
    std::string empresa;
    int passoQueFalha;
    std::string roteiro;
    const char* relato;
    std::vector<std::string> depois;
  } casos[] = {
      {"abertura", "OUTRA", 0, "clica 1\n", "Mensagem: 267619  Detalhe: 6\nEmpresa: OUTRA\nOrigem: QMXAutorizacao, linha 159", {}},
      {"login", "TESTE", 1, Login("supervisor", "avila2026") + "clica 1\n",
       "Mensagem: 267627  Detalhe: 4\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 100", {}},
      {"vinculos", "TESTE", 2, Login("supervisor", "avila2026") + "clica 1\n",
       "Mensagem: 224693  Detalhe: 7\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 66", {kNao5535}},
  };
  for (const auto& caso : casos) {
    m_host.Limpa();
    dados::CFalhaDadosInjetada falha(caso.passoQueFalha, caso.passoQueFalha ? qmx::com::E_FAIL : 0);
    const PontoDeVenda pdv = Executa(caso.roteiro, caso.empresa);
    EXPECT_EQ(pdv.resultado, ui::IDCANCEL) << caso.nome;
    EXPECT_FALSE(pdv.autorizado) << caso.nome;
    ASSERT_EQ(m_host.Caixas().size(), 1 + caso.depois.size()) << caso.nome;
    EXPECT_NE(m_host.Caixas()[0].texto.find(caso.relato), std::string::npos) << m_host.Caixas()[0].texto;
    for (std::size_t i = 0; i < caso.depois.size(); ++i) EXPECT_EQ(m_host.Caixas()[i + 1].texto, caso.depois[i]);
    // Nothing after the failing step reached the data.
    if (caso.passoQueFalha) {
      EXPECT_EQ(dados::PassosDadosContados(), caso.passoQueFalha) << caso.nome;
    }
  }
}

TEST_F(Autorizacao, ServidorQueNaoAtivaEReportado) {
  dados::RegistraServidorUsuario();  // the failing factory below must be the newer one
  auto* fabrica = qmx::testes::FabricaRoteirizada::Cria({qmx::com::E_ACCESSDENIED});
  qmx::com::CFabricaRegistrada registrada(dados::kClasseServidorUsuario, fabrica);
  fabrica->Release();
  const PontoDeVenda pdv = Executa(Login("supervisor", "avila2026"));
  EXPECT_EQ(pdv.resultado, ui::IDCANCEL);
  EXPECT_FALSE(pdv.autorizado);
  ASSERT_EQ(m_host.Caixas().size(), 1u);
  EXPECT_NE(m_host.Caixas()[0].texto.find("Resultado: 0x80070005"), std::string::npos);
  EXPECT_NE(m_host.Caixas()[0].texto.find("Mensagem: 267601  Detalhe: 0\nEmpresa: TESTE\nOrigem: QMXAutorizacao, linha 146"),
            std::string::npos)
      << m_host.Caixas()[0].texto;
  EXPECT_EQ(fabrica->chamadas, 1);
}

// Guessing passwords: from the fifth failure in a row each try waits,
// the right password too, and the waits grow to their ceiling.
TEST_F(Autorizacao, TentativasSeguidasEsperamCadaVezMais) {
  std::string roteiro;
  for (int i = 0; i < 11; ++i) roteiro += Login("supervisor", "chute" + std::to_string(i));
  const PontoDeVenda pdv = Executa(roteiro + Login("supervisor", "avila2026"));
  EXPECT_TRUE(pdv.autorizado);
  EXPECT_EQ(m_esperas, (std::vector<long long>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
  EXPECT_EQ(EventosDeLogin().size(), 11u);
  EXPECT_EQ(EventosDeLogin().back(), "Login recusado para o usuário \"supervisor\" / 11 falha(s) seguida(s)");
  // The success forgot the failures.
  m_esperas.clear();
  Executa(Login("supervisor", "avila2026"));
  EXPECT_TRUE(m_esperas.empty());
}

TEST(FreioLogin, ContaFalhasSeguidasAteUmMinutoDeDescanso) {
  const dados::InstanteFreio t0{};
  dados::InstanteFreio agora = t0;
  dados::CRelogioFreioSubstituido relogio({[&] { return agora; }, [](std::chrono::milliseconds) {}});
  dados::CFreioLogin& freio = dados::FreioLogin();
  const auto falhas = [&](const std::string& nome, int vezes) {
    for (int i = 0; i < vezes; ++i) freio.RegistraFalha(nome);
  };
  // Four failures: no wait; the fifth: one second.
  falhas("ana", 4);
  EXPECT_EQ(freio.EsperaDevida("ana", agora), 0ms);
  falhas("ana", 1);
  EXPECT_EQ(freio.EsperaDevida("ana", agora), 1000ms);
  EXPECT_EQ(freio.EsperaDevida("bia", agora), 0ms);  // names apart
  // Rest just short of a minute: still waits; a whole minute: forgotten.
  EXPECT_EQ(freio.EsperaDevida("ana", agora + 59999ms), 1000ms);
  EXPECT_EQ(freio.EsperaDevida("ana", agora + 60s), 0ms);
  agora += 60s;
  EXPECT_EQ(freio.RegistraFalha("ana"), 1);
  // Failures 59.999 s apart keep counting.
  for (int i = 2; i <= 5; ++i) {
    agora += 59999ms;
    EXPECT_EQ(freio.RegistraFalha("ana"), i);
  }
  EXPECT_EQ(freio.EsperaDevida("ana", agora), 1000ms);
  freio.RegistraSucesso("ana");
  EXPECT_EQ(freio.EsperaDevida("ana", agora), 0ms);
}

}  // namespace
