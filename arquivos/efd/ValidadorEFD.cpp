#include "arquivos/efd/ValidadorEFD.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace qmx::validacao {
namespace {

// A field as the Guia's tables give it: type (C text, N number), largest
// size (0: none stated), whether that size is exact, how many decimals at
// most, and whether it is obligatory.
struct CampoEFD {
  std::string nome;
  char tipo = 'C';
  std::size_t tamanho = 0;
  bool exato = false;
  int decimais = 0;
  bool obrigatorio = false;
};

// "NOME:N8*O", "VL_DOC:N-,2O", "COD_PART:C60OC": type, size ("-" for
// none, "*" when exact), decimals after a comma, O or OC.
CampoEFD LeCampo(std::string_view texto) {
  CampoEFD c;
  const auto dois = texto.find(':');
  c.nome = std::string(texto.substr(0, dois));
  std::string_view r = texto.substr(dois + 1);
  c.tipo = r[0];
  r.remove_prefix(1);
  if (r[0] == '-') {
    r.remove_prefix(1);
  } else {
    while (!r.empty() && r[0] >= '0' && r[0] <= '9') {
      c.tamanho = c.tamanho * 10 + static_cast<std::size_t>(r[0] - '0');
      r.remove_prefix(1);
    }
  }
  if (!r.empty() && r[0] == '*') {
    c.exato = true;
    r.remove_prefix(1);
  }
  if (!r.empty() && r[0] == ',') {
    c.decimais = r[1] - '0';
    r.remove_prefix(2);
  }
  c.obrigatorio = r == "O";
  return c;
}

struct RegistroEFD {
  std::string reg;
  int nivel = 0;
  std::string pai;
  std::vector<CampoEFD> campos;  // after REG
};

// The registers of the two layouts (COD_VER 004 and 006 share them but for
// H005's MOT_INV, which 006 adds).
const std::map<std::string, RegistroEFD>& Registros() {
  static const std::map<std::string, RegistroEFD> registros = [] {
    std::map<std::string, RegistroEFD> r;
    auto define = [&](const char* reg, int nivel, const char* pai, std::initializer_list<const char*> campos) {
      RegistroEFD d{reg, nivel, pai, {}};
      for (const char* c : campos) d.campos.push_back(LeCampo(c));
      r[reg] = d;
    };
    define("0000", 0, "",
           {"COD_VER:N3*O", "COD_FIN:N1*O", "DT_INI:N8*O", "DT_FIN:N8*O", "NOME:C100O", "CNPJ:N14*OC", "CPF:N11*OC",
            "UF:C2*O", "IE:C14O", "COD_MUN:N7*O", "IM:C-OC", "SUFRAMA:C9*OC", "IND_PERFIL:C1O", "IND_ATIV:N1*O"});
    for (const char* bloco : {"0", "C", "D", "E", "G", "H", "1", "9"}) {
      const std::string abertura = std::string(bloco) + "001", fechamento = std::string(bloco) + "990";
      define(abertura.c_str(), 1, "0000", {"IND_MOV:N1*O"});
      if (std::string(bloco) != "9") define(fechamento.c_str(), 1, "0000", {"QTD_LIN:N-O"});
    }
    define("0005", 2, "0001",
           {"FANTASIA:C60O", "CEP:N8*O", "END:C60O", "NUM:C10OC", "COMPL:C60OC", "BAIRRO:C60O", "FONE:C11OC",
            "FAX:C11OC", "EMAIL:C-OC"});
    define("0015", 2, "0001", {"UF_ST:C2*O", "IE_ST:C14O"});
    define("0100", 2, "0001",
           {"NOME:C100O", "CPF:N11*O", "CRC:C15O", "CNPJ:N14*OC", "CEP:N8*OC", "END:C60OC", "NUM:C10OC",
            "COMPL:C60OC", "BAIRRO:C60OC", "FONE:C11OC", "FAX:C11OC", "EMAIL:C-O", "COD_MUN:N7*O"});
    define("0150", 2, "0001",
           {"COD_PART:C60O", "NOME:C100O", "COD_PAIS:N5O", "CNPJ:N14*OC", "CPF:N11*OC", "IE:C14OC", "COD_MUN:N7*OC",
            "SUFRAMA:C9*OC", "END:C60O", "NUM:C10OC", "COMPL:C60OC", "BAIRRO:C60OC"});
    define("0190", 2, "0001", {"UNID:C6O", "DESCR:C-O"});
    define("0200", 2, "0001",
           {"COD_ITEM:C60O", "DESCR_ITEM:C-O", "COD_BARRA:C-OC", "COD_ANT_ITEM:C60OC", "UNID_INV:C6OC",
            "TIPO_ITEM:N2*O", "COD_NCM:C8*OC", "EX_IPI:C3OC", "COD_GEN:N2*OC", "COD_LST:C5OC",
            "ALIQ_ICMS:N6,2OC"});
    define("0400", 2, "0001", {"COD_NAT:C10O", "DESCR_NAT:C-O"});
    define("0460", 2, "0001", {"COD_OBS:C6O", "TXT:C-O"});
    define("C100", 2, "C001",
           {"IND_OPER:C1*O", "IND_EMIT:C1*O", "COD_PART:C60OC", "COD_MOD:C2*O", "COD_SIT:N2*O", "SER:C3OC",
            "NUM_DOC:N9O", "CHV_NFE:N44*OC", "DT_DOC:N8*OC", "DT_E_S:N8*OC", "VL_DOC:N-,2OC", "IND_PGTO:C1*OC",
            "VL_DESC:N-,2OC", "VL_ABAT_NT:N-,2OC", "VL_MERC:N-,2OC", "IND_FRT:C1*OC", "VL_FRT:N-,2OC",
            "VL_SEG:N-,2OC", "VL_OUT_DA:N-,2OC", "VL_BC_ICMS:N-,2OC", "VL_ICMS:N-,2OC", "VL_BC_ICMS_ST:N-,2OC",
            "VL_ICMS_ST:N-,2OC", "VL_IPI:N-,2OC", "VL_PIS:N-,2OC", "VL_COFINS:N-,2OC", "VL_PIS_ST:N-,2OC",
            "VL_COFINS_ST:N-,2OC"});
    define("C170", 3, "C100",
           {"NUM_ITEM:N3O",         "COD_ITEM:C60O",        "DESCR_COMPL:C-OC",      "QTD:N-,5O",
            "UNID:C6O",             "VL_ITEM:N-,2O",        "VL_DESC:N-,2OC",        "IND_MOV:C1*O",
            "CST_ICMS:N3*O",        "CFOP:N4*O",            "COD_NAT:C10OC",         "VL_BC_ICMS:N-,2OC",
            "ALIQ_ICMS:N6,2OC",     "VL_ICMS:N-,2OC",       "VL_BC_ICMS_ST:N-,2OC",  "ALIQ_ST:N6,2OC",
            "VL_ICMS_ST:N-,2OC",    "IND_APUR:C1*OC",       "CST_IPI:C2*OC",         "COD_ENQ:C3*OC",
            "VL_BC_IPI:N-,2OC",     "ALIQ_IPI:N6,2OC",      "VL_IPI:N-,2OC",         "CST_PIS:N2*OC",
            "VL_BC_PIS:N-,2OC",     "ALIQ_PIS:N8,4OC",      "QUANT_BC_PIS:N-,3OC",   "ALIQ_PIS_QUANT:N-,4OC",
            "VL_PIS:N-,2OC",        "CST_COFINS:N2*OC",     "VL_BC_COFINS:N-,2OC",   "ALIQ_COFINS:N8,4OC",
            "QUANT_BC_COFINS:N-,3OC", "ALIQ_COFINS_QUANT:N-,4OC", "VL_COFINS:N-,2OC", "COD_CTA:C-OC"});
    define("C190", 3, "C100",
           {"CST_ICMS:N3*O", "CFOP:N4*O", "ALIQ_ICMS:N6,2OC", "VL_OPR:N-,2O", "VL_BC_ICMS:N-,2O", "VL_ICMS:N-,2O",
            "VL_BC_ICMS_ST:N-,2O", "VL_ICMS_ST:N-,2O", "VL_RED_BC:N-,2O", "VL_IPI:N-,2OC", "COD_OBS:C6OC"});
    define("C195", 3, "C100", {"COD_OBS:C6O", "TXT_COMPL:C-OC"});
    define("C300", 2, "C001",
           {"COD_MOD:C2*O", "SER:C4O", "SUB:C3OC", "NUM_DOC_INI:N6O", "NUM_DOC_FIN:N6O", "DT_DOC:N8*O",
            "VL_DOC:N-,2O", "VL_PIS:N-,2OC", "VL_COFINS:N-,2OC", "COD_CTA:C-OC"});
    define("C310", 3, "C300", {"NUM_DOC_CANC:N-O"});
    define("C320", 3, "C300",
           {"CST_ICMS:N3*O", "CFOP:N4*O", "ALIQ_ICMS:N6,2OC", "VL_OPR:N-,2O", "VL_BC_ICMS:N-,2O", "VL_ICMS:N-,2O",
            "VL_RED_BC:N-,2O", "COD_OBS:C6OC"});
    define("C321", 4, "C320",
           {"COD_ITEM:C60O", "QTD:N-,3O", "UNID:C6O", "VL_ITEM:N-,2O", "VL_DESC:N-,2OC", "VL_BC_ICMS:N-,2O",
            "VL_ICMS:N-,2O", "VL_PIS:N-,2OC", "VL_COFINS:N-,2OC"});
    define("C400", 2, "C001", {"COD_MOD:C2*O", "ECF_MOD:C20O", "ECF_FAB:C21O", "ECF_CX:N3O"});
    define("C405", 3, "C400",
           {"DT_DOC:N8*O", "CRO:N3O", "CRZ:N6O", "NUM_COO_FIN:N6O", "GT_FIN:N-,2O", "VL_BRT:N-,2O"});
    define("C410", 4, "C405", {"VL_PIS:N-,2OC", "VL_COFINS:N-,2OC"});
    define("C420", 4, "C405", {"COD_TOT_PAR:C7O", "VLR_ACUM_TOT:N-,2O", "NR_TOT:N2OC", "DESCR_NR_TOT:C-OC"});
    define("C425", 5, "C420",
           {"COD_ITEM:C60O", "QTD:N-,3O", "UNID:C6O", "VL_ITEM:N-,2O", "VL_PIS:N-,2OC", "VL_COFINS:N-,2OC"});
    define("C460", 4, "C405",
           {"COD_MOD:C2*O", "COD_SIT:N2*O", "NUM_DOC:N6O", "DT_DOC:N8*OC", "VL_DOC:N-,2OC", "VL_PIS:N-,2OC",
            "VL_COFINS:N-,2OC", "CPF_CNPJ:N14OC", "NOM_ADQ:C60OC"});
    define("C470", 5, "C460",
           {"COD_ITEM:C60O", "QTD:N-,3O", "QTD_CANC:N-,3OC", "UNID:C6O", "VL_ITEM:N-,2O", "CST_ICMS:N3*O",
            "CFOP:N4*O", "ALIQ_ICMS:N6,2OC", "VL_PIS:N-,2OC", "VL_COFINS:N-,2OC"});
    define("C490", 4, "C405",
           {"CST_ICMS:N3*O", "CFOP:N4*O", "ALIQ_ICMS:N6,2OC", "VL_OPR:N-,2O", "VL_BC_ICMS:N-,2O", "VL_ICMS:N-,2O",
            "COD_OBS:C6OC"});
    define("H005", 2, "H001", {"DT_INV:N8*O", "VL_INV:N-,2O", "MOT_INV:C2*O"});
    define("H010", 3, "H005",
           {"COD_ITEM:C60O", "UNID:C6O", "QTD:N-,3O", "VL_UNIT:N-,6O", "VL_ITEM:N-,2O", "IND_PROP:C1*O",
            "COD_PART:C60OC", "TXT_COMPL:C-OC", "COD_CTA:C-OC"});
    define("1010", 2, "1001",
           {"IND_EXP:C1*O", "IND_CCRF:C1*O", "IND_COMB:C1*O", "IND_USINA:C1*O", "IND_VA:C1*O", "IND_EE:C1*O",
            "IND_CART:C1*O", "IND_FORM:C1*O", "IND_AER:C1*O"});
    define("9900", 2, "9001", {"REG_BLC:C4*O", "QTD_REG_BLC:N-O"});
    define("9990", 1, "0000", {"QTD_LIN_9:N-O"});
    define("9999", 0, "", {"QTD_LIN:N-O"});
    return r;
  }();
  return registros;
}

// The block letters in their order in the file.
constexpr std::string_view kBlocos = "0CDEGH19";

// A number of the layout: digits, and a comma before at most `decimais`
// digits (none when the field has no decimals).
bool NumeroValido(std::string_view v, int decimais) {
  const auto virgula = v.find(',');
  if (virgula == std::string_view::npos) return SoDigitos(v);
  if (decimais == 0) return false;
  const std::string_view inteira = v.substr(0, virgula), fracao = v.substr(virgula + 1);
  return SoDigitos(inteira) && SoDigitos(fracao) && fracao.size() <= static_cast<std::size_t>(decimais);
}

std::size_t Digitos(std::string_view v) { return static_cast<std::size_t>(std::count_if(v.begin(), v.end(), [](char c) { return c != ','; })); }

// The totalizer codes of table 4.4.6: a rate as "xxTnnnn" or "xxSnnnn",
// the fixed codes F1, I1, N1 (and their S forms), discounts, increases,
// cancellations and non-fiscal operations.
// An amount of the layout ("1234,5", "0,00") in cents; 0 when it is not one
// (the field check reports it).
std::int64_t Centavos(std::string_view valor) {
  std::int64_t inteiro = 0, centavos = 0;
  int decimais = -1;
  for (char c : valor) {
    if (c == ',') {
      decimais = 0;
      continue;
    }
    if (c < '0' || c > '9') return 0;
    if (decimais < 0) inteiro = inteiro * 10 + (c - '0');
    else if (decimais < 2) {
      centavos = centavos * 10 + (c - '0');
      ++decimais;
    }
  }
  if (decimais == 1) centavos *= 10;
  return inteiro * 100 + centavos;
}

std::string Reais(std::int64_t centavos) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%lld,%02lld", static_cast<long long>(centavos / 100),
                static_cast<long long>(centavos % 100));
  return texto;
}

