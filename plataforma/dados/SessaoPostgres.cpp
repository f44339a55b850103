#include "plataforma/dados/SessaoPostgres.h"

#include <libpq-fe.h>

#include <cstdlib>

#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/ValorBinarioPostgres.h"
#include "plataforma/processo/Andamento.h"

namespace qmx::dados {

namespace {

// Key of the advisory lock that serialises schema changes.
constexpr const char* kTravaEsquema = "SELECT pg_advisory_xact_lock(745201)";

void SemAvisos(void*, const PGresult*) {}

// Writes sent ahead before their answers are collected. Their answers wait
// in the socket meanwhile; a thousand of them stay far below its buffers,
// so the server never stops reading for want of a reader.
constexpr std::size_t kMaximoNaFila = 1000;

// The values of a statement's parameters as libpq takes them: texts, NULL
// as a null pointer.
struct Valores {
  std::vector<std::string> textos;
  std::vector<const char*> ponteiros;

  explicit Valores(const std::vector<ParametroDados>& parametros)
      : textos(parametros.size()), ponteiros(parametros.size(), nullptr) {
    for (std::size_t i = 0; i < parametros.size(); ++i) {
      const auto& p = parametros[i];
      if (p.tipo == ParametroDados::Tipo::Inteiro) textos[i] = std::to_string(p.inteiro);
      else if (p.tipo == ParametroDados::Tipo::Texto) textos[i] = p.texto;
      if (p.tipo != ParametroDados::Tipo::Nulo) ponteiros[i] = textos[i].c_str();
    }
  }
  int Quantos() const { return static_cast<int>(ponteiros.size()); }
};

}  // namespace

CSessaoPostgres::CSessaoPostgres(const std::string& conexao) {
  // The text encoding goes with the connection's own parameters: no
  // statement of its own to wait for, and a connection opened again after
  // its server was lost keeps it.
  const char* const chaves[] = {"dbname", "client_encoding", nullptr};
  const char* const valores[] = {conexao.c_str(), "UTF8", nullptr};
  m_conexao = PQconnectdbParams(chaves, valores, 1);
  ContaIdaEVolta();
  if (PQstatus(m_conexao) != CONNECTION_OK) {
    const std::string mensagem = PQerrorMessage(m_conexao);
    PQfinish(m_conexao);
    m_conexao = nullptr;
    throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "PostgreSQL: " + mensagem);
  }
  // Notices (such as "schema already exists") are not the operator's business.
  PQsetNoticeReceiver(m_conexao, SemAvisos, nullptr);
}

CSessaoPostgres::~CSessaoPostgres() {
  for (auto& [cursor, resultado] : m_guardados) PQclear(resultado);
  PQfinish(m_conexao);
}

bool CSessaoPostgres::Valida() const { return m_conexao && PQstatus(m_conexao) == CONNECTION_OK; }

std::string CSessaoPostgres::Numera(const std::string& sql) {
  std::string saida;
  saida.reserve(sql.size() + 8);
  int numero = 0;
  char aspas = 0;
  for (char c : sql) {
    if (aspas) {
      if (c == aspas) aspas = 0;
      saida += c;
    } else if (c == '\'' || c == '"') {
      aspas = c;
      saida += c;
    } else if (c == '?') {
      saida += '$' + std::to_string(++numero);
    } else {
      saida += c;
    }
  }
  return saida;
}

void CSessaoPostgres::Falha(PGresult* resultado, const std::string& contexto) {
  std::string mensagem = resultado ? PQresultErrorMessage(resultado) : "";
  if (mensagem.empty()) mensagem = PQerrorMessage(m_conexao);
  PQclear(resultado);
  const bool caiu = PQstatus(m_conexao) != CONNECTION_OK;
  throw CErroDados(caiu ? com::RPC_S_SERVER_UNAVAILABLE : QMX_E_FALHA_BASE,
                   "PostgreSQL: " + mensagem + " (" + contexto + ")");
}

