#include "frame/TabelaSistemas.h"

#include <cctype>

namespace qmx {
namespace {

// Row i holds system number i.
constexpr SistemaZT kSistemas[CTabelaSistemas::kQuantidade] = {
    {"ZT", "ZT Redudeva", 1, 2014},
    {"AD", "Torvo Administração", 2, 2014},
    {"CN", "Torvo Contabilidade", 3, 2014},
    {"CP", "Torvo Contas a Pagar", 4, 2013},
    {"CR", "Torvo Contas a Receber", 5, 2013},
    {"DF", "Torvo Cadastros Gerais", 6, 2014},
    {"EF", "Torvo Escrita Fiscal", 7, 2014},
    {"ES", "Torvo Estoque", 8, 2014},
    {"FN", "Torvo Financeiro", 9, 2014},
    {"FP", "Torvo Folha de Pagamento", 10, 2013},
    {"PT", "Torvo Patrimônio", 11, 2012},
    {"CM", "Torvo Compras", 12, 2013},
    {"VD", "Torvo Vendas", 13, 2014},
    {"FT", "Torvo Faturamento", 14, 2014},
    {"PC", "Torvo Produção", 15, 2013},
    {"CS", "Torvo Custos", 16, 2012},
    {"OR", "Torvo Orçamento", 17, 2012},
    {"NF", "Torvo Nota Fiscal Eletrônica", 18, 2014},
    {"EC", "Torvo ECF", 19, 2014},
    {"TF", "Torvo TEF", 20, 2014},
    {"TR", "Torvo Transportes", 21, 2012},
    {"GR", "Torvo Gerencial", 22, 2013},
    {"SG", "Torvo Segurança", 23, 2013},
    {"WS", "Torvo Serviços Web", 24, 2014},
    {"UT", "Torvo Utilitários", 25, 2011},
};

bool MesmoCodigo(const char* a, const std::string& b) {
  if (b.size() != 2) return false;
  for (size_t i = 0; i < 2; ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

const SistemaZT* CTabelaSistemas::PorIndice(std::uint32_t indice) {
  if (indice < 1 || indice > kQuantidade) return nullptr;
  return &kSistemas[indice - 1];
}

const SistemaZT* CTabelaSistemas::PorModulo(const std::string& modulo) {
  for (const auto& sistema : kSistemas)
    if (MesmoCodigo(sistema.modulo, modulo)) return &sistema;
  return nullptr;
}

std::string CTabelaSistemas::Titulo(std::uint32_t indice) {
  const SistemaZT* sistema = PorIndice(indice);
  return sistema ? sistema->titulo : std::string();
}

}  // namespace qmx
