#include "arquivos/RegrasValidacao.h"

#include <algorithm>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx::validacao {
namespace {

// How many times of one rule are kept with their lines.
constexpr std::size_t kLinhasPorRegra = 3;

unsigned Dois(std::string_view t, std::size_t p) { return static_cast<unsigned>((t[p] - '0') * 10 + (t[p + 1] - '0')); }

std::optional<NumeroDia> Data(unsigned dia, unsigned mes, unsigned ano) {
  if (mes < 1 || mes > 12 || dia < 1 || dia > DiasDoMes(mes, ano) || ano < 1900) return std::nullopt;
  return CodificaDia(dia, mes, ano);
}

const char* NomeCampo(TipoCampo tipo) {
  switch (tipo) {
    case TipoCampo::N: return "numérico";
    case TipoCampo::X: return "texto";
    case TipoCampo::Data: return "data AAAAMMDD";
    case TipoCampo::DataOuZero: return "data AAAAMMDD";
    case TipoCampo::Hora: return "hora HHMMSS";
    case TipoCampo::MesAno: return "mês MMAAAA";
    case TipoCampo::Brancos: return "brancos";
  }
  return "";
}

bool CampoConfere(std::string_view valor, TipoCampo tipo) {
  switch (tipo) {
    case TipoCampo::N: return SoDigitos(valor);
    case TipoCampo::X: return TextoImprimivel(valor);
    case TipoCampo::Data: return DataAMD(valor).has_value();
    case TipoCampo::DataOuZero: return valor == "00000000" || DataAMD(valor).has_value();
    case TipoCampo::Hora:
      return valor.size() == 6 && SoDigitos(valor) && Dois(valor, 0) < 24 && Dois(valor, 2) < 60 && Dois(valor, 4) < 60;
    case TipoCampo::MesAno: return MesAnoValido(valor);
    case TipoCampo::Brancos: return valor.find_first_not_of(' ') == std::string_view::npos;
  }
  return false;
}

}  // namespace

void CColetor::Acrescenta(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem,
                          Gravidade gravidade) {
  auto& regras = m_destino.regras;
  auto resumo = std::find_if(regras.begin(), regras.end(), [&](const ResumoRegra& r) {
    return r.gravidade == gravidade && r.regra == regra && r.registro == registro;
  });
  if (resumo == regras.end()) {
    regras.push_back({gravidade, std::string(regra), std::string(registro), mensagem, 0, {}});
    resumo = regras.end() - 1;
  }
  if (++resumo->vezes > kLinhasPorRegra) return;
  resumo->linhas.push_back(linha);
  m_destino.problemas.push_back({linha, std::string(registro), std::string(regra), std::move(mensagem), gravidade});
}

void CColetor::Conclui() {
  std::stable_sort(m_destino.problemas.begin(), m_destino.problemas.end(),
                   [](const Problema& a, const Problema& b) { return a.linha < b.linha; });
  std::stable_sort(m_destino.regras.begin(), m_destino.regras.end(),
                   [](const ResumoRegra& a, const ResumoRegra& b) { return a.gravidade < b.gravidade; });
}


std::optional<NumeroDia> DataAMD(std::string_view texto) {
  if (texto.size() != 8 || !SoDigitos(texto)) return std::nullopt;
  return Data(Dois(texto, 6), Dois(texto, 4), Dois(texto, 0) * 100 + Dois(texto, 2));
}

std::optional<NumeroDia> DataDMA(std::string_view texto) {
  if (texto.size() != 8 || !SoDigitos(texto)) return std::nullopt;
  return Data(Dois(texto, 0), Dois(texto, 2), Dois(texto, 4) * 100 + Dois(texto, 6));
}

bool MesAnoValido(std::string_view texto) {
  return texto.size() == 6 && SoDigitos(texto) && Dois(texto, 0) >= 1 && Dois(texto, 0) <= 12 &&
         Dois(texto, 2) * 100 + Dois(texto, 4) >= 1900;
}

