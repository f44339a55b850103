#include "plataforma/dados/SessaoDados.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>
#include <utility>

namespace qmx::dados {

namespace {

const std::string kVazio;

// Numbers taken from a counter at a time inside a write transaction: the
// integration writes a few per item of a cupom, and a group of cupons
// several hundred, so a transaction's blocks of a counter double from the
// first to the largest; the first is as large as what the session's last
// transaction used.
constexpr std::int64_t kBlocoNumeros = 64;
constexpr std::int64_t kMaiorBloco = 4096;

std::atomic<std::int64_t> idasEVoltasDoProcesso{0};

}  // namespace

CSessaoDados::~CSessaoDados() = default;

std::int64_t CSessaoDados::IdasEVoltasDoProcesso() { return idasEVoltasDoProcesso.load(std::memory_order_relaxed); }

void CSessaoDados::ContaIdaEVolta() {
  ++m_idasEVoltas;
  idasEVoltasDoProcesso.fetch_add(1, std::memory_order_relaxed);
}

void CSessaoDados::Inicia() {
  m_reservas.clear();
  m_pontos.clear();
  IniciaNoMotor();
}

void CSessaoDados::Confirma() {
  // What was reserved and not used goes back, so the next writer starts
  // right after the last number written. The counter's row is still this
  // transaction's, so no one took numbers meanwhile.
  for (const auto& [contador, reserva] : m_reservas) {
    if (reserva.proximo <= reserva.ultimo)
      Enfileira("UPDATE qmx_sequencia SET valor = ? WHERE nome = ?", {reserva.proximo - 1, contador});
    m_usadosAntes[contador] = reserva.tomados - (reserva.ultimo - reserva.proximo + 1);
  }
  m_reservas.clear();
  m_pontos.clear();
  ConfirmaNoMotor();
}

void CSessaoDados::Desfaz() {
  m_reservas.clear();
  m_pontos.clear();
  DesfazNoMotor();
}

std::vector<std::vector<LinhaDados>> CSessaoDados::ConsultaJuntas(const std::vector<LeituraDados>& leituras) {
  std::vector<std::vector<LinhaDados>> saida;
  saida.reserve(leituras.size());
  for (const auto& leitura : leituras) saida.push_back(Consulta(leitura.sql, leitura.parametros));
  return saida;
}

std::int64_t CSessaoDados::ProximoNumero(const char* contador) {
  const bool bloco = EmTransacao();
  if (bloco) {
    auto achada = m_reservas.find(contador);
    if (achada != m_reservas.end() && achada->second.proximo <= achada->second.ultimo)
      return achada->second.proximo++;
  }
  std::int64_t quantos = 1, tomados = 0;
  if (bloco) {
    const auto anterior = m_reservas.find(contador);
    if (anterior != m_reservas.end()) {
      quantos = std::min(2 * anterior->second.bloco, kMaiorBloco);
      tomados = anterior->second.tomados;
    } else {
      // As many as the last transaction used, rounded up to a power of two.
      const auto usados = m_usadosAntes.find(contador);
      quantos = usados == m_usadosAntes.end()
                    ? kBlocoNumeros
                    : std::clamp<std::int64_t>(static_cast<std::int64_t>(std::bit_ceil(
                                                   static_cast<std::uint64_t>(std::max<std::int64_t>(usados->second, 1)))),
                                               kBlocoNumeros, kMaiorBloco);
    }
  }
  const auto linhas = Consulta("UPDATE qmx_sequencia SET valor = valor + ? WHERE nome = ? RETURNING valor",
                               {quantos, contador});
  if (linhas.empty()) throw CErroDados(com::E_FAIL, std::string("contador inexistente: ") + contador);
  const std::int64_t ultimo = linhas.front().Inteiro(0);
  if (bloco) m_reservas[contador] = Reserva{ultimo - quantos + 2, ultimo, quantos, tomados + quantos};
  return ultimo - quantos + 1;
}

namespace {
std::string NomeDoPonto(std::size_t nivel) { return "qmx_ponto" + std::to_string(nivel); }
}  // namespace

void CSessaoDados::MarcaPontoNoMotor(const std::string& nome) { Enfileira("SAVEPOINT " + nome, {}); }

void CSessaoDados::LiberaPontoNoMotor(const std::string& nome) { Enfileira("RELEASE SAVEPOINT " + nome, {}); }

void CSessaoDados::VoltaAoPontoNoMotor(const std::string& nome) {
  Executa("ROLLBACK TO SAVEPOINT " + nome, {});
  Enfileira("RELEASE SAVEPOINT " + nome, {});
}

void CSessaoDados::MarcaPonto() {
  MarcaPontoNoMotor(NomeDoPonto(m_pontos.size() + 1));
  m_pontos.push_back(m_reservas);
}

void CSessaoDados::LiberaPonto() {
  if (m_pontos.empty()) throw CErroDados(com::E_UNEXPECTED, "nenhum ponto de salvamento aberto");
  LiberaPontoNoMotor(NomeDoPonto(m_pontos.size()));
  m_pontos.pop_back();
}

void CSessaoDados::VoltaAoPonto() {
  if (m_pontos.empty()) throw CErroDados(com::E_UNEXPECTED, "nenhum ponto de salvamento aberto");
  VoltaAoPontoNoMotor(NomeDoPonto(m_pontos.size()));
  // The counters are back where the savepoint found them: so are the
  // numbers in hand (a block taken since then is no longer this
  // transaction's to hand out).
  m_reservas = std::move(m_pontos.back());
  m_pontos.pop_back();
}
CCursorDados::~CCursorDados() = default;

const std::string& LinhaDados::Texto(std::size_t i) const {
  const auto& coluna = m_colunas.at(i);
  return coluna ? *coluna : kVazio;
}

std::int64_t LinhaDados::Inteiro(std::size_t i) const {
  const auto& coluna = m_colunas.at(i);
  if (!coluna || coluna->empty()) return 0;
  return std::strtoll(coluna->c_str(), nullptr, 10);
}

}  // namespace qmx::dados
