#include "arquivos/paf/ValidadorPAF.h"

#include <set>
#include <string>
#include <unordered_set>

namespace qmx::validacao {
namespace {

using T = TipoCampo;

// An item's code (X 14): a product or service is known by it, never blank.
void Codigo(const Linha& l, std::string_view tipo, std::size_t posicao, CColetor& c) {
  const std::string_view v = Campo(l.texto, posicao, 14);
  if (v.size() == 14 && v.find_first_not_of(' ') == std::string_view::npos)
    c.Erro(l.numero, tipo, "codigo-vazio", "código do produto ou serviço em branco");
}

void Inscricao(const Linha& l, std::string_view tipo, std::size_t posicao, CColetor& c) {
  const std::string_view ie = Campo(l.texto, posicao, 14);
  if (ie.size() == 14 && !InscricaoSemPontuacao(ie))
    c.Erro(l.numero, tipo, "inscricao",
           "a inscrição vai como texto, alinhada à esquerda, sem pontuação nem zeros à frente: \"" + Texto(ie) + "\"");
}

// The keys a detail must find in the heads before it: eight bytes each.
class CChaves {
 public:
  void Acrescenta(std::initializer_list<std::string_view> campos) { m_chaves.insert(Chave(campos)); }
  bool Tem(std::initializer_list<std::string_view> campos) const { return m_chaves.count(Chave(campos)) > 0; }

 private:
  std::unordered_set<std::uint64_t> m_chaves;
};

// A file of the ER-PAF-ECF whose first record is a head (the informant's
// CNPJ and registration from position 3) and whose last is a trailer that
// repeats them and counts the details.
class CArquivoComTrailer : public CValidadorLinhas {
 public:
  CArquivoComTrailer(std::vector<LeiauteTipado> leiautes, CColetor& c, Gravidade semCrlf = Gravidade::Erro)
      : m_tipados(std::move(leiautes), c, semCrlf), m_c(c) {}

  void Linha(const validacao::Linha& l) override {
    const auto tipo = m_tipados.Confere(l);
    if (!tipo) return;
    if (*tipo == 0) {
      if (m_tipados.Quantos(0) == 1) m_cabeca.assign(Campo(l.texto, 3, 28));
      Inscricao(l, m_tipados.Leiaute(0).tipo, 17, m_c);
    }
    if (*tipo == Trailer()) {
      m_trailer.assign(l.texto);
      m_linhaTrailer = l.numero;
      Inscricao(l, m_tipados.Leiaute(*tipo).tipo, 17, m_c);
    }
    Registro(*tipo, l);
  }

  void Fim() override {
    const std::string_view cabeca = m_tipados.Leiaute(0).tipo, trailer = m_tipados.Leiaute(Trailer()).tipo;
    if (m_tipados.Quantos(0) != 1)
      m_c.Erro(0, cabeca, "cabecalho", "o arquivo tem um registro " + Texto(cabeca) + ", só um");
    if (m_tipados.Quantos(Trailer()) != 1) {
      m_c.Erro(m_linhaTrailer, trailer, "trailer", "o arquivo tem um registro " + Texto(trailer) + ", só um");
      return;
    }
    if (Campo(m_trailer, 3, 28) != m_cabeca)
      m_c.Erro(m_linhaTrailer, trailer, "trailer", "CNPJ e Inscrição Estadual diferentes dos do cabeçalho");
    for (const auto& [posicao, tipo] : Contagens()) {
      const std::string_view contagem = Campo(m_trailer, posicao, 6);
      if (SoDigitos(contagem) && static_cast<std::size_t>(Numero(contagem)) != m_tipados.Quantos(tipo))
        m_c.Erro(m_linhaTrailer, trailer, "trailer",
                 "o trailer conta " + Texto(contagem) + " registros " + Texto(m_tipados.Leiaute(tipo).tipo) + "; há " +
                     std::to_string(m_tipados.Quantos(tipo)));
    }
  }

