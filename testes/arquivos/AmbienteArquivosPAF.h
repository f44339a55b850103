#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/RelogioSimulado.h"
#include "apoio/VerificaEAD.h"
#include "frame/DataCodificada.h"
#include "frame/LancaDialogo.h"
#include "plataforma/dados/FalhasInjetadas.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace qmx::testes {

// The serial number of ECF 1 of branch 1, which is also this computer's
// emulated printer.
inline constexpr const char* kSerieECF1 = "BE0910000000000000B2";

// A company for the PAF files of a branch: branch 1 with every field the
// files write (the legal name longer than its field), ECFs 1 and 2 of
// branch 1 and ECF 3 of branch 2, the operator allowed in branch 1 only,
// the system started on 1 January 2024, the library's clock at 15 June 2026
// 10:30:15, the message catalogues, this computer's emulated printer and a
// temporary folder of the test's own.
class AmbienteArquivosPAF : public ::testing::Test {
 protected:
  AmbienteArquivosPAF() : m_ativo(m_host), m(m_empresa) {
    setenv("TMPDIR", m_temporarios.Pasta().c_str(), 1);
    m_empresa.AcrescentaRegistro(RelogioSimulado("15/06/2026", "10:30:15") +
                                 "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    REG_FILIALPS f = m_empresa.Filial(1, "Mercado Ávila Centro", "SP", "");
    Copia(f.Cnpj, "12.345.678/0001-95");
    Copia(f.InscricaoMunicipal, "1.234.567-8");
    m_empresa.Gravador().GravaFilial(f, "Comércio de Alimentos Ávila Ltda - Matriz de São Paulo");
    m_empresa.Filial(2, "Mercado Ávila Praia", "SP", "Comércio de Alimentos Ávila Ltda - Filial");
    m_empresa.Emissora(1, 1, kSerieECF1);
    m_empresa.Emissora(2, 1, "AA0910000000000000A1");
    m_empresa.Emissora(3, 2, "ZZ0910000000000000Z3");
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));
    m_empresa.ImpressoraEmulada(kSerieECF1, "Relatorios=DAV EMITIDOS\n");
  }
  ~AmbienteArquivosPAF() override { unsetenv("TMPDIR"); }

  static std::uint16_t Dia(int dia, int mes) {
    return CodificaDia(static_cast<std::uint16_t>(dia), static_cast<std::uint16_t>(mes), 2026);
  }

  // Runs a dialog of the library on a script, the way its export does.
  template <class TDialogo>
  int Executa(const std::string& roteiro) {
    m_host.CarregaRoteiro(roteiro);
    return LancaDialogo<TDialogo>(
        [&](TDialogo& d, const TriploConexao&) { return d.Inicializa(m_empresa.Chave(), 1, 0); });
  }

  std::filesystem::path Enviado(const std::string& nome) const {
    return m_empresa.PastaEC() / "Arquivos-Eletronicos" / nome;
  }
  bool NadaEnviado() const {
    const auto pasta = m_empresa.PastaEC() / "Arquivos-Eletronicos";
    return !std::filesystem::exists(pasta) || std::filesystem::is_empty(pasta);
  }
  std::string CaminhoMostrado(const std::string& nome) const {
    return m_empresa.PastaEC().string() + "/Arquivos-Eletronicos\\" + nome;
  }
  std::string UltimaCaixa() const { return m_host.Caixas().empty() ? std::string() : m_host.Caixas().back().texto; }

  // The stored file, its signature checked, without its EAD line; every
  // line ends with `fimLinha` and has the width its type is given.
  std::string Gerado(const std::string& nome, const std::string& fimLinha,
                     const std::map<std::string, std::size_t>& larguras) {
    const std::string conteudo = PastaTemporaria::Le(Enviado(nome).string());
    EXPECT_TRUE(AssinaturaConfereNaLinhaDeComando(conteudo)) << nome;
    const std::string texto = conteudo.substr(0, conteudo.rfind("EAD"));
    for (std::size_t inicio = 0, fim; inicio < texto.size(); inicio = fim + fimLinha.size()) {
      fim = texto.find(fimLinha, inicio);
      if (fim == std::string::npos) {
        ADD_FAILURE() << nome << ": última linha sem fim";
        break;
      }
      const std::string linha = texto.substr(inicio, fim - inicio);
      const auto largura = larguras.find(linha.substr(0, 2));
      if (largura == larguras.end()) ADD_FAILURE() << nome << ": tipo desconhecido: " << linha;
      else EXPECT_EQ(linha.size(), largura->second) << linha;
      EXPECT_EQ(linha.find_first_of("\r\n"), std::string::npos) << linha;
    }
    return texto;
  }

  // Compares with the file checked by hand beside the tests; a difference
  // leaves what was made in the working folder, to read line by line (the
  // temporary folders go with the test).
  static void ConfereGolden(const std::string& gerado, const std::string& nome) {
    const std::string esperado = PastaTemporaria::Le(std::string(QMX_FONTES_TESTES) + "/arquivos/dados/" + nome);
    if (gerado == esperado) return;
    const std::string novo = (std::filesystem::current_path() / (nome + ".novo")).string();
    std::ofstream(novo, std::ios::binary) << gerado;
    ADD_FAILURE() << nome << " difere; gerado em " << novo;
  }

  // Runs the script once per data-server step after the dialog's start,
  // the step failing each time, and gives every run's outcome to `confere`
  // with the step; a failed run may leave no temporary file. The company
  // folder is emptied between runs.
  template <class TDialogo, class TConfere>
  void FalhaCadaPasso(const std::string& roteiro, TConfere&& confere) {
    std::string semOK = roteiro;
    semOK.replace(semOK.rfind("clica 1"), 7, "clica 2");
    const auto conta = [&](const std::string& r) {
      dados::CFalhaDadosInjetada contagem(0, com::E_FAIL);
      Executa<TDialogo>(r);
      std::filesystem::remove_all(m_empresa.PastaEC() / "Arquivos-Eletronicos");
      return dados::PassosDadosContados();
    };
    const int inicio = conta(semOK);
    const int passos = conta(roteiro);
    ASSERT_GT(passos, inicio);
    for (int passo = inicio + 1; passo <= passos; ++passo) {
      m_host.Limpa();
      int resultado = 0;
      {
        dados::CFalhaDadosInjetada falha(passo, com::RPC_S_SERVER_UNAVAILABLE);
        resultado = Executa<TDialogo>(roteiro);
      }
      confere(passo, resultado);
      // A run that did not store its file leaves no temporary behind (a
      // stored DAV file keeps its own, as the point of sale expects).
      if (resultado != ui::IDOK) EXPECT_EQ(m_temporarios.Entradas(), 0) << passo;
      for (const auto& sobra : std::filesystem::directory_iterator(m_temporarios.Pasta()))
        std::filesystem::remove_all(sobra.path());
      std::filesystem::remove_all(m_empresa.PastaEC() / "Arquivos-Eletronicos");
    }
  }

  PastaTemporaria m_temporarios;
  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;
  MovimentoTeste m;
};

// A limit on the size of the files this process writes, for as long as the
// object lives: a write past it fails (EFBIG) instead of stopping the process.
class LimiteTamanhoArquivo {
 public:
  explicit LimiteTamanhoArquivo(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_anterior);
    m_sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = m_anterior;
    limite.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limite);
  }
  ~LimiteTamanhoArquivo() {
    setrlimit(RLIMIT_FSIZE, &m_anterior);
    std::signal(SIGXFSZ, m_sinal);
  }
  LimiteTamanhoArquivo(const LimiteTamanhoArquivo&) = delete;
  LimiteTamanhoArquivo& operator=(const LimiteTamanhoArquivo&) = delete;

 private:
  rlimit m_anterior{};
  void (*m_sinal)(int) = SIG_DFL;
};

}  // namespace qmx::testes
