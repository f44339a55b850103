#include "arquivos/sintegra/ValidadorSintegra.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "arquivos/LeiautesEmbutidos.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::validacao {
namespace {

constexpr std::size_t kLargura = 126;

// ----- the published tables -----

// The values a field may hold, as the domain table lists them (blanks on
// the right not part of the value).
struct Dominio {
  std::vector<std::string> valores;
  bool branco = false;         // "(branco)": a blank field is allowed
  bool soBrancos = false;      // "(brancos)": the field is all blanks
  bool aliquota = false;       // "NNNN": four digits
  bool mesAno = false;         // "MMAAAA"
  int faixaDe = 0, faixaAte = 0;  // "001-990"
  // "A+B": a value of one table followed by one of another (the CST).
  std::vector<std::string> primeira, segunda;

  bool Aceita(std::string_view campo) const {
    const auto fim = campo.find_last_not_of(' ');
    const std::string_view v = fim == std::string_view::npos ? std::string_view() : campo.substr(0, fim + 1);
    if (soBrancos) return v.empty();
    if (v.empty()) return branco;
    if (aliquota && v.size() == 4 && SoDigitos(v)) return true;
    if (mesAno && MesAnoValido(v)) return true;
    if (faixaAte && SoDigitos(v) && Numero(v) >= faixaDe && Numero(v) <= faixaAte) return true;
    if (!primeira.empty()) {
      for (const auto& a : primeira)
        if (v.substr(0, a.size()) == a &&
            std::find(segunda.begin(), segunda.end(), v.substr(a.size())) != segunda.end())
          return true;
      return false;
    }
    return std::find(valores.begin(), valores.end(), v) != valores.end();
  }
};

struct CampoSintegra {
  std::string nome;
  std::size_t inicio = 0, tamanho = 0;
  char formato = 'X';  // N digits, X text, D date AAAAMMDD
  const Dominio* dominio = nullptr;
  std::string descricaoDominio;
};

// The register types the Convênio's manual and the states' texts define,
// in the order of the file's families.
enum Tipo {
  k10, k11, k50, k51, k53, k54, k55, k56, k57, k60M, k60A, k60D, k60I, k60R, k61, k61R, k70, k71, k74, k75,
  k76, k77, k85, k86, k88SME, k88SMS, k88EAN, k88STES, k88Outro, k90, kTipos
};
constexpr std::string_view kNomes[kTipos] = {"10",  "11",  "50",  "51",  "53",    "54",    "55",    "56",
                                             "57",  "60M", "60A", "60D", "60I",   "60R",   "61",    "61R",
                                             "70",  "71",  "74",  "75",  "76",    "77",    "85",    "86",
                                             "88SME", "88SMS", "88EAN", "88STES", "88", "90"};
// The family each type sorts in: 54 to 57 together (the manual classifies
// "54 e 56" by one key, and writers put each 56 and 57 behind its 54's
// item), 60 M, A, D, I and R together, 61 and 61R, every 88.
constexpr int kFamilia[kTipos] = {0,  1,  2,  3,  4,  5,  5,  5,  5,  6,  6,  6,  6,  6,  7,
                                  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 16, 16, 16, 16, 17};

// What a line of a type is checked by at first: its digit fields and its
// text fields joined where they follow each other, its dates and the
// fields of a domain (only a line that fails is then read field by field,
// to name the field).
struct Plano {
  std::vector<std::pair<std::size_t, std::size_t>> digitos, textos;  // 0-based start, length
  std::vector<std::size_t> datas, dominios;                         // fields
};

struct Tabelas {
  std::map<std::string, Dominio, std::less<>> dominios;
  std::array<std::vector<CampoSintegra>, kTipos> campos;
  std::array<Plano, kTipos> planos;
};

void Junta(std::vector<std::pair<std::size_t, std::size_t>>& faixas, std::size_t inicio, std::size_t tamanho) {
  if (!faixas.empty() && faixas.back().first + faixas.back().second == inicio) faixas.back().second += tamanho;
  else faixas.emplace_back(inicio, tamanho);
}

Dominio& DominioDeLiterais(Tabelas& t, std::string_view lista) {
  auto& d = t.dominios[std::string(lista)];
  std::size_t inicio = 0;
  for (;;) {
    const std::size_t ponto = lista.find(';', inicio);
    d.valores.emplace_back(lista.substr(inicio, ponto - inicio));
    if (ponto == std::string_view::npos) break;
    inicio = ponto + 1;
  }
  return d;
}

const Tabelas& LeTabelas() {
  static const Tabelas tabelas = [] {
    Tabelas t;
    for (const auto& linha : LinhasDoLeiaute("sintegra-dominios.tsv")) {
      if (linha.size() < 2) continue;
      Dominio& d = t.dominios[std::string(linha[0])];
      const std::string_view v = linha[1];
      if (v == "(branco)") d.branco = true;
      else if (v == "(brancos)") d.soBrancos = true;
      else if (v == "NNNN") d.aliquota = true;
      else if (v == "MMAAAA") d.mesAno = true;
      else if (v.size() == 7 && v[3] == '-') {
        d.faixaDe = static_cast<int>(Numero(v.substr(0, 3)));
        d.faixaAte = static_cast<int>(Numero(v.substr(4)));
      } else {
        d.valores.emplace_back(v);
      }
    }
    for (const auto& linha : LinhasDoLeiaute("sintegra-campos.tsv")) {
      if (linha.size() < 8) continue;
      const auto tipo = std::find(std::begin(kNomes), std::end(kNomes), linha[0]);
      if (tipo == std::end(kNomes)) continue;
      CampoSintegra c;
      c.nome = std::string(linha[2]);
      c.inicio = static_cast<std::size_t>(Numero(linha[3]));
      c.tamanho = static_cast<std::size_t>(Numero(linha[4]));
      c.formato = linha[5].empty() ? 'X' : linha[5][0];
      const std::string_view dominio = linha[7];
      // The type and subtype name the record and were read to find it.
      if (c.nome != "TIPO" && c.nome != "SUBTIPO" && dominio != "-") {
        c.descricaoDominio = std::string(dominio);
        const auto mais = dominio.find('+');
        if (mais != std::string_view::npos) {
          Dominio& d = t.dominios[std::string(dominio)];
          d.primeira = t.dominios[std::string(dominio.substr(0, mais))].valores;
          d.segunda = t.dominios[std::string(dominio.substr(mais + 1))].valores;
          c.dominio = &d;
        } else if (t.dominios.count(dominio)) {
          c.dominio = &t.dominios.find(dominio)->second;
        } else {
          c.dominio = &DominioDeLiterais(t, dominio);
        }
      }
      t.campos[static_cast<std::size_t>(tipo - std::begin(kNomes))].push_back(std::move(c));
    }
    for (std::size_t tipo = 0; tipo < kTipos; ++tipo) {
      Plano& plano = t.planos[tipo];
      const auto& campos = t.campos[tipo];
      for (std::size_t i = 0; i < campos.size(); ++i) {
        const CampoSintegra& c = campos[i];
        if (tipo == k90 && c.inicio > 30) break;
        if (c.formato == 'N') Junta(plano.digitos, c.inicio - 1, c.tamanho);
        else if (c.formato == 'D') plano.datas.push_back(i);
        else Junta(plano.textos, c.inicio - 1, c.tamanho);
        if (c.dominio && tipo != k90) plano.dominios.push_back(i);
      }
    }
    return t;
  }();
  return tabelas;
}

// The type of a line by its first characters; nothing for none of them.
std::optional<Tipo> TipoDaLinha(std::string_view t) {
  if (t.size() < 2) return std::nullopt;
  const int n = (t[0] - '0') * 10 + (t[1] - '0');
  const char sub = t.size() > 2 ? t[2] : ' ';
  switch (n) {
    case 10: return k10;
    case 11: return k11;
    case 50: return k50;
    case 51: return k51;
    case 53: return k53;
    case 54: return k54;
    case 55: return k55;
    case 56: return k56;
    case 57: return k57;
    case 60:
      switch (sub) {
        case 'M': return k60M;
        case 'A': return k60A;
        case 'D': return k60D;
        case 'I': return k60I;
        case 'R': return k60R;
      }
      return std::nullopt;
    case 61: return sub == 'R' ? k61R : k61;
    case 70: return k70;
    case 71: return k71;
    case 74: return k74;
    case 75: return k75;
    case 76: return k76;
    case 77: return k77;
    case 85: return k85;
    case 86: return k86;
    case 88:
      if (t.substr(2, 3) == "SME") return k88SME;
      if (t.substr(2, 3) == "SMS") return k88SMS;
      if (t.substr(2, 3) == "EAN") return k88EAN;
      if (t.substr(2, 4) == "STES") return k88STES;
      return k88Outro;
    case 90: return k90;
  }
  return std::nullopt;
}

// ----- forms of a few fields the tables name only as text -----

bool CfopValido(std::string_view c) {
  return c.size() == 4 && SoDigitos(c) && std::string_view("123567").find(c[0]) != std::string_view::npos;
}

// The CST of the item registers: an origin and a situation of the tables
// A and B, or a CSOSN of the Simples Nacional (which the tax office's
// program takes, though the manual predates it).
bool Csosn(std::string_view c) {
  static constexpr std::string_view kCsosn[] = {"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"};
  return std::find(std::begin(kCsosn), std::end(kCsosn), c) != std::end(kCsosn);
}

// CNPJ, or CPF in fourteen positions; zeros for a foreign participant.
bool DocumentoValido(std::string_view d, std::string_view uf) {
  if (uf == "EX" && d == "00000000000000") return true;
  return CnpjValido(d) || (d.substr(0, 3) == "000" && CpfValido(d.substr(3)));
}

// The state registration is text aligned to the left, or ISENTO: a number
// of fourteen digits with zeros in front is a registration padded with
// zeros, which no state issues.
bool InscricaoValida(std::string_view ie) {
  if (ie.substr(0, 6) == "ISENTO") return ie.substr(6).find_first_not_of(' ') == std::string_view::npos;
  const auto fim = ie.find_last_not_of(' ');
  if (fim == std::string_view::npos || ie[0] == ' ') return false;
  if (ie.size() == 14 && SoDigitos(ie) && ie[0] == '0') return false;
  return true;
}

bool EmBranco(std::string_view v) { return v.find_first_not_of(' ') == std::string_view::npos; }

std::string Reais(std::int64_t centavos) {
  const bool negativo = centavos < 0;
  if (negativo) centavos = -centavos;
  std::string texto = std::to_string(centavos / 100) + "," + std::to_string(centavos % 100 / 10) +
                      std::to_string(centavos % 10);
  return negativo ? "-" + texto : texto;
}

// ----- the validator -----

class CValidadorSintegra : public CValidadorLinhas {
 public:
  explicit CValidadorSintegra(CColetor& c) : m_c(c), m_tabelas(LeTabelas()) {}
  void Linha(const validacao::Linha& l) override;
  void Fim() override;

