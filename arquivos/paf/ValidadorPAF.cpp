#include "arquivos/paf/ValidadorPAF.h"

#include <map>
#include <set>
#include <string>

namespace qmx::validacao {
namespace {

using T = TipoCampo;


// An item's code (X 14): a product or service is known by it, never blank.
void Codigo(const Linha* l, std::string_view tipo, std::size_t posicao, CColetor& c) {
  const std::string_view v = Campo(l->texto, posicao, 14);
  if (v.size() == 14 && v.find_first_not_of(' ') == std::string_view::npos)
    c.Erro(l->numero, tipo, "codigo-vazio", "código do produto ou serviço em branco");
}

void Inscricao(const Linha* l, std::string_view tipo, std::size_t posicao, CColetor& c) {
  const std::string_view ie = Campo(l->texto, posicao, 14);
  if (ie.size() == 14 && !InscricaoSemPontuacao(ie))
    c.Erro(l->numero, tipo, "inscricao",
           "a inscrição vai como texto, alinhada à esquerda, sem pontuação nem zeros à frente: \"" + Texto(ie) + "\"");
}

// A trailer: the CNPJ and registration of the head, and how many details.
void Trailer(const std::vector<const Linha*>& cabeca, const std::vector<const Linha*>& trailer,
             std::string_view tipoTrailer, std::string_view tipoDetalhe, std::size_t detalhes,
             std::size_t posicaoContagem, CColetor& c) {
  if (cabeca.size() != 1) c.Erro(cabeca.empty() ? 0 : cabeca[1]->numero, "", "cabecalho", "o arquivo tem um registro de cabeçalho, só um");
  if (trailer.size() != 1) {
    c.Erro(trailer.empty() ? 0 : trailer[1]->numero, tipoTrailer, "trailer", "o arquivo tem um registro " + Texto(tipoTrailer) + ", só um");
    return;
  }
  const std::string_view t = trailer[0]->texto;
  if (!cabeca.empty() && (Campo(t, 3, 28) != Campo(cabeca[0]->texto, 3, 28)))
    c.Erro(trailer[0]->numero, tipoTrailer, "trailer", "CNPJ e Inscrição Estadual diferentes dos do cabeçalho");
  const std::string_view contagem = Campo(t, posicaoContagem, 6);
  if (SoDigitos(contagem) && static_cast<std::size_t>(Numero(contagem)) != detalhes)
    c.Erro(trailer[0]->numero, tipoTrailer, "trailer",
           "o trailer conta " + Texto(contagem) + " registros " + Texto(tipoDetalhe) + "; há " + std::to_string(detalhes));
}

}  // namespace

void ValidaMovimentos(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"R01", 310,
       {{"Número de fabricação", 4, 20, T::X}, {"Tipo do ECF", 25, 7, T::X}, {"Marca", 32, 20, T::X},
        {"Modelo", 52, 20, T::X}, {"Versão do SB", 72, 10, T::X}, {"Data do SB", 82, 8, T::Data},
        {"Hora do SB", 90, 6, T::Hora}, {"Número do ECF", 96, 3, T::N}, {"CNPJ", 99, 14, T::N},
        {"Inscrição Estadual", 113, 14, T::X}, {"CNPJ da desenvolvedora", 127, 14, T::N},
        {"Inscrição Estadual da desenvolvedora", 141, 14, T::X}, {"Inscrição Municipal da desenvolvedora", 155, 14, T::N},
        {"Denominação da desenvolvedora", 169, 40, T::X}, {"Nome do PAF-ECF", 209, 40, T::X},
        {"Versão do PAF-ECF", 249, 10, T::X}, {"MD-5 da lista", 259, 32, T::X}, {"Data inicial", 291, 8, T::Data},
        {"Data final", 299, 8, T::Data}, {"Versão da ER-PAF-ECF", 307, 4, T::X}}},
      {"R02", 101, CamposReducao()},
      {"R03", 72, CamposTotalizador()},
      {"R04", 191, CamposCupom()},
      {"R05", 268,
       CabecaECF({{"COO", 47, 6, T::N}, {"CCF", 53, 6, T::N}, {"Número do item", 59, 3, T::N},
                {"Código", 62, 14, T::X}, {"Descrição", 76, 100, T::X}, {"Quantidade", 176, 7, T::N},
                {"Unidade", 183, 3, T::X}, {"Valor unitário", 186, 8, T::N}, {"Desconto", 194, 8, T::N},
                {"Acréscimo", 202, 8, T::N}, {"Valor total", 210, 14, T::N}, {"Totalizador", 224, 7, T::X},
                {"Quantidade cancelada", 232, 7, T::N}, {"Valor cancelado", 239, 13, T::N},
                {"Cancelamento de acréscimo", 252, 13, T::N}, {"Casas da quantidade", 267, 1, T::N},
                {"Casas do valor unitário", 268, 1, T::N}})},
      {"R06", 84,
       CabecaECF({{"COO", 47, 6, T::N}, {"GNF", 53, 6, T::N}, {"GRG", 59, 6, T::N}, {"CDC", 65, 4, T::N},
                {"Denominação", 69, 2, T::X}, {"Data final", 71, 8, T::Data}, {"Hora final", 79, 6, T::Hora}})},
      {"R07", 106, CamposPagamento()},
  };
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c);
  std::set<std::string> series, crzs, cupons, coos;
  for (const Linha* l : r[0]) {
    series.insert(Texto(Campo(l->texto, 4, 20)));
    Inscricao(l, "R01", 113, c);
    Inscricao(l, "R01", 141, c);
  }
  if (r[0].empty()) c.Erro(0, "R01", "cabecalho", "o arquivo não tem registro R01");
  for (std::size_t tipo = 1; tipo < r.size(); ++tipo)
    for (const Linha* l : r[tipo])
      if (!series.count(Texto(Campo(l->texto, 4, 20))))
        c.Erro(l->numero, leiautes[tipo].tipo, "ecf", "número de fabricação que nenhum R01 do arquivo traz");
  for (const Linha* l : r[1]) {
    crzs.insert(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 47, 6)));
    Indicador(l, "R02", 101, "Desconto em ISSQN", "SN", c);
  }
  for (const Linha* l : r[2]) {
    if (!crzs.count(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 47, 6))))
      c.Erro(l->numero, "R03", "sem-reducao", "totalizador de uma redução Z (CRZ) que nenhum R02 traz");
    if (!TotalizadorParcialValido(Campo(l->texto, 53, 7), false))
      c.Erro(l->numero, "R03", "totalizador", "código de totalizador fora da tabela: \"" + Texto(Campo(l->texto, 53, 7)) + "\"");
  }
  for (const Linha* l : r[3]) {
    cupons.insert(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 53, 6)) + Texto(Campo(l->texto, 47, 6)));
    coos.insert(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 53, 6)));
    Indicador(l, "R04", 94, "Tipo do desconto", "VP", c);
    Indicador(l, "R04", 108, "Tipo do acréscimo", "VP", c);
    Indicador(l, "R04", 123, "Cancelamento", "SN", c);
    Indicador(l, "R04", 137, "Ordem de desconto e acréscimo", "DA ", c);
  }
  for (const Linha* l : r[4]) {
    if (!cupons.count(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 47, 6)) + Texto(Campo(l->texto, 53, 6))))
      c.Erro(l->numero, "R05", "sem-cupom", "item de um cupom (COO e CCF) que nenhum R04 traz");
    if (!TotalizadorParcialValido(Campo(l->texto, 224, 7), false))
      c.Erro(l->numero, "R05", "totalizador", "código de totalizador fora da tabela: \"" + Texto(Campo(l->texto, 224, 7)) + "\"");
    Codigo(l, "R05", 62, c);
    Indicador(l, "R05", 231, "Cancelamento", "SNP", c);
    Indicador(l, "R05", 265, "IAT", "AT", c);
    Indicador(l, "R05", 266, "IPPT", "PT", c);
  }
  for (const Linha* l : r[5]) coos.insert(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 47, 6)));
  for (const Linha* l : r[6]) {
    if (!coos.count(Texto(Campo(l->texto, 4, 20)) + Texto(Campo(l->texto, 47, 6))))
      c.Erro(l->numero, "R07", "sem-documento", "pagamento de um COO que nenhum R04 ou R06 traz");
    Indicador(l, "R07", 93, "Estorno", "SNP", c);
  }
  // The order of the Ato COTEPE/ICMS 17/04 records the R records copy.
  const auto chave = [](std::size_t inicio, std::size_t largura) {
    return [=](std::string_view t) { return Texto(Campo(t, 4, 20)) + Texto(Campo(t, 45, 2)) + Texto(Campo(t, inicio, largura)); };
  };
  ConfereOrdem(r[1], "R02", "ECF, usuário e CRZ", chave(47, 6), c);
  ConfereOrdem(r[3], "R04", "ECF, usuário e CCF", chave(47, 6), c);
  ConfereOrdem(r[5], "R06", "ECF, usuário e COO", chave(47, 6), c);
  ConfereOrdem(r[6], "R07", "ECF, usuário, COO e GNF", chave(47, 18), c, true);
}