std::int64_t Numero(std::string_view digitos) {
  std::int64_t n = 0;
  for (char c : digitos.substr(0, 18)) n = n * 10 + (c - '0');
  return n;
}

namespace {

// Check digit of the modulus-11 rule the CNPJ and the CPF share: the sum of
// the digits times their weights; 0 or 1 left over gives 0.
int DigitoModulo11(std::string_view digitos, std::initializer_list<int> pesos) {
  int soma = 0;
  std::size_t i = 0;
  for (int peso : pesos) soma += (digitos[i++] - '0') * peso;
  const int resto = soma % 11;
  return resto < 2 ? 0 : 11 - resto;
}

bool Repetido(std::string_view digitos) {
  return std::all_of(digitos.begin(), digitos.end(), [&](char c) { return c == digitos[0]; });
}

}  // namespace

bool CnpjValido(std::string_view d) {
  if (d.size() != 14 || !SoDigitos(d) || Repetido(d)) return false;
  return DigitoModulo11(d, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == d[12] - '0' &&
         DigitoModulo11(d, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) == d[13] - '0';
}

bool CpfValido(std::string_view d) {
  if (d.size() != 11 || !SoDigitos(d) || Repetido(d)) return false;
  return DigitoModulo11(d, {10, 9, 8, 7, 6, 5, 4, 3, 2}) == d[9] - '0' &&
         DigitoModulo11(d, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}) == d[10] - '0';
}

bool UfValida(std::string_view uf) {
  static constexpr std::string_view kUfs[] = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO",
                                              "MA", "MG", "MS", "MT", "PA", "PB", "PE", "PI", "PR",
                                              "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};
  return std::find(std::begin(kUfs), std::end(kUfs), uf) != std::end(kUfs);
}

bool ConfereRegistroFixo(const Linha& linha, std::string_view registro, std::size_t largura,
                         std::initializer_list<CampoFixo> campos, CColetor& coletor) {
  if (linha.texto.size() != largura) {
    coletor.Erro(linha.numero, registro, "largura",
                 "o registro tem " + std::to_string(linha.texto.size()) + " caracteres; o leiaute pede " +
                     std::to_string(largura));
    return false;
  }
  for (const CampoFixo& c : campos) {
    const std::string_view valor = Campo(linha.texto, c.inicio, c.largura);
    if (!CampoConfere(valor, c.tipo))
      coletor.Erro(linha.numero, registro, "campo",
                   std::string(c.nome) + " (posições " + std::to_string(c.inicio) + " a " +
                       std::to_string(c.inicio + c.largura - 1) + ") não é " + NomeCampo(c.tipo) + ": \"" +
                       std::string(valor) + "\"");
  }
  return true;
}

CRegistrosTipados::CRegistrosTipados(std::vector<LeiauteTipado> leiautes, CColetor& coletor, Gravidade semCrlf)
    : m_leiautes(std::move(leiautes)), m_quantos(m_leiautes.size(), 0), m_coletor(coletor), m_semCrlf(semCrlf) {}