bool Cancelado(std::string_view situacao) {
  return situacao == "02" || situacao == "03" || situacao == "04" || situacao == "05";
}


class CValidador {
 public:
  CValidador(const std::vector<Linha>& linhas, CColetor& coletor) : m_linhas(linhas), m_c(coletor) {}
  void Executa();

 private:
  void Campos(const Linha& l, const RegistroEFD& r, const std::vector<std::string_view>& v);
  void Hierarquia(const Linha& l, const RegistroEFD& r);
  void Regras(const Linha& l, const RegistroEFD& r, const std::vector<std::string_view>& v);
  void Chave(const Linha& l, std::string_view reg, std::map<std::string, std::size_t>& chaves, std::string_view valor);
  void Referencia(const Linha& l, std::string_view reg, std::string_view tabela, std::string_view valor);
  void NoPeriodo(const Linha& l, std::string_view reg, std::string_view data);
  void Contadores();
  void Conclui();
  // The sums a document and the inventory must agree with, checked when
  // their children end.
  void FechaDocumento();
  void FechaInventario();

  const std::vector<Linha>& m_linhas;
  CColetor& m_c;
  bool m_extrato = false;  // COD_VER 004 without block openings
  std::string m_versao;
  NumeroDia m_inicio = 0, m_fim = 0;
  // The register open at each level, and the last child code under it.
  std::array<std::string, 6> m_abertos{};
  std::array<std::string, 6> m_ultimoFilho{};
  bool m_paiCancelado = false;  // the open C100 or C460 is a cancelled document
  std::size_t m_bloco = 0;      // the block of the last line, in kBlocos
  std::map<std::string, std::size_t> m_participantes, m_itens, m_unidades, m_naturezas, m_observacoes;
  struct Referida {
    std::size_t linha;
    std::string registro, tabela, valor;
  };
  std::vector<Referida> m_referidas;
  std::set<std::string> m_filhosDoPai;  // unique keys inside the open parent
  std::map<std::string, std::int64_t> m_porRegistro;
  std::map<char, std::int64_t> m_porBloco;
  std::set<std::string> m_servicos;  // 0200 items of type 09
  // The open C100 (header amounts, then its C190 sums): VL_DOC, VL_BC_ICMS,
  // VL_ICMS, VL_BC_ICMS_ST, VL_ICMS_ST, VL_IPI against VL_OPR and the same.
  struct Documento {
    std::size_t linha = 0;
    std::array<std::int64_t, 6> cabecalho{}, analitico{};
  } m_documento;
  std::int64_t m_c300Inicio = 0, m_c300Fim = 0;
  struct Inventario {
    std::size_t linha = 0;
    std::int64_t declarado = 0, itens = 0;
  } m_inventario;
};

