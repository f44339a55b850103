#include "plataforma/dados/SessaoDados.h"

#include <cstdlib>
#include <utility>

namespace qmx::dados {

namespace {

const std::string kVazio;

// Numbers taken from a counter at a time inside a write transaction: the
// integration writes a few per item of a cupom.
constexpr std::int64_t kBlocoNumeros = 64;

}  // namespace

CSessaoDados::~CSessaoDados() = default;

void CSessaoDados::Inicia() {
  m_reservas.clear();
  m_reservasNoPonto.reset();
  IniciaNoMotor();
}

void CSessaoDados::Confirma() {
  // What was reserved and not used goes back, so the next writer starts
  // right after the last number written. The counter's row is still this
  // transaction's, so no one took numbers meanwhile.
  for (const auto& [contador, reserva] : m_reservas)
    if (reserva.proximo <= reserva.ultimo)
      Enfileira("UPDATE qmx_sequencia SET valor = ? WHERE nome = ?", {reserva.proximo - 1, contador});
  m_reservas.clear();
  m_reservasNoPonto.reset();
  ConfirmaNoMotor();
}

void CSessaoDados::Desfaz() {
  m_reservas.clear();
  m_reservasNoPonto.reset();
  DesfazNoMotor();
}

std::int64_t CSessaoDados::ProximoNumero(const char* contador) {
  const bool bloco = EmTransacao();
  if (bloco) {
    auto achada = m_reservas.find(contador);
    if (achada != m_reservas.end() && achada->second.proximo <= achada->second.ultimo)
      return achada->second.proximo++;
  }
  const std::int64_t quantos = bloco ? kBlocoNumeros : 1;
  const auto linhas = Consulta("UPDATE qmx_sequencia SET valor = valor + ? WHERE nome = ? RETURNING valor",
                               {quantos, contador});
  if (linhas.empty()) throw CErroDados(com::E_FAIL, std::string("contador inexistente: ") + contador);
  const std::int64_t ultimo = linhas.front().Inteiro(0);
  if (bloco) m_reservas[contador] = Reserva{ultimo - quantos + 2, ultimo};
  return ultimo - quantos + 1;
}

void CSessaoDados::MarcaPonto() {
  Enfileira("SAVEPOINT qmx_ponto", {});
  m_reservasNoPonto = m_reservas;
}

void CSessaoDados::LiberaPonto() {
  Enfileira("RELEASE SAVEPOINT qmx_ponto", {});
  m_reservasNoPonto.reset();
}

void CSessaoDados::VoltaAoPonto() {
  Executa("ROLLBACK TO SAVEPOINT qmx_ponto", {});
  Enfileira("RELEASE SAVEPOINT qmx_ponto", {});
  // The counters are back where the savepoint found them: so are the
  // numbers in hand (a block taken since then is no longer this
  // transaction's to hand out).
  if (m_reservasNoPonto) m_reservas = std::move(*m_reservasNoPonto);
  m_reservasNoPonto.reset();
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
