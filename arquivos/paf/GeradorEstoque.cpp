#include "arquivos/paf/GeradorEstoque.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/paf/LeiautesEstoque.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/QMXGenerica.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::estoque {
namespace {

// One product's E2 line, held until the lines are sorted.
struct LinhaEstoque {
  std::uint64_t chave;
  std::uint32_t codigo;
  std::int64_t quantidade;  // four implied decimals
  char descricao[51];
  char unidade[7];
};

template <std::size_t N>
void CopiaCortado(char (&destino)[N], std::string_view texto) {
  const std::size_t n = std::min(texto.size(), N - 1);
  std::memcpy(destino, texto.data(), n);
  destino[n] = '\0';
}

}  // namespace

std::uint64_t CGeradorEstoque::ChaveOrdem(std::uint32_t codigo) {
  int digitos[10];
  int n = 0;
  do {
    digitos[n++] = static_cast<int>(codigo % 10);
    codigo /= 10;
  } while (codigo != 0);
  std::uint64_t chave = 0;
  for (int posicao = 0; posicao < 10; ++posicao)
    chave = chave * 11 + (posicao < n ? static_cast<std::uint64_t>(digitos[n - 1 - posicao]) + 1 : 0);
  return chave;
}

std::string CGeradorEstoque::NomeArquivo(NumeroDia dia) {
  const DiaMesAno data = DecodificaDia(dia);
  char nome[32];
  std::snprintf(nome, sizeof nome, "Estoque%02d%02d%02d.txt", data.dia, data.mes, data.ano % 100);
  return nome;
}

// The quantity of a product is its stock position in the branch at the end
// of the day before, less what the day's cupons of the branch's ECFs have
// sold of it so far. Only goods that left on a cupom count: cancelled
// items, cancelled cupons and consumer notas (status 4, documents of their
// own rather than cupom sales) are left out, and so are service items,
// which hold no stock. A day's item counts whether or not the stock module
// has integrated it already: positions are read only up to the day before,
// so nothing is taken twice. The date and time of E1 are therefore those
// of the generation.
//
// The products of the branch are those with tax data in the branch, a
// stock position there or a sale of the day; a product that no longer
// exists in the catalogue has no line.
int CGeradorEstoque::Escreve(std::uint16_t filial, const CabecalhoEstoque& cabecalho,
                             const std::vector<std::uint32_t>& parcial, CSaidaTemporaria& saida) {
  const TriploConexao& t = m_triplo;
  std::vector<std::pair<std::uint32_t, std::int64_t>> posicoes;
  {
    dados::CConexaoMovimento movimento;
    ExigeDados(movimento.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    const NumeroDia ontem = cabecalho.data > 0 ? cabecalho.data - 1 : 0;
    ExigeDados(movimento.PercorrePosicoes(filial, ontem,
                                          [&](const REG_ES_POSICAOPS& posicao) {
                                            posicoes.emplace_back(posicao.Produto, posicao.Quantidade.int64);
                                            return true;
                                          }),
               __LINE__);
  }
  std::unordered_map<std::uint32_t, std::int64_t> vendas;
  {
    dados::CConexaoECSCX caixa;
    ExigeDados(caixa.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    ExigeDados(caixa.PercorreItensVendidos(filial, cabecalho.data, [&](const dados::ItemVendido& item) {
                 if (!item.cupomCancelado && item.status != QMX_STATUS_NOTA_CONSUMIDOR && !item.cancelado &&
                     !item.servico)
                   vendas[item.codigo] += item.quantidade.int64;
                 return true;
               }),
               __LINE__);
  }
  std::vector<std::uint32_t> escolhidos = parcial;
  std::sort(escolhidos.begin(), escolhidos.end());

  std::vector<LinhaEstoque> linhas;
  {
    dados::CConexaoProduto catalogo, unidades;
    ExigeDados(catalogo.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    ExigeDados(unidades.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    std::unordered_map<std::uint16_t, std::string> siglas;
    std::size_t proximaPosicao = 0;
    ExigeDados(
        catalogo.PercorreProdutos(filial,
                                  [&](const REG_PRODUTOPS& p) {
                                    while (proximaPosicao < posicoes.size() && posicoes[proximaPosicao].first < p.Codigo)
                                      ++proximaPosicao;
                                    const bool temPosicao =
                                        proximaPosicao < posicoes.size() && posicoes[proximaPosicao].first == p.Codigo;
                                    const auto venda = vendas.find(p.Codigo);
                                    if (p.Filial == 0 && !temPosicao && venda == vendas.end()) return true;
                                    if (!escolhidos.empty() &&
                                        !std::binary_search(escolhidos.begin(), escolhidos.end(), p.Codigo))
                                      return true;
                                    auto sigla = siglas.find(p.Unidade);
                                    if (sigla == siglas.end()) {
                                      REG_UNIDADES_MEDIDAPS unidade{};
                                      const com::HRESULT resultado =
                                          p.Unidade == 0 ? dados::QMX_E_REGISTRO_INEXISTENTE
                                                         : unidades.LeUnidade(p.Unidade, &unidade);
                                      if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) ExigeDados(resultado, __LINE__);
                                      sigla = siglas.emplace(p.Unidade, com::SUCCEEDED(resultado) ? unidade.Sigla : "")
                                                  .first;
                                    }
                                    LinhaEstoque linha{};
                                    linha.chave = ChaveOrdem(p.Codigo);
                                    linha.codigo = p.Codigo;
                                    linha.quantidade = (temPosicao ? posicoes[proximaPosicao].second : 0) -
                                                       (venda != vendas.end() ? venda->second : 0);
                                    CopiaCortado(linha.descricao, p.Descricao);
                                    std::string unidade = sigla->second;
                                    if (p.UnidadeInterrogacao) CQMXGenerica::AdicionaInterrogacao(6, unidade);
                                    CopiaCortado(linha.unidade, unidade);
                                    linhas.push_back(linha);
                                    return true;
                                  }),
        __LINE__);
  }
  std::sort(linhas.begin(), linhas.end(),
            [](const LinhaEstoque& a, const LinhaEstoque& b) { return a.chave < b.chave; });

  const REG_FILIALPS& f = *cabecalho.filial;
  CEscritorRegistro escritor;
  if (const REG_EMISSORPS* e = cabecalho.emissora) {
    char hora[16];
    std::snprintf(hora, sizeof hora, "%06d", static_cast<int>(cabecalho.hora));
    saida.Escreve(escritor.Monta<kRegistroE1>({f.Cnpj, f.InscricaoEstadual, f.InscricaoMunicipal,
                                               cabecalho.razaoSocial, e->NumeroSerie, "ECF-IF", e->Marca, e->Modelo,
                                               cabecalho.data, hora}));
  }
  for (const auto& linha : linhas)
    saida.Escreve(escritor.Monta<kRegistroE2>({f.Cnpj, std::to_string(linha.codigo), linha.descricao, linha.unidade,
                                               linha.quantidade < 0 ? "-" : "+", linha.quantidade}));
  const int quantidade = static_cast<int>(linhas.size());
  saida.Escreve(escritor.Monta<kRegistroE9>({f.Cnpj, f.InscricaoEstadual, quantidade}));
  return quantidade;
}

}  // namespace qmx::estoque
