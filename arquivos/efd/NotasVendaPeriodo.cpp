#include "arquivos/efd/NotasVendaPeriodo.h"

#include "arquivos/ParticipanteDaNota.h"

#include <cstdio>

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "calculo/CY.h"
#include "calculo/Rateio.h"
#include "frame/CarimboCompilacao.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::venda {

using efd::CLinhaEFD;
using efd::Exige;

namespace {

bool Encontrou(com::HRESULT resultado, int linha) {
  if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) return false;
  Exige(resultado, linha);
  return true;
}

std::string Tres(unsigned numero) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%03u", numero);
  return texto;
}

// A rate in hundredths of a percent as the amounts' four decimals.
std::int64_t Percentual(std::uint16_t centesimos) { return static_cast<std::int64_t>(centesimos) * 100; }

// The PIS or COFINS fields of an item: CST (two digits, "01"), base, rate
// in percent with the layout's four decimals, and for CST 3 (taxed by
// quantity) the quantity (three decimals) and the rate as a value instead.
// An item without a CST has the six fields empty.
void Contribuicao(CLinhaEFD& linha, std::uint8_t cst, CY base, std::uint16_t aliquota, CY quantidade, CY valor) {
  if (cst == 0) {
    linha.Vazios(6);
    return;
  }
  char codigo[4];
  std::snprintf(codigo, sizeof codigo, "%02u", static_cast<unsigned>(cst % 100));
  linha.Texto(codigo).Valor(base.int64);
  if (cst == 3) linha.Vazio().Valor(quantidade.int64, 3).Valor(Percentual(aliquota), 4);
  else linha.Valor(Percentual(aliquota), 4).Vazios(2);
  linha.Valor(valor.int64);
}

}  // namespace

std::string CNotasVendaPeriodo::Modelo(std::uint16_t tipoDocumento) {
  const auto achado = m_modelos.find(tipoDocumento);
  if (achado != m_modelos.end()) return achado->second;
  REG_DOC_FISCAIS documento{};
  std::string modelo;
  if (Encontrou(m_documentos.GetDocFiscal(tipoDocumento, &documento), __LINE__)) modelo = documento.Modelo;
  return m_modelos.emplace(tipoDocumento, modelo).first->second;
}

const REG_NATUREZAPS* CNotasVendaPeriodo::Natureza(std::uint16_t codigo) {
  auto achado = m_naturezasLidas.find(codigo);
  if (achado == m_naturezasLidas.end()) {
    REG_NATUREZAPS natureza{};
    if (!Encontrou(m_naturezas.Le(codigo, &natureza), __LINE__)) natureza.Codigo = 0;
    else natureza.Codigo = codigo;
    achado = m_naturezasLidas.emplace(codigo, natureza).first;
  }
  return achado->second.Codigo ? &achado->second : nullptr;
}

ContadoresNotas CNotasVendaPeriodo::Escreve(NumeroDia dataInicial, NumeroDia dataFinal, CDespejoTexto& corpo) {
  ContadoresNotas n;
  const auto& t = m_triplo;
  try {
    Exige(m_servidor.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_documentos.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_condicoes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_participantes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_naturezas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    std::vector<std::uint32_t> notas;
    Exige(m_servidor.ListaNotas(m_filial, dataInicial, dataFinal, &notas), __LINE__);
    REG_NOTA_FISCALPS nota{};
    std::vector<REG_ITENS_NF_PS> itens;
    std::string texto;
    for (const auto id : notas) {
      Exige(m_servidor.LeNota(id, &nota, &itens), __LINE__);
      const std::string modelo = Modelo(nota.TipoDocumento);
      if (modelo != "01" && modelo != "1B" && modelo != "04" && modelo != "55") continue;
      // Every document goes in, with its participant as the nota was
      // issued to it (its C100 finds its 0150). A number that did not take
      // place names no participant.
      if (!(nota.Cancelada || nota.Inutilizada || nota.Denegada)) {
        ZTCFRT participante{};
        bool identificado = true;
        Exige(LeParticipanteDaNota(m_servidor, m_participantes, nota, &participante, &identificado), __LINE__);
        if (!identificado) m_semParticipante.push_back(nota.Numero);
        if (!m_c.participantes.PLookup(nota.Participante)) m_c.participantes[nota.Participante] = participante;
      }
      // A document's lines go in whole, with their counts.
      texto.clear();
      ContadoresNotas daNota;
      EscreveNota(nota, itens, modelo, texto, daNota);
      corpo.Escreve(texto);
      n.c100 += daNota.c100;
      n.c170 += daNota.c170;
      n.c190 += daNota.c190;
      n.c195 += daNota.c195;
    }
  } catch (const efd::CErroDadosEFD& erro) {
    mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, t.chaveEmpresa, "QMXVendaPeriodo", erro.Linha(),
                            QMX_CARIMBO_COMPILACAO);
  }
  return n;
}

