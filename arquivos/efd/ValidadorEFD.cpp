#include "arquivos/efd/ValidadorEFD.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "arquivos/efd/LeiautesEFD.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::validacao {
namespace {

// An amount of the layout ("1234,5", "0,00") in cents; 0 when it is not
// one (the field check reports it).
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
  std::snprintf(texto, sizeof texto, "%s%lld,%02lld", centavos < 0 ? "-" : "",
                static_cast<long long>((centavos < 0 ? -centavos : centavos) / 100),
                static_cast<long long>((centavos < 0 ? -centavos : centavos) % 100));
  return texto;
}

// A number of the layout: digits, and a comma before at most `decimais`
// digits (none when the field has no decimals).
bool NumeroValido(std::string_view v, int decimais) {
  const auto virgula = v.find(',');
  if (virgula == std::string_view::npos) return SoDigitos(v);
  if (decimais <= 0) return false;
  const std::string_view inteira = v.substr(0, virgula), fracao = v.substr(virgula + 1);
  return SoDigitos(inteira) && SoDigitos(fracao) && fracao.size() <= static_cast<std::size_t>(decimais);
}

std::size_t Digitos(std::string_view v) {
  return static_cast<std::size_t>(std::count_if(v.begin(), v.end(), [](char c) { return c != ','; }));
}

// The IBGE code of each state: the first two digits of its municipalities'.
std::string_view CodigoIbgeDaUf(std::string_view uf) {
  static constexpr std::pair<std::string_view, std::string_view> kUfs[] = {
      {"RO", "11"}, {"AC", "12"}, {"AM", "13"}, {"RR", "14"}, {"PA", "15"}, {"AP", "16"}, {"TO", "17"},
      {"MA", "21"}, {"PI", "22"}, {"CE", "23"}, {"RN", "24"}, {"PB", "25"}, {"PE", "26"}, {"AL", "27"},
      {"SE", "28"}, {"BA", "29"}, {"MG", "31"}, {"ES", "32"}, {"RJ", "33"}, {"SP", "35"}, {"PR", "41"},
      {"SC", "42"}, {"RS", "43"}, {"MS", "50"}, {"MT", "51"}, {"GO", "52"}, {"DF", "53"}};
  for (const auto& [sigla, codigo] : kUfs)
    if (sigla == uf) return codigo;
  return {};
}