PGresult* CSessaoPostgres::Tenta(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  auto achado = m_preparados.find(sql);
  if (achado == m_preparados.end()) {
    const std::string nome = "q" + std::to_string(++m_proximo);
    PGresult* preparo = PQprepare(m_conexao, nome.c_str(), Numera(sql).c_str(), 0, nullptr);
    ContaIdaEVolta();
    if (PQresultStatus(preparo) != PGRES_COMMAND_OK) return preparo;
    PQclear(preparo);
    achado = m_preparados.emplace(sql, nome).first;
  }
  const Valores valores(parametros);
  ContaIdaEVolta();
  return PQexecPrepared(m_conexao, achado->second.c_str(), valores.Quantos(), valores.ponteiros.data(), nullptr,
                        nullptr, 0);
}

void CSessaoPostgres::Enfileira(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  if (!m_transacao || !m_conexao) {
    Executa(sql, parametros);
    return;
  }
  if (!m_pontosAdiados.empty()) {
    m_adiados.push_back(Adiado{sql, parametros});
    // A savepoint holding many writes is sent after all.
    if (m_adiados.size() >= kMaximoNaFila) EnviaAdiados();
    return;
  }
  Envia(sql, parametros, false);
  if (m_fila.size() >= kMaximoNaFila) Escoa();
}

void CSessaoPostgres::EnviaAdiados() {
  if (m_adiados.empty()) return;
  std::vector<Adiado> adiados;
  adiados.swap(m_adiados);
  m_pontosAdiados.clear();
  for (const auto& adiado : adiados) {
    Envia(adiado.sql, adiado.parametros, false);
    if (m_fila.size() >= kMaximoNaFila) Escoa();
  }
}

void CSessaoPostgres::MarcaPontoNoMotor(const std::string& nome) {
  if (!m_transacao || !m_conexao) {
    CSessaoDados::MarcaPontoNoMotor(nome);
    return;
  }
  m_pontosAdiados.push_back(m_adiados.size());
  m_adiados.push_back(Adiado{"SAVEPOINT " + nome, {}});
}

void CSessaoPostgres::LiberaPontoNoMotor(const std::string& nome) {
  if (m_pontosAdiados.empty()) {
    CSessaoDados::LiberaPontoNoMotor(nome);
    return;
  }
  m_adiados.erase(m_adiados.begin() + static_cast<std::ptrdiff_t>(m_pontosAdiados.back()));
  m_pontosAdiados.pop_back();
  // Released into a level the server has (or into the transaction): its
  // writes go now, in their order.
  if (m_pontosAdiados.empty()) EnviaAdiados();
}

void CSessaoPostgres::VoltaAoPontoNoMotor(const std::string& nome) {
  if (m_pontosAdiados.empty()) {
    CSessaoDados::VoltaAoPontoNoMotor(nome);
    return;
  }
  m_adiados.resize(m_pontosAdiados.back());
  m_pontosAdiados.pop_back();
}

void CSessaoPostgres::Envia(const std::string& sql, const std::vector<ParametroDados>& parametros, bool guarda) {
  if (m_fila.empty()) {
    Recolhe();
    if (PQenterPipelineMode(m_conexao) != 1) Falha(nullptr, sql);
  }
  auto achado = m_preparados.find(sql);
  if (achado == m_preparados.end()) {
    const std::string nome = "q" + std::to_string(++m_proximo);
    achado = m_preparados.emplace(sql, nome).first;
    m_fila.push_back(NaFila{&achado->first, true, false});
    if (PQsendPrepare(m_conexao, nome.c_str(), Numera(sql).c_str(), 0, nullptr) != 1) NaoEnviou(sql);
  }
  const Valores valores(parametros);
  m_fila.push_back(NaFila{&achado->first, false, guarda});
  if (PQsendQueryPrepared(m_conexao, achado->second.c_str(), valores.Quantos(), valores.ponteiros.data(), nullptr,
                          nullptr, 0) != 1)
    NaoEnviou(sql);
}

void CSessaoPostgres::NaoEnviou(const std::string& sql) {
  const std::string mensagem = PQerrorMessage(m_conexao);
  // The statement that could not be sent is not in the pipeline.
  const NaFila perdido = m_fila.back();
  m_fila.pop_back();
  if (perdido.preparo) m_preparados.erase(*perdido.sql);
  Escoa();
  throw CErroDados(PQstatus(m_conexao) != CONNECTION_OK ? com::RPC_S_SERVER_UNAVAILABLE : QMX_E_FALHA_BASE,
                   "PostgreSQL: " + mensagem + " (" + sql + ")");
}

