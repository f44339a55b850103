#include "plataforma/dados/ConexaoEmissora.h"

#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

// The count of rates comes with the record, as the readers size their
// arrays by it.
#define QMX_COLUNAS_EMISSORA                                                                            \
  "SELECT e.numero, e.filial, e.nome, e.numero_serie, e.marca, e.modelo, e.tipo, e.codigo_modelo, "     \
  "e.habilitada, e.autonomo, e.tabela_aliquotas, "                                                      \
  "(SELECT COUNT(*) FROM emissora_aliquota a WHERE a.tabela = e.tabela_aliquotas), e.cfop_estoque, "    \
  "e.tipo_documento_estoque, e.grade_produtos, e.grade_mercadorias, e.grade_substituicao, e.grade_servicos, "       \
  "e.conta_produtos, e.conta_mercadorias, e.conta_substituicao, e.conta_servicos, "                          \
  "e.conta_transitoria_vendas, e.conta_caixa, e.conta_contravales, e.conta_arredondamentos, "                \
  "e.conta_tesouraria FROM emissora e "

constexpr const char* kLe = QMX_COLUNAS_EMISSORA "WHERE e.numero = ?";
constexpr const char* kLista = QMX_COLUNAS_EMISSORA "ORDER BY e.numero";
constexpr const char* kListaDaFilial = QMX_COLUNAS_EMISSORA "WHERE e.filial = ? ORDER BY e.numero";

#undef QMX_COLUNAS_EMISSORA

REG_EMISSORPS Registro(const LinhaDados& l) {
  REG_EMISSORPS r;
  std::memset(&r, 0, sizeof r);
  r.Numero = static_cast<std::uint16_t>(l.Inteiro(0));
  r.Filial = static_cast<std::uint16_t>(l.Inteiro(1));
  CopiaTexto(r.Nome, l.Texto(2));
  CopiaTexto(r.NumeroSerie, l.Texto(3));
  CopiaTexto(r.Marca, l.Texto(4));
  CopiaTexto(r.Modelo, l.Texto(5));
  CopiaTexto(r.Tipo, l.Texto(6));
  r.CodigoModelo = static_cast<std::int32_t>(l.Inteiro(7));
  r.Habilitada = static_cast<std::uint8_t>(l.Inteiro(8));
  r.Autonomo = static_cast<std::uint8_t>(l.Inteiro(9));
  r.TabelaAliquotas = static_cast<std::int32_t>(l.Inteiro(10));
  r.QuantidadeAliquotas = static_cast<std::uint16_t>(l.Inteiro(11));
  CopiaTexto(r.CfopEstoque, l.Texto(12));
  r.TipoDocumentoEstoque = static_cast<std::uint16_t>(l.Inteiro(13));
  r.GradeProdutos = static_cast<std::uint16_t>(l.Inteiro(14));
  r.GradeMercadorias = static_cast<std::uint16_t>(l.Inteiro(15));
  r.GradeSubstituicao = static_cast<std::uint16_t>(l.Inteiro(16));
  r.GradeServicos = static_cast<std::uint16_t>(l.Inteiro(17));
  CopiaTexto(r.ContaProdutos, l.Texto(18));
  CopiaTexto(r.ContaMercadorias, l.Texto(19));
  CopiaTexto(r.ContaSubstituicao, l.Texto(20));
  CopiaTexto(r.ContaServicos, l.Texto(21));
  CopiaTexto(r.ContaTransitoriaVendas, l.Texto(22));
  CopiaTexto(r.ContaCaixa, l.Texto(23));
  CopiaTexto(r.ContaContravales, l.Texto(24));
  CopiaTexto(r.ContaArredondamentos, l.Texto(25));
  CopiaTexto(r.ContaTesouraria, l.Texto(26));
  return r;
}

com::HRESULT Listagem(const std::vector<LinhaDados>& linhas, std::uint16_t* quantidade,
                      std::vector<REG_EMISSORPS>* emissoras) {
  // The count is 16-bit: a longer list is cut, never wrapped.
  const std::size_t total = linhas.size() > 0xFFFF ? 0xFFFF : linhas.size();
  emissoras->clear();
  emissoras->reserve(total);
  for (std::size_t i = 0; i < total; ++i) emissoras->push_back(Registro(linhas[i]));
  *quantidade = static_cast<std::uint16_t>(total);
  return com::S_OK;
}

}  // namespace

com::HRESULT CConexaoEmissora::Le(std::uint16_t numero, REG_EMISSORPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(kLe, {numero});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    *registro = Registro(linhas.front());
    return com::S_OK;
  });
}

com::HRESULT CConexaoEmissora::LeAliquotas(std::int32_t tabela, std::vector<REG_EMISSOR_ALIQUOTA>* aliquotas) {
  if (!aliquotas) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(
        "SELECT tabela, posicao, tipo, aliquota FROM emissora_aliquota WHERE tabela = ? ORDER BY posicao", {tabela});
    aliquotas->clear();
    for (const auto& l : linhas) {
      REG_EMISSOR_ALIQUOTA a;
      std::memset(&a, 0, sizeof a);
      a.Tabela = static_cast<std::int32_t>(l.Inteiro(0));
      a.Posicao = static_cast<std::uint16_t>(l.Inteiro(1));
      a.Tipo = l.Texto(2).empty() ? ' ' : l.Texto(2)[0];
      a.Aliquota = static_cast<std::uint16_t>(l.Inteiro(3));
      aliquotas->push_back(a);
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoEmissora::Lista(std::uint16_t* quantidade, std::vector<REG_EMISSORPS>* emissoras) {
  if (!quantidade || !emissoras) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) { return Listagem(s.Consulta(kLista, {}), quantidade, emissoras); });
}

com::HRESULT CConexaoEmissora::ListaDaFilial(std::uint16_t filial, std::uint16_t* quantidade,
                                             std::vector<REG_EMISSORPS>* emissoras) {
  if (!quantidade || !emissoras) return com::E_POINTER;
  return Executa(
      [&](CSessaoDados& s) { return Listagem(s.Consulta(kListaDaFilial, {filial}), quantidade, emissoras); });
}

}  // namespace qmx::dados