void CValidador::Executa() {
  const auto& registros = Registros();
  for (const Linha& l : m_linhas) {
    if (!l.crlf) m_c.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
    const auto campos = CamposDelimitados(l.texto);
    if (!campos || campos->empty()) {
      m_c.Erro(l.numero, "", "barras", "a linha não começa e termina com a barra \"|\"");
      continue;
    }
    const std::string reg = Texto((*campos)[0]);
    const auto r = registros.find(reg);
    if (r == registros.end()) {
      m_c.Erro(l.numero, reg, "registro-desconhecido", "registro desconhecido nos leiautes 004 e 006");
      continue;
    }
    if (l.numero == 1) {
      if (reg != "0000") m_c.Erro(l.numero, reg, "ordem", "o arquivo não começa pelo registro 0000");
      else if (campos->size() > 1 && (*campos)[1] != "004" && (*campos)[1] != "006")
        m_c.Erro(l.numero, reg, "versao", "versão do leiaute desconhecida: " + Texto((*campos)[1]));
      if (campos->size() > 1) m_versao = Texto((*campos)[1]);
    }
    if (l.numero == 2) m_extrato = reg != "0001";
    ++m_porRegistro[reg];
    ++m_porBloco[reg[0]];
    std::vector<std::string_view> v(campos->begin() + 1, campos->end());
    // MOT_INV came to H005 with the layout of July 2012.
    const std::size_t esperados = r->second.campos.size() - (reg == "H005" && m_versao == "004" ? 1 : 0);
    if (v.size() != esperados) {
      m_c.Erro(l.numero, reg, "quantidade-de-campos",
               "o registro tem " + std::to_string(v.size() + 1) + " campos; o leiaute pede " + std::to_string(esperados + 1));
      Hierarquia(l, r->second);
      continue;
    }
    Campos(l, r->second, v);
    Hierarquia(l, r->second);
    if (reg != "C170" && reg != "C190" && reg != "C195") FechaDocumento();
    if (reg != "H010") FechaInventario();
    Regras(l, r->second, v);
  }
  FechaDocumento();
  FechaInventario();
  if (!m_extrato) Contadores();
  Conclui();
}

