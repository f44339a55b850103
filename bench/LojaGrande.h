// The big store of the demonstration, written once per benchmark run and
// shared by the benchmarks of the file generators: branch 1 with 20 ECFs
// selling 1 000 cupons of 8 items a day through November 2026 (about 5
// million items), in SQLite and, when QMX_TESTE_POSTGRES names a server,
// in a schema of its own on PostgreSQL, reached directly and (engine 2)
// through a relay that delays each direction by QMX_BENCH_ATRASO_US
// microseconds (500 unless told: a 1 ms round trip).
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "cli/EmpresaDemo.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/PoolSessoes.h"
#include "ReleComAtraso.h"

namespace qmx::bench {

namespace fs = std::filesystem;
using namespace qmx::dados;
using Relogio = std::chrono::steady_clock;


inline constexpr int kEmissoras = 20;
inline const char* Chave(int motor) {
  return motor == 0 ? "LOJASQLITE" : motor == 1 ? "LOJAPOSTGRES" : "LOJAREDE";
}
inline const char* NomeMotor(int motor) {
  return motor == 0 ? "SQLite" : motor == 1 ? "PostgreSQL" : "PostgreSQL pela rede";
}
inline std::chrono::microseconds AtrasoDaRede() {
  const char* atraso = std::getenv("QMX_BENCH_ATRASO_US");
  return std::chrono::microseconds(atraso ? std::atol(atraso) : 500);
}

inline double Segundos(Relogio::time_point desde) { return std::chrono::duration<double>(Relogio::now() - desde).count(); }

// Resident memory of the process (kB): now and at its peak. The peak can be
// brought back to the present, so that each read shows its own.
inline long MemoriaKB(const char* campo) {
  std::ifstream status("/proc/self/status");
  for (std::string linha; std::getline(status, linha);)
    if (linha.rfind(campo, 0) == 0) return std::atol(linha.c_str() + std::strlen(campo));
  return -1;
}
inline void ZeraPico() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The registry file of the big stores, current while a case runs (other
// benchmarks of the run keep their own).
class RegistroDaLoja {
 public:
  explicit RegistroDaLoja(const fs::path& arquivo) {
    if (const char* anterior = std::getenv("QMX_REGISTRO")) m_anterior = anterior;
    setenv("QMX_REGISTRO", arquivo.c_str(), 1);
  }
  ~RegistroDaLoja() {
    if (m_anterior)
      setenv("QMX_REGISTRO", m_anterior->c_str(), 1);
    else
      unsetenv("QMX_REGISTRO");
  }

 private:
  std::optional<std::string> m_anterior;
};

struct Loja {
  std::string endereco;
  long long linhas = 0;  // cupons, items and payments
  long long itens = 0;
  double segundos = 0;
  double segundosVacuo = 0;  // of the seconds, PostgreSQL's VACUUM ANALYZE
};

class Lojas {
 public:
  static Lojas& Instancia() {
    static Lojas lojas;
    return lojas;
  }
  ~Lojas() {
    if (!m_esquema.empty())
      AbreSessao(std::getenv("QMX_TESTE_POSTGRES"))->ExecutaScript("DROP SCHEMA " + m_esquema + " CASCADE");
    fs::remove_all(m_pasta);
  }

  static bool TemPostgres() { return std::getenv("QMX_TESTE_POSTGRES") != nullptr; }
  const fs::path& Registro() const { return m_registro; }

  // The store on the engine, written now when the run has none yet.
  // Engine 2 is the PostgreSQL store through the delaying relay.
  const Loja& Pega(int motor) {
    if (motor == 2) return PelaRede();
    if (!m_lojas[motor]) m_lojas[motor] = Escreve(motor);
    return *m_lojas[motor];
  }

 private:
  Lojas() {
    std::string modelo = (fs::temp_directory_path() / "qmx-bench-loja-XXXXXX").string();
    if (!mkdtemp(modelo.data())) std::abort();
    m_pasta = modelo;
    m_registro = m_pasta / "registro.ini";
    std::ofstream criado(m_registro);
  }

  Loja Escreve(int motor) {
    Loja loja;
    if (motor == 0) {
      loja.endereco = "sqlite:" + (m_pasta / "loja.db").string();
    } else {
      const std::string servidor = std::getenv("QMX_TESTE_POSTGRES");
      if (m_esquema.empty()) m_esquema = "qmx_bench_loja_" + std::to_string(getpid());
      AbreSessao(servidor)->ExecutaScript("DROP SCHEMA IF EXISTS " + m_esquema + " CASCADE; CREATE SCHEMA " +
                                          m_esquema);
      loja.endereco = servidor + " options='-c search_path=" + m_esquema + "'";
    }
    cli::OpcoesDemo opcoes;
    opcoes.lojaGrande = true;
    opcoes.progresso = true;
    std::fprintf(stderr, "loja grande em %s\n", NomeMotor(motor));
    const auto inicio = Relogio::now();
    const auto resumo = cli::CriaEmpresaDemo(loja.endereco, opcoes);
    loja.segundos = Segundos(inicio);
    loja.segundosVacuo = resumo.segundosVacuo;
    Assenta(motor, loja.endereco);
    loja.itens = resumo.movimento.itens;
    loja.linhas = resumo.movimento.cupons + resumo.movimento.itens + resumo.movimento.pagamentos;
    std::ofstream registro(m_registro, std::ios::app);
    registro << "[SOFTWARE\\ZT Redudeva\\Empresas\\" << Chave(motor) << "]\nBaseDados=" << loja.endereco << "\n";
    return loja;
  }

  // The store's writes reach the disk before any case is timed: a server
  // still writing a just-loaded store back slows the cases that follow it on
  // the same disk (SQLite's among them). CHECKPOINT needs a role allowed to
  // ask for it; without one the server's own pace is left.
  static void Assenta(int motor, const std::string& endereco) {
    if (motor != 0) {
      try {
        AbreSessao(endereco)->ExecutaScript("CHECKPOINT");
      } catch (const std::exception& erro) {
        std::fprintf(stderr, "CHECKPOINT recusado: %s\n", erro.what());
      }
    }
    ::sync();
  }

  const Loja& PelaRede() {
    if (m_lojas[2]) return *m_lojas[2];
    Loja loja = Pega(1);
    std::string servidor;
    int porta = 0;
    if (ConexaoPeloRele(std::getenv("QMX_TESTE_POSTGRES"), 1, &servidor, &porta).empty())
      throw std::runtime_error("o relé precisa de um servidor PostgreSQL por TCP (host=... port=...)");
    m_rele = std::make_unique<CReleComAtraso>(servidor, porta, AtrasoDaRede());
    loja.endereco = ConexaoPeloRele(loja.endereco, m_rele->Porta(), &servidor, &porta);
    std::ofstream registro(m_registro, std::ios::app);
    registro << "[SOFTWARE\\ZT Redudeva\\Empresas\\" << Chave(2) << "]\nBaseDados=" << loja.endereco << "\n";
    m_lojas[2] = loja;
    return *m_lojas[2];
  }

  fs::path m_pasta, m_registro;
  std::string m_esquema;
  std::optional<Loja> m_lojas[3];
  std::unique_ptr<CReleComAtraso> m_rele;
};

inline bool Disponivel(benchmark::State& estado) {
  if (estado.range(0) >= 1 && !Lojas::TemPostgres()) {
    estado.SkipWithError("QMX_TESTE_POSTGRES não definida");
    return false;
  }
  return true;
}

}  // namespace qmx::bench
