#include "arquivos/sintegra/ValidadorSintegra.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx::validacao {
namespace {

constexpr std::size_t kLargura = 126;

// The families in the order the file holds them (Manual de Orientação,
// "Montagem do arquivo").
struct Familia {
  std::string_view codigo;
  int ordem;
};
constexpr Familia kFamilias[] = {{"10", 0},  {"11", 1},  {"50", 2},  {"51", 3},  {"53", 4},  {"54", 5},
                                 {"55", 6},  {"56", 7},  {"57", 8},  {"60M", 9}, {"60A", 9}, {"60D", 9},
                                 {"60I", 9}, {"60R", 10}, {"61", 11}, {"61R", 12}, {"70", 13}, {"71", 14},
                                 {"74", 15}, {"75", 16}, {"76", 17}, {"77", 18}, {"85", 19}, {"86", 20},
                                 {"88", 21}, {"90", 22}};

// "60M", "61R", "54"...; empty when the line names no known record.
std::string_view Registro(std::string_view texto) {
  if (texto.size() >= 3 && (texto.substr(0, 2) == "60" || texto.substr(0, 2) == "61")) {
    for (const Familia& f : kFamilias)
      if (f.codigo.size() == 3 && f.codigo == texto.substr(0, 3)) return f.codigo;
    if (texto.substr(0, 2) == "61") return "61";
    return {};
  }
  for (const Familia& f : kFamilias)
    if (f.codigo.size() == 2 && texto.substr(0, 2) == f.codigo) return f.codigo;
  return {};
}

int Ordem(std::string_view registro) {
  for (const Familia& f : kFamilias)
    if (f.codigo == registro) return f.ordem;
  return -1;
}

// The models of documents the Manual lists.
bool ModeloValido(std::string_view m) {
  static constexpr std::string_view kModelos[] = {"01", "02", "03", "04", "06", "07", "08", "09", "10",
                                                  "11", "13", "14", "15", "16", "17", "18", "20", "21",
                                                  "22", "24", "25", "26", "27", "55", "57"};
  return std::find(std::begin(kModelos), std::end(kModelos), m) != std::end(kModelos);
}

// The tax situation of 60A, 60D, 60I and 60R: a rate of four digits, or
// one of the identifiers of the Manual's table.
bool SituacaoValida(std::string_view s) {
  return SoDigitos(s) || s == "F   " || s == "I   " || s == "N   " || s == "CANC" || s == "DESC" || s == "ISS ";
}
bool SemICMS(std::string_view s) { return s == "F   " || s == "I   " || s == "N   "; }

bool CfopValido(std::string_view c) { return SoDigitos(c) && std::string_view("123567").find(c[0]) != std::string_view::npos; }

// CST of 54: the origin and the two digits of the table of situations, or
// a CSOSN of the Simples Nacional.
bool CstValido(std::string_view c) {
  if (!SoDigitos(c) || c[0] > '8') return false;
  static constexpr std::string_view kSituacoes[] = {"00", "10", "20", "30", "40", "41", "50", "51", "60", "70", "90"};
  static constexpr std::string_view kCsosn[] = {"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"};
  return std::find(std::begin(kSituacoes), std::end(kSituacoes), c.substr(1)) != std::end(kSituacoes) ||
         std::find(std::begin(kCsosn), std::end(kCsosn), c) != std::end(kCsosn);
}

// CNPJ, or CPF in fourteen positions; zeros for a foreign participant.
bool DocumentoValido(std::string_view d, std::string_view uf) {
  if (uf == "EX" && d == "00000000000000") return true;
  return CnpjValido(d) || (d.substr(0, 3) == "000" && CpfValido(d.substr(3)));
}

// The state registration is text aligned to the left: a number of fourteen
// digits with zeros in front is a registration padded with zeros, which no
// state issues.
bool InscricaoValida(std::string_view ie) {
  if (ie.substr(0, 6) == "ISENTO") return ie.substr(6).find_first_not_of(' ') == std::string_view::npos;
  const auto fim = ie.find_last_not_of(' ');
  if (fim == std::string_view::npos || ie[0] == ' ') return false;
  if (ie.size() == 14 && SoDigitos(ie) && ie[0] == '0') return false;
  return TextoImprimivel(ie.substr(0, fim + 1));
}


class CValidador {
 public:
  CValidador(const std::vector<Linha>& linhas, CColetor& coletor) : m_linhas(linhas), m_c(coletor) {}
  void Executa();

