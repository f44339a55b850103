#include "arquivos/memorias/ValidadorMFD.h"

#include <set>
#include <string>

namespace qmx::validacao {
namespace {

using T = TipoCampo;

}  // namespace

void ValidaMFD(const std::vector<Linha>& linhas, CColetor& c) {
  const std::vector<LeiauteTipado> leiautes = {
      {"E01", 166,
       {{"Número de fabricação", 4, 20, T::X}, {"Tipo do ECF", 25, 7, T::X}, {"Marca", 32, 20, T::X},
        {"Modelo", 52, 20, T::X}, {"Versão do SB", 72, 10, T::X}, {"Data do SB", 82, 8, T::Data},
        {"Hora do SB", 90, 6, T::Hora}, {"Número do ECF", 96, 3, T::N}, {"CNPJ", 99, 14, T::N},
        {"Comando", 113, 3, T::X}, {"CRZ inicial", 116, 6, T::N}, {"CRZ final", 122, 6, T::N},
        {"Data inicial", 128, 8, T::Data}, {"Data final", 136, 8, T::Data}, {"Versão da biblioteca", 144, 8, T::X},
        {"Versão do Ato", 152, 15, T::X}}},
      {"E02", 272,
       {{"Número de fabricação", 4, 20, T::X}, {"Modelo", 25, 20, T::X}, {"CNPJ", 45, 14, T::N},
        {"Inscrição Estadual", 59, 14, T::X}, {"Nome", 73, 40, T::X}, {"Endereço", 113, 120, T::X},
        {"Data do cadastro", 233, 8, T::Data}, {"Hora do cadastro", 241, 6, T::Hora}, {"CRO", 247, 6, T::N},
        {"Grande total", 253, 18, T::N}, {"Número do usuário", 271, 2, T::N}}},
      {"E12", 101, CamposReducao()},
      {"E13", 72, CamposTotalizador()},
      {"E14", 191, CamposCupom()},
      {"E15", 267,
       CabecaECF({{"COO", 47, 6, T::N}, {"CCF", 53, 6, T::N}, {"Número do item", 59, 3, T::N}, {"Código", 62, 14, T::X},
               {"Descrição", 76, 100, T::X}, {"Quantidade", 176, 7, T::N}, {"Unidade", 183, 3, T::X},
               {"Valor unitário", 186, 8, T::N}, {"Desconto", 194, 8, T::N}, {"Acréscimo", 202, 8, T::N},
               {"Valor total", 210, 14, T::N}, {"Totalizador", 224, 7, T::X}, {"Quantidade cancelada", 232, 7, T::N},
               {"Valor cancelado", 239, 13, T::N}, {"Cancelamento de acréscimo", 252, 13, T::N},
               {"Casas da quantidade", 266, 1, T::N}, {"Casas do valor unitário", 267, 1, T::N}})},
      {"E16", 90,
       CabecaECF({{"COO", 47, 6, T::N}, {"GNF", 53, 6, T::N}, {"GRG", 59, 6, T::N}, {"CDC", 65, 4, T::N},
               {"CRZ", 69, 6, T::N}, {"Denominação", 75, 2, T::X}, {"Data final", 77, 8, T::Data},
               {"Hora final", 85, 6, T::Hora}})},
      {"E21", 106, CamposPagamento()},
  };
  const auto r = ConfereRegistrosTipados(linhas, leiautes, c);
  if (r[0].size() != 1) c.Erro(0, "E01", "cabecalho", "o arquivo tem um registro E01, só um");
  if (r[1].empty()) c.Erro(0, "E02", "cabecalho", "falta o registro E02");
  if (!linhas.empty() && linhas[0].texto.substr(0, 3) != "E01")
    c.Erro(linhas[0].numero, "E01", "ordem", "o arquivo começa pelo registro E01");
  std::set<std::string> crzs, cupons, coos;
  for (const Linha* l : r[2]) crzs.insert(Texto(Campo(l->texto, 47, 6)));
  for (const Linha* l : r[3])
    if (!crzs.count(Texto(Campo(l->texto, 47, 6))))
      c.Erro(l->numero, "E13", "sem-reducao", "totalizador de uma redução Z (CRZ) que nenhum E12 traz");
  for (const Linha* l : r[4]) {
    cupons.insert(Texto(Campo(l->texto, 53, 6)) + Texto(Campo(l->texto, 47, 6)));
    coos.insert(Texto(Campo(l->texto, 53, 6)));
    Indicador(l, "E14", 94, "Tipo do desconto", "VP", c);
    Indicador(l, "E14", 108, "Tipo do acréscimo", "VP", c);
    Indicador(l, "E14", 123, "Cancelamento", "SN", c);
    Indicador(l, "E14", 137, "Ordem de desconto e acréscimo", "DA ", c);
  }
  for (const Linha* l : r[5]) {
    if (!cupons.count(Texto(Campo(l->texto, 47, 6)) + Texto(Campo(l->texto, 53, 6))))
      c.Erro(l->numero, "E15", "sem-cupom", "item de um cupom (COO e CCF) que nenhum E14 traz");
    Indicador(l, "E15", 231, "Cancelamento", "SNP", c);
    Indicador(l, "E15", 265, "IAT", "AT", c);
  }
  for (const Linha* l : r[6]) coos.insert(Texto(Campo(l->texto, 47, 6)));
  for (const Linha* l : r[7]) {
    if (!coos.count(Texto(Campo(l->texto, 47, 6))))
      c.Erro(l->numero, "E21", "sem-documento", "pagamento de um COO que nenhum E14 ou E16 traz");
    Indicador(l, "E21", 93, "Estorno", "SNP", c);
  }
  // The classification of the Ato: serial number, model and user first.
  const auto chave = [](std::size_t inicio, std::size_t largura) {
    return [=](std::string_view t) { return Texto(Campo(t, 4, 43)) + Texto(Campo(t, inicio, largura)); };
  };
  ConfereOrdem(r[2], "E12", "ECF, usuário, CRZ e CRO", [](std::string_view t) {
    return Texto(Campo(t, 4, 43)) + Texto(Campo(t, 47, 6)) + Texto(Campo(t, 59, 6));
  }, c);
  ConfereOrdem(r[3], "E13", "ECF, usuário, CRZ e totalizador", chave(47, 13), c);
  ConfereOrdem(r[4], "E14", "ECF, usuário e CCF", chave(47, 6), c);
  ConfereOrdem(r[5], "E15", "ECF, usuário, CCF e item", [](std::string_view t) {
    return Texto(Campo(t, 4, 43)) + Texto(Campo(t, 53, 6)) + Texto(Campo(t, 59, 3));
  }, c);
  ConfereOrdem(r[6], "E16", "ECF, usuário e COO", chave(47, 6), c);
}

}  // namespace qmx::validacao
