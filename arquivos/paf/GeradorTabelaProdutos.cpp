#include "arquivos/paf/GeradorTabelaProdutos.h"

#include <cstdio>
#include <limits>
#include <unordered_map>
#include <vector>

#include "arquivos/paf/LeiautesTabProdutos.h"
#include "frame/QMXGenerica.h"
#include "plataforma/dados/ConexaoFilial.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::tabela_produtos {
namespace {

void Exige(com::HRESULT resultado, PassoFalho passo) {
  if (com::FAILED(resultado)) throw CFalhaTabelaProdutos(passo, resultado);
}

struct Preco {
  std::uint32_t item;
  std::int64_t preco;
};

// A service's P2 row, held until the product rows around its code are
// written: the service table is small beside the catalogue.
struct LinhaServico {
  std::uint32_t codigo;
  std::string descricao;
  std::string unidade;
  bool producao;
  std::uint16_t aliquotaISS;
  std::int64_t preco;
};

// The unit as P2 writes it: with the item's flag set, padded to six
// characters whose blanks become "?".
std::string UnidadeP2(const char* sigla, std::uint8_t interrogacao) {
  std::string unidade = sigla;
  if (interrogacao == 1) CQMXGenerica::AdicionaInterrogacao(6, unidade);
  return unidade;
}

char SituacaoProduto(char tributacao) {
  return tributacao == 'I' || tributacao == 'N' || tributacao == 'T' ? tributacao : 'F';
}

// The units' abbreviations, read once each; a unit that is not there is
// written blank.
template <class Registro, class Le>
const std::string& Sigla(std::unordered_map<std::uint16_t, std::string>& lidas, std::uint16_t codigo, Le&& le,
                         PassoFalho passo) {
  const auto achada = lidas.find(codigo);
  if (achada != lidas.end()) return achada->second;
  Registro unidade{};
  const com::HRESULT resultado = codigo == 0 ? dados::QMX_E_REGISTRO_INEXISTENTE : le(codigo, &unidade);
  if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(resultado, passo);
  return lidas.emplace(codigo, com::SUCCEEDED(resultado) ? unidade.Sigla : "").first->second;
}

}  // namespace

std::string CGeradorTabelaProdutos::NomeArquivo(std::uint16_t tabelaProdutos, std::uint16_t tabelaServicos) {
  char nome[64];
  std::snprintf(nome, sizeof nome, "TabelaProdutos%02d%02d.txt", tabelaProdutos, tabelaServicos);
  return nome;
}

