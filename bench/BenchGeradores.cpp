// Every file generator on the big store of the demonstration, on SQLite
// (motor 0) and on PostgreSQL (motor 1, when QMX_TESTE_POSTGRES names a
// server), for half of November 2026 and for the whole month, each against
// its limit: the same reads the generation ran, in the same order, through
// the engine's own interface with bare prepared statements (every column of
// every row touched), then as many bytes written with the generators' own
// writer and signed with the EAD line.
//
// Counters: linhas (rows the reads answered), s (the generation, signing
// included), s_limite, razao (s / s_limite), pico_MB (peak resident memory
// of the generation: VmHWM, reset before it), MB (the file). The peak must
// not grow from half the month to the month. scripts/bench-loja-grande.sh
// prints them as one table.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <map>
#include <string>
#include <vector>

#include "LojaGrande.h"
#include "arquivos/SaidaTemporaria.h"
#include "arquivos/efd/GeradorEFD.h"
#include "arquivos/efd/GeradorVendaPeriodo.h"
#include "arquivos/paf/GeradorDAVs.h"
#include "arquivos/paf/GeradorEstoque.h"
#include "arquivos/paf/GeradorMovimentos.h"
#include "arquivos/paf/GeradorTabelaProdutos.h"
#include "arquivos/relatorios/RelatorioMeiosPagamento.h"
#include "arquivos/sintegra/GeradorSintegra.h"
#include "fisco/AssinaturaEAD.h"
#include "frame/QMXGenerica.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/SessaoPostgres.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace {

using namespace qmx;
using namespace qmx::bench;
using dados::LeituraAnotada;
using dados::ParametroDados;

NumeroDia Dia(int dia) { return CodificaDia(static_cast<std::uint16_t>(dia), 11, 2026); }