void CValidador::Campos(const Linha& l, const RegistroEFD& r, const std::vector<std::string_view>& v) {
  for (std::size_t i = 0; i < v.size(); ++i) {
    const CampoEFD& c = r.campos[i];
    const std::string_view valor = v[i];
    if (valor.empty()) {
      // The Guia asks for a CST on every item line but names none for a
      // service taxed by ISS: a service item without one is a warning.
      const bool servico = c.nome == "CST_ICMS" && (r.reg == "C170" || r.reg == "C470") &&
                           m_servicos.count(Texto(r.reg == "C170" ? v[1] : v[0]));
      if (servico)
        m_c.Aviso(l.numero, r.reg, "cst-servico", "item de serviço (ISS) sem CST_ICMS");
      else if (c.obrigatorio)
        m_c.Erro(l.numero, r.reg, "campo-obrigatorio", c.nome + " é obrigatório e está vazio");
      continue;
    }
    if (c.tipo == 'N') {
      if (!NumeroValido(valor, c.decimais)) {
        m_c.Erro(l.numero, r.reg, "campo-numerico",
                 c.nome + " não é um número do leiaute (algarismos e, se houver, vírgula e até " +
                     std::to_string(c.decimais) + " decimais): \"" + Texto(valor) + "\"");
        continue;
      }
      if ((c.exato && valor.size() != c.tamanho) || (c.tamanho && Digitos(valor) > c.tamanho))
        m_c.Erro(l.numero, r.reg, "tamanho",
                 c.nome + (c.exato ? " tem tamanho fixo " : " tem no máximo ") + std::to_string(c.tamanho) + ": \"" +
                     Texto(valor) + "\"");
      else if (c.nome.rfind("DT_", 0) == 0 && !DataDMA(valor))
        m_c.Erro(l.numero, r.reg, "data", c.nome + " não é uma data DDMMAAAA: \"" + Texto(valor) + "\"");
      continue;
    }
    if (!TextoImprimivel(valor))
      m_c.Erro(l.numero, r.reg, "caractere", c.nome + " tem caractere de controle");
    const std::size_t limite = c.tamanho ? c.tamanho : 255;
    if (valor.size() > limite || (c.exato && valor.size() != c.tamanho))
      m_c.Erro(l.numero, r.reg, "tamanho",
               c.nome + (c.exato ? " tem tamanho fixo " : " tem no máximo ") + std::to_string(limite) + ": \"" +
                   Texto(valor) + "\"");
  }
}