 private:
  void Campos(const validacao::Linha& l, Tipo tipo);
  // The day of a date AAAAMMDD; the lines of a day repeat it, so the last
  // one read is kept.
  std::optional<NumeroDia> Dia(std::string_view data);
  void Ordem(const validacao::Linha& l, Tipo tipo);
  void NoPeriodo(const validacao::Linha& l, Tipo tipo, std::string_view data);
  void MesNoPeriodo(const validacao::Linha& l, Tipo tipo, std::string_view mesAno);
  void Cita(const validacao::Linha& l, Tipo tipo, std::string_view codigo);
  void Registro10(const validacao::Linha& l);
  void Documento(const validacao::Linha& l, Tipo tipo);  // 50, 51, 53, 70, 71, 76
  void Registro50(const validacao::Linha& l);
  void Registro53(const validacao::Linha& l);
  void Registro54(const validacao::Linha& l);
  void Registro60M(const validacao::Linha& l);
  void Registro60DoDia(const validacao::Linha& l, Tipo tipo);
  void Registro60R(const validacao::Linha& l);
  void Registro61(const validacao::Linha& l);
  void Registro74(const validacao::Linha& l);
  void Registro75(const validacao::Linha& l);
  void Registro90(const validacao::Linha& l);
  void ConcluiNotas();
  void Conclui90();