// The P2 rows come out already in the order of their zero-padded codes,
// which is the order of the codes as numbers: the products are walked in
// code order beside the product table's prices (held as code and price
// only), and the service rows, read first, are merged in between. A
// product and a service of the same code keep that order. Items of a
// table whose product or service no longer exists are left out: there is
// nothing to describe them with.
int CGeradorTabelaProdutos::Escreve(std::uint16_t filial, std::uint16_t tabelaProdutos, std::uint16_t tabelaServicos,
                                    CSaidaTemporaria& saida) {
  const TriploConexao& t = m_triplo;
  REG_FILIALPS registro{};
  std::string razaoSocial;
  {
    dados::CConexaoFilial filiais;
    com::HRESULT resultado = filiais.Inicializa(t.chaveEmpresa, t.usuario, t.contexto, false);
    if (com::SUCCEEDED(resultado)) resultado = filiais.Le(filial, &registro);
    Exige(resultado, PassoFalho::Filial);
    wchar_t* razao = nullptr;
    resultado = filiais.GetRazaoSocial(filial, &razao);
    razaoSocial = dados::DeTextoLargo(razao);
    dados::LiberaTextoLargo(razao);
    Exige(resultado, PassoFalho::RazaoSocial);
  }
  CEscritorRegistro escritor;
  saida.Escreve(escritor.Monta<kRegistroP1>({registro.Cnpj, registro.InscricaoEstadual, registro.InscricaoMunicipal,
                                             razaoSocial}));

  // Two links: one walks, the other reads what each row needs.
  dados::CConexaoProduto catalogo, consultas;
  Exige(catalogo.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), PassoFalho::ItensProdutos);
  Exige(consultas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), PassoFalho::ItensProdutos);
  std::vector<Preco> precos;
  Exige(catalogo.PercorreTabelaPreco(QMX_TABELA_PRODUTOS, tabelaProdutos,
                                     [&](const REG_ITEM_TABELA_PRECOPS& item) {
                                       precos.push_back({item.Item, item.Preco.int64});
                                       return true;
                                     }),
        PassoFalho::ItensProdutos);

  std::vector<Preco> precosServicos;
  Exige(catalogo.PercorreTabelaPreco(QMX_TABELA_SERVICOS, tabelaServicos,
                                     [&](const REG_ITEM_TABELA_PRECOPS& item) {
                                       precosServicos.push_back({item.Item, item.Preco.int64});
                                       return true;
                                     }),
        PassoFalho::ItensServicos);
  std::unordered_map<std::uint16_t, std::string> unidadesServico, unidadesProduto;
  std::vector<LinhaServico> servicos;
  for (const auto& preco : precosServicos) {
    REG_SERVICOSPS servico{};
    const com::HRESULT resultado = consultas.LeServico(preco.item, &servico);
    if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) continue;
    Exige(resultado, PassoFalho::ItensServicos);
    const auto& sigla = Sigla<REG_UNIDADES_MEDIDA_SERVICOSPS>(
        unidadesServico, servico.Unidade,
        [&](std::uint16_t codigo, REG_UNIDADES_MEDIDA_SERVICOSPS* u) { return consultas.LeUnidadeServico(codigo, u); },
        PassoFalho::ItensServicos);
    servicos.push_back({servico.Codigo, servico.Descricao, UnidadeP2(sigla.c_str(), servico.UnidadeInterrogacao),
                        servico.Producao != 0, servico.AliquotaISS, preco.preco});
  }

  int linhas = 0;
  std::size_t proximoServico = 0;
  const auto escreveServicosAntesDe = [&](std::uint64_t limite) {
    for (; proximoServico < servicos.size() && servicos[proximoServico].codigo < limite; ++proximoServico, ++linhas) {
      const auto& s = servicos[proximoServico];
      saida.Escreve(escritor.Monta<kRegistroP2>({registro.Cnpj, s.codigo, s.descricao, s.unidade,
                                                 s.producao ? "T" : "P", "S", s.aliquotaISS, s.preco}));
    }
  };
  std::size_t proximoPreco = 0;
  if (!precos.empty())
    Exige(catalogo.PercorreProdutos(filial,
                                    [&](const REG_PRODUTOPS& p) {
                                      while (proximoPreco < precos.size() && precos[proximoPreco].item < p.Codigo)
                                        ++proximoPreco;
                                      if (proximoPreco == precos.size()) return false;
                                      if (precos[proximoPreco].item != p.Codigo) return true;
                                      escreveServicosAntesDe(p.Codigo);
                                      const auto& sigla = Sigla<REG_UNIDADES_MEDIDAPS>(
                                          unidadesProduto, p.Unidade,
                                          [&](std::uint16_t codigo, REG_UNIDADES_MEDIDAPS* u) {
                                            return consultas.LeUnidade(codigo, u);
                                          },
                                          PassoFalho::ItensProdutos);
                                      const char situacao = SituacaoProduto(p.Tributacao);
                                      const char texto[2] = {situacao, '\0'};
                                      saida.Escreve(escritor.Monta<kRegistroP2>(
                                          {registro.Cnpj, p.Codigo, p.Descricao,
                                           UnidadeP2(sigla.c_str(), p.UnidadeInterrogacao), p.Producao ? "T" : "P",
                                           texto, situacao == 'T' ? p.AliquotaICMS : 0,
                                           precos[proximoPreco].preco}));
                                      ++linhas;
                                      return ++proximoPreco < precos.size();
                                    }),
          PassoFalho::ItensProdutos);
  escreveServicosAntesDe(std::numeric_limits<std::uint64_t>::max());

  saida.Escreve(escritor.Monta<kRegistroP9>({registro.Cnpj, registro.InscricaoEstadual, linhas}));
  return linhas;
}

}  // namespace qmx::tabela_produtos