// The check digit of an NF-e or NFC-e access key: modulus 11 with weights
// 2 to 9 from the right; 0 when the rest leaves 0 or 1.
bool ChaveAcessoValida(std::string_view chave) {
  if (chave.size() != 44 || !SoDigitos(chave)) return false;
  int soma = 0, peso = 2;
  for (std::size_t i = 43; i-- > 0;) {
    soma += (chave[i] - '0') * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  const int resto = soma % 11;
  return (resto < 2 ? 0 : 11 - resto) == chave[43] - '0';
}

bool Csosn(std::string_view cst) {
  static constexpr std::string_view kCsosn[] = {"101", "102", "103", "201", "202", "203", "300", "400", "500", "900"};
  return std::find(std::begin(kCsosn), std::end(kCsosn), cst) != std::end(kCsosn);
}

// The situation of a document whose values the Guia leaves out: cancelled,
// cancelled out of time, denied, voided.
bool SemValores(std::string_view situacao) {
  return situacao == "02" || situacao == "03" || situacao == "04" || situacao == "05";
}

const char* NomeTabela(Tabela t) {
  switch (t) {
    case Tabela::Participante: return "0150";
    case Tabela::Unidade: return "0190";
    case Tabela::Item: return "0200";
    case Tabela::Natureza: return "0400";
    case Tabela::Informacao: return "0450";
    case Tabela::Observacao: return "0460";
    case Tabela::Nenhuma: break;
  }
  return "";
}

// The register's name packed in a number, for the counts.
std::uint32_t Codigo(std::string_view reg) {
  std::uint32_t n = 0;
  for (char c : reg.substr(0, 4)) n = n << 8 | static_cast<unsigned char>(c);
  return n;
}
std::string NomeDoCodigo(std::uint32_t n) {
  std::string s(4, ' ');
  for (int i = 3; i >= 0; --i, n >>= 8) s[static_cast<std::size_t>(i)] = static_cast<char>(n & 0xFF);
  return s;
}

class CValidadorEFD : public CValidadorLinhas {
 public:
  CValidadorEFD(CColetor& c, bool contribuicoes) : m_c(c), m_contribuicoes(contribuicoes) {}
  void Linha(const validacao::Linha& l) override;
  void Fim() override;

 private:
  using Campos = std::vector<std::string_view>;
  bool Abertura(const validacao::Linha& l, const Campos& v);
  void Hierarquia(const validacao::Linha& l, const RegistroEFD& r);
  void ConfereCampos(const validacao::Linha& l, const RegistroEFD& r, const Campos& v);
  void Dispensas(const RegistroEFD& r, const Campos& v);
  void Regras(const validacao::Linha& l, const RegistroEFD& r, const Campos& v);
  void Contagem(const validacao::Linha& l, std::string_view reg, const Campos& v);
  void Referencia(const validacao::Linha& l, std::string_view reg, Tabela tabela, std::string_view valor);
  void Chave(const validacao::Linha& l, std::string_view reg, Tabela tabela, std::string_view valor);

  // The rules of the Guia, one each.
  void RegraAbertura0000(const validacao::Linha& l, const Campos& v);
  void RegraMunicipioDaUf(const validacao::Linha& l, std::string_view reg, std::string_view uf, std::string_view mun);
  void RegraTelefone(const validacao::Linha& l, std::string_view reg, std::string_view nome, std::string_view valor);
  void RegraParticipante(const validacao::Linha& l, const Campos& v);
  void RegraGeneroDoItem(const validacao::Linha& l, const Campos& v);
  void RegraDocumentoSemValores(const validacao::Linha& l, const RegistroEFD& r, const Campos& v,
                                std::initializer_list<std::size_t> permitidos);
  void RegraModeloDoDocumento(const validacao::Linha& l, const Campos& v);
  void RegraChaveDeAcesso(const validacao::Linha& l, const Campos& v);
  void RegraDataAteOFim(const validacao::Linha& l, std::string_view reg, std::string_view nome, std::string_view data);
  void RegraDataNoPeriodo(const validacao::Linha& l, std::string_view reg, std::string_view data);
  void RegraCfopDaOperacao(const validacao::Linha& l, std::string_view reg, std::string_view cfop);
  void RegraCstEValores(const validacao::Linha& l, std::string_view reg, std::string_view cst, std::string_view base,
                        std::string_view aliquota, std::string_view icms, bool vinteAceitaZero);
  void RegraUnicoNoPai(const validacao::Linha& l, std::string_view reg, std::uint64_t chave, std::string_view oQue,
                       std::string_view valor);
  void RegraSomaDosC190();
  void RegraSomaDoInventario();
  void RegraTotalizadorDoECF(const validacao::Linha& l, const Campos& v);
  void RegraNumeracaoC300(const validacao::Linha& l, std::string_view reg, const Campos& v);
  void RegraCompradorDoCupom(const validacao::Linha& l, const Campos& v);
  void RegraBlocosEContagens();

  CColetor& m_c;
  bool m_contribuicoes;
  const LeiauteEFD* m_leiaute = nullptr;
  bool m_parado = false;   // no table for the file's version: nothing more is checked
  bool m_extrato = false;  // registers of blocks 0 and C without openings
  bool m_terminou = false; // 9999 came: what follows is a signature block
  std::size_t m_linhaAssinatura = 0;
  NumeroDia m_inicio = 0, m_fim = 0;
  std::string m_uf;
  Campos m_campos;
  std::array<bool, 64> m_dispensado{};
  // The register open at each level, the last child under it and whether
  // that child already came once.
  std::array<std::string, 8> m_abertos{};
  std::array<std::string, 8> m_ultimoFilho{};
  std::size_t m_bloco = 0;  // the last block's position in the version's order
  bool m_blocoComDados = true;
  std::unordered_set<std::uint64_t> m_filhosDoPai;
  // Lines of each register and of each block, and what 9900 declares.
  std::unordered_map<std::uint32_t, std::int64_t> m_porRegistro;
  std::array<std::int64_t, 256> m_porBloco{};
  std::map<std::string, std::pair<std::int64_t, std::size_t>> m_declarados9900;
  std::size_t m_linhas = 0, m_linha9900 = 0;
  // The codes of block 0 other registers refer to.
  std::array<std::unordered_set<std::string>, 7> m_codigos;
  // The open C100: its direction, its amounts and its C190 sums.
  char m_operacao = ' ';
  bool m_paiSemValores = false;
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

void CValidadorEFD::Linha(const validacao::Linha& l) {
  if (m_parado) return;
  if (m_terminou) {
    // What the validation program appends when the file is signed.
    ++m_c.Destino().linhasAssinatura;
    if (!m_linhaAssinatura) {
      m_linhaAssinatura = l.numero;
      if (l.texto.rfind("SBRCAAEPDR", 0) != 0)
        m_c.Erro(l.numero, "", "depois-do-9999", "há linhas depois do registro 9999, que fecha o arquivo");
    }
    return;
  }
  ++m_linhas;
  if (!l.crlf) m_c.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
  Campos& v = m_campos;
  v.clear();
  const std::string_view t = l.texto;
  if (t.size() < 2 || t.front() != '|' || t.back() != '|') {
    m_c.Erro(l.numero, "", "barras", "a linha não começa e termina com a barra \"|\"");
    return;
  }
  for (std::size_t inicio = 1; inicio < t.size();) {
    const std::size_t barra = t.find('|', inicio);
    v.push_back(t.substr(inicio, barra - inicio));
    inicio = barra + 1;
  }
  const std::string_view reg = v[0];
  if (l.numero == 1 && !Abertura(l, v)) return;
  if (l.numero == 2) m_extrato = reg != "0001";
  ++m_porRegistro[Codigo(reg)];
  if (!reg.empty()) ++m_porBloco[static_cast<unsigned char>(reg[0])];
  if (reg == "9999") m_terminou = true;
  const RegistroEFD* r = m_leiaute->Registro(reg);
  if (!r) {
    m_c.Erro(l.numero, reg, "registro-desconhecido",
             "registro que o leiaute " + std::string(1, '0' + m_leiaute->versao / 100) +
                 std::to_string(m_leiaute->versao % 100 / 10) + std::to_string(m_leiaute->versao % 10) + " não tem");
    return;
  }
  Hierarquia(l, *r);
  Contagem(l, reg, v);
  if (r->semCampos) return;
  if (v.size() - 1 != r->campos.size()) {
    m_c.Erro(l.numero, reg, "quantidade-de-campos",
             "o registro tem " + std::to_string(v.size()) + " campos; o leiaute pede " + std::to_string(r->campos.size() + 1));
    return;
  }
  if (reg != "C170" && reg != "C190" && reg != "C195" && reg != "C197") RegraSomaDosC190();
  if (reg != "H010" && reg != "H020" && reg != "H030") RegraSomaDoInventario();
  Dispensas(*r, v);
  ConfereCampos(l, *r, v);
  Regras(l, *r, v);
}

// The first line: 0000 and the version whose tables read the file.
bool CValidadorEFD::Abertura(const validacao::Linha& l, const Campos& v) {
  if (v[0] != "0000" || v.size() < 2) {
    m_c.Erro(l.numero, v[0], "ordem", "o arquivo não começa pelo registro 0000");
    m_parado = true;
    return false;
  }
  const std::string_view versao = v[1];
  m_c.Destino().versao = std::string(versao);
  const int numero = versao.size() == 3 && SoDigitos(versao) ? static_cast<int>(Numero(versao)) : 0;
  const int ultima = UltimaVersao(m_contribuicoes);
  // A version above the newest table is taken for a period after the
  // newest table's first year (next year's layout, read by this year's);
  // any other number is no version.
  bool maisNova = false;
  if (numero > ultima) {
    const LeiauteEFD* ultimo = LeiauteDaVersao(m_contribuicoes, ultima);
    const auto inicio = v.size() > 3 ? DataDMA(v[3]) : std::nullopt;
    if (ultimo && ultimo->inicio && inicio) {
      const int ano = static_cast<int>(DecodificaDia(*inicio).ano);
      const int anoUltimo = static_cast<int>(DecodificaDia(ultimo->inicio).ano);
      maisNova = ano > anoUltimo && numero - ultima <= ano - anoUltimo;
    }
  }
  m_leiaute = numero > ultima ? (maisNova ? LeiauteDaVersao(m_contribuicoes, ultima) : nullptr)
                              : LeiauteDaVersao(m_contribuicoes, numero);
  if (!m_leiaute || numero < 1) {
    m_c.Erro(l.numero, "0000", "versao",
             "versão do leiaute desconhecida: \"" + std::string(versao) + "\" (este programa conhece da 001 à " +
                 (ultima < 10 ? "00" : "0") + std::to_string(ultima) + "); o arquivo não foi conferido");
    m_parado = true;
    return false;
  }
  if (numero > ultima)
    m_c.Aviso(l.numero, "0000", "versao-mais-nova",
              "versão " + std::string(versao) + " mais nova que as tabelas deste programa: conferida pelas da última que conhece");
  return true;
}

// Each register under the parent its level asks for, the children of one
// parent in code order, a register the table allows once not repeated,
// and the blocks in the version's order.
void CValidadorEFD::Hierarquia(const validacao::Linha& l, const RegistroEFD& r) {
  const std::string& reg = r.reg;
  const auto nivel = static_cast<std::size_t>(r.nivel);
  if (r.nivel == 1 && m_extrato)
    m_c.Erro(l.numero, reg, "extrato", "abertura ou encerramento de bloco num extrato sem bloco 0001");
  if (r.nivel >= 1 && nivel < m_abertos.size()) {
    // The extract has no block openings: its registers hang from the
    // opening their block would have.
    const std::string& pai = m_extrato && r.nivel == 2 ? r.pai : m_abertos[nivel - 1];
    if (pai != r.pai) {
      m_c.Erro(l.numero, reg, "hierarquia", "o registro " + reg + " precisa vir dentro de um " + r.pai);
    } else {
      std::string& ultimo = m_ultimoFilho[nivel - 1];
      if (r.nivel >= 2 && reg < ultimo)
        m_c.Erro(l.numero, reg, "ordem", "o registro " + reg + " vem depois do " + ultimo + " no mesmo pai");
      else if (r.nivel >= 2 && r.unico && reg == ultimo)
        m_c.Erro(l.numero, reg, "ocorrencia", "o registro " + reg + " vem uma vez só em cada " + r.pai);
      if (r.nivel >= 2 && m_paiSemValores && (r.pai == "C100" || r.pai == "C460"))
        m_c.Erro(l.numero, reg, "filho-de-cancelado", "documento cancelado, denegado ou inutilizado não leva " + reg);
      ultimo = reg;
    }
  }
  const std::size_t bloco = m_leiaute->blocos.find(reg[0]);
  if (bloco != std::string::npos) {
    if (bloco < m_bloco) m_c.Erro(l.numero, reg, "ordem", "bloco fora da ordem " + m_leiaute->blocos);
    m_bloco = std::max(m_bloco, bloco);
  }
  if (nivel < m_abertos.size()) {
    m_abertos[nivel] = reg;
    for (std::size_t n = nivel + 1; n < m_abertos.size(); ++n) {
      m_abertos[n].clear();
      m_ultimoFilho[n - 1].clear();
    }
    m_ultimoFilho[nivel].clear();
  }
}

// The obligations the Guia lifts for some documents: a cancelled, denied or
// voided document fills only what identifies it; the access key is the
// rule's to ask; an NFC-e has no participant.
void CValidadorEFD::Dispensas(const RegistroEFD& r, const Campos& v) {
  m_dispensado.fill(false);
  std::size_t situacao = r.campos.size();
  for (std::size_t i = 0; i < r.campos.size(); ++i)
    if (r.campos[i].nome == "COD_SIT") situacao = i;
  if (situacao < r.campos.size() && SemValores(v[situacao + 1]))
    for (std::size_t i = 0; i < r.campos.size() && i < m_dispensado.size(); ++i) m_dispensado[i] = i != situacao;
  if (r.reg == "C100") {
    m_dispensado[7] = true;                    // CHV_NFE
    if (v[4] == "65") m_dispensado[2] = true;  // COD_PART
  }
}

void CValidadorEFD::ConfereCampos(const validacao::Linha& l, const RegistroEFD& r, const Campos& v) {
  for (std::size_t i = 0; i < r.campos.size(); ++i) {
    const CampoEFD& c = r.campos[i];
    const std::string_view valor = v[i + 1];
    if (valor.empty()) {
      if (c.obrigacao == 'O' && !(i < m_dispensado.size() && m_dispensado[i]))
        m_c.Erro(l.numero, r.reg, "campo-obrigatorio", c.nome + " é obrigatório e está vazio");
      continue;
    }
    if (c.obrigacao == 'N')
      m_c.Aviso(l.numero, r.reg, "campo-nao-informar", c.nome + " é um campo que o Guia manda não informar");
    if (c.tipo == 'N') {
      if (!NumeroValido(valor, c.decimais)) {
        m_c.Erro(l.numero, r.reg, "campo-numerico",
                 c.nome + " não é um número do leiaute (algarismos e, se houver, vírgula e até " +
                     std::to_string(std::max(c.decimais, 0)) + " decimais): \"" + Texto(valor) + "\"");
        continue;
      }
      if ((c.exato && valor.size() != c.tamanho) || (c.tamanho && Digitos(valor) > c.tamanho))
        m_c.Erro(l.numero, r.reg, "tamanho",
                 c.nome + (c.exato ? " tem tamanho fixo " : " tem no máximo ") + std::to_string(c.tamanho) + ": \"" +
                     Texto(valor) + "\"");
      else if (c.data && !DataDMA(valor))
        m_c.Erro(l.numero, r.reg, "data", c.nome + " não é uma data DDMMAAAA: \"" + Texto(valor) + "\"");
    } else {
      if (!TextoImprimivel(valor)) m_c.Erro(l.numero, r.reg, "caractere", c.nome + " tem caractere de controle");
      const std::size_t limite = c.tamanho ? c.tamanho : 255;
      if (valor.size() > limite || (c.exato && valor.size() != c.tamanho))
        m_c.Erro(l.numero, r.reg, "tamanho",
                 c.nome + (c.exato ? " tem tamanho fixo " : " tem no máximo ") + std::to_string(limite) + ": \"" +
                     Texto(valor) + "\"");
    }
    if (c.referencia != Tabela::Nenhuma) Referencia(l, r.reg, c.referencia, valor);
  }
}

void CValidadorEFD::Referencia(const validacao::Linha& l, std::string_view reg, Tabela tabela, std::string_view valor) {
  const auto& codigos = m_codigos[static_cast<std::size_t>(tabela)];
  if (!codigos.count(std::string(valor)))
    m_c.Erro(l.numero, reg, std::string("referencia-") + NomeTabela(tabela),
             "\"" + Texto(valor) + "\" não está em nenhum registro " + NomeTabela(tabela) + " antes desta linha");
}

void CValidadorEFD::Chave(const validacao::Linha& l, std::string_view reg, Tabela tabela, std::string_view valor) {
  if (!m_codigos[static_cast<std::size_t>(tabela)].insert(std::string(valor)).second)
    m_c.Erro(l.numero, reg, "chave-repetida", "código repetido no registro " + Texto(reg) + ": " + Texto(valor));
}

// Openings, closings and 9900 as they come; the totals at the end.
void CValidadorEFD::Contagem(const validacao::Linha& l, std::string_view reg, const Campos& v) {
  if (m_extrato || reg.size() != 4 || v.size() < 2) return;
  const char bloco = reg[0];
  const std::string_view valor = v[1];
  if (reg.substr(1) == "001") {
    if (valor != "0" && valor != "1") m_c.Erro(l.numero, reg, "abertura", "IND_MOV fora da tabela (0 ou 1)");
    m_blocoComDados = valor == "0";
  } else if (reg.substr(1) == "990" && bloco != '9') {
    const std::int64_t linhas = m_porBloco[static_cast<unsigned char>(bloco)];
    if (!SoDigitos(valor) || Numero(valor) != linhas)
      m_c.Erro(l.numero, reg, "encerramento",
               "o bloco " + std::string(1, bloco) + " tem " + std::to_string(linhas) + " linhas; o encerramento diz " +
                   Texto(valor));
    // A block said to have data has more than its opening and closing.
    const bool comDados = linhas > 2;
    if (comDados != m_blocoComDados)
      m_c.Erro(l.numero, Texto(reg.substr(0, 1)) + "001", "abertura",
               std::string("IND_MOV do bloco ") + bloco + (comDados ? " deve ser 0 (bloco com dados)" : " deve ser 1 (bloco sem dados)"));
  } else if (reg == "9900" && v.size() >= 3) {
    if (!m_linha9900) m_linha9900 = l.numero;
    if (!m_declarados9900.emplace(Texto(valor), std::make_pair(SoDigitos(v[2]) ? Numero(v[2]) : -1, l.numero)).second)
      m_c.Erro(l.numero, reg, "9900-repetido", "registro " + Texto(valor) + " totalizado duas vezes");
  } else if (reg == "9990") {
    // 9990 and the 9999 still to come are lines of block 9.
    const std::int64_t linhas = m_porBloco['9'] + 1;
    if (!SoDigitos(valor) || Numero(valor) != linhas)
      m_c.Erro(l.numero, reg, "encerramento",
               "o bloco 9 tem " + std::to_string(linhas) + " linhas; o 9990 diz " + Texto(valor));
  } else if (reg == "9999") {
    if (!SoDigitos(valor) || Numero(valor) != static_cast<std::int64_t>(m_linhas))
      m_c.Erro(l.numero, reg, "total", "o arquivo tem " + std::to_string(m_linhas) + " linhas; o 9999 diz " + Texto(valor));
  }
}

void CValidadorEFD::Regras(const validacao::Linha& l, const RegistroEFD& r, const Campos& campos) {
  const std::string& reg = r.reg;
  // The fields after REG, as the table numbers them from 02.
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  if (reg == "0000") {
    RegraAbertura0000(l, campos);
  } else if (reg == "0005") {
    RegraTelefone(l, reg, "FONE", v(8));
    RegraTelefone(l, reg, "FAX", v(9));
  } else if (reg == "0100") {
    if (!v(3).empty() && !CpfValido(v(3))) m_c.Erro(l.numero, reg, "cpf", "CPF do contabilista inválido");
    if (!v(5).empty() && !CnpjValido(v(5))) m_c.Erro(l.numero, reg, "cnpj", "CNPJ do escritório inválido");
    RegraTelefone(l, reg, "FONE", v(11));
    RegraTelefone(l, reg, "FAX", v(12));
  } else if (reg == "0150") {
    Chave(l, reg, Tabela::Participante, v(2));
    RegraParticipante(l, campos);
  } else if (reg == "0190") {
    Chave(l, reg, Tabela::Unidade, v(2));
  } else if (reg == "0200") {
    Chave(l, reg, Tabela::Item, v(2));
    RegraGeneroDoItem(l, campos);
  } else if (reg == "0400") {
    Chave(l, reg, Tabela::Natureza, v(2));
  } else if (reg == "0450") {
    Chave(l, reg, Tabela::Informacao, v(2));
  } else if (reg == "0460") {
    Chave(l, reg, Tabela::Observacao, v(2));
  } else if (reg == "C100") {
    m_filhosDoPai.clear();
    m_operacao = v(2).empty() ? ' ' : v(2)[0];
    m_paiSemValores = SemValores(v(6));
    RegraModeloDoDocumento(l, campos);
    RegraChaveDeAcesso(l, campos);
    if (m_paiSemValores) {
      RegraDocumentoSemValores(l, r, campos, {2, 3, 5, 6, 7, 8, 9});
    } else {
      RegraDataAteOFim(l, reg, "DT_DOC", v(10));
      RegraDataAteOFim(l, reg, "DT_E_S", v(11));
      m_documento.linha = l.numero;
      m_documento.cabecalho = {Centavos(v(12)), Centavos(v(21)), Centavos(v(22)),
                               Centavos(v(23)), Centavos(v(24)), Centavos(v(25))};
    }
  } else if (reg == "C170") {
    RegraUnicoNoPai(l, reg, validacao::Chave({reg, v(2)}), "NUM_ITEM", v(2));
    RegraCfopDaOperacao(l, reg, v(11));
    if (m_operacao == '1') RegraCstEValores(l, reg, v(10), v(13), v(14), v(15), true);
  } else if (reg == "C190") {
    RegraUnicoNoPai(l, reg, validacao::Chave({reg, v(2), v(3), v(4)}), "CST, CFOP e alíquota",
                    Texto(v(2)) + "/" + Texto(v(3)) + "/" + Texto(v(4)));
    RegraCfopDaOperacao(l, reg, v(3));
    if (m_documento.linha) {
      const std::array<std::int64_t, 6> linha{Centavos(v(5)), Centavos(v(6)), Centavos(v(7)),
                                              Centavos(v(8)), Centavos(v(9)), Centavos(v(11))};
      for (std::size_t i = 0; i < 6; ++i) m_documento.analitico[i] += linha[i];
    }
  } else if (reg == "C300") {
    m_filhosDoPai.clear();
    RegraDataNoPeriodo(l, reg, v(7));
    RegraNumeracaoC300(l, reg, campos);
  } else if (reg == "C310") {
    RegraNumeracaoC300(l, reg, campos);
  } else if (reg == "C320") {
    RegraUnicoNoPai(l, reg, validacao::Chave({reg, v(2), v(3), v(4)}), "CST, CFOP e alíquota",
                    Texto(v(2)) + "/" + Texto(v(3)) + "/" + Texto(v(4)));
  } else if (reg == "C400") {
    if (v(2) != "2B" && v(2) != "2C" && v(2) != "2D")
      m_c.Erro(l.numero, reg, "modelo", "COD_MOD do equipamento fora da tabela (2B, 2C ou 2D): " + Texto(v(2)));
  } else if (reg == "C405") {
    m_filhosDoPai.clear();
    RegraDataNoPeriodo(l, reg, v(2));
  } else if (reg == "C420") {
    RegraUnicoNoPai(l, reg, validacao::Chave({reg, v(2), v(4)}), "COD_TOT_PAR e NR_TOT", Texto(v(2)) + "/" + Texto(v(4)));
    RegraTotalizadorDoECF(l, campos);
  } else if (reg == "C460") {
    m_paiSemValores = v(3) == "02";
    if (m_paiSemValores) {
      RegraDocumentoSemValores(l, r, campos, {2, 3, 4});
    } else {
      RegraDataNoPeriodo(l, reg, v(5));
      RegraCompradorDoCupom(l, campos);
    }
  } else if (reg == "C490") {
    RegraUnicoNoPai(l, reg, validacao::Chave({reg, v(2), v(3), v(4)}), "CST, CFOP e alíquota",
                    Texto(v(2)) + "/" + Texto(v(3)) + "/" + Texto(v(4)));
    if (!v(3).empty() && v(3)[0] != '5')
      m_c.Erro(l.numero, reg, "cfop", "o CFOP do resumo do ECF começa por 5: " + Texto(v(3)));
    RegraCstEValores(l, reg, v(2), v(6), v(4), v(7), false);
  } else if (reg == "H005") {
    RegraDataAteOFim(l, reg, "DT_INV", v(2));
    m_inventario.linha = l.numero;
    m_inventario.declarado = Centavos(v(3));
  } else if (reg == "H010") {
    m_inventario.itens += Centavos(v(6));
    if (v(7) != "0" && v(7) != "1" && v(7) != "2")
      m_c.Erro(l.numero, reg, "codigo", "IND_PROP fora da tabela (0, 1 ou 2)");
  } else if (reg == "1010") {
    for (std::size_t i = 1; i < campos.size(); ++i)
      if (campos[i] != "S" && campos[i] != "N") m_c.Erro(l.numero, reg, "codigo", r.campos[i - 1].nome + " não é S nem N");
  }
}

void CValidadorEFD::RegraAbertura0000(const validacao::Linha& l, const Campos& campos) {
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  if (const auto i = DataDMA(v(4))) m_inicio = *i;
  if (const auto f = DataDMA(v(5))) m_fim = *f;
  if (m_inicio && m_fim && m_fim < m_inicio) m_c.Erro(l.numero, "0000", "periodo", "DT_FIN anterior a DT_INI");
  // The version is that of the period: the PAF-ECF files keep the one the
  // requirements of the program fix (004 for the SPED extract, 006 for the
  // Venda do Período) whatever the period.
  if (m_leiaute->inicio && m_inicio && (m_inicio < m_leiaute->inicio || (m_leiaute->fim && m_inicio > m_leiaute->fim))) {
    const std::string texto = "a versão " + Texto(v(2)) + " é a de outro período que não o de DT_INI " + Texto(v(4));
    if (v(2) == "004" || v(2) == "006") m_c.Informa(l.numero, "0000", "versao-do-periodo", texto);
    else m_c.Aviso(l.numero, "0000", "versao-do-periodo", texto);
  }
  if (v(3) != "0" && v(3) != "1") m_c.Erro(l.numero, "0000", "codigo", "COD_FIN fora da tabela (0 ou 1)");
  if (!v(7).empty() && !CnpjValido(v(7))) m_c.Erro(l.numero, "0000", "cnpj", "CNPJ com dígitos verificadores errados");
  if (!v(8).empty() && !CpfValido(v(8))) m_c.Erro(l.numero, "0000", "cpf", "CPF com dígitos verificadores errados");
  if (v(7).empty() == v(8).empty()) m_c.Erro(l.numero, "0000", "cnpj", "informe o CNPJ ou o CPF, um dos dois");
  m_uf = Texto(v(9));
  if (!UfValida(v(9))) m_c.Erro(l.numero, "0000", "uf", "UF desconhecida: " + Texto(v(9)));
  else RegraMunicipioDaUf(l, "0000", v(9), v(11));
  if (v(14) != "A" && v(14) != "B" && v(14) != "C")
    m_c.Erro(l.numero, "0000", "codigo", "IND_PERFIL fora da tabela (A, B ou C)");
  if (v(15) != "0" && v(15) != "1") m_c.Erro(l.numero, "0000", "codigo", "IND_ATIV fora da tabela (0 ou 1)");
}

// A municipality's IBGE code starts with its state's.
void CValidadorEFD::RegraMunicipioDaUf(const validacao::Linha& l, std::string_view reg, std::string_view uf,
                                       std::string_view mun) {
  if (mun.size() != 7 || !SoDigitos(mun)) return;
  if (mun.substr(0, 2) != CodigoIbgeDaUf(uf))
    m_c.Erro(l.numero, reg, "municipio",
             "COD_MUN " + Texto(mun) + " não é de um município de " + Texto(uf) + " (código IBGE começando por " +
                 Texto(CodigoIbgeDaUf(uf)) + ")");
}

void CValidadorEFD::RegraTelefone(const validacao::Linha& l, std::string_view reg, std::string_view nome,
                                  std::string_view valor) {
  if (valor.empty()) return;
  if (!SoDigitos(valor) || valor.substr(std::min<std::size_t>(2, valor.size())).find_first_not_of('0') == std::string_view::npos)
    m_c.Erro(l.numero, reg, "telefone",
             Texto(nome) + " não é um telefone (DDD e número, em algarismos): \"" + Texto(valor) + "\"");
}

// A participant of Brazil has a CNPJ or a CPF, one of them, valid; one
// abroad has neither.
void CValidadorEFD::RegraParticipante(const validacao::Linha& l, const Campos& campos) {
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  const bool brasil = v(4) == "1058" || v(4) == "01058";
  if (brasil) {
    if (v(5).empty() == v(6).empty())
      m_c.Erro(l.numero, "0150", "cnpj", "participante do Brasil com CNPJ e CPF, ou sem nenhum dos dois");
    else if (!v(5).empty() ? !CnpjValido(v(5)) : !CpfValido(v(6)))
      m_c.Erro(l.numero, "0150", "cnpj", "CNPJ ou CPF do participante com dígitos verificadores errados");
  } else if (!v(5).empty() || !v(6).empty()) {
    m_c.Erro(l.numero, "0150", "estrangeiro", "participante do exterior não leva CNPJ nem CPF");
  }
}

// The genre of an item is the chapter of its NCM.
void CValidadorEFD::RegraGeneroDoItem(const validacao::Linha& l, const Campos& campos) {
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  const std::string_view ncm = v(8), genero = v(10);
  if (ncm.size() >= 2 && !genero.empty() && genero != ncm.substr(0, 2))
    m_c.Erro(l.numero, "0200", "genero", "COD_GEN não é o capítulo (dois primeiros dígitos) do NCM " + Texto(ncm));
}

// A cancelled, denied or voided document fills only the fields that name
// it (`permitidos`, numbered as the table numbers them).
void CValidadorEFD::RegraDocumentoSemValores(const validacao::Linha& l, const RegistroEFD& r, const Campos& campos,
                                             std::initializer_list<std::size_t> permitidos) {
  for (std::size_t i = 1; i < campos.size(); ++i)
    if (!campos[i].empty() && std::find(permitidos.begin(), permitidos.end(), i + 1) == permitidos.end()) {
      m_c.Erro(l.numero, r.reg, "cancelado-com-valores",
               "documento cancelado, denegado ou inutilizado só leva os campos que o identificam; " +
                   r.campos[i - 1].nome + " está preenchido");
      return;
    }
}

// The models of C100 and what each fills: the NFC-e (65) never has a
// participant; situations 04 and 05 exist only for the electronic ones.
void CValidadorEFD::RegraModeloDoDocumento(const validacao::Linha& l, const Campos& campos) {
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  const std::string_view modelo = v(5), situacao = v(6);
  static constexpr std::string_view kModelos[] = {"01", "1B", "04", "55", "65"};
  if (std::find(std::begin(kModelos), std::end(kModelos), modelo) == std::end(kModelos))
    m_c.Erro(l.numero, "C100", "modelo", "COD_MOD fora dos modelos do C100 (01, 1B, 04, 55 e 65): " + Texto(modelo));
  const bool eletronico = modelo == "55" || modelo == "65";
  if (modelo == "65" && !v(4).empty())
    m_c.Erro(l.numero, "C100", "nfce-participante", "NFC-e (modelo 65) não leva COD_PART");
  if (modelo == "65" && v(2) != "1") m_c.Erro(l.numero, "C100", "nfce-saida", "NFC-e (modelo 65) só existe em saídas");
  if ((situacao == "04" || situacao == "05") && !eletronico)
    m_c.Erro(l.numero, "C100", "situacao",
             "situação " + Texto(situacao) + " (denegada ou inutilizada) só existe para NF-e e NFC-e (modelos 55 e 65)");
  if (!m_paiSemValores && modelo != "65" && v(4).empty())
    m_c.Erro(l.numero, "C100", "campo-obrigatorio", "COD_PART é obrigatório e está vazio");
}

// NF-e and NFC-e carry their access key (but a voided number, which has
// none), other models none; the key names the document's model, series
// and number and ends in its check digit.
void CValidadorEFD::RegraChaveDeAcesso(const validacao::Linha& l, const Campos& campos) {
  const auto v = [&](std::size_t campo) { return campos[campo - 1]; };
  const std::string_view modelo = v(5), situacao = v(6), chave = v(9);
  const bool eletronico = modelo == "55" || modelo == "65";
  if (!eletronico) {
    if (!chave.empty())
      m_c.Erro(l.numero, "C100", "chave-nfe", "chave de acesso em documento que não é NF-e nem NFC-e (modelos 55 e 65)");
    return;
  }
  if (situacao == "05") {
    if (!chave.empty()) m_c.Erro(l.numero, "C100", "chave-nfe", "número inutilizado não leva chave de acesso");
    return;
  }
  if (chave.empty()) {
    m_c.Erro(l.numero, "C100", "chave-nfe", "NF-e e NFC-e levam a chave de acesso (CHV_NFE)");
    return;
  }
  if (!ChaveAcessoValida(chave)) {
    m_c.Erro(l.numero, "C100", "chave-nfe", "chave de acesso com dígito verificador errado: " + Texto(chave));
    return;
  }
  const std::string_view numero = v(8), serie = v(7);
  if (chave.substr(20, 2) != modelo || (SoDigitos(numero) && Numero(chave.substr(25, 9)) != Numero(numero)) ||
      (SoDigitos(serie) && Numero(chave.substr(22, 3)) != Numero(serie)))
    m_c.Erro(l.numero, "C100", "chave-nfe", "a chave de acesso é de outro modelo, série ou número que o do documento");
}

// A date of a document need only not come after the period (an entry's
// nota may have been issued before it).
void CValidadorEFD::RegraDataAteOFim(const validacao::Linha& l, std::string_view reg, std::string_view nome,
                                     std::string_view data) {
  const auto dia = DataDMA(data);
  if (dia && m_fim && *dia > m_fim)
    m_c.Erro(l.numero, reg, "data-fora-do-periodo",
             Texto(nome) + " " + Texto(data) + " depois do fim do período do registro 0000");
}

// The days of the ECF and of the consumer notas belong to the period.
void CValidadorEFD::RegraDataNoPeriodo(const validacao::Linha& l, std::string_view reg, std::string_view data) {
  const auto dia = DataDMA(data);
  if (dia && m_inicio && (*dia < m_inicio || *dia > m_fim))
    m_c.Erro(l.numero, reg, "data-fora-do-periodo", "a data " + Texto(data) + " está fora do período do registro 0000");
}

// Entries take CFOP 1, 2 or 3; exits 5, 6 or 7.
void CValidadorEFD::RegraCfopDaOperacao(const validacao::Linha& l, std::string_view reg, std::string_view cfop) {
  if (cfop.size() != 4 || (m_operacao != '0' && m_operacao != '1')) return;
  const bool entrada = cfop[0] == '1' || cfop[0] == '2' || cfop[0] == '3';
  const bool saida = cfop[0] == '5' || cfop[0] == '6' || cfop[0] == '7';
  if ((m_operacao == '0' && !entrada) || (m_operacao == '1' && !saida))
    m_c.Erro(l.numero, reg, "cfop-operacao",
             "CFOP " + Texto(cfop) + (m_operacao == '0' ? " numa entrada (começa por 1, 2 ou 3)" : " numa saída (começa por 5, 6 ou 7)"));
}

// The situations 30, 40, 41, 50 and 60 carry no ICMS (base, rate and tax
// zero); the taxed ones (00, 10, 70, and 20 but in the items) carry it;
// 51 and 90 may go either way. A CSOSN of the Simples Nacional is not read
// by these rules.
void CValidadorEFD::RegraCstEValores(const validacao::Linha& l, std::string_view reg, std::string_view cst,
                                     std::string_view base, std::string_view aliquota, std::string_view icms,
                                     bool vinteAceitaZero) {
  if (cst.size() != 3 || !SoDigitos(cst) || Csosn(cst)) return;
  const std::string_view t = cst.substr(1);
  const bool zero = Centavos(base) == 0 && Centavos(aliquota) == 0 && Centavos(icms) == 0;
  // The tax is the base times the rate: below a cent it is zero, however
  // taxed the operation (a few grams of a weighed good).
  const bool abaixoDeUmCentavo = Centavos(base) * Centavos(aliquota) < 100 * 100;
  const bool positivos =
      Centavos(base) > 0 && Centavos(aliquota) > 0 && (Centavos(icms) > 0 || abaixoDeUmCentavo);
  if (t == "30" || t == "40" || t == "41" || t == "50" || t == "60") {
    if (!zero)
      m_c.Erro(l.numero, reg, "cst-valores",
               "CST " + Texto(cst) + " sem ICMS: VL_BC_ICMS, ALIQ_ICMS e VL_ICMS vão com zero");
  } else if (t != "51" && t != "90" && !(vinteAceitaZero && t == "20") && !positivos) {
    m_c.Erro(l.numero, reg, "cst-valores",
             "CST " + Texto(cst) + " tributado: VL_BC_ICMS, ALIQ_ICMS e VL_ICMS vão maiores que zero");
  }
}

void CValidadorEFD::RegraUnicoNoPai(const validacao::Linha& l, std::string_view reg, std::uint64_t chave,
                                    std::string_view oQue, std::string_view valor) {
  if (!m_filhosDoPai.insert(chave).second)
    m_c.Erro(l.numero, reg, "repetido-no-pai", Texto(oQue) + " repetido no mesmo pai: " + Texto(valor));
}

// The tax amounts of a nota are the sums of its analytic lines; its value
// should be the sum of their operation values (a warning in the tax
// office's program).
void CValidadorEFD::RegraSomaDosC190() {
  if (!m_documento.linha) return;
  const auto& d = m_documento;
  static const char* const kNomes[] = {"VL_DOC", "VL_BC_ICMS", "VL_ICMS", "VL_BC_ICMS_ST", "VL_ICMS_ST", "VL_IPI"};
  for (std::size_t i = 1; i < 6; ++i)
    if (d.cabecalho[i] != d.analitico[i])
      m_c.Erro(d.linha, "C100", "soma-c190",
               std::string(kNomes[i]) + " " + Reais(d.cabecalho[i]) + " difere da soma dos C190: " + Reais(d.analitico[i]));
  if (d.cabecalho[0] != d.analitico[0])
    m_c.Aviso(d.linha, "C100", "soma-c190-vl-doc",
              "VL_DOC " + Reais(d.cabecalho[0]) + " difere da soma dos VL_OPR dos C190: " + Reais(d.analitico[0]));
  m_documento = {};
}

void CValidadorEFD::RegraSomaDoInventario() {
  if (!m_inventario.linha) return;
  if (m_inventario.declarado != m_inventario.itens)
    m_c.Erro(m_inventario.linha, "H005", "soma-h010",
             "VL_INV " + Reais(m_inventario.declarado) + " difere da soma dos H010: " + Reais(m_inventario.itens));
  m_inventario = {};
}

// The totalizer codes of table 4.4.6; the number of a rate's totalizer
// in NR_TOT (it may also lead the code).
void CValidadorEFD::RegraTotalizadorDoECF(const validacao::Linha& l, const Campos& campos) {
  const std::string_view codigo = campos[1], numero = campos[3];
  if (!TotalizadorParcialValido(codigo, true))
    m_c.Erro(l.numero, "C420", "totalizador",
             "COD_TOT_PAR fora da tabela 4.4.6 (Tnnnn, xxTnnnn, F1, I1, N1, DT, Can-T...): \"" + Texto(codigo) + "\"");
  else if (codigo.size() == 7 && !numero.empty() && Numero(numero) != Numero(codigo.substr(0, 2)))
    m_c.Erro(l.numero, "C420", "totalizador", "NR_TOT difere do número do totalizador " + Texto(codigo));
}

void CValidadorEFD::RegraNumeracaoC300(const validacao::Linha& l, std::string_view reg, const Campos& campos) {
  if (reg == "C300") {
    m_c300Inicio = Numero(campos[4]);
    m_c300Fim = Numero(campos[5]);
    if (m_c300Fim < m_c300Inicio) m_c.Erro(l.numero, reg, "numeracao", "NUM_DOC_FIN menor que NUM_DOC_INI");
    return;
  }
  const std::int64_t numero = Numero(campos[1]);
  if (numero < m_c300Inicio || numero > m_c300Fim)
    m_c.Erro(l.numero, reg, "numeracao",
             "número cancelado " + Texto(campos[1]) + " fora do intervalo do C300 (" + std::to_string(m_c300Inicio) +
                 " a " + std::to_string(m_c300Fim) + ")");
}

// The buyer of a cupom: a CPF of 11 digits or a CNPJ of 14, nothing else.
void CValidadorEFD::RegraCompradorDoCupom(const validacao::Linha& l, const Campos& campos) {
  const std::string_view doc = campos[8];
  if (!doc.empty() && !(doc.size() == 11 && CpfValido(doc)) && !(doc.size() == 14 && CnpjValido(doc)))
    m_c.Erro(l.numero, "C460", "cpf-cnpj", "CPF_CNPJ não é um CPF de 11 dígitos nem um CNPJ de 14: \"" + Texto(doc) + "\"");
}

// The blocks the version asks for, 9900 for every register and the end.
void CValidadorEFD::RegraBlocosEContagens() {
  for (char bloco : m_leiaute->blocosObrigatorios)
    if (!m_porRegistro.count(Codigo(std::string(1, bloco) + "001")))
      m_c.Erro(0, std::string(1, bloco) + "001", "bloco-ausente", "falta o bloco " + std::string(1, bloco));
  std::vector<std::pair<std::string, std::int64_t>> presentes;
  for (const auto& [codigo, n] : m_porRegistro) presentes.emplace_back(NomeDoCodigo(codigo), n);
  std::sort(presentes.begin(), presentes.end());
  for (const auto& [reg, n] : presentes) {
    const auto d = m_declarados9900.find(reg);
    if (d == m_declarados9900.end())
      m_c.Erro(m_linha9900, "9900", "9900-ausente", "falta o 9900 do registro " + reg);
    else if (d->second.first != n)
      m_c.Erro(d->second.second, "9900", "9900-contagem",
               "o 9900 declara " + std::to_string(d->second.first) + " registros " + reg + "; há " + std::to_string(n));
  }
  for (const auto& [reg, declarado] : m_declarados9900)
    if (!m_porRegistro.count(Codigo(reg)))
      m_c.Erro(declarado.second, "9900", "9900-sobra", "9900 de um registro que o arquivo não tem: " + reg);
  if (!m_terminou) m_c.Erro(0, "", "9999", "o arquivo não termina no registro 9999");
}

void CValidadorEFD::Fim() {
  if (m_parado || !m_leiaute) return;
  RegraSomaDosC190();
  RegraSomaDoInventario();
  if (!m_extrato) RegraBlocosEContagens();
  if (m_linhaAssinatura)
    m_c.Informa(m_linhaAssinatura, "", "assinatura-do-pva",
                "bloco de assinatura do programa validador depois do 9999 (" +
                    std::to_string(m_c.Destino().linhasAssinatura) + " linhas), fora das contagens");
}

}  // namespace

std::unique_ptr<CValidadorLinhas> NovoValidadorEFD(CColetor& coletor, bool contribuicoes) {
  return std::make_unique<CValidadorEFD>(coletor, contribuicoes);
}

}  // namespace qmx::validacao