 private:
  void Registro10(const Linha& l);
  void Registro11(const Linha& l);
  void Registro50(const Linha& l);
  void Registro54(const Linha& l);
  void Registro60M(const Linha& l);
  void Registro60Dia(const Linha& l, std::string_view registro);
  void Registro60R(const Linha& l);
  void Registro61(const Linha& l);
  void Registro61R(const Linha& l);
  void Registro75(const Linha& l);
  void Registro90(const Linha& l);
  void Ordenacao(const Linha& l, std::string_view registro);
  void ConfereData(const Linha& l, std::string_view registro, std::string_view data);
  void ConfereMes(const Linha& l, std::string_view registro, std::string_view mesAno);
  void UsaCodigo(const Linha& l, std::string_view registro, std::string_view codigo);
  void Conclui();

  const std::vector<Linha>& m_linhas;
  CColetor& m_c;
  NumeroDia m_inicio = 0, m_fim = 0;
  std::string m_cnpj, m_ie;
  // Sort keys of the last line of each family.
  std::map<int, std::string> m_ultimaChave;
  // 50 and 54: the groups (document, CFOP, rate) with their base, and the
  // documents (CNPJ, model, series, number, CFOP).
  std::map<std::string, std::int64_t> m_base50, m_base54;
  std::map<std::string, std::size_t> m_linha54;
  std::set<std::string> m_documentos50;
  std::set<std::string> m_especiais54;  // documents with items 991 to 999
  // The day of the last 60M and what it already listed.
  struct Dia {
    std::string data, serie;
    std::int64_t cooInicial = 0, cooFinal = 0;
    std::set<std::string> totalizadores, resumos;
  };
  std::optional<Dia> m_dia;
  // 60R: month, item and tax situation already summed.
  std::set<std::string> m_resumosMes;
  // Codes cited (with the first line that cites them) and codes listed in 75.
  std::map<std::string, std::pair<std::size_t, std::string>> m_citados;
  std::set<std::string> m_listados;
  // Lines per family as register 90 counts them, and the 90 lines.
  std::map<std::string, std::int64_t> m_contagem;
  std::vector<const Linha*> m_linhas90;
};

void CValidador::Executa() {
  for (std::size_t i = 0; i < m_linhas.size(); ++i) {
    const Linha& l = m_linhas[i];
    if (!l.crlf) m_c.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
    const std::string_view registro = Registro(l.texto);
    if (registro.empty()) {
      m_c.Erro(l.numero, Texto(l.texto.substr(0, 2)), "registro-desconhecido", "tipo de registro desconhecido");
      continue;
    }
    if (i == 0 && registro != "10") m_c.Erro(l.numero, registro, "ordem", "o arquivo não começa pelo registro 10");
    if (i > 0 && registro == "10") m_c.Erro(l.numero, registro, "ordem", "registro 10 repetido");
    if (registro == "11" && i != 1) m_c.Erro(l.numero, registro, "ordem", "o registro 11 vem logo depois do 10, uma vez");
    if (i == 1 && registro != "11") m_c.Erro(l.numero, registro, "ordem", "falta o registro 11 depois do 10");
    ++m_contagem[Texto(l.texto.substr(0, 2))];
    Ordenacao(l, registro);
    if (l.texto.size() != kLargura) {
      m_c.Erro(l.numero, registro, "largura",
               "o registro tem " + std::to_string(l.texto.size()) + " caracteres; o leiaute pede 126");
      continue;
    }
    if (registro == "10") Registro10(l);
    else if (registro == "11") Registro11(l);
    else if (registro == "50") Registro50(l);
    else if (registro == "54") Registro54(l);
    else if (registro == "60M") Registro60M(l);
    else if (registro == "60A" || registro == "60D" || registro == "60I") Registro60Dia(l, registro);
    else if (registro == "60R") Registro60R(l);
    else if (registro == "61") Registro61(l);
    else if (registro == "61R") Registro61R(l);
    else if (registro == "75") Registro75(l);
    else if (registro == "90") Registro90(l);
  }
  Conclui();
}

// The family order, and the sort order of each family by the columns the
// Manual names.
void CValidador::Ordenacao(const Linha& l, std::string_view registro) {
  const int ordem = Ordem(registro);
  if (!m_ultimaChave.empty() && ordem < m_ultimaChave.rbegin()->first) {
    m_c.Erro(l.numero, registro, "ordem", "registro fora da ordem das famílias (10, 11, 50, 54, 60, 61, 75, 90)");
    return;
  }
  std::string chave;
  const std::string_view t = l.texto;
  if (registro == "50" || registro == "61") chave = Texto(Campo(t, 31, 8));
  else if (registro == "54")
    chave = Texto(Campo(t, 3, 14)) + Texto(Campo(t, 19, 3)) + Texto(Campo(t, 22, 6)) + Texto(Campo(t, 35, 3));
  else if (registro.substr(0, 2) == "60" && registro != "60R")
    chave = Texto(Campo(t, 4, 8)) + Texto(Campo(t, 12, 20)) +
            static_cast<char>('0' + std::string_view("MADI").find(registro[2]));  // M, A, D, I in that order
  else if (registro == "60R") chave = Texto(Campo(t, 4, 6)) + Texto(Campo(t, 10, 14));
  else if (registro == "61R") chave = Texto(Campo(t, 10, 14));
  const auto anterior = m_ultimaChave.find(ordem);
  if (anterior != m_ultimaChave.end() && chave < anterior->second) {
    if (registro.substr(0, 2) == "60" && registro != "60R") {
      m_c.Erro(l.numero, registro, "ordem", "registros 60 fora da ordem de data, número de série e subtipo (M, A, D, I)");
    } else {
      m_c.Erro(l.numero, registro, "ordem", "registro fora da ordem de classificação do Manual");
    }
  }
  m_ultimaChave[ordem] = chave;
}

void CValidador::ConfereData(const Linha& l, std::string_view registro, std::string_view data) {
  const auto dia = DataAMD(data);
  if (dia && m_inicio != 0 && (*dia < m_inicio || *dia > m_fim))
    m_c.Erro(l.numero, registro, "data-fora-do-periodo", "a data " + Texto(data) + " está fora do período do registro 10");
}

void CValidador::ConfereMes(const Linha& l, std::string_view registro, std::string_view mesAno) {
  if (!MesAnoValido(mesAno) || m_inicio == 0) return;
  const unsigned mes = static_cast<unsigned>(Numero(mesAno.substr(0, 2)));
  const unsigned ano = static_cast<unsigned>(Numero(mesAno.substr(2)));
  const NumeroDia primeiro = CodificaDia(1, mes, ano), ultimo = CodificaDia(DiasDoMes(mes, ano), mes, ano);
  if (ultimo < m_inicio || primeiro > m_fim)
    m_c.Erro(l.numero, registro, "data-fora-do-periodo", "o mês " + Texto(mesAno) + " está fora do período do registro 10");
}

void CValidador::UsaCodigo(const Linha& l, std::string_view registro, std::string_view codigo) {
  if (codigo.find_first_not_of(' ') == std::string_view::npos) {
    m_c.Erro(l.numero, registro, "codigo-vazio", "código do produto ou serviço em branco");
    return;
  }
  m_citados.emplace(Texto(codigo), std::make_pair(l.numero, Texto(registro)));
}

void CValidador::Registro10(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "10", kLargura,
                      {{"CNPJ", 3, 14, TipoCampo::N}, {"Inscrição Estadual", 17, 14, TipoCampo::X},
                       {"Nome do contribuinte", 31, 35, TipoCampo::X}, {"Município", 66, 30, TipoCampo::X},
                       {"UF", 96, 2, TipoCampo::X}, {"Fax", 98, 10, TipoCampo::N},
                       {"Data inicial", 108, 8, TipoCampo::Data}, {"Data final", 116, 8, TipoCampo::Data}},
                      m_c);
  m_cnpj = Texto(Campo(t, 3, 14));
  m_ie = Texto(Campo(t, 17, 14));
  if (!CnpjValido(m_cnpj)) m_c.Erro(l.numero, "10", "cnpj", "CNPJ com dígitos verificadores errados: " + m_cnpj);
  if (!InscricaoValida(m_ie))
    m_c.Erro(l.numero, "10", "inscricao-estadual",
             "Inscrição Estadual fora da forma do leiaute (texto alinhado à esquerda, sem zeros à frente): \"" + m_ie + "\"");
  if (!UfValida(Campo(t, 96, 2))) m_c.Erro(l.numero, "10", "uf", "UF desconhecida: " + Texto(Campo(t, 96, 2)));
  const auto inicio = DataAMD(Campo(t, 108, 8)), fim = DataAMD(Campo(t, 116, 8));
  if (inicio && fim) {
    m_inicio = *inicio;
    m_fim = *fim;
    if (m_fim < m_inicio) m_c.Erro(l.numero, "10", "periodo", "a data final vem antes da inicial");
  }
  if (std::string_view("123").find(t[123]) == std::string_view::npos)
    m_c.Erro(l.numero, "10", "codigo-convenio", "código do convênio fora da tabela (1, 2 ou 3)");
  if (std::string_view("123").find(t[124]) == std::string_view::npos)
    m_c.Erro(l.numero, "10", "natureza", "código da natureza das operações fora da tabela (1, 2 ou 3)");
  if (std::string_view("1235").find(t[125]) == std::string_view::npos)
    m_c.Erro(l.numero, "10", "finalidade", "código da finalidade fora da tabela nacional (1, 2, 3 ou 5)");
}