// The reads replayed on SQLite: one read transaction, as the generators
// hold; answers the rows read.
long long RepeteSQLite(const std::string& arquivo, const std::vector<LeituraAnotada>& leituras) {
  sqlite3* base = nullptr;
  if (sqlite3_open_v2(arquivo.c_str(), &base, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) std::abort();
  sqlite3_exec(base, "BEGIN", nullptr, nullptr, nullptr);
  std::map<std::string, sqlite3_stmt*> preparados;
  long long linhas = 0, soma = 0;
  for (const auto& l : leituras) {
    sqlite3_stmt*& comando = preparados[l.sql];
    if (!comando && sqlite3_prepare_v3(base, l.sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &comando, nullptr) !=
                        SQLITE_OK)
      std::abort();
    for (int i = 0; i < static_cast<int>(l.parametros.size()); ++i) {
      const auto& p = l.parametros[static_cast<std::size_t>(i)];
      if (p.tipo == ParametroDados::Tipo::Inteiro) sqlite3_bind_int64(comando, i + 1, p.inteiro);
      else if (p.tipo == ParametroDados::Tipo::Texto)
        sqlite3_bind_text(comando, i + 1, p.texto.data(), static_cast<int>(p.texto.size()), SQLITE_STATIC);
      else sqlite3_bind_null(comando, i + 1);
    }
    const int colunas = sqlite3_column_count(comando);
    while (sqlite3_step(comando) == SQLITE_ROW) {
      for (int c = 0; c < colunas; ++c)
        soma += sqlite3_column_type(comando, c) == SQLITE_INTEGER ? sqlite3_column_int64(comando, c)
                                                                  : sqlite3_column_bytes(comando, c);
      ++linhas;
    }
    sqlite3_reset(comando);
  }
  benchmark::DoNotOptimize(soma);
  for (auto& [sql, comando] : preparados) sqlite3_finalize(comando);
  sqlite3_exec(base, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(base);
  return linhas;
}

// The same on PostgreSQL: one REPEATABLE READ transaction; a read walked
// with a cursor is a server-side cursor fetched in the same pieces as the
// library's, the next asked for ahead; a read whole is one prepared
// statement.
long long RepetePostgres(const std::string& conexao, const std::vector<LeituraAnotada>& leituras) {
  PGconn* pg = PQconnectdb(conexao.c_str());
  if (PQstatus(pg) != CONNECTION_OK) std::abort();
  PQclear(PQexec(pg, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
  std::map<std::string, std::string> preparados;
  long long linhas = 0, soma = 0;
  std::vector<const char*> valores;
  std::vector<std::string> textos;
  const auto le = [&](PGresult* r) {
    if (PQresultStatus(r) != PGRES_TUPLES_OK) std::abort();
    const int n = PQntuples(r), colunas = PQnfields(r);
    for (int i = 0; i < n; ++i)
      for (int c = 0; c < colunas; ++c) soma += PQgetlength(r, i, c) + *PQgetvalue(r, i, c);
    linhas += n;
    PQclear(r);
    return n;
  };
  const std::string busca = "FETCH " + std::to_string(dados::CSessaoPostgres::kLinhasPorLote) + " FROM ";
  int cursores = 0;
  for (const auto& l : leituras) {
    textos.assign(l.parametros.size(), {});
    valores.assign(l.parametros.size(), nullptr);
    for (std::size_t i = 0; i < l.parametros.size(); ++i) {
      const auto& p = l.parametros[i];
      if (p.tipo == ParametroDados::Tipo::Inteiro) textos[i] = std::to_string(p.inteiro);
      else if (p.tipo == ParametroDados::Tipo::Texto) textos[i] = p.texto;
      if (p.tipo != ParametroDados::Tipo::Nulo) valores[i] = textos[i].c_str();
    }
    if (l.cursor) {
      // Read to its end, as the generators read theirs: left open until
      // the commit, as the library leaves them.
      const std::string cursor = "c" + std::to_string(++cursores);
      PGresult* r = PQexecParams(
          pg, ("DECLARE " + cursor + " NO SCROLL CURSOR FOR " + dados::CSessaoPostgres::Numera(l.sql)).c_str(),
          static_cast<int>(valores.size()), nullptr, valores.data(), nullptr, nullptr, 0);
      if (PQresultStatus(r) != PGRES_COMMAND_OK) std::abort();
      PQclear(r);
      // Each next piece asked for before the current one is read, as the
      // library does.
      const std::string proxima = busca + cursor;
      PGresult* lote = PQexec(pg, proxima.c_str());
      for (;;) {
        const bool cheio = PQntuples(lote) == dados::CSessaoPostgres::kLinhasPorLote;
        if (cheio && PQsendQuery(pg, proxima.c_str()) != 1) std::abort();
        le(lote);
        if (!cheio) break;
        lote = PQgetResult(pg);
        if (PQgetResult(pg) != nullptr) std::abort();
      }
      continue;
    }
    auto achado = preparados.find(l.sql);
    if (achado == preparados.end()) {
      const std::string nome = "b" + std::to_string(preparados.size());
      PGresult* r = PQprepare(pg, nome.c_str(), dados::CSessaoPostgres::Numera(l.sql).c_str(), 0, nullptr);
      if (PQresultStatus(r) != PGRES_COMMAND_OK) std::abort();
      PQclear(r);
      achado = preparados.emplace(l.sql, nome).first;
    }
    le(PQexecPrepared(pg, achado->second.c_str(), static_cast<int>(valores.size()), valores.data(), nullptr, nullptr,
                      0));
  }
  benchmark::DoNotOptimize(soma);
  PQclear(PQexec(pg, "COMMIT"));
  PQfinish(pg);
  return linhas;
}

// As many bytes, in lines of 128, with the generators' writer, then signed
// with the EAD line (the digest of the whole file and its signature).
void EscreveEAssina(const std::string& caminho, std::uintmax_t bytes) {
  {
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    const std::string linha = std::string(126, 'x') + "\r\n";
    for (std::uintmax_t escritos = 0; escritos < bytes; escritos += linha.size())
      arquivo.EscreverTexto(
          std::string_view(linha).substr(0, std::min<std::uintmax_t>(linha.size(), bytes - escritos)));
    arquivo.Fechar();
  }
  if (!AssinaturaEAD::AssinaArquivo(caminho)) std::abort();
}

// What a generation is given: the company's triple, the period and where
// its file goes. It answers nothing: the file's size is read from the disk.
struct Pedido {
  TriploConexao triplo;
  NumeroDia inicial, final;
  std::string caminho;
};

// Signs a file written whole, as the exports do before storing it.
void Assina(const std::string& caminho) {
  if (!AssinaturaEAD::AssinaArquivo(caminho)) std::abort();
}

// Writes what a temporary output holds to the file the generation names.
void Guarda(CSaidaTemporaria& saida, const std::string& caminho) {
  saida.Fecha();
  fs::copy_file(texto::CaminhoNativo(saida.Caminho()), caminho, fs::copy_options::overwrite_existing);
  Assina(caminho);
}

template <class Gera>
void Mede(benchmark::State& estado, Gera&& gera) {
  if (!Disponivel(estado)) return;
  const int motor = static_cast<int>(estado.range(0));
  const int dias = static_cast<int>(estado.range(1));
  const Loja& loja = Lojas::Instancia().Pega(motor);
  RegistroDaLoja registro(Lojas::Instancia().Registro());
  const fs::path pasta = fs::path(Lojas::Instancia().Registro()).parent_path();
  const Pedido pedido{{Chave(motor), 1, 0}, Dia(1), Dia(dias), (pasta / "gerado.txt").string()};
  for (auto _ : estado) {
    fs::remove(pedido.caminho);
    std::vector<LeituraAnotada> leituras;
    leituras.reserve(1 << 16);
    ZeraPico();
    dados::AnotaLeituras(&leituras);
    auto inicio = Relogio::now();
    {
      // The generation reads in one snapshot, as the exports have it read.
      const dados::CInstanteLeitura instante(pedido.triplo.chaveEmpresa);
      gera(pedido);
    }
    const double segundos = Segundos(inicio);
    dados::AnotaLeituras(nullptr);
    const long pico = MemoriaKB("VmHWM:");
    const auto bytes = fs::exists(pedido.caminho) ? fs::file_size(pedido.caminho) : 0;
    inicio = Relogio::now();
    const long long linhas = motor == 0 ? RepeteSQLite(ArquivoSQLite(loja.endereco), leituras)
                                        : RepetePostgres(loja.endereco, leituras);
    if (bytes) EscreveEAssina((pasta / "limite.txt").string(), bytes);
    const double limite = Segundos(inicio);
    estado.SetIterationTime(segundos);
    estado.counters["linhas"] = static_cast<double>(linhas);
    estado.counters["s"] = segundos;
    estado.counters["s_limite"] = limite;
    estado.counters["razao"] = segundos / limite;
    estado.counters["pico_MB"] = pico / 1024.0;
    estado.counters["MB"] = static_cast<double>(bytes) / 1e6;
  }
  fs::remove(pedido.caminho);
  fs::remove(pasta / "limite.txt");
}

// Registers a generator for both engines, half the month and the whole.
#define QMX_GERADOR(Nome)                                                                                      \
  BENCHMARK(Nome)->ArgNames({"motor", "dias"})->ArgsProduct({{0, 1}, {15, 30}})->Iterations(1)->UseManualTime() \
      ->Unit(benchmark::kSecond)

void BM_Sintegra(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    sintegra::FiltroSintegra filtro;
    filtro.filial = 1;
    filtro.dataInicial = p.inicial;
    filtro.dataFinal = p.final;
    sintegra::CGeradorSintegra(p.triplo).Gera(filtro, p.caminho,
                                              [](int fd) { return AssinaturaEAD::AssinaDescritor(fd); });
  });
}
QMX_GERADOR(BM_Sintegra);

void BM_ExtratoSped(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    efd::CGeradorEFD gerador(p.triplo, {1, 0, p.inicial, p.final, 'A'});
    gerador.GeraRegistrosECF();
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(p.caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    gerador.EscreveArquivo(arquivo);
    arquivo.Fechar();
  });
}
QMX_GERADOR(BM_ExtratoSped);

template <char perfil>
void BM_VendaPeriodo(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    efd::CGeradorEFD ecf(p.triplo, {1, 0, p.inicial, p.final, perfil});
    ecf.GeraRegistrosECF();
    if (!venda::CGeradorVendaPeriodo(p.triplo, {1, p.inicial, p.final, perfil}, ecf)
             .Gera(p.caminho, [](int fd) { return AssinaturaEAD::AssinaDescritor(fd); }))
      std::abort();
  });
}
QMX_GERADOR(BM_VendaPeriodo<'A'>);
QMX_GERADOR(BM_VendaPeriodo<'B'>);