  CColetor& m_c;
  const Tabelas& m_tabelas;
  std::size_t m_linhas = 0;
  NumeroDia m_inicio = 0, m_fim = 0;
  std::string m_cnpj, m_ie;
  // Lines of each two-digit type, as register 90 counts them.
  std::array<std::int64_t, 100> m_porTipo{};
  // The family of the last line, and each family's sort order.
  int m_familia = -1;
  std::array<COrdem, kTipos> m_ordens{};
  std::string m_chave;  // the sort key being built, its memory reused
  char m_ultimaData[8] = {};
  std::optional<NumeroDia> m_ultimoDia;

  // 50 and 54: each group of a document (CNPJ, model, series, number,
  // CFOP, rate) with its base, and each document with its totals.
  struct Grupo {
    std::uint64_t nota = 0;
    std::int64_t base50 = 0, base54 = 0;
    std::size_t linha50 = 0, linha54 = 0;
    bool com54 = false;
  };
  struct Nota {
    std::size_t linha = 0;
    std::int64_t total50 = 0, itens = 0, extras = 0, icmsRetido = 0;
    std::size_t linhas54 = 0;
    bool cancelada = false, especiais = false, comST = false, grupoSem54 = false;
  };
  std::unordered_map<std::uint64_t, Grupo> m_grupos;
  std::unordered_map<std::uint64_t, Nota> m_notas;
  std::unordered_set<std::uint64_t> m_documentosCfop;