void ValidaDAVs(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"D1", 94,
       {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Inscrição Municipal", 31, 14, T::X},
        {"Razão social", 45, 50, T::X}}},
      {"D2", 212,
       {{"CNPJ", 3, 14, T::N}, {"Número de fabricação", 17, 20, T::X}, {"Tipo do ECF", 38, 7, T::X},
        {"Marca", 45, 20, T::X}, {"Modelo", 65, 20, T::X}, {"COO", 85, 6, T::N}, {"Número do DAV", 91, 13, T::X},
        {"Data", 104, 8, T::Data}, {"Título", 112, 30, T::X}, {"Valor", 142, 8, T::N},
        {"COO do documento fiscal", 150, 6, T::N}, {"Número do ECF", 156, 3, T::N}, {"Nome do cliente", 159, 40, T::X},
        {"CPF/CNPJ do cliente", 199, 14, T::N}}},
      {"D3", 196,
       {{"Número do DAV", 3, 13, T::X}, {"Data de inclusão", 16, 8, T::Data}, {"Número do item", 24, 3, T::N},
        {"Código", 27, 14, T::X}, {"Descrição", 41, 100, T::X}, {"Quantidade", 141, 7, T::N},
        {"Unidade", 148, 3, T::X}, {"Valor unitário", 151, 8, T::N}, {"Desconto", 159, 8, T::N},
        {"Acréscimo", 167, 8, T::N}, {"Valor total", 175, 14, T::N}, {"Alíquota", 190, 4, T::N},
        {"Casas da quantidade", 195, 1, T::N}, {"Casas do valor unitário", 196, 1, T::N}}},
      {"D9", 42,
       {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de D2", 31, 6, T::N},
        {"Total de D3", 37, 6, T::N}}},
  };
  // Every implementation ends the records in CR LF; the ER's own wording
  // was not at hand, so a bare LF is a warning here.
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c, true);
  for (const Linha* l : r[0]) Inscricao(l, "D1", 17, c);
  for (const Linha* l : r[3]) Inscricao(l, "D9", 17, c);
  Trailer(r[0], r[3], "D9", "D2", r[1].size(), 31, c);
  if (r[3].size() == 1 && SoDigitos(Campo(r[3][0]->texto, 37, 6)) &&
      static_cast<std::size_t>(Numero(Campo(r[3][0]->texto, 37, 6))) != r[2].size())
    c.Erro(r[3][0]->numero, "D9", "trailer", "o trailer conta " + Texto(Campo(r[3][0]->texto, 37, 6)) + " registros D3; há " + std::to_string(r[2].size()));
  std::set<std::string> davs;
  for (const Linha* l : r[1]) davs.insert(Texto(Campo(l->texto, 91, 13)));
  for (const Linha* l : r[2]) {
    if (!davs.count(Texto(Campo(l->texto, 3, 13))))
      c.Erro(l->numero, "D3", "sem-dav", "item de um DAV que nenhum D2 traz");
    Codigo(l, "D3", 27, c);
    Indicador(l, "D3", 189, "Situação tributária", "TSFIN", c);
    Indicador(l, "D3", 194, "Cancelamento", "SN", c);
  }
  ConfereOrdem(r[1], "D2", "número do DAV", [](std::string_view t) { return Texto(Campo(t, 91, 13)); }, c, true);
}