void CNotasVendaPeriodo::EscreveNota(const REG_NOTA_FISCALPS& nota, const std::vector<REG_ITENS_NF_PS>& itens,
                                     const std::string& modelo, std::string& texto, ContadoresNotas& n) {
  const bool nfe = modelo == "55";
  // Denied (04) and voided (05) are situations of the NF-e only: another
  // model that was denied or voided did not take place, as a cancelled one.
  const int situacao = nota.Cancelada ? 2 : nota.Inutilizada ? (nfe ? 5 : 2) : nota.Denegada ? (nfe ? 4 : 2) : 0;
  char sit[8];
  std::snprintf(sit, sizeof sit, "%02d", situacao);
  if (situacao != 0) {
    // A cancelled, voided or denied number carries only what identifies it
    // (operation, issuer, model, situation, series, number, and the access
    // key but for a voided number, which never had one),
    // no items, analytic lines or observations, and pulls nothing into
    // block 0: an auditor summing C190 must not count it as a sale.
    CLinhaEFD(texto, "C100")
        .Texto("1")
        .Texto("0")
        .Vazio()
        .Texto(modelo)
        .Texto(sit)
        .Texto(nota.Serie)
        .Inteiro(nota.Numero)
        .Texto(nfe && situacao != 5 ? nota.ChaveNFe : "")
        .Vazios(20)
        .Fim();
    ++n.c100;
    return;
  }
  const char* pagamento = "2";
  if (nota.CondicaoPagamento != 0) {
    // A condition that is not registered is not known to be cash.
    REG_CONDICAO_PAGAMENTOPS condicao{};
    const bool lida = Encontrou(m_condicoes.Le(nota.CondicaoPagamento, &condicao), __LINE__);
    pagamento = lida && condicao.AVista ? "0" : "1";
  }
  CLinhaEFD(texto, "C100")
      .Texto("1")
      .Texto("0")
      .Inteiro(nota.Participante)
      .Texto(modelo)
      .Texto(sit)
      .Texto(nota.Serie)
      .Inteiro(nota.Numero)
      .Texto(nfe ? nota.ChaveNFe : "")
      .Data(nota.Data)
      .Vazio()
      .Valor(nota.ValorTotal.int64)
      .Texto(pagamento)
      .Valor(nota.Desconto.int64)
      .Valor(nota.Abatimento1.int64 + nota.Abatimento2.int64)
      .Valor(nota.ValorMercadorias.int64)
      .Inteiro(nota.IndicadorFrete)
      .Valor(nota.Frete.int64)
      .Valor(nota.Seguro.int64)
      .Valor(nota.OutrasDespesas.int64)
      .Valor(nota.BaseICMS.int64)
      .Valor(nota.ICMS.int64)
      .Valor(nota.BaseST.int64)
      .Valor(nota.ICMSST.int64)
      .Valor(nota.IPI.int64)
      .Valor(nota.PIS.int64)
      .Valor(nota.COFINS.int64)
      .Valor(nota.PISST.int64)
      .Valor(nota.COFINSST.int64)
      .Fim();
  ++n.c100;

  CMapaMFC<REG_COTEPE_CHAVE_ANALITICO, REG_COTEPE_ACUMULADOR_ANALITICO> analitico;
  unsigned produtos = 0;
  for (const auto& item : itens) produtos += item.Servico ? 0u : 1u;
  const auto desconto = [](const REG_ITENS_NF_PS& item) {
    // The unit discount has eight decimals: cut to four, then times the quantity.
    return (CY{item.DescontoUnitario / 10000} * item.Quantidade).int64;
  };
  const auto natureza = [&](const REG_ITENS_NF_PS& item) { return Natureza(item.Natureza); };
  const auto anotaNatureza = [&](const REG_NATUREZAPS& nat) {
    m_c.naturezas[std::to_string(nat.Codigo)] = nat.Descricao;
  };

  // Product items first, then services numbered after them; a missing
  // item, unit or nature ends the item lines.
  bool segue = true;
  unsigned numero = 0;
  std::int64_t servicos = 0;
  for (const auto& item : itens) servicos += item.Servico ? item.ValorItem.int64 : 0;
  for (const auto& item : itens) {
    if (!segue) break;
    if (item.Servico) continue;
    const efd::ItemLido& lido = m_c.itens.Produto(item.Codigo);
    const REG_NATUREZAPS* nat = lido.encontrado && !lido.semUnidade ? natureza(item) : nullptr;
    if (!nat) {
      segue = false;
      break;
    }
    const std::string cst(efd::SituacaoVendida(item.CST, lido));
    auto& soma = analitico[ChaveAnalitica(cst, nat->Cfop, item.AliquotaICMS)];
    soma.Operacao += item.ValorItem.int64 + item.IPI.int64 + item.ICMSST.int64;
    soma.BaseICMS += item.BaseICMS.int64;
    soma.ICMS += item.ICMS.int64;
    soma.BaseST += item.BaseST.int64;
    soma.ICMSST += item.ICMSST.int64;
    soma.ReducaoBase += item.ReducaoBase.int64;
    soma.IPI += item.IPI.int64;
    ++numero;
    if (nfe) continue;
    anotaNatureza(*nat);
    const REG_PRODUTOPS* produto = m_c.itens.produtos.PLookup(item.Codigo);
    CLinhaEFD linha(texto, "C170");
    linha.Texto(Tres(numero))
        .Texto("P" + std::to_string(item.Codigo))
        .Texto(item.Descricao)
        .Valor(item.Quantidade.int64, 5)
        .Texto(lido.unidade)
        .Valor(item.ValorItem.int64)
        .Valor(desconto(item))
        .Inteiro(item.IndicadorMovimento)
        .Texto(cst)
        .Cfop(nat->Cfop)
        .Inteiro(nat->Codigo)
        .Valor(item.BaseICMS.int64)
        .ValorCortado(Percentual(item.AliquotaICMS), 2, 6)
        .Valor(item.ICMS.int64)
        .Valor(item.BaseST.int64)
        .ValorCortado(Percentual(item.AliquotaST), 2, 6)
        .Valor(item.ICMSST.int64)
        .Inteiro(produto ? produto->ApuracaoIPI : 0)
        .Texto(produto ? produto->CstIPI : "")
        .Vazio()
        .Valor(item.BaseIPI.int64)
        .ValorCortado(Percentual(item.AliquotaIPI), 2, 6)
        .Valor(item.IPI.int64);
    Contribuicao(linha, item.CstPIS, item.BasePIS, item.AliquotaPIS, item.Quantidade, item.PIS);
    Contribuicao(linha, item.CstCOFINS, item.BaseCOFINS, item.AliquotaCOFINS, item.Quantidade, item.COFINS);
    linha.Vazio().Fim();
    ++n.c170;
  }
  numero = produtos;
  for (const auto& item : itens) {
    if (!segue || nfe) break;
    if (!item.Servico) continue;
    const efd::ItemLido& lido = m_c.itens.Servico(item.Codigo);
    const REG_NATUREZAPS* nat = lido.encontrado && !lido.semUnidade ? natureza(item) : nullptr;
    if (!nat) break;
    anotaNatureza(*nat);
    CLinhaEFD linha(texto, "C170");
    linha.Texto(Tres(++numero))
        .Texto("S" + std::to_string(item.Codigo))
        .Texto(item.Descricao)
        .Valor(item.Quantidade.int64, 5)
        .Texto(lido.unidade)
        .Valor(item.ValorItem.int64)
        .Valor(desconto(item))
        .Texto("1")
        .Texto(efd::kSituacaoServicoISS)
        .Cfop(nat->Cfop)
        .Inteiro(nat->Codigo)
        .Vazios(12);
    Contribuicao(linha, item.CstPIS, item.BasePIS, item.AliquotaPIS, item.Quantidade, item.PIS);
    Contribuicao(linha, item.CstCOFINS, item.BaseCOFINS, item.AliquotaCOFINS, item.Quantidade, item.COFINS);
    linha.Vazio().Fim();
    ++n.c170;
  }

  // The operation value of each analytic line is its items' value, IPI and
  // ICMS ST with its share of what the nota adds or takes off as a whole
  // (freight, insurance, other expenses, discount), shared by goods value
  // and the last line taking the remainder, so that the lines add up to
  // the nota's value less its services (which are no ICMS operation).
  std::vector<std::int64_t> pesos;
  std::int64_t operacoes = 0;
  for (const auto& [chave, soma] : analitico) {
    pesos.push_back(soma.Operacao - soma.IPI - soma.ICMSST);
    operacoes += soma.Operacao;
  }
  const auto partes = Rateia(nota.ValorTotal.int64 - servicos - operacoes, pesos);
  std::size_t parte = 0;
  for (const auto& [chave, soma] : analitico) {
    CLinhaEFD(texto, "C190")
        .Texto(Tres(chave.Cst))
        .Cfop(chave.Cfop)
        .ValorCortado(Percentual(chave.Aliquota), 2, 6)
        .Valor(soma.Operacao + partes[parte++])
        .Valor(soma.BaseICMS)
        .Valor(soma.ICMS)
        .Valor(soma.BaseST)
        .Valor(soma.ICMSST)
        .Valor(soma.ReducaoBase)
        .Valor(soma.IPI)
        .Vazio()
        .Fim();
    ++n.c190;
  }

  if (nota.Observacao[0] != '\0') {
    std::string observacao = nota.Observacao;
    for (char& c : observacao)
      if (c == '\r' || c == '\n') c = ' ';
    m_c.observacoes.push_back(observacao);
    char linha[32];
    std::snprintf(linha, sizeof linha, "|C195|%u||", static_cast<unsigned>(m_c.observacoes.size()));
    texto += linha;
    texto += "\r\n";
    ++n.c195;
  }
}

}  // namespace qmx::venda