 protected:
  virtual void Registro(std::size_t tipo, const validacao::Linha& l) = 0;
  // The trailer's counts: position of the count, type of the detail.
  virtual std::vector<std::pair<std::size_t, std::size_t>> Contagens() const { return {{31, 1}}; }
  std::size_t Trailer() const { return m_tipados.Tipos() - 1; }

  CRegistrosTipados m_tipados;
  CColetor& m_c;

 private:
  std::string m_cabeca, m_trailer;
  std::size_t m_linhaTrailer = 0;
};

// ----- Movimentos por ECF -----

class CMovimentos : public CValidadorLinhas {
 public:
  explicit CMovimentos(CColetor& c)
      : m_c(c),
        m_tipados(
            {{"R01", 310,
              {{"Número de fabricação", 4, 20, T::X}, {"Tipo do ECF", 25, 7, T::X}, {"Marca", 32, 20, T::X},
               {"Modelo", 52, 20, T::X}, {"Versão do SB", 72, 10, T::X}, {"Data do SB", 82, 8, T::Data},
               {"Hora do SB", 90, 6, T::Hora}, {"Número do ECF", 96, 3, T::N}, {"CNPJ", 99, 14, T::N},
               {"Inscrição Estadual", 113, 14, T::X}, {"CNPJ da desenvolvedora", 127, 14, T::N},
               {"Inscrição Estadual da desenvolvedora", 141, 14, T::X},
               {"Inscrição Municipal da desenvolvedora", 155, 14, T::N}, {"Denominação da desenvolvedora", 169, 40, T::X},
               {"Nome do PAF-ECF", 209, 40, T::X}, {"Versão do PAF-ECF", 249, 10, T::X}, {"MD-5 da lista", 259, 32, T::X},
               {"Data inicial", 291, 8, T::Data}, {"Data final", 299, 8, T::Data}, {"Versão da ER-PAF-ECF", 307, 4, T::X}}},
             {"R02", 101, CamposReducao()},
             {"R03", 72, CamposTotalizador()},
             {"R04", 191, CamposCupom()},
             {"R05", 268, CamposItem(267)},
             {"R06", 84,
              CabecaECF({{"COO", 47, 6, T::N}, {"GNF", 53, 6, T::N}, {"GRG", 59, 6, T::N}, {"CDC", 65, 4, T::N},
                         {"Denominação", 69, 2, T::X}, {"Data final", 71, 8, T::Data}, {"Hora final", 79, 6, T::Hora}})},
             {"R07", 106, CamposPagamento()}},
            c),
        m_ordens{COrdem("R02", "ECF, usuário e CRZ"), COrdem("R04", "ECF, usuário e CCF"),
                 COrdem("R06", "ECF, usuário e COO"), COrdem("R07", "ECF, usuário, COO e GNF", true)} {}