// Each register under the parent its level asks for, and the children of
// one parent in the code order of the layout.
void CValidador::Hierarquia(const Linha& l, const RegistroEFD& r) {
  const std::string& reg = r.reg;
  if (r.nivel == 1 && m_extrato) {
    m_c.Erro(l.numero, reg, "extrato", "abertura ou encerramento de bloco num extrato sem bloco 0001");
  }
  if (r.nivel >= 1) {
    std::string pai = m_abertos[static_cast<std::size_t>(r.nivel - 1)];
    // The extract has no block openings: its registers hang from the
    // opening their block would have.
    if (m_extrato && r.nivel == 2) pai = r.pai;
    if (pai != r.pai) {
      m_c.Erro(l.numero, reg, "hierarquia", "o registro " + reg + " precisa vir dentro de um " + r.pai);
    } else {
      // The blocks have an order of their own (checked below); inside a
      // block the children of one parent go in code order.
      std::string& ultimo = m_ultimoFilho[static_cast<std::size_t>(r.nivel - 1)];
      if (r.nivel >= 2 && reg < ultimo)
        m_c.Erro(l.numero, reg, "ordem", "o registro " + reg + " vem depois do " + ultimo + " no mesmo pai");
      if (r.nivel >= 2 && m_paiCancelado && (r.pai == "C100" || r.pai == "C460"))
        m_c.Erro(l.numero, reg, "filho-de-cancelado", "documento cancelado, denegado ou inutilizado não leva " + reg);
      ultimo = reg;
    }
  }
  const std::size_t bloco = kBlocos.find(reg[0]);
  if (bloco < m_bloco) m_c.Erro(l.numero, reg, "ordem", "bloco fora da ordem 0, C, D, E, G, H, 1, 9");
  m_bloco = std::max(m_bloco, bloco);
  m_abertos[static_cast<std::size_t>(r.nivel)] = reg;
  for (std::size_t n = static_cast<std::size_t>(r.nivel) + 1; n < m_abertos.size(); ++n) {
    m_abertos[n].clear();
    m_ultimoFilho[n - 1].clear();
  }
  m_ultimoFilho[static_cast<std::size_t>(r.nivel)].clear();
  // The documents and days whose children must not repeat a key.
  if (reg == "C100" || reg == "C300" || reg == "C405") m_filhosDoPai.clear();
}

void CValidador::Chave(const Linha& l, std::string_view reg, std::map<std::string, std::size_t>& chaves,
                       std::string_view valor) {
  if (!chaves.emplace(Texto(valor), l.numero).second)
    m_c.Erro(l.numero, reg, "chave-repetida", "código repetido no registro " + Texto(reg) + ": " + Texto(valor));
}

void CValidador::Referencia(const Linha& l, std::string_view reg, std::string_view tabela, std::string_view valor) {
  if (!valor.empty()) m_referidas.push_back({l.numero, Texto(reg), Texto(tabela), Texto(valor)});
}

void CValidador::NoPeriodo(const Linha& l, std::string_view reg, std::string_view data) {
  const auto dia = DataDMA(data);
  if (dia && m_inicio && (*dia < m_inicio || *dia > m_fim))
    m_c.Erro(l.numero, reg, "data-fora-do-periodo", "a data " + Texto(data) + " está fora do período do registro 0000");
}

