#include "arquivos/paf/GeradorDAVs.h"

#include <cstdio>
#include <unordered_map>

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/paf/LeiautesDAV.h"
#include "calculo/ZTCurrencyEx.h"
#include "frame/QMXGenerica.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoECSDAV.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::dav {
namespace {

// A record that no longer exists leaves its fields empty; any other
// failure ends the generation.
bool LidoOuInexistente(com::HRESULT resultado, int linha) {
  if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) return false;
  ExigeDados(resultado, linha);
  return true;
}

// The description and unit of the products of the D3 lines, read once each.
class CProdutosDAV {
 public:
  explicit CProdutosDAV(const TriploConexao& t) {
    ExigeDados(m_conexao.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  }

  struct Produto {
    std::string descricao;
    std::string unidade;
  };

  const Produto& Le(std::uint32_t codigo) {
    const auto achado = m_produtos.find(codigo);
    if (achado != m_produtos.end()) return achado->second;
    Produto produto;
    REG_PRODUTOPS registro{};
    if (LidoOuInexistente(m_conexao.LeLight(codigo, &registro), __LINE__)) {
      produto.descricao = registro.Descricao;
      produto.unidade = Unidade(registro.Unidade);
    }
    return m_produtos.emplace(codigo, std::move(produto)).first->second;
  }

 private:
  std::string Unidade(std::uint16_t codigo) {
    if (codigo == 0) return {};
    const auto achada = m_unidades.find(codigo);
    if (achada != m_unidades.end()) return achada->second;
    REG_UNIDADES_MEDIDAPS unidade{};
    const bool lida = LidoOuInexistente(m_conexao.LeUnidade(codigo, &unidade), __LINE__);
    return m_unidades.emplace(codigo, lida ? unidade.Sigla : "").first->second;
  }

  dados::CConexaoProduto m_conexao;
  std::unordered_map<std::uint32_t, Produto> m_produtos;
  std::unordered_map<std::uint16_t, std::string> m_unidades;
};

}  // namespace

char CGeradorDAVs::SituacaoTributaria(char codigo) {
  switch (codigo) {
    case 'S':
    case 'D': return 'N';
    case 'R': return 'T';
    // A missing code would end the record early: a blank keeps its place.
    case '\0': return ' ';
    default: return codigo;
  }
}

std::string CGeradorDAVs::NomeArquivo(const std::string& serie, NumeroDia dataInicial, NumeroDia dataFinal) {
  return "DAVs-" + texto::NomeArquivoSeguro(serie) + "-" + DataInvertida(dataInicial, false) + "-" +
         DataInvertida(dataFinal, false) + ".txt";
}

std::vector<REG_DAVPS> CGeradorDAVs::ListaDAVs(std::uint16_t emissora, NumeroDia dataInicial,
                                               NumeroDia dataFinal) {
  dados::CConexaoECSDAV conexao;
  ExigeDados(conexao.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto), __LINE__);
  std::vector<REG_DAVPS> davs;
  ExigeDados(conexao.PercorreDAVs(emissora, dataInicial, dataFinal,
                                  [&](const REG_DAVPS& dav, const std::vector<REG_DAV_ITEMPS>&) {
                                    davs.push_back(dav);
                                    return true;
                                  }),
             __LINE__);
  return davs;
}

std::vector<std::string> CGeradorDAVs::PecasRelatorio(const std::vector<REG_DAVPS>& davs, NumeroDia dataInicial,
                                                      NumeroDia dataFinal) {
  std::vector<std::string> pecas = {
      "\n\r",
      "                DAV Emitidos",
      "\n\r\n\r",
      "\r\n DAVs emitidos no período de " + TextoData(dataInicial, true) + " à " + TextoData(dataFinal, true) +
          "\r\n\r\n",
      "NUM.DAV  DT.EMISS  TITULO  VLR  COO CF  COO DAV\r\n",
  };
  char coos[32];
  for (const auto& dav : davs) {
    std::snprintf(coos, sizeof coos, " %6u %8u\r\n", dav.COOCupom, dav.COODAV);
    pecas.push_back(CQMXGenerica::FormataCampo(std::to_string(dav.Numero).c_str(), 13, true, false) +
                    TextoData(dav.Data, false) + " " + " Orc. " +
                    CZTCurrencyEx(true, CZTCurrencyEx::RoundHalfAwayFromZero, dav.Valor).Format() + coos);
  }
  return pecas;
}

ContagemDAV CGeradorDAVs::EscreveArquivo(const REG_FILIALPS& filial, const std::string& razaoSocial,
                                         const REG_EMISSORPS& emissora, NumeroDia dataInicial,
                                         NumeroDia dataFinal, CSaidaTemporaria& saida) {
  const TriploConexao& t = m_triplo;
  dados::CConexaoECSDAV davs;
  dados::CConexaoCFRTGrupo clientes;
  ExigeDados(davs.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  ExigeDados(clientes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  CProdutosDAV produtos(t);
  CEscritorRegistro escritor("\n");
  ContagemDAV contagem;

  saida.Escreve(escritor.Monta<kRegistroD1>({filial.Cnpj, filial.InscricaoEstadual, filial.InscricaoMunicipal,
                                             razaoSocial}));

  ExigeDados(davs.PercorreDAVs(emissora.Numero, dataInicial, dataFinal,
                               [&](const REG_DAVPS& dav, const std::vector<REG_DAV_ITEMPS>&) {
                                 ZTCFRT cliente{};
                                 if (dav.Cliente != 0 && !LidoOuInexistente(clientes.Le(dav.Cliente, &cliente), __LINE__))
                                   cliente = ZTCFRT{};
                                 saida.Escreve(escritor.Monta<kRegistroD2>(
                                     {filial.Cnpj, emissora.NumeroSerie, "ECF-IF", emissora.Marca, emissora.Modelo,
                                      dav.COODAV, std::to_string(dav.Numero), dav.Data, "ORÇAMENTO", dav.Valor.int64,
                                      dav.COOCupom, emissora.Numero, cliente.Nome, cliente.CnpjCpf}));
                                 ++contagem.linhasD2;
                                 return true;
                               }),
             __LINE__);

  ExigeDados(davs.PercorreDAVs(emissora.Numero, dataInicial, dataFinal,
                               [&](const REG_DAVPS& dav, const std::vector<REG_DAV_ITEMPS>& itens) {
                                 const std::string numero = std::to_string(dav.Numero);
                                 int sequencia = 0;
                                 for (const auto& item : itens) {
                                   const auto& produto = produtos.Le(item.Produto);
                                   const char situacao[2] = {SituacaoTributaria(item.Tributacao), '\0'};
                                   saida.Escreve(escritor.Monta<kRegistroD3>(
                                       {numero, dav.Data, ++sequencia, std::to_string(item.Produto),
                                        produto.descricao, item.Quantidade.int64, produto.unidade,
                                        item.ValorUnitario.int64, item.Desconto.int64, item.Acrescimo.int64,
                                        item.ValorTotal.int64, situacao, item.Aliquota,
                                        item.Cancelado ? "S" : "N"}));
                                   ++contagem.linhasD3;
                                 }
                                 return true;
                               }),
             __LINE__);

  saida.Escreve(escritor.Monta<kRegistroD9>({filial.Cnpj, filial.InscricaoEstadual, contagem.linhasD2,
                                             contagem.linhasD3}));
  return contagem;
}

}  // namespace qmx::dav