void CValidador::Registro11(const Linha& l) {
  ConfereRegistroFixo(l, "11", kLargura,
                      {{"Logradouro", 3, 34, TipoCampo::X}, {"Número", 37, 5, TipoCampo::N},
                       {"Complemento", 42, 22, TipoCampo::X}, {"Bairro", 64, 15, TipoCampo::X},
                       {"CEP", 79, 8, TipoCampo::N}, {"Nome do contato", 87, 28, TipoCampo::X},
                       {"Telefone", 115, 12, TipoCampo::N}},
                      m_c);
}

void CValidador::Registro50(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "50", kLargura,
                      {{"CNPJ", 3, 14, TipoCampo::N}, {"Inscrição Estadual", 17, 14, TipoCampo::X},
                       {"Data", 31, 8, TipoCampo::Data}, {"UF", 39, 2, TipoCampo::X}, {"Modelo", 41, 2, TipoCampo::N},
                       {"Série", 43, 3, TipoCampo::X}, {"Número", 46, 6, TipoCampo::N}, {"CFOP", 52, 4, TipoCampo::N},
                       {"Valor total", 57, 13, TipoCampo::N}, {"Base de cálculo", 70, 13, TipoCampo::N},
                       {"ICMS", 83, 13, TipoCampo::N}, {"Isenta", 96, 13, TipoCampo::N},
                       {"Outras", 109, 13, TipoCampo::N}, {"Alíquota", 122, 4, TipoCampo::N}},
                      m_c);
  const std::string_view uf = Campo(t, 39, 2), modelo = Campo(t, 41, 2);
  if (!UfValida(uf) && uf != "EX") m_c.Erro(l.numero, "50", "uf", "UF desconhecida: " + Texto(uf));
  if (!DocumentoValido(Campo(t, 3, 14), uf))
    m_c.Erro(l.numero, "50", "cnpj", "CNPJ ou CPF do participante inválido: " + Texto(Campo(t, 3, 14)));
  if (!InscricaoValida(Campo(t, 17, 14)))
    m_c.Erro(l.numero, "50", "inscricao-estadual", "Inscrição Estadual fora da forma do leiaute: \"" + Texto(Campo(t, 17, 14)) + "\"");
  if (!ModeloValido(modelo)) m_c.Erro(l.numero, "50", "modelo", "modelo de documento fora da tabela: " + Texto(modelo));
  if (!CfopValido(Campo(t, 52, 4))) m_c.Erro(l.numero, "50", "cfop", "CFOP inválido: " + Texto(Campo(t, 52, 4)));
  if (t[55] != 'P' && t[55] != 'T') m_c.Erro(l.numero, "50", "emitente", "emitente não é P nem T");
  const char situacao = t[125];
  if (std::string_view("NSEX24").find(situacao) == std::string_view::npos)
    m_c.Erro(l.numero, "50", "situacao", "situação fora da tabela (N, S, E, X, 2 ou 4)");
  else if ((situacao == '2' || situacao == '4') && modelo != "55")
    m_c.Erro(l.numero, "50", "situacao", "situação 2 ou 4 só vale para a NF-e (modelo 55)");
  ConfereData(l, "50", Campo(t, 31, 8));
  const std::string documento = Texto(Campo(t, 3, 14)) + Texto(modelo) + Texto(Campo(t, 43, 3)) + Texto(Campo(t, 46, 6));
  const std::string grupo = documento + Texto(Campo(t, 52, 4)) + Texto(Campo(t, 122, 4));
  m_documentos50.insert(documento + Texto(Campo(t, 52, 4)));
  if (m_base50.count(grupo))
    m_c.Erro(l.numero, "50", "grupo-repetido", "dois registros 50 do mesmo documento, CFOP e alíquota");
  m_base50[grupo] = Numero(Campo(t, 70, 13));
}