void ValidaTabelaProdutos(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"P1", 94,
       {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Inscrição Municipal", 31, 14, T::X},
        {"Razão social", 45, 50, T::X}}},
      {"P2", 105,
       {{"CNPJ", 3, 14, T::N}, {"Código", 17, 14, T::X}, {"Descrição", 31, 50, T::X}, {"Unidade", 81, 6, T::X},
        {"Alíquota", 90, 4, T::N}, {"Valor unitário", 94, 12, T::N}}},
      {"P9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de P2", 31, 6, T::N}}},
  };
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c);
  for (const Linha* l : r[0]) Inscricao(l, "P1", 17, c);
  for (const Linha* l : r[2]) Inscricao(l, "P9", 17, c);
  Trailer(r[0], r[2], "P9", "P2", r[1].size(), 31, c);
  for (const Linha* l : r[1]) {
    Codigo(l, "P2", 17, c);
    Indicador(l, "P2", 87, "IAT", "AT", c);
    Indicador(l, "P2", 88, "IPPT", "PT", c);
    Indicador(l, "P2", 89, "Situação tributária", "TSFIN", c);
    const char situacao = Campo(l->texto, 89, 1).empty() ? ' ' : l->texto[88];
    if ((situacao == 'F' || situacao == 'I' || situacao == 'N') && Campo(l->texto, 90, 4) != "0000")
      c.Erro(l->numero, "P2", "aliquota", "alíquota em item que não é tributado (F, I ou N)");
  }
  ConfereOrdem(r[1], "P2", "código", [](std::string_view t) { return Texto(Campo(t, 17, 14)); }, c, true);
}

