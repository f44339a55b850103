#include "cli/VariedadeDemo.h"

#include <algorithm>
#include <string>

#include "cli/CatalogoDemo.h"
#include "cli/SorteioDemo.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/dados/GravadorEmpresa.h"
#include "plataforma/dados/GravadorMovimento.h"

namespace qmx::cli {

namespace {

constexpr std::uint32_t kProdutoSoNoInventario = 9001;

}  // namespace

EscolhasVariedade EscolhasDaSemente(std::uint64_t semente) {
  Sorteio e(semente ^ 0xC0FFEE5EED5ULL);
  EscolhasVariedade r;
  r.industrial = e.Sim();
  r.simplesNacional = e.Sim();
  const auto origem = e.Proximo() % 3;
  r.origem = static_cast<char>('0' + origem);
  r.inscricaoLonga = e.Sim();
  r.faxVazio = e.Sim();
  r.contadorSoCpf = e.Sim();
  r.participanteApagado = e.Sim();
  r.produtoSoNoInventario = e.Sim();
  r.relatoriosCheque = e.Sim();
  r.descontoISSQN = e.Sim();
  r.totalizadorRepartido = e.Sim();
  r.emissorasForaDeOrdem = e.Sim();
  r.notasConsumidorForaDeOrdem = e.Sim();
  r.notasConsumidorComDesconto = e.Sim();
  r.itemDuasAliquotas = e.Sim();
  r.produtoSemUnidade = e.Sim();
  r.entradaComParcelas = e.Sim();
  r.ultimoCupomCancelado = e.Sim();
  r.quantidadeMinima = e.Sim();
  r.tributacaoMudouDepois = e.Sim();
  r.produtoApagado = e.Sim();
  r.diaSemVenda = e.Sim();
  return r;
}

std::uint16_t NumeroEmissora(const OpcoesDemo& opcoes, int ordem) {
  if (ordem <= 1 || !opcoes.variedade || !EscolhasDaSemente(opcoes.variedade).emissorasForaDeOrdem)
    return static_cast<std::uint16_t>(ordem);
  // Multiplying by 37 modulo 97 sends 2..96 to distinct numbers, in no
  // order.
  return static_cast<std::uint16_t>(ordem * 37 % 97 + 2);
}

void AplicaVariedade(dados::CGravadorEmpresa& gravador, const CadastrosDemo& cadastros, const OpcoesDemo& opcoes) {
  const EscolhasVariedade v = EscolhasDaSemente(opcoes.variedade);
  auto& sessao = gravador.Sessao();
  gravador.Inicia();
  sessao.Executa("UPDATE filial SET industrial = ? WHERE numero = 1", {v.industrial ? 1 : 0});
  if (v.inscricaoLonga)
    sessao.Executa("UPDATE filial SET inscricao_estadual = '110.042.490.114' WHERE numero = 1", {});
  if (v.faxVazio) sessao.Executa("UPDATE filial SET fax = '' WHERE numero = 1", {});
  if (v.contadorSoCpf) sessao.Executa("UPDATE filial SET contador_cnpj = '' WHERE numero = 1", {});

  // The tax situations of branch 1: CSOSN in the Simples Nacional (by the
  // kind of taxation), else the CST with the origin drawn.
  for (const auto& linha : sessao.Consulta(
           "SELECT produto, situacao_tributaria, tributacao FROM produto_filial WHERE filial = 1", {})) {
    const std::string cst = linha.Texto(1);
    const std::string letra = linha.Texto(2);
    std::string nova;
    if (v.simplesNacional)
      nova = letra == "F" ? "500" : letra == "T" ? "102" : "300";
    else if (cst.size() == 3)
      nova = std::string(1, v.origem) + cst.substr(1);
    if (nova.empty()) continue;
    // The branch always sold so: its documents' items say the same.
    sessao.Executa("UPDATE produto_filial SET situacao_tributaria = ? WHERE produto = ? AND filial = 1",
                   {nova, linha.Inteiro(0)});
    sessao.Executa("UPDATE cupom_item SET cst = ? WHERE codigo = ? AND servico = 0 AND cst = ? AND cupom IN "
                   "(SELECT id FROM cupom WHERE filial = 1)",
                   {nova, linha.Inteiro(0), cst});
    sessao.Executa("UPDATE nota_fiscal_item SET cst = ? WHERE codigo = ? AND servico = 0 AND cst = ? AND nota IN "
                   "(SELECT id FROM nota_fiscal WHERE filial = 1)",
                   {nova, linha.Inteiro(0), cst});
  }

  // A customer of a nota of branch 1 leaves the register after it (one
  // who never bought at the tills: the receivables of a customer no longer
  // registered are refused, and the tills' days would stay unintegrated).
  if (v.participanteApagado) {
    const auto notas = sessao.Consulta(
        "SELECT participante FROM nota_fiscal n WHERE filial = 1 AND participante <> ? AND cancelada = 0 "
        "AND NOT EXISTS (SELECT 1 FROM cupom c WHERE c.cliente = n.participante) ORDER BY numero",
        {kParticipanteExcluido});
    if (!notas.empty())
      sessao.Executa("DELETE FROM cfrt WHERE codigo = ?", {notas.front().Inteiro(0)});
  }

  // A product bought for the shelf and never sold: in the inventory only.
  if (v.produtoSoNoInventario) {
    REG_PRODUTOPS p{};
    p.Codigo = kProdutoSoNoInventario;
    Copia(p.Descricao, "AZEITE EXTRA VIRGEM 500ML");
    p.Unidade = 1;
    Copia(p.NCM, "15091000");
    p.Revenda = 1;
    p.Situacao = 'A';
    p.Filial = 1;
    Copia(p.SituacaoTributaria, v.simplesNacional ? "102" : std::string(1, v.origem) + "00");
    p.Tributacao = 'T';
    p.AliquotaICMS = 1800;
    // Its stock account, as every good of the catalogue has (the
    // inventory's H010 names it).
    Copia(p.ContaEstoque, "1.1.03.001");
    dados::CGravadorCatalogo(sessao).GravaProduto(p);
    dados::CGravadorMovimento(sessao).GravaSaldoInventario(
        {1, opcoes.mes.Ultimo(), kProdutoSoNoInventario, CY{12 * 10000}, CY{2350 * 100}, CY{12 * 2350 * 100}});
  }

  // A product branch 1 sold lost its unit in the register.
  if (v.produtoSemUnidade) {
    const auto vendido = sessao.Consulta(
        "SELECT MIN(i.codigo) FROM cupom_item i JOIN cupom c ON c.id = i.cupom WHERE c.filial = 1 AND i.servico = 0",
        {});
    if (!vendido.empty() && !vendido.front().Nulo(0)) {
      sessao.Executa("UPDATE produto SET unidade = 0 WHERE codigo = ?", {vendido.front().Inteiro(0)});
      sessao.Executa("UPDATE cupom_item SET unidade = 0 WHERE codigo = ? AND servico = 0", {vendido.front().Inteiro(0)});
      sessao.Executa("UPDATE nota_fiscal_item SET unidade = 0 WHERE codigo = ? AND servico = 0",
                     {vendido.front().Inteiro(0)});
    }
  }

  // Every other card sale on installments of branch 1 took a quarter in
  // cash first: the card and its last installment carry that much less.
  if (v.entradaComParcelas) {
    const auto vendas = sessao.Consulta(
        "SELECT p.cupom, p.sequencia, p.valor FROM cupom_pagamento p JOIN cupom c ON c.id = p.cupom "
        "WHERE c.filial = 1 AND c.cancelado = 0 AND p.forma = ? "
        "AND EXISTS (SELECT 1 FROM cupom_parcela x WHERE x.cupom = p.cupom) ORDER BY p.cupom",
        {kFormaCartaoCredito});
    for (std::size_t i = 0; i < vendas.size(); i += 2) {
      const std::int64_t cupom = vendas[i].Inteiro(0);
      const std::int64_t entrada = vendas[i].Inteiro(2) / 4 / 100 * 100;
      const auto ultima = sessao.Consulta(
          "SELECT sequencia, valor FROM cupom_parcela WHERE cupom = ? ORDER BY sequencia DESC", {cupom});
      if (entrada == 0 || ultima.empty() || ultima.front().Inteiro(1) <= entrada) continue;
      // The cash is keyed first: the other payments move one place on
      // (in two steps, so that no two share a place on the way).
      sessao.Executa("UPDATE cupom_pagamento SET valor = valor - ? WHERE cupom = ? AND sequencia = ?",
                     {entrada, cupom, vendas[i].Inteiro(1)});
      sessao.Executa("UPDATE cupom_pagamento SET sequencia = sequencia + 1000 WHERE cupom = ?", {cupom});
      sessao.Executa("UPDATE cupom_pagamento SET sequencia = sequencia - 999 WHERE cupom = ?", {cupom});
      sessao.Executa("INSERT INTO cupom_pagamento (cupom, sequencia, forma, valor, gnf) VALUES (?, 1, ?, ?, 0)",
                     {cupom, kFormaDinheiro, entrada});
      sessao.Executa("UPDATE cupom_parcela SET valor = valor - ? WHERE cupom = ? AND sequencia = ?",
                     {entrada, cupom, ultima.front().Inteiro(0)});
    }
  }

  // A taxed product branch 1 sold went into tax substitution afterwards.
  if (v.tributacaoMudouDepois) {
    const auto vendido = sessao.Consulta(
        "SELECT MIN(i.codigo) FROM cupom_item i JOIN cupom c ON c.id = i.cupom WHERE c.filial = 1 AND "
        "i.servico = 0 AND i.tributacao = 'T'",
        {});
    if (!vendido.empty() && !vendido.front().Nulo(0))
      sessao.Executa("UPDATE produto_filial SET tributacao = 'F', aliquota_icms = 0, situacao_tributaria = "
                     "SUBSTR(situacao_tributaria, 1, 1) || '60' WHERE produto = ? AND filial = 1",
                     {vendido.front().Inteiro(0)});
  }

  // A product branch 1 sold by nota only, deleted from the register by
  // another program after the month (without the check of documents).
  if (v.produtoApagado) {
    const auto soNota = sessao.Consulta(
        "SELECT MIN(i.codigo) FROM nota_fiscal_item i JOIN nota_fiscal n ON n.id = i.nota WHERE n.filial = 1 AND "
        "i.servico = 0 AND NOT EXISTS (SELECT 1 FROM cupom_item c WHERE c.codigo = i.codigo AND c.servico = 0) AND "
        "NOT EXISTS (SELECT 1 FROM estoque_inventario e WHERE e.produto = i.codigo)",
        {});
    if (!soNota.empty() && !soNota.front().Nulo(0))
      sessao.Executa("DELETE FROM produto WHERE codigo = ?", {soNota.front().Inteiro(0)});
  }

  // Management reports logged as the cheque withdrawals' and the DAVs'.
  if (v.relatoriosCheque) {
    const auto relatorios =
        sessao.Consulta("SELECT emissora, coo FROM documento_ecf WHERE tipo = 6 ORDER BY emissora, coo", {});
    for (std::size_t i = 0; i < relatorios.size(); ++i)
      if (i % 3 != 0)
        sessao.Executa("UPDATE documento_ecf SET tipo = ? WHERE emissora = ? AND coo = ?",
                       {i % 3 == 1 ? 13 : 14, relatorios[i].Inteiro(0), relatorios[i].Inteiro(1)});
  }
  sessao.Executa("UPDATE mestre_ec SET desconto_issqn = ?", {v.descontoISSQN ? 1 : 0});

  // An ECF with a second position of a rate it already has: one day's
  // total of that rate is split between the two.
  if (v.totalizadorRepartido && !cadastros.emissoras.empty()) {
    const auto& e = cadastros.emissoras.front();
    const auto z = sessao.Consulta(
        "SELECT r.data, r.posicao, r.tipo, r.aliquota, r.valor FROM reducao_z_aliquota r WHERE r.emissora = ? "
        "AND r.tipo = 'T' AND r.valor >= 20000 ORDER BY r.data, r.posicao",
        {e.numero});
    if (!z.empty()) {
      const auto tabela = sessao.Consulta("SELECT tabela_aliquotas FROM emissora WHERE numero = ?", {e.numero});
      std::int64_t posicao = 0;
      for (const auto& a : e.aliquotas) posicao = std::max<std::int64_t>(posicao, a.Posicao);
      ++posicao;
      sessao.Executa("INSERT INTO emissora_aliquota (tabela, posicao, tipo, aliquota) VALUES (?, ?, 'T', ?)",
                     {tabela.front().Inteiro(0), posicao, z.front().Inteiro(3)});
      const std::int64_t metade = z.front().Inteiro(4) / 200 * 100;
      sessao.Executa("UPDATE reducao_z_aliquota SET valor = valor - ? WHERE emissora = ? AND data = ? AND posicao = ?",
                     {metade, e.numero, z.front().Inteiro(0), z.front().Inteiro(1)});
      sessao.Executa(
          "INSERT INTO reducao_z_aliquota (emissora, data, posicao, tipo, aliquota, valor) VALUES (?, ?, ?, 'T', ?, ?)",
          {e.numero, z.front().Inteiro(0), posicao, z.front().Inteiro(3), metade});
    }
  }
  gravador.Confirma();
}

}  // namespace qmx::cli