void CSessaoPostgres::Escoa(bool calado, std::vector<PGresult*>* guardadas) {
  if (m_fila.empty()) return;
  std::vector<NaFila> fila;
  fila.swap(m_fila);
  std::string falha;
  std::vector<PGresult*> respostas;
  const auto largaRespostas = [&] {
    for (PGresult* r : respostas) PQclear(r);
    respostas.clear();
  };
  bool caiu = PQpipelineSync(m_conexao) != 1;
  ContaIdaEVolta();
  // Each statement answers one result and then a null; the sync answers
  // last. A broken connection answers nulls or a fatal error from then on.
  std::size_t i = 0;
  for (int nulos = 0; !caiu;) {
    PGresult* r = PQgetResult(m_conexao);
    if (!r) {
      if (PQstatus(m_conexao) != CONNECTION_OK || ++nulos > 2) caiu = true;
      continue;
    }
    nulos = 0;
    const auto estado = PQresultStatus(r);
    if (estado == PGRES_PIPELINE_SYNC) {
      PQclear(r);
      break;
    }
    const bool certo = estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK;
    if (i < fila.size()) {
      // A statement never prepared on the server is prepared again next time.
      if (!certo && fila[i].preparo) m_preparados.erase(*fila[i].sql);
      // A statement that waits for its answer reports its own failure.
      const bool guardada = fila[i].guarda;
      if (!certo && !guardada && falha.empty() && estado != PGRES_PIPELINE_ABORTED)
        falha = std::string(PQresultErrorMessage(r)) + " (" + *fila[i].sql + ")";
      ++i;
      if (guardada) {
        respostas.push_back(r);
        continue;
      }
    }
    PQclear(r);
  }
  if (caiu) {
    // Whatever was not answered counts as not prepared.
    for (; i < fila.size(); ++i)
      if (fila[i].preparo) m_preparados.erase(*fila[i].sql);
  } else {
    PQexitPipelineMode(m_conexao);
  }
  if (calado) {
    largaRespostas();
    return;
  }
  if (caiu || PQstatus(m_conexao) != CONNECTION_OK) {
    largaRespostas();
    throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "PostgreSQL: " + std::string(PQerrorMessage(m_conexao)));
  }
  if (!falha.empty()) {
    largaRespostas();
    throw CErroDados(QMX_E_FALHA_BASE, "PostgreSQL: " + falha);
  }
  if (guardadas) guardadas->swap(respostas);
  largaRespostas();
}

PGresult* CSessaoPostgres::Roda(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  if (!m_conexao) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "PostgreSQL: sessão fechada");
  Recolhe();
  EnviaAdiados();
  // Writes sent ahead go with this statement: their answers and its own
  // come back in one round trip.
  if (!m_fila.empty()) {
    Envia(sql, parametros, true);
    std::vector<PGresult*> respostas;
    Escoa(false, &respostas);
    PGresult* r = respostas.empty() ? nullptr : respostas.front();
    const auto estado = PQresultStatus(r);
    if (estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK) return r;
    Falha(r, sql);
  }
  PGresult* r = Tenta(sql, parametros);
  const auto estado = PQresultStatus(r);
  if (estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK) return r;
  // A session taken from the pool may have lost its server (a restart, an
  // idle timeout). Outside a transaction nothing is lost by opening it
  // again and running the statement once more.
  if (PQstatus(m_conexao) != CONNECTION_OK && !m_transacao) {
    PQclear(r);
    if (!Reabre()) Falha(nullptr, sql);
    r = Tenta(sql, parametros);
    const auto novo = PQresultStatus(r);
    if (novo == PGRES_COMMAND_OK || novo == PGRES_TUPLES_OK) return r;
  }
  Falha(r, sql);
}

std::vector<LinhaDados> CSessaoPostgres::Consulta(const std::string& sql,
                                                  const std::vector<ParametroDados>& parametros) {
  return Linhas(Roda(sql, parametros));
}

bool CSessaoPostgres::Reabre() {
  PQreset(m_conexao);
  ContaIdaEVolta();
  m_preparados.clear();
  return PQstatus(m_conexao) == CONNECTION_OK;
}

