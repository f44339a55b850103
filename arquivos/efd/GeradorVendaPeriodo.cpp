#include "arquivos/efd/GeradorVendaPeriodo.h"

#include <map>
#include <vector>

#include "arquivos/efd/ConsumidorVendaPeriodo.h"
#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "arquivos/efd/NotasVendaPeriodo.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/arquivos/ArquivoTexto.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/ConexaoMovimento.h"
#include "plataforma/dados/ConexaoPlano.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::venda {

using efd::CLinhaEFD;
using efd::Exige;

CGeradorVendaPeriodo::CGeradorVendaPeriodo(const TriploConexao& triplo, const FiltroVenda& filtro,
                                           efd::CGeradorEFD& ecf)
    : m_triplo(triplo), m_filtro(filtro), m_ecf(ecf), m_colecoes(triplo, filtro.filial) {}

// The extract's items join ours; a key both have takes the extract's record.
void CGeradorVendaPeriodo::CopiaItensDoExtrato() {
  auto& deles = m_ecf.Itens();
  auto& nossos = m_colecoes.itens;
  for (const auto& [codigo, registro] : deles.produtos) nossos.produtos.SetAt(codigo, registro);
  for (const auto& [codigo, registro] : deles.servicos) nossos.servicos.SetAt(codigo, registro);
  for (const auto& [codigo, registro] : deles.unidades) nossos.unidades.SetAt(codigo, registro);
  for (const auto& [codigo, registro] : deles.unidadesServico) nossos.unidadesServico.SetAt(codigo, registro);
}