void CValidador::Registro54(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "54", kLargura,
                      {{"CNPJ", 3, 14, TipoCampo::N}, {"Modelo", 17, 2, TipoCampo::N}, {"Série", 19, 3, TipoCampo::X},
                       {"Número", 22, 6, TipoCampo::N}, {"CFOP", 28, 4, TipoCampo::N},
                       {"Número do item", 35, 3, TipoCampo::N}, {"Código", 38, 14, TipoCampo::X},
                       {"Quantidade", 52, 11, TipoCampo::N}, {"Valor do produto", 63, 12, TipoCampo::N},
                       {"Desconto", 75, 12, TipoCampo::N}, {"Base de cálculo", 87, 12, TipoCampo::N},
                       {"Base ST", 99, 12, TipoCampo::N}, {"IPI", 111, 12, TipoCampo::N},
                       {"Alíquota", 123, 4, TipoCampo::N}},
                      m_c);
  const std::string_view item = Campo(t, 35, 3), cst = Campo(t, 32, 3), codigo = Campo(t, 38, 14);
  if (!ModeloValido(Campo(t, 17, 2)))
    m_c.Erro(l.numero, "54", "modelo", "modelo de documento fora da tabela: " + Texto(Campo(t, 17, 2)));
  if (!CfopValido(Campo(t, 28, 4))) m_c.Erro(l.numero, "54", "cfop", "CFOP inválido: " + Texto(Campo(t, 28, 4)));
  const std::string documento = Texto(Campo(t, 3, 14)) + Texto(Campo(t, 17, 2)) + Texto(Campo(t, 19, 3)) + Texto(Campo(t, 22, 6));
  const bool especial = SoDigitos(item) && Numero(item) >= 991;
  if (especial) {
    m_especiais54.insert(documento);
    if (cst != "   " || codigo.find_first_not_of(' ') != std::string_view::npos)
      m_c.Erro(l.numero, "54", "item-especial", "itens 991 a 999 levam CST e código em branco");
  } else {
    if (!SoDigitos(item) || Numero(item) == 0)
      m_c.Erro(l.numero, "54", "numero-item", "número do item fora de 001 a 990");
    if (!CstValido(cst)) m_c.Erro(l.numero, "54", "cst", "CST fora das tabelas A e B (ou do CSOSN): \"" + Texto(cst) + "\"");
    UsaCodigo(l, "54", codigo);
  }
  const std::string chaveDocumento = documento + Texto(Campo(t, 28, 4));
  if (!m_documentos50.count(chaveDocumento)) {
    m_c.Erro(l.numero, "54", "54-sem-50",
             "não há registro 50 do mesmo documento e CFOP antes deste 54 (CNPJ " + Texto(Campo(t, 3, 14)) + ", número " +
                 Texto(Campo(t, 22, 6)) + ")");
    return;
  }
  if (especial) return;
  const std::string grupo = chaveDocumento + Texto(Campo(t, 123, 4));
  m_base54[grupo] += Numero(Campo(t, 87, 12));
  m_linha54.emplace(grupo, l.numero);
}