void ValidaEstoque(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"E1", 176,
       {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Inscrição Municipal", 31, 14, T::X},
        {"Razão social", 45, 50, T::X}, {"Número de fabricação", 95, 20, T::X}, {"Tipo do ECF", 116, 7, T::X},
        {"Marca", 123, 20, T::X}, {"Modelo", 143, 20, T::X}, {"Data do estoque", 163, 8, T::Data},
        {"Hora do estoque", 171, 6, T::Hora}}},
      {"E2", 96,
       {{"CNPJ", 3, 14, T::N}, {"Código", 17, 14, T::X}, {"Descrição", 31, 50, T::X}, {"Unidade", 81, 6, T::X},
        {"Quantidade", 88, 9, T::N}}},
      {"E9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de E2", 31, 6, T::N}}},
  };
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c);
  for (const Linha* l : r[0]) Inscricao(l, "E1", 17, c);
  for (const Linha* l : r[2]) Inscricao(l, "E9", 17, c);
  Trailer(r[0], r[2], "E9", "E2", r[1].size(), 31, c);
  for (const Linha* l : r[1]) {
    Codigo(l, "E2", 17, c);
    Indicador(l, "E2", 87, "Sinal da quantidade", "+-", c);
  }
  ConfereOrdem(r[1], "E2", "código", [](std::string_view t) { return Texto(Campo(t, 17, 14)); }, c, true);
}

void ValidaListaAutenticados(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"N1", 94,
       {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Inscrição Municipal", 31, 14, T::X},
        {"Razão social", 45, 50, T::X}}},
      {"N2", 72, {{"Laudo", 3, 10, T::X}, {"Nome do PAF-ECF", 13, 50, T::X}, {"Versão", 63, 10, T::X}}},
      {"N3", 84, {{"Arquivo", 3, 50, T::X}, {"MD-5", 53, 32, T::X}}},
      {"N9", 36, {{"CNPJ", 3, 14, T::N}, {"Inscrição Estadual", 17, 14, T::X}, {"Total de N3", 31, 6, T::N}}},
  };
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c);
  if (r[1].size() != 1) c.Erro(0, "N2", "n2", "a lista tem um registro N2, só um");
  Trailer(r[0], r[3], "N9", "N3", r[2].size(), 31, c);
  for (const Linha* l : r[2]) {
    const std::string_view md5 = Campo(l->texto, 53, 32);
    if (md5.size() != 32) continue;
    if (md5.find_first_not_of(' ') == std::string_view::npos)
      c.Aviso(l->numero, "N3", "md5", "arquivo listado sem código MD-5");
    else if (md5.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos)
      c.Erro(l->numero, "N3", "md5", "o código MD-5 não tem 32 dígitos hexadecimais");
  }
  ConfereOrdem(r[2], "N3", "nome do arquivo", [](std::string_view t) { return Texto(Campo(t, 3, 50)); }, c);
}

}  // namespace qmx::validacao
