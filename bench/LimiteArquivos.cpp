#include "LimiteArquivos.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

namespace qmx::bench {

namespace {

// The ECFs of the branch: every ECF-day record of the files comes from them.
constexpr const char* kEcfs = "(SELECT numero FROM emissora WHERE filial = ?1)";

// Every occurrence of de in sql replaced by para.
std::string Troca(std::string sql, std::string_view de, std::string_view para) {
  for (std::size_t p = 0; (p = sql.find(de, p)) != std::string::npos; p += para.size()) sql.replace(p, de.size(), para);
  return sql;
}

std::string ComEcfs(const std::string& sql) { return Troca(sql, "{ECFS}", kEcfs); }

// The same read of one ECF only (?4), for the files made per ECF.
std::string DeUmaEcf(const std::string& sql) { return Troca(sql, kEcfs, "(?4)"); }

// The queries every file shares, by what they read.
const std::string kFilial = "SELECT f.*, m.* FROM filial f LEFT JOIN municipio m ON m.numero = f.municipio WHERE f.numero = ?1";
const std::string kEmissoras = "SELECT * FROM emissora WHERE filial = ?1 ORDER BY numero";
// The rate tables of the branch's ECFs.
const std::string kAliquotasEcf =
    "SELECT a.* FROM emissora_aliquota a WHERE a.tabela IN (SELECT tabela_aliquotas FROM emissora WHERE filial = ?1) "
    "ORDER BY a.tabela, a.posicao";
const std::string kReducoes =
    ComEcfs("SELECT z.* FROM reducao_z z WHERE z.emissora IN {ECFS} AND z.data BETWEEN ?2 AND ?3 ORDER BY z.emissora, z.data");
const std::string kTotalizadores = ComEcfs(
    "SELECT a.* FROM reducao_z_aliquota a WHERE a.emissora IN {ECFS} AND a.data BETWEEN ?2 AND ?3 "
    "ORDER BY a.emissora, a.data, a.posicao");
const std::string kNaoFiscais = ComEcfs(
    "SELECT n.* FROM reducao_z_nao_fiscal n WHERE n.emissora IN {ECFS} AND n.data BETWEEN ?2 AND ?3 "
    "ORDER BY n.emissora, n.data, n.codigo");
const std::string kCupons = ComEcfs(
    "SELECT c.* FROM cupom c WHERE c.emissora IN {ECFS} AND c.data BETWEEN ?2 AND ?3 "
    "ORDER BY c.emissora, c.data, c.sequencia");
const std::string kItensCupons = ComEcfs(
    "SELECT i.* FROM cupom c JOIN cupom_item i ON i.cupom = c.id WHERE c.emissora IN {ECFS} "
    "AND c.data BETWEEN ?2 AND ?3 ORDER BY c.emissora, c.data, c.sequencia, i.item");
const std::string kPagamentosCupons = ComEcfs(
    "SELECT p.* FROM cupom c JOIN cupom_pagamento p ON p.cupom = c.id WHERE c.emissora IN {ECFS} "
    "AND c.data BETWEEN ?2 AND ?3 ORDER BY c.emissora, c.data, c.sequencia, p.sequencia");
const std::string kDocumentosEcf = ComEcfs(
    "SELECT d.* FROM documento_ecf d WHERE d.emissora IN {ECFS} AND d.data BETWEEN ?2 AND ?3 "
    "ORDER BY d.emissora, d.data, d.coo");
// The catalogue with the branch's taxation (the products the period names
// are a part of it, and the whole is a few hundred rows).
const std::string kProdutos =
    "SELECT p.*, pf.* FROM produto p JOIN produto_filial pf ON pf.produto = p.codigo AND pf.filial = ?1 "
    "ORDER BY p.codigo";
const std::string kServicos = "SELECT * FROM servico ORDER BY codigo";
const std::string kUnidades = "SELECT * FROM unidade_medida ORDER BY codigo";
const std::string kPisCofins = "SELECT * FROM produto_pis_cofins ORDER BY produto, tipo, inicio";
const std::string kNotas =
    "SELECT n.*, p.* FROM nota_fiscal n LEFT JOIN nota_fiscal_participante p ON p.nota = n.id "
    "WHERE n.filial = ?1 AND n.data BETWEEN ?2 AND ?3 ORDER BY n.data, n.id";
const std::string kItensNotas =
    "SELECT i.* FROM nota_fiscal n JOIN nota_fiscal_item i ON i.nota = n.id "
    "WHERE n.filial = ?1 AND n.data BETWEEN ?2 AND ?3 ORDER BY n.data, n.id, i.sequencia";
const std::string kFormas = "SELECT * FROM forma_pagamento ORDER BY codigo";

const std::map<std::string, LimiteArquivo>& Limites() {
  static const std::map<std::string, LimiteArquivo> limites = {
      // Records 10 and 11 (the branch), 50 and 54 (the notas and their
      // items), 60M, 60A, 60D, 60I and 60R (each ECF-day's reduction,
      // totalizers and items), 61 and 61R (the consumer notas kept with
      // the cupons), 75 (the products): fixed lines of 126 characters.
      {"Sintegra",
       {{kFilial, kEmissoras, kNotas, kItensNotas, kReducoes, kTotalizadores, kCupons, kItensCupons, kProdutos,
         kUnidades},
        128}},
      // 0000 to 0200 (the branch, units, products), C400 per ECF, C405 and
      // C410 per reduction, C420 per totalizer, C425 and C490 from the
      // items, C460 per cupom, C470 per item: lines of their own width.
      // The extract goes out unsigned (QMX_SpedFiscal writes no EAD line).
      {"ExtratoSped",
       {{kFilial, kEmissoras, kAliquotasEcf, kReducoes, kTotalizadores, kCupons, kItensCupons, kProdutos,
         kServicos, kUnidades, kPisCofins},
        0,
        false}},
      // The SPED layout for the period: the notas and their items (C100,
      // C170, C190), the same ECF groups as the extract's for the profile
      // asked (the consumer notas of profile B are cupons among them), and
      // the inventory at the final date (H005, H010).
      {"VendaPeriodo",
       {{kFilial, kEmissoras, kNotas, kItensNotas, kAliquotasEcf, kReducoes, kTotalizadores, kCupons, kItensCupons,
         kProdutos, kServicos, kUnidades, kPisCofins,
         "SELECT * FROM estoque_inventario WHERE filial = ?1 AND data = ?3 ORDER BY produto"},
        0}},
      // E01/E02 (the ECF), E12 to E13 (reductions and totalizers, fiscal
      // and not), E14 and E15 (cupons and items), E16 (other documents),
      // E21 (means of payment); each item's unit and production mark are
      // its product's or service's.
      {"Movimentos",
       {{kFilial, kEmissoras, DeUmaEcf(kReducoes), DeUmaEcf(kTotalizadores), DeUmaEcf(kNaoFiscais),
         DeUmaEcf(kCupons), DeUmaEcf(kItensCupons), DeUmaEcf(kDocumentosEcf), DeUmaEcf(kPagamentosCupons), kFormas,
         kProdutos, kServicos, kUnidades},
        0}},
      // D1 to D4: the branch's DAVs of the period and their items.
      {"DAVs",
       {{kFilial, kEmissoras,
         "SELECT d.* FROM dav d WHERE d.filial = ?1 AND d.data BETWEEN ?2 AND ?3 ORDER BY d.data, d.id",
         "SELECT i.* FROM dav d JOIN dav_item i ON i.dav = d.id WHERE d.filial = ?1 AND d.data BETWEEN ?2 AND ?3 "
         "ORDER BY d.data, d.id, i.item",
         kProdutos},
        0}},
      // P1 and P2: every product of the branch with its price in the table.
      {"TabelaProdutos",
       {{kFilial, kProdutos, kUnidades, "SELECT * FROM tabela_preco_item WHERE tipo = 1 ORDER BY tabela, item"},
        0}},
      // E1 and E2: each product's last position before the day and what
      // the day's cupons took. No line shows a sale: of the day's items
      // only what says how much of which product left the store counts
      // (the product, the quantity, and the marks of the item and its
      // cupom that leave it out: cancelled, a service, a consumer nota).
      {"Estoque",
       {{kFilial, kProdutos, kUnidades,
         "SELECT e.* FROM estoque_posicao e WHERE e.filial = ?1 AND e.data = (SELECT MAX(u.data) FROM "
         "estoque_posicao u WHERE u.filial = e.filial AND u.produto = e.produto AND u.data < ?3) ORDER BY e.produto",
         ComEcfs("SELECT i.codigo, i.quantidade, i.cancelado, i.servico, c.cancelado, c.status FROM cupom c "
                 "JOIN cupom_item i ON i.cupom = c.id WHERE c.emissora IN {ECFS} AND c.data = ?3")},
        0}},
      // The report: each means of payment summed by day over the period's
      // cupons and notas; no line shows a document, so only each payment's
      // means and value count, with its document's day and the marks that
      // leave it out (cancelled, a consumer nota; a nota voided or denied).
      {"MeiosPagamento",
       {{kFilial, kEmissoras, kFormas,
         ComEcfs("SELECT p.forma, p.valor, c.data, c.cancelado, c.status FROM cupom c JOIN cupom_pagamento p "
                 "ON p.cupom = c.id WHERE c.emissora IN {ECFS} AND c.data BETWEEN ?2 AND ?3"),
         "SELECT p.forma, p.valor, n.data, n.cancelada, n.inutilizada, n.denegada FROM nota_fiscal n "
         "JOIN nota_fiscal_pagamento p ON p.nota = n.id WHERE n.filial = ?1 AND n.data BETWEEN ?2 AND ?3"},
        0}},
  };
  return limites;
}

// A column's declared type: integers are read as integers, the rest as text.
bool Inteira(sqlite3_stmt* comando, int coluna) {
  const char* tipo = sqlite3_column_decltype(comando, coluna);
  return tipo && (std::strstr(tipo, "INT") || std::strstr(tipo, "int"));
}

// ?1, ?2, ?3 as literals (COPY takes no parameters; they are integers).
std::string ComValores(std::string sql, const PeriodoLimite& p) {
  const std::pair<const char*, std::int64_t> valores[] = {
      {"?1", p.filial}, {"?2", p.inicial}, {"?3", p.final}, {"?4", p.emissora}};
  for (const auto& [marca, valor] : valores) sql = Troca(std::move(sql), marca, std::to_string(valor));
  return sql;
}

// The EAD line's cost is one private-key operation of 1024 bits on a block
// of 128 bytes, without padding, written as 256 hexadecimal digits. The
// limit does it with a key of its own, made when the program starts, so
// that no round pays for making it.
EVP_PKEY* ChaveDoLimite() {
  static EVP_PKEY* const chave = EVP_RSA_gen(1024);
  return chave;
}
[[maybe_unused]] const bool kChaveFeita = ChaveDoLimite() != nullptr;

std::string LinhaAssinada(const unsigned char (&digesto)[16]) {
  unsigned char bloco[128] = {16};
  std::memcpy(bloco + 1, digesto, 16);
  unsigned char assinatura[128];
  std::size_t tamanho = sizeof assinatura;
  EVP_PKEY_CTX* contexto = EVP_PKEY_CTX_new(ChaveDoLimite(), nullptr);
  if (!contexto || EVP_PKEY_sign_init(contexto) <= 0 ||
      EVP_PKEY_CTX_set_rsa_padding(contexto, RSA_NO_PADDING) <= 0 ||
      EVP_PKEY_sign(contexto, assinatura, &tamanho, bloco, sizeof bloco) <= 0 || tamanho != sizeof assinatura)
    std::abort();
  EVP_PKEY_CTX_free(contexto);
  std::string linha = "EAD";
  for (const unsigned char byte : assinatura) {
    linha += "0123456789abcdef"[byte >> 4];
    linha += "0123456789abcdef"[byte & 15];
  }
  return linha + "\r\n";
}

std::uint32_t Grande32(const char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return __builtin_bswap32(v);
}

}  // namespace

const LimiteArquivo& LimiteDe(const std::string& arquivo) {
  const auto achado = Limites().find(arquivo);
  if (achado == Limites().end()) std::abort();
  return achado->second;
}

long long LeNoSQLite(const std::string& arquivo, const LimiteArquivo& limite, const PeriodoLimite& periodo) {
  sqlite3* base = nullptr;
  if (sqlite3_open_v2(arquivo.c_str(), &base, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
    std::abort();
  sqlite3_exec(base, "BEGIN", nullptr, nullptr, nullptr);
  long long linhas = 0, soma = 0;
  std::vector<bool> inteiras;
  for (const auto& sql : limite.consultas) {
    sqlite3_stmt* comando = nullptr;
    if (sqlite3_prepare_v2(base, sql.c_str(), -1, &comando, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "%s: %s\n", sqlite3_errmsg(base), sql.c_str());
      std::abort();
    }
    const std::int64_t valores[] = {periodo.filial, periodo.inicial, periodo.final, periodo.emissora};
    for (int i = 1; i <= sqlite3_bind_parameter_count(comando); ++i) sqlite3_bind_int64(comando, i, valores[i - 1]);
    const int colunas = sqlite3_column_count(comando);
    inteiras.resize(static_cast<std::size_t>(colunas));
    for (int c = 0; c < colunas; ++c) inteiras[static_cast<std::size_t>(c)] = Inteira(comando, c);
    while (sqlite3_step(comando) == SQLITE_ROW) {
      for (int c = 0; c < colunas; ++c) {
        if (inteiras[static_cast<std::size_t>(c)]) {
          soma += sqlite3_column_int64(comando, c);
        } else {
          const auto* texto = sqlite3_column_text(comando, c);
          const int tamanho = sqlite3_column_bytes(comando, c);
          soma += tamanho + (tamanho ? texto[0] : 0);
        }
      }
      ++linhas;
    }
    sqlite3_finalize(comando);
  }
  sqlite3_exec(base, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(base);
  if (soma == 42) std::fputc(' ', stderr);  // keeps the reads
  return linhas;
}

long long LeNoPostgres(const std::string& conexao, const LimiteArquivo& limite, const PeriodoLimite& periodo) {
  PGconn* pg = PQconnectdb(conexao.c_str());
  if (PQstatus(pg) != CONNECTION_OK) std::abort();
  PQclear(PQexec(pg, "BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
  long long linhas = 0, soma = 0;
  // The binary copy format: an 11-byte signature, flags and an extension
  // length, then each row as its field count (16 bits; -1 ends) and each
  // field as its length (32 bits; -1 for null) and bytes.
  std::string resto;
  for (const auto& sql : limite.consultas) {
    const std::string copia = "COPY (" + ComValores(sql, periodo) + ") TO STDOUT (FORMAT binary)";
    PGresult* r = PQexec(pg, copia.c_str());
    if (PQresultStatus(r) != PGRES_COPY_OUT) {
      std::fprintf(stderr, "%s: %s\n", PQerrorMessage(pg), copia.c_str());
      std::abort();
    }
    PQclear(r);
    resto.clear();
    bool cabecalho = true;
    char* pedaco = nullptr;
    int tamanho;
    // libpq hands back whole rows, one at a time (the header and the end
    // mark may come with a row or on their own).
    while ((tamanho = PQgetCopyData(pg, &pedaco, 0)) > 0) {
      const char* p = pedaco;
      const char* fim = pedaco + tamanho;
      if (cabecalho) {
        p += 11 + 4;
        p += 4 + Grande32(p);
        cabecalho = false;
      }
      while (p + 2 <= fim) {
        const auto campos = static_cast<std::int16_t>((static_cast<unsigned char>(p[0]) << 8) | static_cast<unsigned char>(p[1]));
        p += 2;
        if (campos < 0) break;
        for (int c = 0; c < campos; ++c) {
          const auto n = static_cast<std::int32_t>(Grande32(p));
          p += 4;
          if (n > 0) {
            soma += n + static_cast<unsigned char>(p[0]);
            p += n;
          }
        }
        ++linhas;
      }
      PQfreemem(pedaco);
    }
    if (tamanho == -2) std::abort();
    r = PQgetResult(pg);
    if (PQresultStatus(r) != PGRES_COMMAND_OK) std::abort();
    PQclear(r);
    while ((r = PQgetResult(pg)) != nullptr) PQclear(r);
  }
  PQclear(PQexec(pg, "COMMIT"));
  PQfinish(pg);
  if (soma == 42) std::fputc(' ', stderr);  // keeps the reads
  return linhas;
}

void EscreveEDigere(const std::string& caminho, std::uintmax_t bytes, const LimiteArquivo& limite) {
  const int largura = limite.largura;
  constexpr std::size_t kBuffer = 64 * 1024;
  constexpr std::uintmax_t kEad = 3 + 256 + 2;
  const int fd = ::open(caminho.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) std::abort();
  const std::size_t linha = largura > 2 ? static_cast<std::size_t>(largura) : 128;
  // Lines of digits ending in CR LF, one buffer's worth and a line more:
  // each buffer is copied from where the previous one stopped in its line.
  std::string linhas;
  while (linhas.size() < kBuffer + linha)
    for (std::size_t i = 0; i < linha; ++i) linhas += i + 2 == linha ? '\r' : i + 1 == linha ? '\n' : static_cast<char>('0' + i % 10);
  std::vector<char> buffer(kBuffer);
  const bool assina = limite.assinado && bytes > kEad;
  // An unsigned file is not digested at all.
  EVP_MD_CTX* md5 = assina ? EVP_MD_CTX_new() : nullptr;
  if (md5) EVP_DigestInit_ex(md5, EVP_md5(), nullptr);
  const std::uintmax_t corpo = assina ? bytes - kEad : bytes;
  for (std::uintmax_t escritos = 0; escritos < corpo;) {
    const auto n = static_cast<std::size_t>(std::min<std::uintmax_t>(kBuffer, corpo - escritos));
    std::memcpy(buffer.data(), linhas.data() + escritos % linha, n);
    if (assina) EVP_DigestUpdate(md5, buffer.data(), n);
    if (::write(fd, buffer.data(), n) != static_cast<ssize_t>(n)) std::abort();
    escritos += n;
  }
  if (assina) {
    unsigned char digesto[16];
    unsigned int n = 0;
    EVP_DigestFinal_ex(md5, digesto, &n);
    EVP_MD_CTX_free(md5);
    const std::string ead = LinhaAssinada(digesto);
    if (::write(fd, ead.data(), ead.size()) != static_cast<ssize_t>(ead.size())) std::abort();
  }
  // A fiscal file is handed over only once it is on the disk: a file
  // replaced by a rename whose bytes are still in memory can come back
  // empty after a power cut.
  if (::fsync(fd) != 0 || ::close(fd) != 0) std::abort();
}

}  // namespace qmx::bench