void CValidador::Registro60M(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "60M", kLargura,
                      {{"Data", 4, 8, TipoCampo::Data}, {"Número de série", 12, 20, TipoCampo::X},
                       {"Número de ordem", 32, 3, TipoCampo::N}, {"Modelo", 35, 2, TipoCampo::X},
                       {"COO inicial", 37, 6, TipoCampo::N}, {"COO final", 43, 6, TipoCampo::N},
                       {"CRZ", 49, 6, TipoCampo::N}, {"CRO", 55, 3, TipoCampo::N}, {"Venda bruta", 58, 16, TipoCampo::N},
                       {"Grande total", 74, 16, TipoCampo::N}, {"Brancos", 90, 37, TipoCampo::Brancos}},
                      m_c);
  const std::string_view modelo = Campo(t, 35, 2);
  if (modelo != "2D" && modelo != "2C" && modelo != "2B")
    m_c.Erro(l.numero, "60M", "modelo", "modelo fora da tabela (2B, 2C ou 2D): " + Texto(modelo));
  ConfereData(l, "60M", Campo(t, 4, 8));
  Dia dia;
  dia.data = Texto(Campo(t, 4, 8));
  dia.serie = Texto(Campo(t, 12, 20));
  dia.cooInicial = Numero(Campo(t, 37, 6));
  dia.cooFinal = Numero(Campo(t, 43, 6));
  if (dia.cooFinal < dia.cooInicial) m_c.Erro(l.numero, "60M", "coo", "COO final menor que o inicial");
  m_dia = dia;
}

