#include "arquivos/memorias/ValidadorMFD.h"

#include <string>
#include <unordered_set>

namespace qmx::validacao {
namespace {

using T = TipoCampo;

class CValidadorMFD : public CValidadorLinhas {
 public:
  explicit CValidadorMFD(CColetor& c)
      : m_c(c),
        m_tipados(
            {{"E01", 166,
              {{"Número de fabricação", 4, 20, T::X}, {"Tipo do ECF", 25, 7, T::X}, {"Marca", 32, 20, T::X},
               {"Modelo", 52, 20, T::X}, {"Versão do SB", 72, 10, T::X}, {"Data do SB", 82, 8, T::Data},
               {"Hora do SB", 90, 6, T::Hora}, {"Número do ECF", 96, 3, T::N}, {"CNPJ", 99, 14, T::N},
               {"Comando", 113, 3, T::X}, {"CRZ inicial", 116, 6, T::N}, {"CRZ final", 122, 6, T::N},
               {"Data inicial", 128, 8, T::Data}, {"Data final", 136, 8, T::Data},
               {"Versão da biblioteca", 144, 8, T::X}, {"Versão do Ato", 152, 15, T::X}}},
             {"E02", 272,
              {{"Número de fabricação", 4, 20, T::X}, {"Modelo", 25, 20, T::X}, {"CNPJ", 45, 14, T::N},
               {"Inscrição Estadual", 59, 14, T::X}, {"Nome", 73, 40, T::X}, {"Endereço", 113, 120, T::X},
               {"Data do cadastro", 233, 8, T::Data}, {"Hora do cadastro", 241, 6, T::Hora}, {"CRO", 247, 6, T::N},
               {"Grande total", 253, 18, T::N}, {"Número do usuário", 271, 2, T::N}}},
             {"E12", 101, CamposReducao()},
             {"E13", 72, CamposTotalizador()},
             {"E14", 191, CamposCupom()},
             {"E15", 267, CamposItem(266)},
             {"E16", 90,
              CabecaECF({{"COO", 47, 6, T::N}, {"GNF", 53, 6, T::N}, {"GRG", 59, 6, T::N}, {"CDC", 65, 4, T::N},
                         {"CRZ", 69, 6, T::N}, {"Denominação", 75, 2, T::X}, {"Data final", 77, 8, T::Data},
                         {"Hora final", 85, 6, T::Hora}})},
             {"E21", 106, CamposPagamento()}},
            c),
        // The classification of the Ato: serial number, model and user first.
        m_ordens{COrdem("E12", "ECF, usuário, CRZ e CRO"), COrdem("E13", "ECF, usuário, CRZ e totalizador"),
                 COrdem("E14", "ECF, usuário e CCF"), COrdem("E15", "ECF, usuário, CCF e item"),
                 COrdem("E16", "ECF, usuário e COO")} {}

  void Linha(const validacao::Linha& l) override {
    if (l.numero == 1 && l.texto.substr(0, 3) != "E01")
      m_c.Erro(l.numero, "E01", "ordem", "o arquivo começa pelo registro E01");
    const auto tipo = m_tipados.Confere(l);
    if (!tipo) return;
    const std::string_view t = l.texto;
    const auto ordem = [&](std::size_t i, std::initializer_list<std::pair<std::size_t, std::size_t>> campos) {
      m_chave.assign(Campo(t, 4, 43));
      for (const auto& [inicio, largura] : campos) m_chave.append(Campo(t, inicio, largura));
      m_ordens[i].Confere(l, m_chave, m_c);
    };
    switch (*tipo) {
      case 2:
        m_crzs.insert(Chave({Campo(t, 47, 6)}));
        ordem(0, {{47, 6}, {59, 6}});
        break;
      case 3:
        if (!m_crzs.count(Chave({Campo(t, 47, 6)})))
          m_c.Erro(l.numero, "E13", "sem-reducao", "totalizador de uma redução Z (CRZ) que nenhum E12 traz");
        ordem(1, {{47, 13}});
        break;
      case 4:
        m_cupons.insert(Chave({Campo(t, 53, 6), Campo(t, 47, 6)}));
        m_coos.insert(Chave({Campo(t, 53, 6)}));
        Indicador(&l, "E14", 94, "Tipo do desconto", "VP", m_c);
        Indicador(&l, "E14", 108, "Tipo do acréscimo", "VP", m_c);
        Indicador(&l, "E14", 123, "Cancelamento", "SN", m_c);
        Indicador(&l, "E14", 137, "Ordem de desconto e acréscimo", "DA ", m_c);
        ordem(2, {{47, 6}});
        break;
      case 5:
        if (!m_cupons.count(Chave({Campo(t, 47, 6), Campo(t, 53, 6)})))
          m_c.Erro(l.numero, "E15", "sem-cupom", "item de um cupom (COO e CCF) que nenhum E14 traz");
        Indicador(&l, "E15", 231, "Cancelamento", "SNP", m_c);
        Indicador(&l, "E15", 265, "IAT", "AT", m_c);
        ordem(3, {{53, 6}, {59, 3}});
        break;
      case 6:
        m_coos.insert(Chave({Campo(t, 47, 6)}));
        ordem(4, {{47, 6}});
        break;
      case 7:
        if (!m_coos.count(Chave({Campo(t, 47, 6)})))
          m_c.Erro(l.numero, "E21", "sem-documento", "pagamento de um COO que nenhum E14 ou E16 traz");
        Indicador(&l, "E21", 93, "Estorno", "SNP", m_c);
        break;
    }
  }

  void Fim() override {
    if (m_tipados.Quantos(0) != 1) m_c.Erro(0, "E01", "cabecalho", "o arquivo tem um registro E01, só um");
    if (!m_tipados.Quantos(1)) m_c.Erro(0, "E02", "cabecalho", "falta o registro E02");
  }

 private:
  CColetor& m_c;
  CRegistrosTipados m_tipados;
  COrdem m_ordens[5];
  std::string m_chave;
  std::unordered_set<std::uint64_t> m_crzs, m_cupons, m_coos;
};

}  // namespace

std::unique_ptr<CValidadorLinhas> NovoValidadorMFD(CColetor& coletor) { return std::make_unique<CValidadorMFD>(coletor); }

}  // namespace qmx::validacao
