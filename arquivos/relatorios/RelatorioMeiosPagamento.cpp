#include "arquivos/relatorios/RelatorioMeiosPagamento.h"

#include <map>
#include <string>
#include <vector>

#include "calculo/ZTCurrencyEx.h"
#include "frame/CarimboCompilacao.h"
#include "frame/QMXUTIL.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/impressora/ImpressoraFiscal.h"
#include "plataforma/mensagens/ZTMens.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx {

namespace {

constexpr std::uint16_t kTroco = 255;

std::string Valor(std::int64_t valor4) { return CZTCurrencyEx(true, true, CY{valor4}).Format(); }

std::string SemBrancos(const std::string& texto) {
  const auto inicio = texto.find_first_not_of(' ');
  if (inicio == std::string::npos) return {};
  return texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1);
}

void Imprime(std::string pedaco) { impressora::RelatorioGerencial(pedaco.data()); }

struct Dia {
  std::map<std::uint16_t, std::int64_t> cupons, notas;
  std::int64_t total = 0, deducao1 = 0, deducao2 = 0;
  // The same deductions of the cupons' and of the notas' payments apart:
  // each lowers the cash line of its own documents.
  std::int64_t deducaoCupons = 0, deducaoNotas = 0;
  bool temDocumentos = false;
};

}  // namespace

void CRelatorioMeiosPagamento::Imprime(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal) {
  const auto& t = m_triplo;
  const auto falha = [&](com::HRESULT resultado, int linha) {
    if (com::FAILED(resultado))
      mensagens::ZTTrataErro2(resultado, 0, 0, t.chaveEmpresa, "QMXMeiosPagamento", linha, QMX_CARIMBO_COMPILACAO);
    return com::FAILED(resultado);
  };
  std::vector<REG_FORMA_PAGAMENTOPS> formas;
  {
    dados::CConexaoFormaPagamento conexao;
    if (!falha(conexao.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__))
      falha(conexao.Lista(&formas), __LINE__);
  }

  // The documents of the period, day by day.
  std::map<NumeroDia, Dia> dias;
  const auto soma = [&](Dia& dia, bool cupom, std::uint16_t forma, std::int64_t valor) {
    dia.temDocumentos = true;
    if (valor == 0 || forma == 0) return;
    if (forma == 252 || forma == 253) dia.deducao1 += valor;
    else if (forma == kTroco) dia.deducao2 += valor;
    if (forma == 252 || forma == 253 || forma == kTroco) (cupom ? dia.deducaoCupons : dia.deducaoNotas) += valor;
    if (forma >= 250) return;
    (cupom ? dia.cupons : dia.notas)[forma] += valor;
    dia.total += valor;
  };
  if (filial != 0) {
    dados::CConexaoECSCX caixa;
    // Cupons of every ECF of the branch; a cancelled cupom received nothing,
    // and consumer notas kept with the cash data are not cupons.
    if (!falha(caixa.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__))
      falha(caixa.PercorrePagamentosFilial(filial, dataInicial, dataFinal, [&](const dados::PagamentoCupom& p) {
        if (p.status == QMX_STATUS_NOTA_CONSUMIDOR) return true;
        auto& dia = dias[p.data];
        dia.temDocumentos = true;
        if (!p.cancelado) soma(dia, true, p.forma, p.valor.int64);
        return true;
      }), __LINE__);
    dados::CConexaoServidorEC servidor;
    std::vector<std::uint32_t> notas;
    if (!falha(servidor.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__) &&
        !falha(servidor.ListaNotas(filial, dataInicial, dataFinal, &notas), __LINE__)) {
      REG_NOTA_FISCALPS nota{};
      std::vector<REG_ITENS_NF_PS> itens;
      std::vector<REG_NF_PAGAMENTOPS> pagamentos;
      for (const auto id : notas) {
        if (falha(servidor.LeNota(id, &nota, &itens), __LINE__) ||
            falha(servidor.LePagamentosNota(id, &pagamentos), __LINE__))
          break;
        auto& dia = dias[nota.Data];
        dia.temDocumentos = true;
        if (nota.Cancelada || nota.Inutilizada || nota.Denegada) continue;
        for (const auto& p : pagamentos) soma(dia, false, p.Forma, p.Valor.int64);
      }
    }
  }

  unsigned char indice = 255;
  impressora::BuscaIndiceRelatorioGerencial("MEIOS DE PAGTO", indice);
  if (indice != 255) impressora::AbreRelatorioGerencial(indice);
  ::qmx::Imprime("Periodo Solicitado: de " + TextoData(dataInicial, true) + " a " + TextoData(dataFinal, true));
  ::qmx::Imprime("\n\r");
  ::qmx::Imprime("              Meios de Pagamento");
  for (int i = 0; i < 3; ++i) ::qmx::Imprime("\n\r");

  std::map<std::uint16_t, std::int64_t> totais;
  std::int64_t total = 0, deducoes = 0;
  for (const auto& [data, dia] : dias) {
    if (!dia.temDocumentos) continue;
    const std::string dataTexto = TextoData(data, true);
    std::string texto;
    for (const auto& forma : formas) {
      const std::string nome = SemBrancos(forma.Nome);
      const bool dinheiro = nome == "DINHEIRO";
      // Change and roundings lower the cash line of the documents they came
      // with, cupons or notas, so that the day's lines add up to its sum.
      if (auto c = dia.cupons.find(forma.Codigo); c != dia.cupons.end())
        texto += dataTexto + "-" + nome + "-Cupom Fiscal-" +
                 Valor(c->second - (dinheiro ? dia.deducaoCupons : 0)) + "\n\r";
      if (auto n = dia.notas.find(forma.Codigo); n != dia.notas.end())
        texto += dataTexto + "-" + nome + "-Nota Fiscal-" + Valor(n->second - (dinheiro ? dia.deducaoNotas : 0)) +
                 "\n\r";
      std::int64_t doDia = 0;
      if (auto c = dia.cupons.find(forma.Codigo); c != dia.cupons.end()) doDia += c->second;
      if (auto n = dia.notas.find(forma.Codigo); n != dia.notas.end()) doDia += n->second;
      if (doDia) totais[forma.Codigo] += doDia;
    }
    total += dia.total;
    deducoes += dia.deducao1 + dia.deducao2;
    if (texto.empty()) continue;
    texto += "SOMA DO DIA " + dataTexto + " = " + Valor(dia.total - dia.deducao1 - dia.deducao2) + "\n\r";
    ::qmx::Imprime(texto);
  }

  ::qmx::Imprime("TOTAL DO PERIODO SOLICITADO:\n\r");
  for (const auto& forma : formas) {
    const auto achado = totais.find(forma.Codigo);
    if (achado == totais.end()) continue;
    const std::string nome = SemBrancos(forma.Nome);
    ::qmx::Imprime(nome + " - " + Valor(achado->second - (nome == "DINHEIRO" ? deducoes : 0)) + "\n\r");
  }
  ::qmx::Imprime("SOMA TOTAL - " + Valor(total - deducoes) + "\n\r");
  impressora::FechaRelatorioGerencial();
}

}  // namespace qmx