// 60A, 60D and 60I: inside the day of the 60M before them.
void CValidador::Registro60Dia(const Linha& l, std::string_view registro) {
  const std::string_view t = l.texto;
  std::string_view situacao;
  if (registro == "60A") {
    ConfereRegistroFixo(l, registro, kLargura,
                        {{"Data", 4, 8, TipoCampo::Data}, {"Número de série", 12, 20, TipoCampo::X},
                         {"Valor", 36, 12, TipoCampo::N}, {"Brancos", 48, 79, TipoCampo::Brancos}},
                        m_c);
    situacao = Campo(t, 32, 4);
  } else if (registro == "60D") {
    ConfereRegistroFixo(l, registro, kLargura,
                        {{"Data", 4, 8, TipoCampo::Data}, {"Número de série", 12, 20, TipoCampo::X},
                         {"Código", 32, 14, TipoCampo::X}, {"Quantidade", 46, 13, TipoCampo::N},
                         {"Valor", 59, 16, TipoCampo::N}, {"Base de cálculo", 75, 16, TipoCampo::N},
                         {"ICMS", 95, 13, TipoCampo::N}, {"Brancos", 108, 19, TipoCampo::Brancos}},
                        m_c);
    situacao = Campo(t, 91, 4);
    UsaCodigo(l, registro, Campo(t, 32, 14));
    if (SemICMS(situacao) && SoDigitos(Campo(t, 95, 13)) && Numero(Campo(t, 95, 13)) != 0)
      m_c.Erro(l.numero, registro, "icms-sem-imposto", "ICMS em item de situação F, I ou N");
  } else {
    ConfereRegistroFixo(l, registro, kLargura,
                        {{"Data", 4, 8, TipoCampo::Data}, {"Número de série", 12, 20, TipoCampo::X},
                         {"Modelo", 32, 2, TipoCampo::X}, {"COO", 34, 6, TipoCampo::N},
                         {"Número do item", 40, 3, TipoCampo::N}, {"Código", 43, 14, TipoCampo::X},
                         {"Quantidade", 57, 13, TipoCampo::N}, {"Valor", 70, 13, TipoCampo::N},
                         {"Base de cálculo", 83, 12, TipoCampo::N}, {"ICMS", 99, 12, TipoCampo::N},
                         {"Brancos", 111, 16, TipoCampo::Brancos}},
                        m_c);
    situacao = Campo(t, 95, 4);
    UsaCodigo(l, registro, Campo(t, 43, 14));
    if (SemICMS(situacao) && SoDigitos(Campo(t, 99, 12)) && Numero(Campo(t, 99, 12)) != 0)
      m_c.Erro(l.numero, registro, "icms-sem-imposto", "ICMS em item de situação F, I ou N");
  }
  if (!SituacaoValida(situacao))
    m_c.Erro(l.numero, registro, "situacao-tributaria",
             "situação tributária fora da tabela (alíquota, F, I, N, CANC, DESC ou ISS): \"" + Texto(situacao) + "\"");
  ConfereData(l, registro, Campo(t, 4, 8));
  if (!m_dia || m_dia->data != Campo(t, 4, 8) || m_dia->serie != Campo(t, 12, 20)) {
    m_c.Erro(l.numero, registro, "60-sem-60M", "não há 60M do mesmo dia e ECF antes deste registro");
    return;
  }
  if (registro == "60A" && !m_dia->totalizadores.insert(Texto(situacao)).second)
    m_c.Erro(l.numero, registro, "totalizador-repetido", "dois 60A do mesmo totalizador no dia: " + Texto(situacao));
  if (registro == "60D" && !m_dia->resumos.insert(Texto(Campo(t, 32, 14)) + Texto(situacao)).second)
    m_c.Erro(l.numero, registro, "resumo-repetido", "dois 60D do mesmo item e situação no dia");
  if (registro == "60I") {
    const std::int64_t coo = Numero(Campo(t, 34, 6));
    if (coo < m_dia->cooInicial || coo > m_dia->cooFinal)
      m_c.Erro(l.numero, registro, "coo-fora-do-dia", "COO " + Texto(Campo(t, 34, 6)) + " fora da faixa do 60M do dia");
  }
}