  // The day of the last 60M and what it listed.
  struct Dia {
    bool aberto = false;
    std::string data, serie;
    std::int64_t cooInicial = 0, cooFinal = 0;
    int subtipo = 0;  // 0 M, 1 A, 2 D, 3 I: the subtypes of the day in order
    std::unordered_set<std::uint64_t> chaves;
  } m_dia;
  std::unordered_set<std::uint64_t> m_resumosMes;
  // Codes cited before their 75 (with the first line citing each) and the
  // periods of the codes 75 lists.
  struct Citacao {
    std::size_t linha;
    Tipo tipo;
    std::string codigo;
  };
  std::unordered_map<std::uint64_t, Citacao> m_citados;
  std::unordered_map<std::uint64_t, std::vector<std::pair<NumeroDia, NumeroDia>>> m_listados;
  bool m_passou75 = false;
  // Register 90: its lines' numbers and pairs.
  std::size_t m_linhas90 = 0, m_primeira90 = 0, m_declaradoNa126 = 0;
  std::map<std::string, std::int64_t> m_declarados;
  bool m_99ForaDaUltima = false, m_ultima90Tem99 = false;
  bool m_posicao126Diverge = false;
};

void CValidadorSintegra::Linha(const validacao::Linha& l) {
  ++m_linhas;
  if (!l.crlf) m_c.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
  const auto tipo = TipoDaLinha(l.texto);
  if (!tipo) {
    m_c.Erro(l.numero, Texto(l.texto.substr(0, 3)), "registro-desconhecido", "tipo de registro desconhecido");
    return;
  }
  const std::string_view nome = kNomes[*tipo];
  if (SoDigitos(l.texto.substr(0, 2))) ++m_porTipo[static_cast<std::size_t>(Numero(l.texto.substr(0, 2)))];
  if (l.numero == 1 && *tipo != k10) m_c.Erro(l.numero, nome, "ordem", "o arquivo não começa pelo registro 10");
  if (l.numero > 1 && *tipo == k10) m_c.Erro(l.numero, nome, "ordem", "registro 10 repetido");
  if (*tipo == k11 && l.numero != 2) m_c.Erro(l.numero, nome, "ordem", "o registro 11 vem logo depois do 10, uma vez");
  if (l.numero == 2 && *tipo != k11) m_c.Erro(l.numero, nome, "ordem", "falta o registro 11 depois do 10");
  if (m_linhas90 && *tipo != k90)
    m_c.Erro(l.numero, nome, "ordem", "registro depois do 90: o 90 fecha o arquivo");
  Ordem(l, *tipo);
  if (l.texto.size() != kLargura) {
    m_c.Erro(l.numero, nome, "largura",
             "o registro tem " + std::to_string(l.texto.size()) + " caracteres; o leiaute pede 126");
    return;
  }
  Campos(l, *tipo);
  switch (*tipo) {
    case k10: Registro10(l); break;
    case k50: Registro50(l); break;
    case k51: case k70: case k71: case k76: Documento(l, *tipo); break;
    case k53: Registro53(l); break;
    case k54: Registro54(l); break;
    case k60M: Registro60M(l); break;
    case k60A: case k60D: case k60I: Registro60DoDia(l, *tipo); break;
    case k60R: Registro60R(l); break;
    case k61: Registro61(l); break;
    case k61R:
      MesNoPeriodo(l, k61R, Campo(l.texto, 4, 6));
      Cita(l, k61R, Campo(l.texto, 10, 14));
      break;
    case k74: Registro74(l); break;
    case k75: Registro75(l); break;
    case k77: Cita(l, k77, Campo(l.texto, 41, 11)); break;
    case k86: Cita(l, k86, Campo(l.texto, 72, 14)); break;
    case k88Outro:
      m_c.Informa(l.numero, Texto(l.texto.substr(0, 5)), "88-estadual",
                  "registro 88 de um subtipo estadual cujo leiaute este programa não traz: só a largura conferida");
      break;
    case k90: Registro90(l); break;
    default: break;
  }
}

// Every field by the published table: digits, text or a date, and the
// codes of its domain.
void CValidadorSintegra::Campos(const validacao::Linha& l, Tipo tipo) {
  const std::string_view t = l.texto;
  // Most lines are right: the whole line at once, field by field only when
  // something fails.
  const Plano& plano = m_tabelas.planos[tipo];
  bool certa = true;
  for (const auto& [inicio, tamanho] : plano.digitos) certa = certa && SoDigitos(t.substr(inicio, tamanho));
  for (const auto& [inicio, tamanho] : plano.textos) certa = certa && TextoImprimivel(t.substr(inicio, tamanho));
  const auto& campos = m_tabelas.campos[tipo];
  for (std::size_t i : plano.datas)
    certa = certa && Dia(t.substr(campos[i].inicio - 1, campos[i].tamanho)).has_value();
  for (std::size_t i : plano.dominios)
    certa = certa && campos[i].dominio->Aceita(t.substr(campos[i].inicio - 1, campos[i].tamanho));
  if (certa) return;
  for (const CampoSintegra& c : m_tabelas.campos[tipo]) {
    // The pairs of 90 end in blanks where the types run out: their own rule reads them.
    if (tipo == k90 && c.inicio > 30) break;
    const std::string_view v = t.substr(c.inicio - 1, c.tamanho);
    bool ok = true;
    switch (c.formato) {
      case 'N': ok = SoDigitos(v); break;
      case 'D':
        // The export registers carry zeros where a document has no date
        // (a simplified declaration, no bill of lading).
        ok = Dia(v).has_value() || ((tipo == k85 || tipo == k86) && v == "00000000");
        break;
      default: ok = TextoImprimivel(v); break;
    }
    if (!ok) {
      m_c.Erro(l.numero, kNomes[tipo], "campo",
               c.nome + " (posições " + std::to_string(c.inicio) + " a " + std::to_string(c.inicio + c.tamanho - 1) +
                   ") não é " + (c.formato == 'N' ? "numérico" : c.formato == 'D' ? "data AAAAMMDD" : "texto") +
                   ": \"" + Texto(v) + "\"");
      continue;
    }
    if (!c.dominio) continue;
    // The extra items of a nota (991 to 999) have no CST; 90's pairs are
    // read by their own rule.
    if (tipo == k54 && c.nome == "CST" && EmBranco(v) && Numero(Campo(t, 35, 3)) >= 991) continue;
    if (tipo == k54 && c.nome == "CST" && Csosn(v)) continue;
    if (tipo == k90) continue;
    if (!c.dominio->Aceita(v))
      m_c.Erro(l.numero, kNomes[tipo], "codigo",
               c.nome + " fora dos valores do leiaute (" + c.descricaoDominio + "): \"" + Texto(v) + "\"");
  }
}

// The families in their order, and each one in the order the manual
// classifies it.
void CValidadorSintegra::Ordem(const validacao::Linha& l, Tipo tipo) {
  const int familia = kFamilia[tipo];
  if (familia < m_familia) {
    m_c.Erro(l.numero, kNomes[tipo], "ordem",
             "registro fora da ordem dos tipos (10, 11, 50, 51, 53, 54, 55 a 57, 60, 61, 70, 71, 74, 75, 76, 77, 85, "
             "86, 88, 90)");
    return;
  }
  m_familia = familia;
  const std::string_view t = l.texto;
  if (t.size() != kLargura) return;
  auto ordena = [&](std::string_view descricao) {
    COrdem& ordem = m_ordens[tipo];
    if (!ordem.Nomeada()) ordem = COrdem(kNomes[tipo], descricao);
    ordem.Confere(l, m_chave, m_c);
  };
  m_chave.clear();
  switch (tipo) {
    case k50: case k51: case k53: case k55: case k61: case k70: case k71:
      m_chave.append(Campo(t, 31, 8));
      ordena("data");
      break;
    case k54:
      m_chave.append(Campo(t, 3, 14)).append(Campo(t, 19, 3)).append(Campo(t, 22, 6)).append(Campo(t, 35, 3));
      ordena("CNPJ, série, número e item");
      break;
    case k60R: case k61R:
      // Month and year as a date (year first), then the product.
      m_chave.append(Campo(t, 6, 4)).append(Campo(t, 4, 2)).append(Campo(t, 10, 14));
      ordena("mês e código do produto");
      break;
    case k75:
      m_chave.append(Campo(t, 19, 14));
      ordena("código do produto");
      break;
    default: break;
  }
}

std::optional<NumeroDia> CValidadorSintegra::Dia(std::string_view data) {
  if (data.size() == 8 && std::memcmp(data.data(), m_ultimaData, 8) == 0) return m_ultimoDia;
  m_ultimoDia = DataAMD(data);
  if (data.size() == 8) std::memcpy(m_ultimaData, data.data(), 8);
  return m_ultimoDia;
}

void CValidadorSintegra::NoPeriodo(const validacao::Linha& l, Tipo tipo, std::string_view data) {
  const auto dia = Dia(data);
  if (dia && m_inicio != 0 && (*dia < m_inicio || *dia > m_fim))
    m_c.Erro(l.numero, kNomes[tipo], "data-fora-do-periodo",
             "a data " + Texto(data) + " está fora do período do registro 10");
}

void CValidadorSintegra::MesNoPeriodo(const validacao::Linha& l, Tipo tipo, std::string_view mesAno) {
  if (!MesAnoValido(mesAno) || m_inicio == 0) return;
  const auto mes = static_cast<unsigned>(Numero(mesAno.substr(0, 2)));
  const auto ano = static_cast<unsigned>(Numero(mesAno.substr(2)));
  if (CodificaDia(DiasDoMes(mes, ano), mes, ano) < m_inicio || CodificaDia(1, mes, ano) > m_fim)
    m_c.Erro(l.numero, kNomes[tipo], "data-fora-do-periodo",
             "o mês " + Texto(mesAno) + " está fora do período do registro 10");
}

// A product or service code that must have its 75: remembered until the
// 75 come, checked against them after.
void CValidadorSintegra::Cita(const validacao::Linha& l, Tipo tipo, std::string_view codigo) {
  if (EmBranco(codigo)) {
    m_c.Erro(l.numero, kNomes[tipo], "codigo-vazio", "código do produto ou serviço em branco");
    return;
  }
  const auto fim = codigo.find_last_not_of(' ');
  const std::string_view aparado = codigo.substr(0, fim + 1);
  const std::uint64_t chave = Chave({aparado});
  if (m_passou75) {
    if (!m_listados.count(chave))
      m_c.Erro(l.numero, kNomes[tipo], "sem-75", "o código " + Texto(aparado) + " não tem registro 75");
    return;
  }
  if (!m_citados.count(chave)) m_citados.emplace(chave, Citacao{l.numero, tipo, Texto(aparado)});
}

void CValidadorSintegra::Registro10(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  m_cnpj = Texto(Campo(t, 3, 14));
  m_ie = Texto(Campo(t, 17, 14));
  if (!CnpjValido(m_cnpj)) m_c.Erro(l.numero, "10", "cnpj", "CNPJ com dígitos verificadores errados: " + m_cnpj);
  if (!InscricaoValida(m_ie))
    m_c.Erro(l.numero, "10", "inscricao-estadual",
             "Inscrição Estadual fora da forma do leiaute (texto alinhado à esquerda, sem zeros à frente): \"" + m_ie +
                 "\"");
  const auto inicio = DataAMD(Campo(t, 108, 8)), fim = DataAMD(Campo(t, 116, 8));
  if (inicio && fim) {
    m_inicio = *inicio;
    m_fim = *fim;
    if (m_fim < m_inicio) m_c.Erro(l.numero, "10", "periodo", "a data final vem antes da inicial");
  }
}

// What every register of a document shares: its participant, date and CFOP.
void CValidadorSintegra::Documento(const validacao::Linha& l, Tipo tipo) {
  const std::string_view t = l.texto;
  const std::string_view uf = Campo(t, 39, 2);
  if (tipo != k76 && !DocumentoValido(Campo(t, 3, 14), uf))
    m_c.Erro(l.numero, kNomes[tipo], "cnpj", "CNPJ ou CPF do participante inválido: " + Texto(Campo(t, 3, 14)));
  if (tipo != k76 && !InscricaoValida(Campo(t, 17, 14)))
    m_c.Erro(l.numero, kNomes[tipo], "inscricao-estadual",
             "Inscrição Estadual fora da forma do leiaute: \"" + Texto(Campo(t, 17, 14)) + "\"");
  const std::string_view data = tipo == k76 ? Campo(t, 52, 8) : Campo(t, 31, 8);
  NoPeriodo(l, tipo, data);
  std::string_view cfop;
  if (tipo == k50 || tipo == k53) cfop = Campo(t, 52, 4);
  else if (tipo == k51) cfop = Campo(t, 50, 4);
  else if (tipo == k70) cfop = Campo(t, 52, 4);
  else if (tipo == k76) cfop = Campo(t, 47, 4);
  if (!cfop.empty() && !CfopValido(cfop)) m_c.Erro(l.numero, kNomes[tipo], "cfop", "CFOP inválido: " + Texto(cfop));
  if (tipo == k50 || tipo == k51 || tipo == k70 || tipo == k76) {
    const char situacao = t[125];
    const std::string_view modelo = tipo == k51 ? std::string_view("01") : tipo == k76 ? Campo(t, 31, 2) : Campo(t, 41, 2);
    if ((situacao == '2' || situacao == '4') && modelo != "55")
      m_c.Erro(l.numero, kNomes[tipo], "situacao", "situação 2 ou 4 (denegada, inutilizada) só vale para a NF-e (modelo 55)");
  }
}

void CValidadorSintegra::Registro50(const validacao::Linha& l) {
  Documento(l, k50);
  const std::string_view t = l.texto;
  const std::string_view cnpj = Campo(t, 3, 14), modelo = Campo(t, 41, 2), serie = Campo(t, 43, 3),
                         numero = Campo(t, 46, 6), cfop = Campo(t, 52, 4), aliquota = Campo(t, 122, 4);
  const std::uint64_t documento = Chave({cnpj, modelo, serie, numero});
  Nota& nota = m_notas[documento];
  if (!nota.linha) nota.linha = l.numero;
  nota.total50 += Numero(Campo(t, 57, 13));
  nota.cancelada = nota.cancelada || std::string_view("SX24").find(t[125]) != std::string_view::npos;
  m_documentosCfop.insert(Chave({cnpj, modelo, serie, numero, cfop}));
  Grupo& grupo = m_grupos[Chave({cnpj, modelo, serie, numero, cfop, aliquota})];
  if (grupo.linha50)
    m_c.Erro(l.numero, "50", "50-repetido",
             "dois registros 50 do mesmo documento, CFOP e alíquota (número " + Texto(numero) + ")");
  grupo.linha50 = l.numero;
  grupo.nota = documento;
  grupo.base50 += Numero(Campo(t, 70, 13));
}

// The substitution of a nota: what was withheld belongs to its total.
void CValidadorSintegra::Registro53(const validacao::Linha& l) {
  Documento(l, k53);
  const std::string_view t = l.texto;
  Nota& nota = m_notas[Chave({Campo(t, 3, 14), Campo(t, 41, 2), Campo(t, 43, 3), Campo(t, 46, 6)})];
  nota.icmsRetido += Numero(Campo(t, 70, 13));
  nota.comST = true;
}

void CValidadorSintegra::Registro54(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  const std::string_view cnpj = Campo(t, 3, 14), modelo = Campo(t, 17, 2), serie = Campo(t, 19, 3),
                         numero = Campo(t, 22, 6), cfop = Campo(t, 28, 4), cst = Campo(t, 32, 3),
                         item = Campo(t, 35, 3), codigo = Campo(t, 38, 14);
  if (!CfopValido(cfop)) m_c.Erro(l.numero, "54", "cfop", "CFOP inválido: " + Texto(cfop));
  const bool especial = SoDigitos(item) && Numero(item) >= 991;
  if (especial) {
    if (!EmBranco(cst) || !EmBranco(codigo))
      m_c.Erro(l.numero, "54", "item-especial", "itens 991 a 999 levam CST e código em branco");
  } else {
    Cita(l, k54, codigo);
  }
  if (!m_documentosCfop.count(Chave({cnpj, modelo, serie, numero, cfop}))) {
    m_c.Erro(l.numero, "54", "54-sem-50",
             "não há registro 50 do mesmo documento e CFOP antes deste 54 (CNPJ " + Texto(cnpj) + ", número " +
                 Texto(numero) + ")");
    return;
  }
  Nota& nota = m_notas[Chave({cnpj, modelo, serie, numero})];
  ++nota.linhas54;
  const std::int64_t valor = Numero(Campo(t, 63, 12)), descontoDespesa = Numero(Campo(t, 75, 12)),
                     ipi = Numero(Campo(t, 111, 12));
  if (Numero(Campo(t, 99, 12)) != 0) nota.comST = true;
  if (especial) {
    nota.especiais = true;
    // Freight, insurance, a complement and other charges add to the nota;
    // PIS/COFINS, credits and untaxed services are told apart, not added.
    const auto n = Numero(item);
    if (n == 991 || n == 992 || n == 997 || n == 999) nota.extras += descontoDespesa;
    return;
  }
  nota.itens += valor - descontoDespesa + ipi;
  Grupo& grupo = m_grupos[Chave({cnpj, modelo, serie, numero, cfop, Campo(t, 123, 4)})];
  grupo.com54 = true;
  grupo.base54 += Numero(Campo(t, 87, 12));
  if (!grupo.linha54) grupo.linha54 = l.numero;
  if (!grupo.linha50)
    m_c.Erro(l.numero, "54", "54-sem-50", "não há registro 50 do mesmo documento, CFOP e alíquota deste 54");
}

void CValidadorSintegra::Registro60M(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  NoPeriodo(l, k60M, Campo(t, 4, 8));
  const std::string_view data = Campo(t, 4, 8), serie = Campo(t, 12, 20);
  // Days and ECFs in order; another reduction of the same day and ECF (a
  // second Z) starts its own group.
  m_chave.clear();
  m_chave.append(data).append(serie);
  if (m_dia.aberto && std::string_view(m_chave) < std::string_view(m_dia.data + m_dia.serie))
    m_c.Erro(l.numero, "60M", "ordem", "registros 60 fora da ordem de data, número de série e subtipo (M, A, D, I)");
  m_dia.aberto = true;
  m_dia.data.assign(data);
  m_dia.serie.assign(serie);
  m_dia.cooInicial = Numero(Campo(t, 37, 6));
  m_dia.cooFinal = Numero(Campo(t, 43, 6));
  m_dia.subtipo = 0;
  m_dia.chaves.clear();
  if (m_dia.cooFinal < m_dia.cooInicial) m_c.Erro(l.numero, "60M", "coo", "COO final menor que o inicial");
}

// 60A, 60D and 60I: inside the day of the 60M before them.
void CValidadorSintegra::Registro60DoDia(const validacao::Linha& l, Tipo tipo) {
  const std::string_view t = l.texto;
  const std::string_view nome = kNomes[tipo];
  NoPeriodo(l, tipo, Campo(t, 4, 8));
  if (!m_dia.aberto || m_dia.data != Campo(t, 4, 8) || m_dia.serie != Campo(t, 12, 20)) {
    m_c.Erro(l.numero, nome, "60-sem-60M", "não há 60M do mesmo dia e ECF antes deste registro");
    return;
  }
  const int subtipo = tipo == k60A ? 1 : tipo == k60D ? 2 : 3;
  if (subtipo < m_dia.subtipo)
    m_c.Erro(l.numero, nome, "ordem", "registros 60 fora da ordem de data, número de série e subtipo (M, A, D, I)");
  m_dia.subtipo = subtipo;
  if (tipo == k60A) {
    if (!m_dia.chaves.insert(Chave({"A", Campo(t, 32, 4)})).second)
      m_c.Erro(l.numero, nome, "totalizador-repetido", "dois 60A do mesmo totalizador no dia: " + Texto(Campo(t, 32, 4)));
    return;
  }
  const std::string_view situacao = tipo == k60D ? Campo(t, 91, 4) : Campo(t, 95, 4);
  const std::string_view icms = tipo == k60D ? Campo(t, 95, 13) : Campo(t, 99, 12);
  if ((situacao == "F   " || situacao == "I   " || situacao == "N   ") && Numero(icms) != 0)
    m_c.Erro(l.numero, nome, "icms-sem-imposto", "ICMS em item de situação F, I ou N");
  if (tipo == k60D) {
    Cita(l, tipo, Campo(t, 32, 14));
    if (!m_dia.chaves.insert(Chave({"D", Campo(t, 32, 14), situacao})).second)
      m_c.Erro(l.numero, nome, "resumo-repetido", "dois 60D do mesmo item e situação no dia");
    return;
  }
  Cita(l, tipo, Campo(t, 43, 14));
  const std::int64_t coo = Numero(Campo(t, 34, 6));
  if (coo < m_dia.cooInicial || coo > m_dia.cooFinal)
    m_c.Erro(l.numero, nome, "coo-fora-do-dia", "COO " + Texto(Campo(t, 34, 6)) + " fora da faixa do 60M do dia");
}

void CValidadorSintegra::Registro60R(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  MesNoPeriodo(l, k60R, Campo(t, 4, 6));
  Cita(l, k60R, Campo(t, 10, 14));
  if (!m_resumosMes.insert(Chave({Campo(t, 4, 20), Campo(t, 69, 4)})).second)
    m_c.Erro(l.numero, "60R", "resumo-repetido", "dois 60R do mesmo item e situação no mês");
}

void CValidadorSintegra::Registro61(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  NoPeriodo(l, k61, Campo(t, 31, 8));
  if (Numero(Campo(t, 52, 6)) < Numero(Campo(t, 46, 6)))
    m_c.Erro(l.numero, "61", "numeracao", "número final menor que o inicial");
}

// The inventory: goods of the informant in its own hands carry no other
// party (CNPJ in zeros, registration in blanks).
void CValidadorSintegra::Registro74(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  Cita(l, k74, Campo(t, 11, 14));
  if (t[50] == '1' && (Campo(t, 52, 14) != "00000000000000" || !EmBranco(Campo(t, 66, 14))))
    m_c.Erro(l.numero, "74", "posse",
             "mercadoria do informante em seu poder (posse 1) leva CNPJ em zeros e Inscrição Estadual em branco");
  else if (t[50] != '1' && !DocumentoValido(Campo(t, 52, 14), Campo(t, 80, 2)))
    m_c.Erro(l.numero, "74", "cnpj", "CNPJ do possuidor ou proprietário inválido: " + Texto(Campo(t, 52, 14)));
}

// A product's data for a period; the same code again only for another
// period (its data changed).
void CValidadorSintegra::Registro75(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  const auto inicio = DataAMD(Campo(t, 3, 8)), fim = DataAMD(Campo(t, 11, 8));
  if (inicio && fim && *fim < *inicio) m_c.Erro(l.numero, "75", "validade", "fim da validade antes do início");
  const std::string_view codigo = Campo(t, 19, 14);
  if (EmBranco(codigo)) {
    m_c.Erro(l.numero, "75", "codigo-vazio", "código do produto ou serviço em branco");
    return;
  }
  m_passou75 = true;
  const std::string_view aparado = codigo.substr(0, codigo.find_last_not_of(' ') + 1);
  auto& periodos = m_listados[Chave({aparado})];
  if (inicio && fim) {
    for (const auto& [de, ate] : periodos)
      if (*inicio <= ate && de <= *fim) {
        m_c.Aviso(l.numero, "75", "75-repetido",
                  "dois registros 75 do código " + Texto(aparado) + " com períodos de validade que se sobrepõem");
        break;
      }
    periodos.emplace_back(*inicio, *fim);
  }
}

void CValidadorSintegra::Registro90(const validacao::Linha& l) {
  const std::string_view t = l.texto;
  ++m_linhas90;
  if (!m_primeira90) m_primeira90 = l.numero;
  if (Campo(t, 3, 14) != m_cnpj || Campo(t, 17, 14) != m_ie)
    m_c.Erro(l.numero, "90", "informante", "CNPJ e Inscrição Estadual diferentes dos do registro 10");
  if (m_ultima90Tem99) m_99ForaDaUltima = true;
  std::size_t p = 31;
  for (; p + 10 <= 121 && Campo(t, p, 2) != "  "; p += 10) {
    const std::string_view par = Campo(t, p, 10);
    if (!SoDigitos(par)) {
      m_c.Erro(l.numero, "90", "par", "par de totalização que não é numérico: \"" + Texto(par) + "\"");
      continue;
    }
    const std::string tipo = Texto(par.substr(0, 2));
    if (tipo == "10" || tipo == "11" || tipo == "90") {
      m_c.Erro(l.numero, "90", "90-tipo-proibido",
               "o registro 90 não totaliza os registros " + tipo + " (só entram no total 99)");
      continue;
    }
    if (!m_declarados.emplace(tipo, Numero(par.substr(2))).second)
      m_c.Erro(l.numero, "90", "par-repetido", "o tipo " + tipo + " é totalizado duas vezes");
    if (tipo == "99") m_ultima90Tem99 = true;
  }
  if (!EmBranco(Campo(t, p, 121 - p)))
    m_c.Erro(l.numero, "90", "brancos", "posições depois do último par não estão em branco");
  const std::size_t na126 = SoDigitos(Campo(t, 126, 1)) ? static_cast<std::size_t>(Numero(Campo(t, 126, 1))) : 0;
  if (m_linhas90 == 1) m_declaradoNa126 = na126;
  else if (na126 != m_declaradoNa126) m_posicao126Diverge = true;
}

// Each nota's 54 bases add up to its 50 of the same CFOP and rate, and its
// 50 totals to its items (value less discount, with IPI), the extras of
// the nota as a whole (991 freight, 992 insurance, 997 a complement, 999
// other expenses) and the substitution withheld (53). A discount on the
// nota's total has no 54 of its own: a total below what the 54s add up to
// is a warning, one above it an error. A nota with a group of no 54 (its
// services, which 54 does not list) is not summed.
void CValidadorSintegra::ConcluiNotas() {
  for (const auto& [chave, g] : m_grupos) {
    if (g.linha50 && !g.com54) {
      const auto nota = m_notas.find(g.nota);
      if (nota != m_notas.end()) nota->second.grupoSem54 = true;
    }
    if (!g.com54 || !g.linha50 || g.base50 == g.base54) continue;
    m_c.Erro(g.linha54, "54", "54-soma",
             "a base de cálculo dos 54 (" + Reais(g.base54) + ") não soma a do registro 50 do mesmo documento, CFOP e "
             "alíquota (" + Reais(g.base50) + ", linha " + std::to_string(g.linha50) + ")");
  }
  for (const auto& [chave, n] : m_notas) {
    if (!n.linha || !n.linhas54 || n.cancelada || n.grupoSem54) continue;
    const std::int64_t esperado = n.itens + n.extras + n.icmsRetido;
    // A cent of rounding a line is taken; beyond that the nota is wrong.
    const auto tolerancia = static_cast<std::int64_t>(n.linhas54);
    if (n.total50 >= esperado - tolerancia && n.total50 <= esperado + tolerancia) continue;
    const std::string texto = "o valor total dos registros 50 da nota (" + Reais(n.total50) +
                              ") difere do que os seus 54 somam (" + Reais(esperado) +
                              ": valor dos itens menos descontos, IPI, frete, seguro e despesas" +
                              (n.icmsRetido ? ", ICMS retido do 53" : "") + ")";
    // Substitution without its 53, or a discount on the total, leaves part
    // of the difference out of the 54s' reach.
    if (n.total50 < esperado || (n.comST && !n.icmsRetido)) m_c.Aviso(n.linha, "50", "50-total", texto);
    else m_c.Erro(n.linha, "50", "50-total", texto);
  }
}

void CValidadorSintegra::Conclui90() {
  if (!m_linhas90) {
    m_c.Erro(0, "90", "sem-90", "o arquivo não tem registro 90");
    return;
  }
  if (m_declaradoNa126 != m_linhas90 || m_posicao126Diverge)
    m_c.Erro(m_primeira90, "90", "numero-de-90",
             "a posição 126 dos registros 90 não traz o número deles (" + std::to_string(m_linhas90) + ")");
  if (m_99ForaDaUltima) m_c.Erro(m_primeira90, "90", "90-total", "o total geral (tipo 99) vai no último registro 90");
  for (std::size_t tipo = 0; tipo < m_porTipo.size(); ++tipo) {
    const std::int64_t n = m_porTipo[tipo];
    if (!n || tipo == 10 || tipo == 11 || tipo == 90) continue;
    const std::string nome = std::to_string(tipo);
    const auto d = m_declarados.find(nome);
    if (d == m_declarados.end())
      m_c.Erro(m_primeira90, "90", "90-sem-tipo", "o registro 90 não totaliza os " + std::to_string(n) + " registros " + nome);
    else if (d->second != n)
      m_c.Erro(m_primeira90, "90", "90-contagem",
               "o registro 90 declara " + std::to_string(d->second) + " registros " + nome + "; há " + std::to_string(n));
  }
  for (const auto& [tipo, n] : m_declarados) {
    if (tipo == "99") {
      if (n != static_cast<std::int64_t>(m_linhas))
        m_c.Erro(m_primeira90, "90", "90-total",
                 "o total 99 declara " + std::to_string(n) + " linhas; há " + std::to_string(m_linhas));
    } else if (!m_porTipo[static_cast<std::size_t>(Numero(tipo))]) {
      m_c.Erro(m_primeira90, "90", "90-tipo-ausente", "o registro 90 totaliza o tipo " + tipo + ", que o arquivo não tem");
    }
  }
  if (!m_declarados.count("99")) m_c.Erro(m_primeira90, "90", "90-sem-total", "falta o total geral (tipo 99)");
}

void CValidadorSintegra::Fim() {
  ConcluiNotas();
  // The codes cited before the 75 that no 75 listed, in the order cited.
  std::vector<const Citacao*> semCadastro;
  for (const auto& [chave, citacao] : m_citados)
    if (!m_listados.count(chave)) semCadastro.push_back(&citacao);
  std::sort(semCadastro.begin(), semCadastro.end(), [](const Citacao* a, const Citacao* b) { return a->linha < b->linha; });
  for (const Citacao* c : semCadastro)
    m_c.Erro(c->linha, kNomes[c->tipo], "sem-75", "o código " + c->codigo + " não tem registro 75");
  Conclui90();
}

}  // namespace

std::unique_ptr<CValidadorLinhas> NovoValidadorSintegra(CColetor& coletor) {
  return std::make_unique<CValidadorSintegra>(coletor);
}

}  // namespace qmx::validacao