std::vector<std::vector<LinhaDados>> CSessaoPostgres::ConsultaJuntas(const std::vector<LeituraDados>& leituras) {
  if (!m_conexao || leituras.size() < 2) return CSessaoDados::ConsultaJuntas(leituras);
  if (m_transacao) return EnviaJuntas(leituras);
  // Outside a transaction a session that lost its server is opened again
  // and the reads sent once more, as a single read is: reading twice
  // changes nothing.
  try {
    return EnviaJuntas(leituras);
  } catch (const CErroDados& erro) {
    if (erro.Resultado() != com::RPC_S_SERVER_UNAVAILABLE || PQstatus(m_conexao) == CONNECTION_OK || !Reabre())
      throw;
  }
  return EnviaJuntas(leituras);
}

std::vector<std::vector<LinhaDados>> CSessaoPostgres::EnviaJuntas(const std::vector<LeituraDados>& leituras) {
  Recolhe();
  EnviaAdiados();
  for (const auto& leitura : leituras) Envia(leitura.sql, leitura.parametros, true);
  std::vector<PGresult*> respostas;
  Escoa(false, &respostas);
  std::vector<std::vector<LinhaDados>> saida;
  for (std::size_t i = 0; i < respostas.size(); ++i) {
    const auto estado = PQresultStatus(respostas[i]);
    if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
      for (std::size_t j = i + 1; j < respostas.size(); ++j) PQclear(respostas[j]);
      Falha(respostas[i], leituras[i].sql);
    }
    saida.push_back(Linhas(respostas[i]));
  }
  return saida;
}

std::vector<LinhaDados> CSessaoPostgres::Linhas(PGresult* r) {
  const int linhas = PQntuples(r), colunas = PQnfields(r);
  std::vector<LinhaDados> saida;
  saida.reserve(static_cast<std::size_t>(linhas));
  for (int l = 0; l < linhas; ++l) {
    std::vector<std::optional<std::string>> valores(colunas);
    for (int c = 0; c < colunas; ++c)
      if (!PQgetisnull(r, l, c))
        valores[c] = std::string(PQgetvalue(r, l, c), static_cast<std::size_t>(PQgetlength(r, l, c)));
    saida.emplace_back(std::move(valores));
  }
  PQclear(r);
  return saida;
}

namespace {

// A result read in place, whole. Its columns come as text, or in binary
// from a cursor of a transaction (read straight into numbers, without the
// server writing them as text and the client reading them back).
class CCursorPostgres : public CCursorDados {
 public:
  explicit CCursorPostgres(PGresult* resultado) : m_resultado(resultado), m_linhas(PQntuples(resultado)) {
    Descreve();
  }
  ~CCursorPostgres() override { PQclear(m_resultado); }

  bool Proxima() override {
    if (m_linha + 1 >= m_linhas) {
      m_linha = m_linhas;
      return false;
    }
    ++m_linha;
    // A long walk tells now and then how far it has gone.
    if ((++m_lidas & 4095) == 0) processo::ContaLeitura(4096);
    return true;
  }
  bool Nulo(int i) const override { return PQgetisnull(m_resultado, m_linha, i) != 0; }
  std::int64_t Inteiro(int i) const override {
    if (Nulo(i)) return 0;
    const char* valor = PQgetvalue(m_resultado, m_linha, i);
    const Coluna& coluna = m_colunas[static_cast<std::size_t>(i)];
    if (!coluna.binaria) return std::strtoll(valor, nullptr, 10);
    return postgres::InteiroBinario(coluna.tipo, valor, PQgetlength(m_resultado, m_linha, i));
  }
  std::string_view Texto(int i) const override {
    const char* valor = PQgetvalue(m_resultado, m_linha, i);
    const auto tamanho = PQgetlength(m_resultado, m_linha, i);
    const Coluna& coluna = m_colunas[static_cast<std::size_t>(i)];
    if (!coluna.binaria || coluna.texto || Nulo(i)) return {valor, static_cast<std::size_t>(tamanho)};
    // A number read as text: written as the server would, kept until the
    // next row.
    coluna.escrito = postgres::TextoBinario(coluna.tipo, valor, tamanho);
    return coluna.escrito;
  }