  void Linha(const validacao::Linha& l) override {
    const auto tipo = m_tipados.Confere(l);
    if (!tipo) return;
    const std::string_view t = l.texto, serie = Campo(t, 4, 20);
    if (*tipo == 0) {
      m_series.insert(Texto(serie));
      Inscricao(l, "R01", 113, m_c);
      Inscricao(l, "R01", 141, m_c);
      return;
    }
    if (!m_series.count(Texto(serie)))
      m_c.Erro(l.numero, m_tipados.Leiaute(*tipo).tipo, "ecf", "número de fabricação que nenhum R01 do arquivo traz");
    // The order of the Ato COTEPE/ICMS 17/04 records the R records copy:
    // serial number, user, then the record's own.
    const auto ordem = [&](std::size_t i, std::size_t inicio, std::size_t largura) {
      m_chave.assign(serie).append(Campo(t, 45, 2)).append(Campo(t, inicio, largura));
      m_ordens[i].Confere(l, m_chave, m_c);
    };
    switch (*tipo) {
      case 1:
        m_crzs.Acrescenta({serie, Campo(t, 47, 6)});
        Indicador(&l, "R02", 101, "Desconto em ISSQN", "SN", m_c);
        ordem(0, 47, 6);
        break;
      case 2:
        if (!m_crzs.Tem({serie, Campo(t, 47, 6)}))
          m_c.Erro(l.numero, "R03", "sem-reducao", "totalizador de uma redução Z (CRZ) que nenhum R02 traz");
        if (!TotalizadorParcialValido(Campo(t, 53, 7), false))
          m_c.Erro(l.numero, "R03", "totalizador", "código de totalizador fora da tabela: \"" + Texto(Campo(t, 53, 7)) + "\"");
        break;
      case 3:
        m_cupons.Acrescenta({serie, Campo(t, 53, 6), Campo(t, 47, 6)});
        m_coos.Acrescenta({serie, Campo(t, 53, 6)});
        Indicador(&l, "R04", 94, "Tipo do desconto", "VP", m_c);
        Indicador(&l, "R04", 108, "Tipo do acréscimo", "VP", m_c);
        Indicador(&l, "R04", 123, "Cancelamento", "SN", m_c);
        Indicador(&l, "R04", 137, "Ordem de desconto e acréscimo", "DA ", m_c);
        ordem(1, 47, 6);
        break;
      case 4:
        if (!m_cupons.Tem({serie, Campo(t, 47, 6), Campo(t, 53, 6)}))
          m_c.Erro(l.numero, "R05", "sem-cupom", "item de um cupom (COO e CCF) que nenhum R04 traz");
        if (!TotalizadorParcialValido(Campo(t, 224, 7), false))
          m_c.Erro(l.numero, "R05", "totalizador", "código de totalizador fora da tabela: \"" + Texto(Campo(t, 224, 7)) + "\"");
        Codigo(l, "R05", 62, m_c);
        Indicador(&l, "R05", 231, "Cancelamento", "SNP", m_c);
        Indicador(&l, "R05", 265, "IAT", "AT", m_c);
        Indicador(&l, "R05", 266, "IPPT", "PT", m_c);
        break;
      case 5:
        m_coos.Acrescenta({serie, Campo(t, 47, 6)});
        ordem(2, 47, 6);
        break;
      case 6:
        if (!m_coos.Tem({serie, Campo(t, 47, 6)}))
          m_c.Erro(l.numero, "R07", "sem-documento", "pagamento de um COO que nenhum R04 ou R06 traz");
        Indicador(&l, "R07", 93, "Estorno", "SNP", m_c);
        ordem(3, 47, 18);
        break;
    }
  }

  void Fim() override {
    if (!m_tipados.Quantos(0)) m_c.Erro(0, "R01", "cabecalho", "o arquivo não tem registro R01");
  }