void CValidador::Regras(const Linha& l, const RegistroEFD& r, const std::vector<std::string_view>& v) {
  const std::string& reg = r.reg;
  const auto unico = [&](const std::string& chave, const char* oQue) {
    if (!m_filhosDoPai.insert(reg + chave).second)
      m_c.Erro(l.numero, reg, "repetido-no-pai", std::string(oQue) + " repetido no mesmo documento: " + chave);
  };
  const auto telefone = [&](std::string_view nome, std::string_view valor) {
    if (valor.empty()) return;
    if (!SoDigitos(valor) || valor.substr(std::min<std::size_t>(2, valor.size())).find_first_not_of('0') == std::string_view::npos)
      m_c.Erro(l.numero, reg, "telefone", Texto(nome) + " não é um telefone (DDD e número, em algarismos): \"" + Texto(valor) + "\"");
  };
  if (reg == "0000") {
    if (const auto i = DataDMA(v[2])) m_inicio = *i;
    if (const auto f = DataDMA(v[3])) m_fim = *f;
    if (m_inicio && m_fim && m_fim < m_inicio) m_c.Erro(l.numero, reg, "periodo", "DT_FIN anterior a DT_INI");
    if (v[1] != "0" && v[1] != "1") m_c.Erro(l.numero, reg, "codigo", "COD_FIN fora da tabela (0 ou 1)");
    if (!v[5].empty() && !CnpjValido(v[5])) m_c.Erro(l.numero, reg, "cnpj", "CNPJ com dígitos verificadores errados");
    if (!v[6].empty() && !CpfValido(v[6])) m_c.Erro(l.numero, reg, "cpf", "CPF com dígitos verificadores errados");
    if (v[5].empty() == v[6].empty()) m_c.Erro(l.numero, reg, "cnpj", "informe o CNPJ ou o CPF, um dos dois");
    if (!UfValida(v[7])) m_c.Erro(l.numero, reg, "uf", "UF desconhecida: " + Texto(v[7]));
    if (v[9] == "0000000") m_c.Erro(l.numero, reg, "municipio", "COD_MUN não é um código do IBGE");
    if (v[12] != "A" && v[12] != "B" && v[12] != "C") m_c.Erro(l.numero, reg, "codigo", "IND_PERFIL fora da tabela (A, B ou C)");
    if (v[13] != "0" && v[13] != "1") m_c.Erro(l.numero, reg, "codigo", "IND_ATIV fora da tabela (0 ou 1)");
  } else if (reg == "0005") {
    telefone("FONE", v[6]);
    telefone("FAX", v[7]);
  } else if (reg == "0100") {
    if (!v[1].empty() && !CpfValido(v[1])) m_c.Erro(l.numero, reg, "cpf", "CPF do contabilista inválido");
    if (!v[3].empty() && !CnpjValido(v[3])) m_c.Erro(l.numero, reg, "cnpj", "CNPJ do escritório inválido");
    telefone("FONE", v[9]);
    telefone("FAX", v[10]);
  } else if (reg == "0150") {
    Chave(l, reg, m_participantes, v[0]);
    const bool brasil = v[2] == "1058" || v[2] == "01058";
    if (brasil) {
      if (v[3].empty() == v[4].empty())
        m_c.Erro(l.numero, reg, "cnpj", "participante do Brasil com CNPJ e CPF, ou sem nenhum dos dois");
      else if (!v[3].empty() ? !CnpjValido(v[3]) : !CpfValido(v[4]))
        m_c.Erro(l.numero, reg, "cnpj", "CNPJ ou CPF do participante com dígitos verificadores errados");
    } else if (!v[3].empty() || !v[4].empty()) {
      m_c.Erro(l.numero, reg, "estrangeiro", "participante do exterior não leva CNPJ nem CPF");
    }
  } else if (reg == "0190") {
    Chave(l, reg, m_unidades, v[0]);
  } else if (reg == "0200") {
    Chave(l, reg, m_itens, v[0]);
    if (v[5] == "09") m_servicos.insert(Texto(v[0]));
    Referencia(l, reg, "0190", v[4]);
    if (v[4].empty()) m_c.Aviso(l.numero, reg, "unidade", "item sem unidade de inventário");
    if (!v[6].empty() && !v[8].empty() && v[6].size() >= 2 && v[8] != v[6].substr(0, 2))
      m_c.Erro(l.numero, reg, "genero", "COD_GEN não é o capítulo (dois primeiros dígitos) do NCM " + Texto(v[6]));
  } else if (reg == "0400") {
    Chave(l, reg, m_naturezas, v[0]);
  } else if (reg == "0460") {
    Chave(l, reg, m_observacoes, v[0]);
  } else if (reg == "C100") {
    m_paiCancelado = Cancelado(v[4]);
    if (m_paiCancelado) {
      // The Guia fills only REG, IND_OPER, IND_EMIT, COD_MOD, COD_SIT, SER,
      // NUM_DOC and CHV_NFE of these documents.
      for (std::size_t i = 2; i < v.size(); ++i)
        if (i != 3 && i != 4 && i != 5 && i != 6 && i != 7 && !v[i].empty()) {
          m_c.Erro(l.numero, reg, "cancelado-com-valores",
                   "documento cancelado, denegado ou inutilizado só leva IND_OPER, IND_EMIT, COD_MOD, COD_SIT, SER, "
                   "NUM_DOC e CHV_NFE; " + r.campos[i].nome + " está preenchido");
          break;
        }
    } else {
      if (v[2].empty()) m_c.Erro(l.numero, reg, "campo-obrigatorio", "COD_PART é obrigatório e está vazio");
      if (v[8].empty()) m_c.Erro(l.numero, reg, "campo-obrigatorio", "DT_DOC é obrigatório e está vazio");
      if (v[10].empty()) m_c.Erro(l.numero, reg, "campo-obrigatorio", "VL_DOC é obrigatório e está vazio");
      NoPeriodo(l, reg, v[8]);
      Referencia(l, reg, "0150", v[2]);
      m_documento.linha = l.numero;
      m_documento.cabecalho = {Centavos(v[10]), Centavos(v[19]), Centavos(v[20]), Centavos(v[21]), Centavos(v[22]),
                               Centavos(v[23])};
    }
    if (!v[7].empty() && v[3] != "55") m_c.Erro(l.numero, reg, "chave-nfe", "chave de acesso em documento que não é NF-e (modelo 55)");
    if ((v[4] == "04" || v[4] == "05") && v[3] != "55")
      m_c.Erro(l.numero, reg, "situacao", "situação " + Texto(v[4]) + " (denegada ou inutilizada) só existe para NF-e (modelo 55)");
    if (v[4] == "05" && !v[7].empty()) m_c.Erro(l.numero, reg, "chave-nfe", "número inutilizado não leva chave de acesso");
  } else if (reg == "C170") {
    unico(Texto(v[0]), "NUM_ITEM");
    // A service of a conjugated nota is in its value but in no C190.
    if (m_servicos.count(Texto(v[1]))) m_documento.analitico[0] += Centavos(v[5]);
    Referencia(l, reg, "0200", v[1]);
    Referencia(l, reg, "0190", v[4]);
    Referencia(l, reg, "0400", v[10]);
  } else if (reg == "C190" || reg == "C320" || reg == "C490") {
    unico(Texto(v[0]) + "/" + Texto(v[1]) + "/" + Texto(v[2]), "CST, CFOP e alíquota");
    Referencia(l, reg, "0460", v.back());
    if (reg == "C190" && m_documento.linha) {
      const std::array<std::int64_t, 6> linha{Centavos(v[3]), Centavos(v[4]), Centavos(v[5]),
                                              Centavos(v[6]), Centavos(v[7]), Centavos(v[9])};
      for (std::size_t i = 0; i < 6; ++i) m_documento.analitico[i] += linha[i];
    }
  } else if (reg == "C195") {
    Referencia(l, reg, "0460", v[0]);
  } else if (reg == "C300") {
    NoPeriodo(l, reg, v[5]);
    if (Numero(v[4]) < Numero(v[3])) m_c.Erro(l.numero, reg, "numeracao", "NUM_DOC_FIN menor que NUM_DOC_INI");
    m_c300Inicio = Numero(v[3]);
    m_c300Fim = Numero(v[4]);
  } else if (reg == "C310") {
    const std::int64_t numero = Numero(v[0]);
    if (numero < m_c300Inicio || numero > m_c300Fim)
      m_c.Erro(l.numero, reg, "numeracao", "número cancelado " + Texto(v[0]) + " fora do intervalo do C300 (" +
                                               std::to_string(m_c300Inicio) + " a " + std::to_string(m_c300Fim) + ")");
  } else if (reg == "C321" || reg == "C425") {
    Referencia(l, reg, "0200", v[0]);
    Referencia(l, reg, "0190", v[2]);
  } else if (reg == "C405") {
    NoPeriodo(l, reg, v[0]);
  } else if (reg == "C420") {
    unico(Texto(v[0]) + "/" + Texto(v[2]), "COD_TOT_PAR e NR_TOT");
    if (!TotalizadorParcialValido(v[0], true))
      m_c.Erro(l.numero, reg, "totalizador", "COD_TOT_PAR fora da tabela 4.4.6 (Tnnnn, xxTnnnn, F1, I1, N1, DT, Can-T...): \"" + Texto(v[0]) + "\"");
    // The number of a rate totalizer goes in NR_TOT (it may also lead the code).
    else if (v[0].size() == 7 && !v[2].empty() && Numero(v[2]) != Numero(v[0].substr(0, 2)))
      m_c.Erro(l.numero, reg, "totalizador", "NR_TOT difere do número do totalizador " + Texto(v[0]));
  } else if (reg == "C460") {
    m_paiCancelado = v[1] == "02";
    if (m_paiCancelado) {
      for (std::size_t i = 3; i < v.size(); ++i)
        if (!v[i].empty()) {
          m_c.Erro(l.numero, reg, "cancelado-com-valores", "cupom cancelado só leva COD_MOD, COD_SIT e NUM_DOC");
          break;
        }
    } else {
      if (v[3].empty()) m_c.Erro(l.numero, reg, "campo-obrigatorio", "DT_DOC é obrigatório e está vazio");
      NoPeriodo(l, reg, v[3]);
      // The buyer: a CPF of 11 digits or a CNPJ of 14, nothing else.
      const std::string_view doc = v[7];
      if (!doc.empty() && !(doc.size() == 11 && CpfValido(doc)) && !(doc.size() == 14 && CnpjValido(doc)))
        m_c.Erro(l.numero, reg, "cpf-cnpj", "CPF_CNPJ não é um CPF de 11 dígitos nem um CNPJ de 14: \"" + Texto(doc) + "\"");
    }
  } else if (reg == "C470") {
    Referencia(l, reg, "0200", v[0]);
    Referencia(l, reg, "0190", v[3]);
  } else if (reg == "H005") {
    const auto dia = DataDMA(v[0]);
    if (dia && m_fim && *dia > m_fim) m_c.Erro(l.numero, reg, "data-fora-do-periodo", "DT_INV depois do fim do período");
    m_inventario.linha = l.numero;
    m_inventario.declarado = Centavos(v[1]);
  } else if (reg == "H010") {
    Referencia(l, reg, "0200", v[0]);
    Referencia(l, reg, "0190", v[1]);
    Referencia(l, reg, "0150", v[6]);
    m_inventario.itens += Centavos(v[4]);
    if (v[5] != "0" && v[5] != "1" && v[5] != "2") m_c.Erro(l.numero, reg, "codigo", "IND_PROP fora da tabela (0, 1 ou 2)");
  } else if (reg == "1010") {
    for (std::size_t i = 0; i < v.size(); ++i)
      if (v[i] != "S" && v[i] != "N") m_c.Erro(l.numero, reg, "codigo", r.campos[i].nome + " não é S nem N");
  }
}