void CValidador::Registro60R(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "60R", kLargura,
                      {{"Mês e ano", 4, 6, TipoCampo::MesAno}, {"Código", 10, 14, TipoCampo::X},
                       {"Quantidade", 24, 13, TipoCampo::N}, {"Valor", 37, 16, TipoCampo::N},
                       {"Base de cálculo", 53, 16, TipoCampo::N}, {"Brancos", 73, 54, TipoCampo::Brancos}},
                      m_c);
  if (!SituacaoValida(Campo(t, 69, 4)))
    m_c.Erro(l.numero, "60R", "situacao-tributaria",
             "situação tributária fora da tabela (alíquota, F, I, N, CANC, DESC ou ISS): \"" + Texto(Campo(t, 69, 4)) + "\"");
  ConfereMes(l, "60R", Campo(t, 4, 6));
  UsaCodigo(l, "60R", Campo(t, 10, 14));
  if (!m_resumosMes.insert(std::string(Campo(t, 4, 20)) + std::string(Campo(t, 69, 4))).second)
    m_c.Erro(l.numero, "60R", "resumo-repetido", "dois 60R do mesmo item e situação no mês");
}

void CValidador::Registro61(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "61", kLargura,
                      {{"Brancos", 3, 28, TipoCampo::Brancos}, {"Data", 31, 8, TipoCampo::Data},
                       {"Modelo", 39, 2, TipoCampo::N}, {"Série", 41, 3, TipoCampo::X},
                       {"Subsérie", 44, 2, TipoCampo::X}, {"Número inicial", 46, 6, TipoCampo::N},
                       {"Número final", 52, 6, TipoCampo::N}, {"Valor total", 58, 13, TipoCampo::N},
                       {"Base de cálculo", 71, 13, TipoCampo::N}, {"ICMS", 84, 12, TipoCampo::N},
                       {"Isenta", 96, 13, TipoCampo::N}, {"Outras", 109, 13, TipoCampo::N},
                       {"Alíquota", 122, 4, TipoCampo::N}, {"Branco", 126, 1, TipoCampo::Brancos}},
                      m_c);
  const std::string_view modelo = Campo(t, 39, 2);
  if (modelo != "02" && modelo != "04" && modelo != "13" && modelo != "14" && modelo != "15" && modelo != "16")
    m_c.Erro(l.numero, "61", "modelo", "modelo fora dos do registro 61 (02, 04, 13 a 16): " + Texto(modelo));
  if (Numero(Campo(t, 52, 6)) < Numero(Campo(t, 46, 6)))
    m_c.Erro(l.numero, "61", "numeracao", "número final menor que o inicial");
  ConfereData(l, "61", Campo(t, 31, 8));
}

void CValidador::Registro61R(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "61R", kLargura,
                      {{"Mês e ano", 4, 6, TipoCampo::MesAno}, {"Código", 10, 14, TipoCampo::X},
                       {"Quantidade", 24, 13, TipoCampo::N}, {"Valor", 37, 16, TipoCampo::N},
                       {"Base de cálculo", 53, 16, TipoCampo::N}, {"Alíquota", 69, 4, TipoCampo::N},
                       {"Brancos", 73, 54, TipoCampo::Brancos}},
                      m_c);
  ConfereMes(l, "61R", Campo(t, 4, 6));
  UsaCodigo(l, "61R", Campo(t, 10, 14));
}

void CValidador::Registro75(const Linha& l) {
  const std::string_view t = l.texto;
  ConfereRegistroFixo(l, "75", kLargura,
                      {{"Data inicial", 3, 8, TipoCampo::Data}, {"Data final", 11, 8, TipoCampo::Data},
                       {"Código", 19, 14, TipoCampo::X}, {"NCM", 33, 8, TipoCampo::X},
                       {"Descrição", 41, 53, TipoCampo::X}, {"Unidade", 94, 6, TipoCampo::X},
                       {"Alíquota do IPI", 100, 5, TipoCampo::N}, {"Alíquota do ICMS", 105, 4, TipoCampo::N},
                       {"Redução da base", 109, 5, TipoCampo::N}, {"Base ST", 114, 13, TipoCampo::N}},
                      m_c);
  const auto inicio = DataAMD(Campo(t, 3, 8)), fim = DataAMD(Campo(t, 11, 8));
  if (inicio && fim && *fim < *inicio) m_c.Erro(l.numero, "75", "validade", "fim da validade antes do início");
  const std::string codigo = Texto(Campo(t, 19, 14));
  if (codigo.find_first_not_of(' ') == std::string::npos)
    m_c.Erro(l.numero, "75", "codigo-vazio", "código do produto ou serviço em branco");
  else if (!m_listados.insert(codigo).second)
    m_c.Aviso(l.numero, "75", "75-repetido", "dois registros 75 do mesmo código: " + codigo);
}