std::optional<std::size_t> CRegistrosTipados::Confere(const Linha& l) {
  if (!l.crlf) {
    if (m_semCrlf == Gravidade::Erro) m_coletor.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
    else if (m_semCrlf == Gravidade::Aviso) m_coletor.Aviso(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
    else m_coletor.Informa(l.numero, "", "fim-de-linha", "a linha termina em LF, não em CR LF");
  }
  std::size_t i = 0;
  while (i < m_leiautes.size() && l.texto.substr(0, m_leiautes[i].tipo.size()) != m_leiautes[i].tipo) ++i;
  if (i == m_leiautes.size()) {
    m_coletor.Erro(l.numero, std::string(l.texto.substr(0, 3)), "registro-desconhecido", "tipo de registro desconhecido");
    return std::nullopt;
  }
  const LeiauteTipado& leiaute = m_leiautes[i];
  if (i < m_ultimo)
    m_coletor.Erro(l.numero, leiaute.tipo, "ordem",
                   "o registro " + std::string(leiaute.tipo) + " vem depois dos " + std::string(m_leiautes[m_ultimo].tipo) +
                       ": os registros vão agrupados por tipo, na ordem do leiaute");
  m_ultimo = std::max(m_ultimo, i);
  ++m_quantos[i];
  if (l.texto.size() != leiaute.largura) {
    m_coletor.Erro(l.numero, leiaute.tipo, "largura",
                   "o registro tem " + std::to_string(l.texto.size()) + " caracteres; o leiaute pede " +
                       std::to_string(leiaute.largura));
    return std::nullopt;
  }
  for (const CampoFixo& c : leiaute.campos) {
    const std::string_view valor = Campo(l.texto, c.inicio, c.largura);
    if (!CampoConfere(valor, c.tipo)) {
      m_coletor.Erro(l.numero, leiaute.tipo, "campo",
                     std::string(c.nome) + " (posições " + std::to_string(c.inicio) + " a " +
                         std::to_string(c.inicio + c.largura - 1) + ") não é " + NomeCampo(c.tipo) + ": \"" +
                         std::string(valor) + "\"");
    } else if (c.tipo == TipoCampo::X && valor.front() == ' ' && valor.find_first_not_of(' ') != std::string_view::npos) {
      m_coletor.Erro(l.numero, leiaute.tipo, "alinhamento",
                     std::string(c.nome) + " é texto e vai alinhado à esquerda: \"" + std::string(valor) + "\"");
    }
  }
  return i;
}

void COrdem::Confere(const Linha& l, std::string_view chave, CColetor& c) {
  if (m_temAnterior && !m_relatado && chave < std::string_view(m_anterior)) {
    m_relatado = true;
    const std::string texto = "registros " + m_tipo + " fora da ordem de " + m_descricao;
    if (m_soAviso) c.Aviso(l.numero, m_tipo, "ordem", texto);
    else c.Erro(l.numero, m_tipo, "ordem", texto);
  }
  m_anterior.assign(chave);
  m_temAnterior = true;
}

bool InscricaoSemPontuacao(std::string_view campo) {
  const auto fim = campo.find_last_not_of(' ');
  if (fim == std::string_view::npos) return true;
  const std::string_view ie = campo.substr(0, fim + 1);
  if (campo.size() == 14 && ie.size() == 14 && SoDigitos(ie) && ie[0] == '0') return false;
  return std::all_of(ie.begin(), ie.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

std::optional<std::vector<std::string_view>> CamposDelimitados(std::string_view linha) {
  if (linha.size() < 2 || linha.front() != '|' || linha.back() != '|') return std::nullopt;
  std::vector<std::string_view> campos;
  std::size_t inicio = 1;
  while (inicio < linha.size()) {
    const std::size_t barra = linha.find('|', inicio);
    campos.push_back(linha.substr(inicio, barra - inicio));
    inicio = barra + 1;
  }
  return campos;
}

void Indicador(const Linha* l, std::string_view tipo, std::size_t posicao, std::string_view nome,
               std::string_view permitidos, CColetor& c) {
  const std::string_view v = Campo(l->texto, posicao, 1);
  if (v.size() == 1 && permitidos.find(v[0]) == std::string_view::npos)
    c.Erro(l->numero, tipo, "indicador",
           Texto(nome) + " fora dos valores do leiaute (" + Texto(permitidos) + "): \"" + Texto(v) + "\"");
}

std::vector<CampoFixo> CabecaECF(std::initializer_list<CampoFixo> resto) {
  std::vector<CampoFixo> campos = {{"Número de fabricação", 4, 20, TipoCampo::X}, {"MF adicional", 24, 1, TipoCampo::X},
                                   {"Modelo", 25, 20, TipoCampo::X}, {"Número do usuário", 45, 2, TipoCampo::N}};
  campos.insert(campos.end(), resto);
  return campos;
}

const std::vector<CampoFixo>& CamposReducao() {
  using T = TipoCampo;
  static const auto campos = CabecaECF({{"CRZ", 47, 6, T::N}, {"COO", 53, 6, T::N}, {"CRO", 59, 6, T::N},
                                        {"Data do movimento", 65, 8, T::Data}, {"Data de emissão", 73, 8, T::Data},
                                        {"Hora de emissão", 81, 6, T::Hora}, {"Venda bruta", 87, 14, T::N}});
  return campos;
}

const std::vector<CampoFixo>& CamposTotalizador() {
  using T = TipoCampo;
  static const auto campos = CabecaECF({{"CRZ", 47, 6, T::N}, {"Totalizador", 53, 7, T::X}, {"Valor", 60, 13, T::N}});
  return campos;
}

const std::vector<CampoFixo>& CamposCupom() {
  using T = TipoCampo;
  static const auto campos =
      CabecaECF({{"CCF", 47, 6, T::N}, {"COO", 53, 6, T::N}, {"Data de emissão", 59, 8, T::Data},
                 {"Subtotal", 67, 14, T::N}, {"Desconto", 81, 13, T::N}, {"Acréscimo", 95, 13, T::N},
                 {"Valor total", 109, 14, T::N}, {"Cancelamento de acréscimo", 124, 13, T::N},
                 {"Nome do adquirente", 138, 40, T::X}, {"CPF/CNPJ do adquirente", 178, 14, T::N}});
  return campos;
}

const std::vector<CampoFixo>& CamposPagamento() {
  using T = TipoCampo;
  static const auto campos =
      CabecaECF({{"COO", 47, 6, T::N}, {"CCF", 53, 6, T::N}, {"GNF", 59, 6, T::N}, {"Meio de pagamento", 65, 15, T::X},
                 {"Valor pago", 80, 13, T::N}, {"Valor estornado", 94, 13, T::N}});
  return campos;
}

std::vector<CampoFixo> CamposItem(std::size_t casas) {
  using T = TipoCampo;
  return CabecaECF({{"COO", 47, 6, T::N}, {"CCF", 53, 6, T::N}, {"Número do item", 59, 3, T::N},
                    {"Código", 62, 14, T::X}, {"Descrição", 76, 100, T::X}, {"Quantidade", 176, 7, T::N},
                    {"Unidade", 183, 3, T::X}, {"Valor unitário", 186, 8, T::N}, {"Desconto", 194, 8, T::N},
                    {"Acréscimo", 202, 8, T::N}, {"Valor total", 210, 14, T::N}, {"Totalizador", 224, 7, T::X},
                    {"Quantidade cancelada", 232, 7, T::N}, {"Valor cancelado", 239, 13, T::N},
                    {"Cancelamento de acréscimo", 252, 13, T::N}, {"Casas da quantidade", casas, 1, T::N},
                    {"Casas do valor unitário", casas + 1, 1, T::N}});
}

bool TotalizadorParcialValido(std::string_view campo, bool aceitaSemNumero) {
  const auto fim = campo.find_last_not_of(' ');
  if (fim == std::string_view::npos) return false;
  const std::string_view c = campo.substr(0, fim + 1);
  const auto aliquota = [](std::string_view r) {
    return r.size() == 5 && (r[0] == 'T' || r[0] == 'S') && SoDigitos(r.substr(1));
  };
  if ((aceitaSemNumero && aliquota(c)) || (c.size() == 7 && SoDigitos(c.substr(0, 2)) && aliquota(c.substr(2))))
    return true;
  for (std::string_view fixo : {"DT", "AT", "DS", "AS", "DO", "AO", "Can-T", "Can-S", "Can-O", "OPNF", "IOF"})
    if (c == fixo) return true;
  const std::size_t letras = c.size() >= 2 && c[1] == 'S' ? 2 : 1;
  return c.size() > letras && std::string_view("FIN").find(c[0]) != std::string_view::npos &&
         SoDigitos(c.substr(letras));
}

}  // namespace qmx::validacao