// The inventory at the final date: an H010 per balance of a positive
// quantity of a product that can be read, and H005 with the sum of those
// lines (the tax office's program checks that they agree), when above zero.
// Each product joins block 0's items, so that it has its 0200 and its unit
// its 0190 even when it was not sold in the period. Its account is the
// product's stock account: the inventory is an asset, not a sale.
std::string CGeradorVendaPeriodo::BlocoH(std::uint32_t& linhas005, std::uint32_t& linhas010) {
  linhas005 = linhas010 = 0;
  std::string texto;
  const auto& t = m_triplo;
  try {
    dados::CConexaoMovimento estoque;
    dados::CConexaoPlano plano;
    Exige(estoque.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(plano.Inicializa(t.chaveEmpresa, t.usuario, t.contexto, 0, 0), __LINE__);
    std::vector<REG_ES_SALDOS_INVENTARIOPS> saldos;
    Exige(estoque.PercorreSaldosInventario(m_filtro.filial, m_filtro.dataFinal,
                                           [&](const REG_ES_SALDOS_INVENTARIOPS& s) {
                                             saldos.push_back(s);
                                             return true;
                                           }),
          __LINE__);
    // An inventory of no value has no lines, and its products stay out of
    // block 0: a 0200 that nothing in the file names is refused.
    std::int64_t previsto = 0;
    for (const auto& s : saldos)
      if (s.Quantidade.int64 > 0) previsto += s.ValorTotal.int64;
    if (previsto <= 0) return texto;
    std::string linhas;
    std::int64_t soma = 0;
    for (const auto& s : saldos) {
      if (s.Quantidade.int64 <= 0) continue;
      const efd::ItemLido& lido = m_colecoes.itens.Produto(s.Produto);
      if (!lido.encontrado) continue;
      const REG_PRODUTOPS* produto = m_colecoes.itens.produtos.PLookup(s.Produto);
      std::string conta;
      if (produto && produto->ContaEstoque[0] != '\0') {
        REG_PLANO_CONTAPS registro{};
        const auto r = plano.Le(produto->ContaEstoque, &registro);
        if (r != dados::QMX_E_REGISTRO_INEXISTENTE) {
          Exige(r, __LINE__);
          conta = registro.Codigo;
        }
      }
      CLinhaEFD(linhas, "H010")
          .Texto("P" + std::to_string(s.Produto))
          .Texto(lido.unidade)
          .Valor(s.Quantidade.int64, 3)
          .Valor(s.ValorUnitario.int64, 6)
          .Valor(s.ValorTotal.int64)
          .Texto("0")
          .Vazios(2)
          .Texto(conta)
          .Fim();
      ++linhas010;
      soma += s.ValorTotal.int64;
    }
    if (soma <= 0) {
      linhas010 = 0;
      return texto;
    }
    CLinhaEFD(texto, "H005").Data(m_filtro.dataFinal).Valor(soma).Texto("01").Fim();
    linhas005 = 1;
    texto += linhas;
  } catch (const efd::CErroDadosEFD& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, t.chaveEmpresa, "QMXVendaPeriodo", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
    linhas005 = linhas010 = 0;
    texto.clear();
  }
  return texto;
}

bool CGeradorVendaPeriodo::Gera(const std::string& caminho, const CArquivoTexto::AntesDeGuardar& antesDeGuardar) {
  CContagemRegistros& contagem = m_contagem;
  std::uint32_t linhasC = 0;
  const auto conta = [&](std::uint32_t n, const char* registro, std::uint32_t& soma) {
    contagem.Acrescenta(n, registro);
    soma += n;
  };

  // Block C: the notas, the consumer notas (profile B) and the ECF group.
  CDespejoTexto corpoC("C100");
  CNotasVendaPeriodo escritorNotas(m_triplo, m_filtro.filial, m_colecoes);
  const auto notas = escritorNotas.Escreve(m_filtro.dataInicial, m_filtro.dataFinal, corpoC);
  m_semParticipante = escritorNotas.SemParticipante();
  conta(notas.c100, "C100", linhasC);
  conta(notas.c170, "C170", linhasC);
  conta(notas.c190, "C190", linhasC);
  conta(notas.c195, "C195", linhasC);
  if (m_filtro.perfil == 'B') {
    const auto consumidor = CConsumidorVendaPeriodo(m_triplo, m_filtro.filial, m_colecoes)
                                .Escreve(m_filtro.dataInicial, m_filtro.dataFinal, corpoC);
    conta(consumidor.c300, "C300", linhasC);
    conta(consumidor.c310, "C310", linhasC);
    conta(consumidor.c320, "C320", linhasC);
    conta(consumidor.c321, "C321", linhasC);
  }
  const auto& ecf = m_ecf.Contadores();
  conta(ecf.c400, "C400", linhasC);
  conta(ecf.c405, "C405", linhasC);
  conta(ecf.c410, "C410", linhasC);
  conta(ecf.c420, "C420", linhasC);
  conta(ecf.c425, "C425", linhasC);
  conta(ecf.c460, "C460", linhasC);
  conta(ecf.c470, "C470", linhasC);
  conta(ecf.c490, "C490", linhasC);
  conta(ecf.c495, "C495", linhasC);
  const LinhasBloco blocoC = contagem.Envolve('C', linhasC);
  CopiaItensDoExtrato();

  // Blocks D, E and G have nothing of this file.
  std::string vazios;
  for (const char bloco : {'D', 'E', 'G'}) {
    const LinhasBloco b = contagem.Envolve(bloco, 0);
    vazios += b.abertura + b.fechamento;
  }

  std::uint32_t h005 = 0, h010 = 0;
  const std::string corpoH = BlocoH(h005, h010);
  contagem.Acrescenta(h005, "H005");
  contagem.Acrescenta(h010, "H010");
  const LinhasBloco blocoH = contagem.Envolve('H', h005 + h010);

  CBloco0VendaPeriodo bloco0(m_triplo, m_filtro, m_colecoes, contagem);
  std::uint32_t linhas0 = 0;
  const auto corpo0 = bloco0.Corpo(linhas0);
  if (!corpo0) return false;
  const LinhasBloco envolve0 = contagem.Envolve('0', 1 + linhas0);
  const std::string registro0000 = bloco0.Registro0000();
  contagem.Acrescenta(1, "0000");

  std::string bloco1;
  CLinhaEFD(bloco1, "1010").Texto("N").Texto("N").Texto("N").Texto("N").Texto("N").Texto("N").Texto("N").Texto("N").Texto("N").Fim();
  contagem.Acrescenta(1, "1010");
  const LinhasBloco envolve1 = contagem.Envolve('1', 1);

  CArquivoTexto arquivo;
  if (!arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria))
    throw CExcecaoArquivo(CExcecaoArquivo::acessoNegado, 0, caminho);
  // Digested as it is written: the signature does not read it back.
  if (antesDeGuardar) arquivo.DigereAoEscrever();
  arquivo.EscreverTexto(registro0000);
  arquivo.EscreverTexto(envolve0.abertura);
  arquivo.EscreverTexto(*corpo0);
  arquivo.EscreverTexto(envolve0.fechamento);
  arquivo.EscreverTexto(blocoC.abertura);
  corpoC.CopiaPara(arquivo);
  m_ecf.GrupoC400().CopiaPara(arquivo);
  arquivo.EscreverTexto(blocoC.fechamento);
  arquivo.EscreverTexto(vazios);
  arquivo.EscreverTexto(blocoH.abertura);
  arquivo.EscreverTexto(corpoH);
  arquivo.EscreverTexto(blocoH.fechamento);
  arquivo.EscreverTexto(envolve1.abertura);
  arquivo.EscreverTexto(bloco1);
  arquivo.EscreverTexto(envolve1.fechamento);
  arquivo.EscreverTexto(contagem.Bloco9());
  arquivo.Fechar(antesDeGuardar);
  return true;
}

}  // namespace qmx::venda