void CValidador::Registro90(const Linha& l) {
  const std::string_view t = l.texto;
  m_linhas90.push_back(&l);
  ConfereRegistroFixo(l, "90", kLargura, {{"CNPJ", 3, 14, TipoCampo::N}, {"Inscrição Estadual", 17, 14, TipoCampo::X}},
                      m_c);
  if (Campo(t, 3, 14) != m_cnpj || Campo(t, 17, 14) != m_ie)
    m_c.Erro(l.numero, "90", "informante", "CNPJ e Inscrição Estadual diferentes dos do registro 10");
}

void CValidador::Conclui() {
  // Every 54's base adds up to its 50.
  for (const auto& [grupo, base] : m_base54) {
    const auto declarado = m_base50.find(grupo);
    const std::size_t linha = m_linha54[grupo];
    if (declarado == m_base50.end()) {
      m_c.Erro(linha, "54", "54-sem-50", "não há registro 50 do mesmo documento, CFOP e alíquota deste 54");
    } else if (declarado->second != base) {
      const std::string texto = "a base de cálculo dos 54 (" + std::to_string(base) +
                                ") não soma a do registro 50 do mesmo documento, CFOP e alíquota (" +
                                std::to_string(declarado->second) + ")";
      if (m_especiais54.count(grupo.substr(0, 25))) m_c.Aviso(linha, "54", "54-soma", texto);
      else m_c.Erro(linha, "54", "54-soma", texto);
    }
  }
  // A 75 for every code cited.
  for (const auto& [codigo, onde] : m_citados)
    if (!m_listados.count(codigo))
      m_c.Erro(onde.first, onde.second, "sem-75", "o código " + codigo + " não tem registro 75");
  // Register 90: the pairs, their counts and the number of 90 lines.
  if (m_linhas90.empty()) {
    m_c.Erro(0, "90", "sem-90", "o arquivo não tem registro 90");
    return;
  }
  std::int64_t total = 0;
  for (const auto& [tipo, n] : m_contagem) total += n;
  std::map<std::string, std::int64_t> declarados;
  for (const Linha* l : m_linhas90) {
    if (l->texto.size() != kLargura) continue;
    const std::string_view t = l->texto;
    std::size_t p = 31;
    for (; p + 10 <= 121 && Campo(t, p, 2) != "  "; p += 10) {
      const std::string tipo = Texto(Campo(t, p, 2));
      if (!SoDigitos(Campo(t, p, 10))) {
        m_c.Erro(l->numero, "90", "par", "par de totalização que não é numérico: \"" + Texto(Campo(t, p, 10)) + "\"");
        continue;
      }
      if (!declarados.emplace(tipo, Numero(Campo(t, p + 2, 8))).second)
        m_c.Erro(l->numero, "90", "par-repetido", "o tipo " + tipo + " é totalizado duas vezes");
    }
    if (Campo(t, p, 121 - p).find_first_not_of(' ') != std::string_view::npos)
      m_c.Erro(l->numero, "90", "brancos", "posições depois do último par não estão em branco");
    if (!SoDigitos(Campo(t, 126, 1)) || Numero(Campo(t, 126, 1)) != static_cast<std::int64_t>(m_linhas90.size()))
      m_c.Erro(l->numero, "90", "numero-de-90",
               "a posição 126 não traz o número de registros 90 (" + std::to_string(m_linhas90.size()) + ")");
  }
  const std::size_t linha90 = m_linhas90.front()->numero;
  for (const auto& [tipo, n] : m_contagem) {
    if (tipo == "10" || tipo == "11" || tipo == "90") continue;
    const auto d = declarados.find(tipo);
    if (d == declarados.end())
      m_c.Erro(linha90, "90", "90-sem-tipo", "o registro 90 não totaliza os " + std::to_string(n) + " registros " + tipo);
    else if (d->second != n)
      m_c.Erro(linha90, "90", "90-contagem",
               "o registro 90 declara " + std::to_string(d->second) + " registros " + tipo + "; há " + std::to_string(n));
  }
  for (const auto& [tipo, n] : declarados) {
    if (tipo == "99") {
      if (n != total)
        m_c.Erro(linha90, "90", "90-total", "o total 99 declara " + std::to_string(n) + " linhas; há " + std::to_string(total));
    } else if (!m_contagem.count(tipo)) {
      m_c.Erro(linha90, "90", "90-tipo-ausente", "o registro 90 totaliza o tipo " + tipo + ", que o arquivo não tem");
    }
  }
  if (!declarados.count("99")) m_c.Erro(linha90, "90", "90-sem-total", "falta o total geral (tipo 99)");
}

}  // namespace

void ValidaSintegra(const std::vector<Linha>& linhas, CColetor& coletor) { CValidador(linhas, coletor).Executa(); }

}  // namespace qmx::validacao