 private:
  CColetor& m_c;
  CRegistrosTipados m_tipados;
  COrdem m_ordens[4];
  std::string m_chave;
  std::set<std::string> m_series;
  CChaves m_crzs, m_cupons, m_coos;
};

// ----- the files with a head and a trailer -----

const std::vector<CampoFixo>& CamposCabeca() {
  static const std::vector<CampoFixo> campos = {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X},
                                                {"Inscrição Municipal", 31, 14, T::X}, {"Razão social", 45, 50, T::X}};
  return campos;
}

// A DAV's number is written as a number aligned to the left of a text
// field: the DAVs go in the order of the numbers, not of the texts.
std::string ChaveNumerica(std::string_view campo) {
  const auto fim = campo.find_last_not_of(' ');
  const std::string_view v = fim == std::string_view::npos ? std::string_view() : campo.substr(0, fim + 1);
  if (!SoDigitos(v) || v.size() >= 20) return std::string(campo);
  return std::string(20 - v.size(), '0') + std::string(v);
}

class CDAVs : public CArquivoComTrailer {
 public:
  // The requirements write this file's lines ending in LF alone.
  explicit CDAVs(CColetor& c)
      : CArquivoComTrailer(
            {{"D1", 94, CamposCabeca()},
             {"D2", 212,
              {{"CNPJ", 3, 14, T::N}, {"Número de fabricação", 17, 20, T::X}, {"Tipo do ECF", 38, 7, T::X},
               {"Marca", 45, 20, T::X}, {"Modelo", 65, 20, T::X}, {"COO", 85, 6, T::N}, {"Número do DAV", 91, 13, T::X},
               {"Data", 104, 8, T::Data}, {"Título", 112, 30, T::X}, {"Valor", 142, 8, T::N},
               {"COO do documento fiscal", 150, 6, T::N}, {"Número do ECF", 156, 3, T::N},
               {"Nome do cliente", 159, 40, T::X}, {"CPF/CNPJ do cliente", 199, 14, T::N}}},
             {"D3", 196,
              {{"Número do DAV", 3, 13, T::X}, {"Data de inclusão", 16, 8, T::Data}, {"Número do item", 24, 3, T::N},
               {"Código", 27, 14, T::X}, {"Descrição", 41, 100, T::X}, {"Quantidade", 141, 7, T::N},
               {"Unidade", 148, 3, T::X}, {"Valor unitário", 151, 8, T::N}, {"Desconto", 159, 8, T::N},
               {"Acréscimo", 167, 8, T::N}, {"Valor total", 175, 14, T::N}, {"Alíquota", 190, 4, T::N},
               {"Casas da quantidade", 195, 1, T::N}, {"Casas do valor unitário", 196, 1, T::N}}},
             {"D9", 42,
              {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de D2", 31, 6, T::N},
               {"Total de D3", 37, 6, T::N}}}},
            c, Gravidade::Informacao),
        m_ordem("D2", "número do DAV", true) {}

 protected:
  void Registro(std::size_t tipo, const validacao::Linha& l) override {
    if (tipo == 1) {
      m_davs.Acrescenta({Campo(l.texto, 91, 13)});
      m_ordem.Confere(l, ChaveNumerica(Campo(l.texto, 91, 13)), m_c);
    } else if (tipo == 2) {
      if (!m_davs.Tem({Campo(l.texto, 3, 13)})) m_c.Erro(l.numero, "D3", "sem-dav", "item de um DAV que nenhum D2 traz");
      Codigo(l, "D3", 27, m_c);
      Indicador(&l, "D3", 189, "Situação tributária", "TSFIN", m_c);
      Indicador(&l, "D3", 194, "Cancelamento", "SN", m_c);
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> Contagens() const override { return {{31, 1}, {37, 2}}; }

 private:
  COrdem m_ordem;
  CChaves m_davs;
};

class CTabelaProdutos : public CArquivoComTrailer {
 public:
  explicit CTabelaProdutos(CColetor& c)
      : CArquivoComTrailer(
            {{"P1", 94, CamposCabeca()},
             {"P2", 105,
              {{"CNPJ", 3, 14, T::N}, {"Código", 17, 14, T::X}, {"Descrição", 31, 50, T::X}, {"Unidade", 81, 6, T::X},
               {"Alíquota", 90, 4, T::N}, {"Valor unitário", 94, 12, T::N}}},
             {"P9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de P2", 31, 6, T::N}}}},
            c),
        m_ordem("P2", "código", true) {}

 protected:
  void Registro(std::size_t tipo, const validacao::Linha& l) override {
    if (tipo != 1) return;
    Codigo(l, "P2", 17, m_c);
    Indicador(&l, "P2", 87, "IAT", "AT", m_c);
    Indicador(&l, "P2", 88, "IPPT", "PT", m_c);
    Indicador(&l, "P2", 89, "Situação tributária", "TSFIN", m_c);
    const char situacao = l.texto[88];
    if ((situacao == 'F' || situacao == 'I' || situacao == 'N') && Campo(l.texto, 90, 4) != "0000")
      m_c.Erro(l.numero, "P2", "aliquota", "alíquota em item que não é tributado (F, I ou N)");
    m_ordem.Confere(l, Campo(l.texto, 17, 14), m_c);
  }