void CValidador::FechaDocumento() {
  if (!m_documento.linha) return;
  const auto& d = m_documento;
  static const char* const kNomes[] = {"VL_DOC", "VL_BC_ICMS", "VL_ICMS", "VL_BC_ICMS_ST", "VL_ICMS_ST", "VL_IPI"};
  // The tax amounts of a nota are the sums of its analytic lines; its
  // value should be the sum of their operation values and its services (a
  // warning in the tax office's program).
  for (std::size_t i = 1; i < 6; ++i)
    if (d.cabecalho[i] != d.analitico[i])
      m_c.Erro(d.linha, "C100", "soma-c190",
               std::string(kNomes[i]) + " " + Reais(d.cabecalho[i]) + " difere da soma dos C190: " + Reais(d.analitico[i]));
  if (d.cabecalho[0] != d.analitico[0])
    m_c.Aviso(d.linha, "C100", "soma-c190",
              "VL_DOC " + Reais(d.cabecalho[0]) + " difere da soma dos VL_OPR dos C190: " + Reais(d.analitico[0]));
  m_documento = {};
}

void CValidador::FechaInventario() {
  if (!m_inventario.linha) return;
  if (m_inventario.declarado != m_inventario.itens)
    m_c.Erro(m_inventario.linha, "H005", "soma-h010",
             "VL_INV " + Reais(m_inventario.declarado) + " difere da soma dos H010: " + Reais(m_inventario.itens));
  m_inventario = {};
}