 protected:
  // Each column's type and form, read once a result.
  void Descreve() {
    m_colunas.resize(static_cast<std::size_t>(PQnfields(m_resultado)));
    for (std::size_t i = 0; i < m_colunas.size(); ++i) {
      auto& coluna = m_colunas[i];
      coluna.tipo = PQftype(m_resultado, static_cast<int>(i));
      coluna.binaria = PQfformat(m_resultado, static_cast<int>(i)) == 1;
      coluna.texto = postgres::TipoDeTexto(coluna.tipo);
    }
  }

  struct Coluna {
    unsigned tipo = 0;
    bool binaria = false;
    bool texto = false;
    mutable std::string escrito;
  };
  PGresult* m_resultado;
  int m_linhas;
  int m_linha = -1;
  std::uint32_t m_lidas = 0;
  std::vector<Coluna> m_colunas;
};

// A server-side cursor of the session's transaction, read kLinhasPorLote
// rows at a time: a day of a busy branch is never held whole. The next
// rows are asked for as soon as a piece arrives, so the server produces
// them while this one is walked.
class CCursorPostgresPorLotes : public CCursorPostgres {
 public:
  CCursorPostgresPorLotes(CSessaoPostgres& sessao, std::string nome, PGresult* primeiro)
      : CCursorPostgres(primeiro), m_sessao(sessao), m_nome(std::move(nome)) {
    Adianta();
  }
  ~CCursorPostgresPorLotes() override {
    // A cursor left before its end is closed; one read to its end holds
    // nothing worth a round trip, and the transaction's end closes it.
    try {
      m_sessao.Esquece(m_nome);
      if (m_linhas == CSessaoPostgres::kLinhasPorLote && m_sessao.EmTransacao())
        m_sessao.ExecutaScript("CLOSE " + m_nome);
    } catch (const CErroDados&) {
    }
  }

  bool Proxima() override {
    if (CCursorPostgres::Proxima()) {
      // Every so often what has arrived of the next piece is taken in.
      if ((m_linha & 511) == 511) m_sessao.Absorve();
      return true;
    }
    if (m_linhas < CSessaoPostgres::kLinhasPorLote) return false;
    PGresult* lote = m_sessao.Busca(m_nome);
    PQclear(m_resultado);
    m_resultado = lote;
    m_linhas = PQntuples(lote);
    m_linha = -1;
    Descreve();
    Adianta();
    return CCursorPostgres::Proxima();
  }

 private:
  void Adianta() {
    if (m_linhas == CSessaoPostgres::kLinhasPorLote) m_sessao.Adianta(m_nome);
  }

  CSessaoPostgres& m_sessao;
  std::string m_nome;
};

}  // namespace

std::unique_ptr<CCursorDados> CSessaoPostgres::Abre(const std::string& sql,
                                                    const std::vector<ParametroDados>& parametros) {
  if (!m_transacao) return std::make_unique<CCursorPostgres>(Roda(sql, parametros));
  if (!m_conexao) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "PostgreSQL: sessão fechada");
  Recolhe();
  EnviaAdiados();
  Escoa();
  const std::string nome = "qmx_cursor_" + std::to_string(++m_cursores);
  const Valores valores(parametros);
  // In binary: integers travel as their bytes, texts as they are.
  PGresult* r = PQexecParams(m_conexao, ("DECLARE " + nome + " BINARY NO SCROLL CURSOR FOR " + Numera(sql)).c_str(),
                             valores.Quantos(), nullptr, valores.ponteiros.data(), nullptr, nullptr, 0);
  ContaIdaEVolta();
  if (PQresultStatus(r) != PGRES_COMMAND_OK) Falha(r, sql);
  PQclear(r);
  return std::make_unique<CCursorPostgresPorLotes>(*this, nome, Busca(nome));
}

namespace {
std::string BuscaDe(const std::string& cursor) {
  return "FETCH " + std::to_string(CSessaoPostgres::kLinhasPorLote) + " FROM " + cursor;
}
}  // namespace

PGresult* CSessaoPostgres::Busca(const std::string& cursor) {
  if (m_adiantado == cursor) Recolhe();
  PGresult* r = nullptr;
  if (auto guardado = m_guardados.find(cursor); guardado != m_guardados.end()) {
    r = guardado->second;
    m_guardados.erase(guardado);
  } else {
    Recolhe();
    EnviaAdiados();
    Escoa();
    r = PQexec(m_conexao, BuscaDe(cursor).c_str());
    ContaIdaEVolta();
  }
  if (PQresultStatus(r) != PGRES_TUPLES_OK) Falha(r, BuscaDe(cursor));
  return r;
}

