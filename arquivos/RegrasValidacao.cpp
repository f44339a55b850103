#include "arquivos/RegrasValidacao.h"

#include <algorithm>

#include "plataforma/calendario/DataCodificada.h"

namespace qmx::validacao {
namespace {

// How many problems of one rule are listed one by one.
constexpr std::size_t kMostradosPorRegra = 20;

bool LinhaEAD(std::string_view linha) {
  if (linha.size() != 3 + 256 || linha.substr(0, 3) != "EAD") return false;
  return std::all_of(linha.begin() + 3, linha.end(),
                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

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

std::vector<Linha> PartirLinhas(std::string_view conteudo, bool* temLinhaEAD) {
  std::vector<Linha> linhas;
  std::size_t inicio = 0;
  while (inicio < conteudo.size()) {
    const std::size_t fim = conteudo.find('\n', inicio);
    Linha l;
    l.numero = linhas.size() + 1;
    if (fim == std::string_view::npos) {
      l.texto = conteudo.substr(inicio);
      inicio = conteudo.size();
    } else {
      l.terminada = true;
      l.texto = conteudo.substr(inicio, fim - inicio);
      if (!l.texto.empty() && l.texto.back() == '\r') {
        l.texto.remove_suffix(1);
        l.crlf = true;
      }
      inicio = fim + 1;
    }
    linhas.push_back(l);
  }
  const bool ead = !linhas.empty() && LinhaEAD(linhas.back().texto);
  if (ead) linhas.pop_back();
  if (temLinhaEAD) *temLinhaEAD = ead;
  return linhas;
}

void CColetor::Acrescenta(std::size_t linha, std::string_view registro, std::string_view regra, std::string mensagem,
                          Gravidade gravidade) {
  auto contagem = std::find_if(m_contagens.begin(), m_contagens.end(),
                               [&](const Contagem& c) { return c.regra == regra && c.registro == registro; });
  if (contagem == m_contagens.end()) {
    m_contagens.push_back({std::string(regra), std::string(registro), 0, gravidade});
    contagem = m_contagens.end() - 1;
  }
  if (++contagem->vezes > kMostradosPorRegra) return;
  m_destino.problemas.push_back({linha, std::string(registro), std::string(regra), std::move(mensagem), gravidade});
}

void CColetor::Conclui() {
  for (const auto& c : m_contagens)
    if (c.vezes > kMostradosPorRegra)
      m_destino.problemas.push_back({0, c.registro, c.regra,
                                     "e mais " + std::to_string(c.vezes - kMostradosPorRegra) +
                                         " vezes a mesma regra",
                                     c.gravidade});
  m_contagens.clear();
}

bool SoDigitos(std::string_view texto) {
  return !texto.empty() && std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
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

bool TextoImprimivel(std::string_view texto) {
  return std::all_of(texto.begin(), texto.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b != 0x7F;
  });
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

std::vector<std::vector<const Linha*>> ConfereRegistrosTipados(const std::vector<Linha>& linhas,
                                                               const std::vector<LeiauteTipado>& leiautes,
                                                               CColetor& coletor, bool crlfSoAviso) {
  std::vector<std::vector<const Linha*>> porTipo(leiautes.size());
  std::size_t ultimo = 0;
  for (const Linha& l : linhas) {
    if (!l.crlf) {
      if (crlfSoAviso) coletor.Aviso(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
      else coletor.Erro(l.numero, "", "fim-de-linha", "a linha não termina em CR LF");
    }
    std::size_t i = 0;
    while (i < leiautes.size() && l.texto.substr(0, leiautes[i].tipo.size()) != leiautes[i].tipo) ++i;
    if (i == leiautes.size()) {
      coletor.Erro(l.numero, std::string(l.texto.substr(0, 3)), "registro-desconhecido", "tipo de registro desconhecido");
      continue;
    }
    const LeiauteTipado& leiaute = leiautes[i];
    if (i < ultimo)
      coletor.Erro(l.numero, leiaute.tipo, "ordem",
                   "o registro " + std::string(leiaute.tipo) + " vem depois dos " + std::string(leiautes[ultimo].tipo) +
                       ": os registros vão agrupados por tipo, na ordem do leiaute");
    ultimo = std::max(ultimo, i);
    porTipo[i].push_back(&l);
    if (l.texto.size() != leiaute.largura) {
      coletor.Erro(l.numero, leiaute.tipo, "largura",
                   "o registro tem " + std::to_string(l.texto.size()) + " caracteres; o leiaute pede " +
                       std::to_string(leiaute.largura));
      continue;
    }
    for (const CampoFixo& c : leiaute.campos) {
      const std::string_view valor = Campo(l.texto, c.inicio, c.largura);
      if (!CampoConfere(valor, c.tipo)) {
        coletor.Erro(l.numero, leiaute.tipo, "campo",
                     std::string(c.nome) + " (posições " + std::to_string(c.inicio) + " a " +
                         std::to_string(c.inicio + c.largura - 1) + ") não é " + NomeCampo(c.tipo) + ": \"" +
                         std::string(valor) + "\"");
      } else if (c.tipo == TipoCampo::X && valor.front() == ' ' && valor.find_first_not_of(' ') != std::string_view::npos) {
        coletor.Erro(l.numero, leiaute.tipo, "alinhamento",
                     std::string(c.nome) + " é texto e vai alinhado à esquerda: \"" + std::string(valor) + "\"");
      }
    }
  }
  return porTipo;
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