// Block openings and closings, 9900 and the totals of a whole EFD file.
void CValidador::Contadores() {
  std::map<std::string, std::int64_t> declarados;
  std::size_t linha9900 = 0;
  for (const Linha& l : m_linhas) {
    const auto campos = CamposDelimitados(l.texto);
    if (!campos || campos->size() < 2) continue;
    const std::string reg = Texto((*campos)[0]);
    const char bloco = reg[0];
    const std::string_view valor = (*campos)[1];
    if (reg.size() == 4 && reg.substr(1) == "001") {
      const bool comDados = m_porBloco[bloco] > 2 || (bloco == '0' && m_porBloco[bloco] > 3);
      if (valor != (comDados ? "0" : "1"))
        m_c.Erro(l.numero, reg, "abertura", std::string("IND_MOV deve ser ") + (comDados ? "0 (bloco com dados)" : "1 (bloco sem dados)"));
    } else if (reg.size() == 4 && reg.substr(1) == "990" && bloco != '9') {
      if (!SoDigitos(valor) || Numero(valor) != m_porBloco[bloco])
        m_c.Erro(l.numero, reg, "encerramento",
                 "o bloco " + std::string(1, bloco) + " tem " + std::to_string(m_porBloco[bloco]) + " linhas; o encerramento diz " + Texto(valor));
    } else if (reg == "9900" && campos->size() >= 3) {
      if (!linha9900) linha9900 = l.numero;
      if (!declarados.emplace(Texto(valor), SoDigitos((*campos)[2]) ? Numero((*campos)[2]) : -1).second)
        m_c.Erro(l.numero, reg, "9900-repetido", "registro " + Texto(valor) + " totalizado duas vezes");
    } else if (reg == "9990") {
      if (!SoDigitos(valor) || Numero(valor) != m_porBloco['9'])
        m_c.Erro(l.numero, reg, "encerramento", "o bloco 9 tem " + std::to_string(m_porBloco['9']) + " linhas; o 9990 diz " + Texto(valor));
    } else if (reg == "9999") {
      if (!SoDigitos(valor) || Numero(valor) != static_cast<std::int64_t>(m_linhas.size()))
        m_c.Erro(l.numero, reg, "total", "o arquivo tem " + std::to_string(m_linhas.size()) + " linhas; o 9999 diz " + Texto(valor));
    }
  }
  for (char bloco : kBlocos) {
    const std::string abertura = std::string(1, bloco) + "001";
    if (!m_porRegistro.count(abertura)) m_c.Erro(0, abertura, "bloco-ausente", "falta o bloco " + std::string(1, bloco));
  }
  for (const auto& [reg, n] : m_porRegistro) {
    const auto d = declarados.find(reg);
    if (d == declarados.end()) m_c.Erro(linha9900, "9900", "9900-ausente", "falta o 9900 do registro " + reg);
    else if (d->second != n)
      m_c.Erro(linha9900, "9900", "9900-contagem", "o 9900 declara " + std::to_string(d->second) + " registros " + reg + "; há " + std::to_string(n));
  }
  for (const auto& [reg, n] : declarados)
    if (!m_porRegistro.count(reg)) m_c.Erro(linha9900, "9900", "9900-sobra", "9900 de um registro que o arquivo não tem: " + reg);
  if (!m_linhas.empty() && m_linhas.back().texto.rfind("|9999|", 0) != 0)
    m_c.Erro(m_linhas.back().numero, "", "9999", "o arquivo não termina no registro 9999");
}

void CValidador::Conclui() {
  const std::map<std::string, const std::map<std::string, std::size_t>*> tabelas = {
      {"0150", &m_participantes}, {"0190", &m_unidades}, {"0200", &m_itens}, {"0400", &m_naturezas}, {"0460", &m_observacoes}};
  for (const auto& r : m_referidas)
    if (!tabelas.at(r.tabela)->count(r.valor))
      m_c.Erro(r.linha, r.registro, "referencia-" + r.tabela,
               "\"" + r.valor + "\" não está em nenhum registro " + r.tabela + " do arquivo");
}

}  // namespace

void ValidaEFD(const std::vector<Linha>& linhas, CColetor& coletor) { CValidador(linhas, coletor).Executa(); }

}  // namespace qmx::validacao