void BM_Movimentos(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    movimentos::DadosMovimentos d;
    d.triplo = p.triplo;
    CQMXGenerica generica;
    generica.Inicializa(p.triplo.chaveEmpresa.c_str(), 1, 0);
    generica.LeEmissora(1, &d.emissora, &d.aliquotas);
    d.filial.Numero = 1;
    d.dataInicial = p.inicial;
    d.dataFinal = p.final;
    CArquivoTexto arquivo;
    if (!arquivo.Abrir(p.caminho, CArquivoTexto::Modo::EscritaBinaria)) std::abort();
    movimentos::EscreveMovimentos(d, arquivo);
    arquivo.Fechar();
    Assina(p.caminho);
  });
}
QMX_GERADOR(BM_Movimentos);

void BM_DAVs(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    CQMXGenerica generica;
    generica.Inicializa(p.triplo.chaveEmpresa.c_str(), 1, 0);
    REG_EMISSORPS emissora{};
    generica.LeEmissora(1, &emissora);
    REG_FILIALPS filial{};
    filial.Numero = 1;
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    dav::CGeradorDAVs(p.triplo).EscreveArquivo(filial, "Loja Grande Ltda", emissora, p.inicial, p.final, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_DAVs);

// The catalogue is the same whatever the period: "dias" only repeats it.
void BM_TabelaProdutos(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    tabela_produtos::CGeradorTabelaProdutos(p.triplo).Escreve(1, 1, 1, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_TabelaProdutos);

// The stock of the period's last day: the positions of the day before and
// that day's cupons.
void BM_Estoque(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) {
    REG_FILIALPS filial{};
    filial.Numero = 1;
    estoque::CabecalhoEstoque cabecalho;
    cabecalho.filial = &filial;
    cabecalho.razaoSocial = "Loja Grande Ltda";
    cabecalho.data = p.final;
    CSaidaTemporaria saida;
    if (!saida.Cria()) std::abort();
    estoque::CGeradorEstoque(p.triplo).Escreve(1, cabecalho, {}, saida);
    Guarda(saida, p.caminho);
  });
}
QMX_GERADOR(BM_Estoque);

// A report for the printer, which is not there: the period's reading and
// summing, no file.
void BM_MeiosPagamento(benchmark::State& estado) {
  Mede(estado, [](const Pedido& p) { CRelatorioMeiosPagamento(p.triplo).Imprime(1, p.inicial, p.final); });
}
QMX_GERADOR(BM_MeiosPagamento);

}  // namespace
