#include "arquivos/efd/ConsumidorVendaPeriodo.h"

#include <algorithm>
#include <cstdio>

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/GeradorEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::venda {

using efd::CLinhaEFD;
using efd::Exige;

struct CConsumidorVendaPeriodo::Dia {
  NumeroDia data = 0;
  bool temDocumentos = false;
  std::uint32_t primeiro = 0, ultimo = 0;
  std::int64_t valor = 0, pis = 0, cofins = 0;
  std::vector<std::uint32_t> cancelados;
  CMapaMFC<REG_COTEPE_CHAVE_ANALITICO, REG_COTEPE_ACUMULADOR_ANALITICO> analitico;
  CMapaMFC<REG_COTEPE_CHAVE_ANALITICO, std::vector<REG_COTEPE_ACUMULADOR_ITENS>> itens;

  void Reinicia(NumeroDia novaData) {
    data = novaData;
    temDocumentos = false;
    primeiro = ultimo = 0;
    valor = pis = cofins = 0;
    cancelados.clear();
    analitico.RemoveAll();
    itens.RemoveAll();
  }
};

void CConsumidorVendaPeriodo::Acumula(Dia& dia, const REG_EC_CXPS& nota, const std::vector<REG_EC_CX_CIPS>& itens) {
  // The day's range covers every number it lists, a cancelled one whose
  // last number is missing (0) included: C310 must lie inside its C300.
  if (!dia.temDocumentos || nota.NumeroInicial < dia.primeiro) dia.primeiro = nota.NumeroInicial;
  dia.ultimo = std::max({dia.ultimo, nota.NumeroInicial, nota.NumeroFinal});
  dia.temDocumentos = true;
  if (nota.Cancelado) {
    // A range whose last number is missing (0) is its first number alone.
    const std::uint32_t ultimo = std::max(nota.NumeroInicial, nota.NumeroFinal);
    for (std::uint32_t numero = nota.NumeroInicial; numero <= ultimo && numero >= nota.NumeroInicial; ++numero)
      dia.cancelados.push_back(numero);
    return;
  }
  dia.valor += nota.Total.int64;
  for (const auto& item : itens) {
    if (item.Cancelado) continue;
    const bool servico = item.Servico != 0;
    const efd::ItemLido& lido = servico ? m_c.itens.Servico(item.Codigo) : m_c.itens.Produto(item.Codigo);
    const efd::PisCofins pc = efd::CItensEFD::Calcula(lido, servico, item.ValorTotal.int64, nota.Data);
    const std::string& cfop = servico                        ? m_cfops.servico
                              : item.TipoTributacao == 'F'   ? m_cfops.substituicao
                              : lido.producao                ? m_cfops.producao
                                                             : m_cfops.venda;
    const auto chave = ChaveAnalitica(std::string(servico ? efd::kSituacaoServicoISS : efd::SituacaoVendida(item.CST, lido)),
                                      cfop, servico ? 0 : item.AliquotaCentesimos);
    const bool tributado = !servico && item.TipoTributacao == 'T' && item.AliquotaCentesimos != 0;
    const std::int64_t base = tributado ? item.ValorTotal.int64 : 0;
    const std::int64_t icms = efd::ParteDoValor(base, item.AliquotaCentesimos);
    auto& soma = dia.analitico[chave];
    soma.Operacao += item.ValorTotal.int64;
    soma.BaseICMS += base;
    soma.ICMS += icms;
    // The same item sold in several notas of the day is one line.
    auto& lista = dia.itens[chave];
    auto achado = std::find_if(lista.begin(), lista.end(), [&](const REG_COTEPE_ACUMULADOR_ITENS& i) {
      return i.Codigo == item.Codigo && i.Servico == servico;
    });
    if (achado == lista.end()) {
      REG_COTEPE_ACUMULADOR_ITENS novo;
      novo.Codigo = item.Codigo;
      novo.Servico = servico;
      novo.Unidade = lido.unidade;
      achado = lista.insert(lista.end(), novo);
    }
    achado->Quantidade += item.Quantidade.int64;
    achado->Valor += item.ValorTotal.int64;
    achado->Desconto += item.Desconto.int64;
    achado->BaseICMS += base;
    achado->ICMS += icms;
    achado->PIS += pc.pis;
    achado->COFINS += pc.cofins;
    dia.pis += pc.pis;
    dia.cofins += pc.cofins;
  }
}

void CConsumidorVendaPeriodo::EscreveDia(const Dia& dia, std::string& texto, ContadoresConsumidor& n) const {
  // Model 02, series U, no subseries; a last number of 0 gives the first.
  CLinhaEFD(texto, "C300")
      .Texto("02")
      .Texto("U")
      .Vazio()
      .Inteiro(dia.primeiro)
      .Inteiro(dia.ultimo ? dia.ultimo : dia.primeiro)
      .Data(dia.data)
      .Valor(dia.valor)
      .Valor(dia.pis)
      .Valor(dia.cofins)
      .Vazio()
      .Fim();
  ++n.c300;
  char linha[32];
  for (const auto numero : dia.cancelados) {
    std::snprintf(linha, sizeof linha, "|C310|%u|\r\n", numero);
    texto += linha;
    ++n.c310;
  }
  for (const auto& [chave, soma] : dia.analitico) {
    char cst[8];
    std::snprintf(cst, sizeof cst, "%03u", static_cast<unsigned>(chave.Cst));
    CLinhaEFD(texto, "C320")
        .Texto(cst)
        .Cfop(chave.Cfop)
        .ValorCortado(static_cast<std::int64_t>(chave.Aliquota) * 100, 2, 6)
        .Valor(soma.Operacao)
        .Valor(soma.BaseICMS)
        .Valor(soma.ICMS)
        .Valor(soma.ReducaoBase)
        .Vazio()
        .Fim();
    ++n.c320;
    const auto* lista = dia.itens.PLookup(chave);
    if (!lista) continue;
    for (const auto& item : *lista) {
      CLinhaEFD(texto, "C321")
          .Texto((item.Servico ? "S" : "P") + std::to_string(item.Codigo))
          .Valor(item.Quantidade, 3)
          .Texto(item.Unidade)
          .Valor(item.Valor)
          .Valor(item.Desconto)
          .Valor(item.BaseICMS)
          .Valor(item.ICMS)
          .Valor(item.PIS)
          .Valor(item.COFINS)
          .Fim();
      ++n.c321;
    }
  }
}

ContadoresConsumidor CConsumidorVendaPeriodo::Escreve(NumeroDia dataInicial, NumeroDia dataFinal,
                                                      CDespejoTexto& corpo) {
  ContadoresConsumidor n;
  const auto& t = m_triplo;
  try {
    m_cfops = efd::LeCfopsECF(t);
    dados::CConexaoECSCX caixa;
    Exige(caixa.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    // The walk goes day by day; a day is written when the next one starts.
    Dia dia;
    std::string texto;
    const auto fechaDia = [&] {
      if (!dia.temDocumentos) return;
      texto.clear();
      EscreveDia(dia, texto, n);
      corpo.Escreve(texto);
    };
    Exige(caixa.PercorreNotasConsumidor(m_filial, dataInicial, dataFinal,
                                        [&](const REG_EC_CXPS& nota, const auto& itens, const auto&) {
                                          if (nota.Data != dia.data) {
                                            fechaDia();
                                            dia.Reinicia(nota.Data);
                                          }
                                          Acumula(dia, nota, itens);
                                          return true;
                                        }),
          __LINE__);
    fechaDia();
  } catch (const efd::CErroDadosEFD& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, t.chaveEmpresa, "QMXVendaPeriodo", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
  }
  return n;
}

}  // namespace qmx::venda