 private:
  COrdem m_ordem;
};

class CEstoque : public CArquivoComTrailer {
 public:
  explicit CEstoque(CColetor& c)
      : CArquivoComTrailer(
            {{"E1", 176,
              {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Inscrição Municipal", 31, 14, T::X},
               {"Razão social", 45, 50, T::X}, {"Número de fabricação", 95, 20, T::X}, {"Tipo do ECF", 116, 7, T::X},
               {"Marca", 123, 20, T::X}, {"Modelo", 143, 20, T::X}, {"Data do estoque", 163, 8, T::Data},
               {"Hora do estoque", 171, 6, T::Hora}}},
             {"E2", 96,
              {{"CNPJ", 3, 14, T::N}, {"Código", 17, 14, T::X}, {"Descrição", 31, 50, T::X}, {"Unidade", 81, 6, T::X},
               {"Quantidade", 88, 9, T::N}}},
             {"E9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de E2", 31, 6, T::N}}}},
            c),
        m_ordem("E2", "código", true) {}

 protected:
  void Registro(std::size_t tipo, const validacao::Linha& l) override {
    if (tipo != 1) return;
    Codigo(l, "E2", 17, m_c);
    Indicador(&l, "E2", 87, "Sinal da quantidade", "+-", m_c);
    m_ordem.Confere(l, Campo(l.texto, 17, 14), m_c);
  }

 private:
  COrdem m_ordem;
};

class CListaAutenticados : public CArquivoComTrailer {
 public:
  explicit CListaAutenticados(CColetor& c)
      : CArquivoComTrailer(
            {{"N1", 94, CamposCabeca()},
             {"N2", 72, {{"Laudo", 3, 10, T::X}, {"Nome do PAF-ECF", 13, 50, T::X}, {"Versão", 63, 10, T::X}}},
             {"N3", 84, {{"Arquivo", 3, 50, T::X}, {"MD-5", 53, 32, T::X}}},
             {"N9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de N3", 31, 6, T::N}}}},
            c),
        m_ordem("N3", "nome do arquivo") {}

  void Fim() override {
    if (m_tipados.Quantos(1) != 1) m_c.Erro(0, "N2", "n2", "a lista tem um registro N2, só um");
    CArquivoComTrailer::Fim();
  }

 protected:
  void Registro(std::size_t tipo, const validacao::Linha& l) override {
    if (tipo != 2) return;
    const std::string_view md5 = Campo(l.texto, 53, 32);
    if (md5.find_first_not_of(' ') == std::string_view::npos)
      m_c.Aviso(l.numero, "N3", "md5", "arquivo listado sem código MD-5");
    else if (md5.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos)
      m_c.Erro(l.numero, "N3", "md5", "o código MD-5 não tem 32 dígitos hexadecimais");
    m_ordem.Confere(l, Campo(l.texto, 3, 50), m_c);
  }
  std::vector<std::pair<std::size_t, std::size_t>> Contagens() const override { return {{31, 2}}; }

 private:
  COrdem m_ordem;
};

}  // namespace

std::unique_ptr<CValidadorLinhas> NovoValidadorMovimentos(CColetor& c) { return std::make_unique<CMovimentos>(c); }
std::unique_ptr<CValidadorLinhas> NovoValidadorDAVs(CColetor& c) { return std::make_unique<CDAVs>(c); }
std::unique_ptr<CValidadorLinhas> NovoValidadorTabelaProdutos(CColetor& c) { return std::make_unique<CTabelaProdutos>(c); }
std::unique_ptr<CValidadorLinhas> NovoValidadorEstoque(CColetor& c) { return std::make_unique<CEstoque>(c); }
std::unique_ptr<CValidadorLinhas> NovoValidadorListaAutenticados(CColetor& c) {
  return std::make_unique<CListaAutenticados>(c);
}

}  // namespace qmx::validacao