void CSessaoPostgres::Adianta(const std::string& cursor) {
  // Not while writes are in the pipeline, nor while another cursor's
  // request is out: those would have to be waited for first anyway.
  if (!m_conexao || !m_adiantado.empty() || !m_fila.empty() || !m_adiados.empty() || !m_transacao) return;
  if (PQsendQuery(m_conexao, BuscaDe(cursor).c_str()) != 1) return;
  m_adiantado = cursor;
  ContaIdaEVolta();
}

void CSessaoPostgres::Absorve() {
  if (!m_adiantado.empty()) PQconsumeInput(m_conexao);
}

void CSessaoPostgres::Recolhe() {
  if (m_adiantado.empty()) return;
  const std::string cursor = std::move(m_adiantado);
  m_adiantado.clear();
  // One answer, then a null. A failure is kept for the cursor to report
  // when it asks; the server has undone the transaction's work by then, and
  // any other statement reports that on its own.
  PGresult* resposta = nullptr;
  while (PGresult* r = PQgetResult(m_conexao)) {
    if (resposta) PQclear(resposta);
    resposta = r;
  }
  if (resposta) m_guardados[cursor] = resposta;
}

void CSessaoPostgres::Esquece(const std::string& cursor) {
  if (m_adiantado == cursor) Recolhe();
  if (auto guardado = m_guardados.find(cursor); guardado != m_guardados.end()) {
    PQclear(guardado->second);
    m_guardados.erase(guardado);
  }
}

std::int64_t CSessaoPostgres::Executa(const std::string& sql, const std::vector<ParametroDados>& parametros) {
  PGresult* r = Roda(sql, parametros);
  const char* alteradas = PQcmdTuples(r);
  const std::int64_t total = (alteradas && *alteradas) ? std::strtoll(alteradas, nullptr, 10) : 0;
  PQclear(r);
  return total;
}

void CSessaoPostgres::ExecutaScript(const std::string& sql) {
  if (!m_conexao) throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "PostgreSQL: sessão fechada");
  Recolhe();
  EnviaAdiados();
  Escoa();
  PGresult* r = PQexec(m_conexao, sql.c_str());
  ContaIdaEVolta();
  const auto estado = PQresultStatus(r);
  if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) Falha(r, "script");
  PQclear(r);
}

void CSessaoPostgres::IniciaNoMotor() {
  m_adiados.clear();
  m_pontosAdiados.clear();
  Executa("BEGIN", {});
  m_transacao = true;
}

void CSessaoPostgres::IniciaLeitura() {
  Executa("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", {});
  m_transacao = true;
  // The snapshot is taken by the transaction's first statement.
  Consulta("SELECT 1", {});
}

void CSessaoPostgres::ConfirmaNoMotor() {
  // COMMIT goes with the writes sent ahead, in one round trip. A write that
  // failed makes the server skip it and leaves the transaction open, for
  // the caller's rollback. It is never run again on a new connection (the
  // transaction went with the old one), so the session counts as in a
  // transaction until it has its answer.
  PGresult* r = Roda("COMMIT", {});
  m_transacao = false;
  // A transaction that failed earlier answers COMMIT with ROLLBACK: that is
  // a failure of the commit, never a success.
  const bool desfeita = std::string(PQcmdStatus(r)) == "ROLLBACK";
  PQclear(r);
  if (desfeita) throw CErroDados(QMX_E_FALHA_BASE, "PostgreSQL: a transação falhou e foi desfeita (COMMIT)");
}

void CSessaoPostgres::DesfazNoMotor() {
  m_transacao = false;
  // What was held back never reaches the server.
  m_adiados.clear();
  m_pontosAdiados.clear();
  Recolhe();
  Escoa(true);
  if (m_conexao && PQtransactionStatus(m_conexao) != PQTRANS_IDLE) {
    PQclear(PQexec(m_conexao, "ROLLBACK"));
    ContaIdaEVolta();
  }
}

void CSessaoPostgres::BloqueiaEsquema() { Consulta(kTravaEsquema, {}); }

}  // namespace qmx::dados
