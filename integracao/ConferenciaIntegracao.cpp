#include "integracao/ConferenciaIntegracao.h"

#include <cstdio>
#include <map>
#include <set>

#include "calculo/Inteiro128.h"
#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/TransacaoDados.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx {

namespace {

using Linhas = std::vector<dados::LinhaDados>;

// The reconciliation's own reads: plain statements on the company's
// database, inside one read transaction (every figure of one instant).
class CLeitura : public dados::CConexaoDados {
 public:
  // Throws the engine's failure (CErroDados) instead of answering a code.
  Linhas Consulta(const std::string& sql, const std::vector<dados::ParametroDados>& parametros) {
    Linhas linhas;
    const com::HRESULT r = Executa([&](dados::CSessaoDados& s) {
      linhas = s.Consulta(sql, parametros);
      return com::S_OK;
    });
    if (com::FAILED(r)) throw dados::CErroDados(r, "leitura da conferência");
    return linhas;
  }
  std::int64_t Numero(const std::string& sql, const std::vector<dados::ParametroDados>& parametros) {
    const auto linhas = Consulta(sql, parametros);
    return linhas.empty() ? 0 : linhas.front().Inteiro(0);
  }
};

std::string Percentual(std::int64_t centesimos) {
  char texto[24];
  std::snprintf(texto, sizeof texto, "%lld,%02lld%%", static_cast<long long>(centesimos / 100),
                static_cast<long long>(centesimos % 100));
  return texto;
}

std::string Quantidade(std::int64_t quatro) {
  char texto[32];
  const long long q = quatro < 0 ? -quatro : quatro;
  std::snprintf(texto, sizeof texto, "%s%lld,%03lld", quatro < 0 ? "-" : "", q / 10000, q % 10000 / 10);
  return texto;
}

// ICMS as the SPED extract states it for a base: the rate's part to four
// decimals, a half to the even, and the cents of that (worked in cents and
// hundredths of a percent: base x rate is the tax in millionths of a real).
std::int64_t ICMSDoExtrato(std::int64_t base, std::int64_t aliquota) {
  const Inteiro128 milionesimos = static_cast<Inteiro128>(base / 100) * aliquota;
  Inteiro128 decimosMilesimos = milionesimos / 100;
  const Inteiro128 sobra = milionesimos % 100;
  if (sobra > 50 || (sobra == 50 && decimosMilesimos % 2 == 1)) ++decimosMilesimos;
  return static_cast<std::int64_t>(decimosMilesimos / 100 * 10000 / 100);
}

struct Cupom {
  std::uint32_t coo = 0;
  bool cancelado = false;
  bool nota = false;
  bool aPrazo = false;
};

}  // namespace

bool CConferenciaIntegracao::Resultado::Confere() const {
  if (!lido || !problemas.empty()) return false;
  for (const auto& c : comparacoes)
    if (!c.Confere()) return false;
  return true;
}

CConferenciaIntegracao::Resultado CConferenciaIntegracao::Confere(NumeroDia data, std::uint16_t ecf) const {
  Resultado r;
  dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  CLeitura l;
  if (com::FAILED(l.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto))) {
    r.erro = "não foi possível abrir a base de dados da empresa";
    return r;
  }
  auto compara = [&](const std::string& grupo, const std::string& item, std::int64_t fonte, std::int64_t livros) {
    r.comparacoes.push_back({grupo, item, fonte, livros});
  };
  try {
    const Linhas emissora = l.Consulta(
        "SELECT filial, conta_caixa, conta_transitoria_vendas FROM emissora WHERE numero = ?",
        {ecf});
    if (emissora.empty()) {
      r.erro = "o ECF " + std::to_string(ecf) + " não está no Cadastro de ECFs";
      return r;
    }
    const std::int64_t filial = emissora.front().Inteiro(0);
    const std::string caixa = emissora.front().Texto(1);
    const std::string transitoria = emissora.front().Texto(2);
    r.lido = true;

    // The day's integrations, by module.
    std::map<std::string, std::vector<std::int64_t>> chaves;
    for (const auto& k : l.Consulta("SELECT modulo, cod FROM chave_integracao WHERE data = ? AND emissora = ?",
                                    {data, ecf}))
      chaves[k.Texto(0)].push_back(k.Inteiro(1));
    auto integrado = [&](const char* modulo) { return chaves.count(modulo) != 0; };
    const std::string chavesDe = "SELECT cod FROM chave_integracao WHERE modulo = ? AND data = ? AND emissora = ?";

    // The day's cupons (and consumer notas), with what makes a sale on
    // credit: installments, or a payment condition that is not cash.
    std::map<std::int64_t, Cupom> cupons;
    for (const auto& c : l.Consulta(
             "SELECT c.id, c.coo, c.cancelado, c.status, "
             "(SELECT COUNT(*) FROM cupom_parcela p WHERE p.cupom = c.id) + "
             "(SELECT COUNT(*) FROM condicao_pagamento k WHERE k.codigo = c.condicao_pagamento AND k.a_vista = 0) "
             "FROM cupom c WHERE c.emissora = ? AND c.data = ?",
             {ecf, data}))
      cupons[c.Inteiro(0)] = {static_cast<std::uint32_t>(c.Inteiro(1)), c.Inteiro(2) != 0, c.Inteiro(3) == 4,
                              c.Inteiro(4) != 0};
    if (cupons.empty()) return r;
    bool emitiuCupom = false;
    for (const auto& [id, c] : cupons) emitiuCupom |= !c.nota;
    for (const char* modulo : {"CN", "EF", "FN"})
      if (!integrado(modulo))
        r.problemas.push_back(std::string("o dia não foi integrado com ") +
                              (modulo[0] == 'C' ? "a contabilidade" : modulo[0] == 'E' ? "o fiscal" : "o financeiro"));

    // ----- the fiscal book is the Z reduction -----
    const Linhas z = l.Consulta(
        "SELECT substituicao, isento, nao_tributado FROM reducao_z WHERE emissora = ? AND data = ?", {ecf, data});
    if (z.empty() && emitiuCupom) r.problemas.push_back("o ECF não tem a redução Z do dia");
    if (integrado("EF")) {
      // (letter, rate) -> value and ICMS, of the Z and of the book.
      std::map<std::pair<std::string, std::int64_t>, std::int64_t> reducao;
      std::map<std::pair<std::string, std::int64_t>, std::pair<std::int64_t, std::int64_t>> livro;
      std::int64_t notas = 0, livroNotas = 0;
      if (!z.empty()) {
        for (const auto& a : l.Consulta("SELECT tipo, aliquota, SUM(valor) FROM reducao_z_aliquota WHERE emissora = ? "
                                        "AND data = ? GROUP BY tipo, aliquota",
                                        {ecf, data}))
          if (a.Inteiro(2) != 0) reducao[{a.Texto(0), a.Inteiro(1)}] += a.Inteiro(2);
        const char* letras[] = {"F", "I", "N"};
        for (int i = 0; i < 3; ++i)
          if (z.front().Inteiro(static_cast<std::size_t>(i)) != 0) reducao[{letras[i], 0}] = z.front().Inteiro(static_cast<std::size_t>(i));
      }
      for (const auto& b : l.Consulta(
               "SELECT modelo, tributacao, aliquota, SUM(valor), SUM(icms) FROM livro_fiscal WHERE chave IN (" +
                   chavesDe + ") GROUP BY modelo, tributacao, aliquota",
               {"EF", data, ecf})) {
        if (b.Texto(0) == "02") {
          livroNotas += b.Inteiro(3);
          continue;
        }
        const std::string letra = b.Texto(1);
        auto& soma = livro[{letra, letra == "T" || letra == "S" ? b.Inteiro(2) : 0}];
        soma.first += b.Inteiro(3);
        soma.second += b.Inteiro(4);
      }
      std::set<std::pair<std::string, std::int64_t>> chavesLivro;
      for (const auto& [k, v] : reducao) chavesLivro.insert(k);
      for (const auto& [k, v] : livro) chavesLivro.insert(k);
      for (const auto& k : chavesLivro) {
        const std::int64_t valorZ = reducao.count(k) ? reducao.at(k) : 0;
        const auto somaLivro = livro.count(k) ? livro.at(k) : std::pair<std::int64_t, std::int64_t>{0, 0};
        const std::string item = k.first == "T" || k.first == "S" ? k.first + " " + Percentual(k.second) : k.first;
        compara("livro fiscal × redução Z", item, valorZ, somaLivro.first);
        if (k.first == "T")
          compara("livro fiscal × redução Z", "ICMS " + Percentual(k.second), ICMSDoExtrato(valorZ, k.second),
                  somaLivro.second);
      }
      notas = l.Numero(
          "SELECT COALESCE(SUM(i.valor_total), 0) FROM cupom c JOIN cupom_item i ON i.cupom = c.id WHERE "
          "c.emissora = ? AND c.data = ? AND c.status = 4 AND c.cancelado = 0 AND i.cancelado = 0",
          {ecf, data});
      if (notas || livroNotas) compara("livro fiscal × notas de consumidor", "modelo 02", notas, livroNotas);
    }

    // ----- the payments, the drawer and the receivables -----
    std::set<std::int64_t> dinheiro;
    for (const auto& f : l.Consulta("SELECT codigo FROM forma_pagamento WHERE conta_entrada_fn = ? AND "
                                    "conta_entrada_fn <> ''",
                                    {caixa}))
      dinheiro.insert(f.Inteiro(0));
    std::map<std::int64_t, std::string> nomes;
    for (const auto& f : l.Consulta("SELECT codigo, nome FROM forma_pagamento", {}))
      nomes[f.Inteiro(0)] = texto::DeUtf8(f.Texto(1));
    // Per means, what the cupons received once the printer's deductions
    // (codes 250 and up) are taken from the money, the last money payment
    // first, then from the other payments from the last one back.
    std::map<std::int64_t, std::int64_t> recebido;
    std::int64_t dinheiroRecebido = 0, troco = 0, contravales = 0, arredondamentos = 0;
    {
      std::map<std::int64_t, std::vector<std::pair<std::int64_t, std::int64_t>>> porCupom;  // forma, valor
      for (const auto& p : l.Consulta(
               "SELECT p.cupom, p.forma, p.valor FROM cupom_pagamento p JOIN cupom c ON c.id = p.cupom WHERE "
               "c.emissora = ? AND c.data = ? AND c.cancelado = 0 ORDER BY p.cupom, p.sequencia",
               {ecf, data}))
        porCupom[p.Inteiro(0)].emplace_back(p.Inteiro(1), p.Inteiro(2));
      for (auto& [cupom, pagamentos] : porCupom) {
        std::int64_t deducoes = 0;
        for (const auto& [forma, valor] : pagamentos) {
          if (forma < 250) {
            if (dinheiro.count(forma)) dinheiroRecebido += valor;
            continue;
          }
          deducoes += valor;
          if (forma == 255) troco += valor;
          if (forma == 252) contravales += valor;
          if (forma == 253) arredondamentos += valor;
        }
        for (int vez = 0; vez < 2; ++vez)
          for (auto p = pagamentos.rbegin(); p != pagamentos.rend() && deducoes > 0; ++p) {
            if (p->first == 0 || p->first >= 250 || (dinheiro.count(p->first) != 0) != (vez == 0)) continue;
            const std::int64_t tirado = std::min(deducoes, p->second);
            p->second -= tirado;
            deducoes -= tirado;
          }
        for (const auto& [forma, valor] : pagamentos)
          if (forma != 0 && forma < 250 && valor != 0) recebido[forma] += valor;
      }
    }
    std::int64_t sangrias = 0, suprimentos = 0;
    for (const auto& t : l.Consulta("SELECT codigo, valor FROM reducao_z_nao_fiscal WHERE emissora = ? AND data = ?",
                                    {ecf, data})) {
      if (t.Inteiro(0) == 253) sangrias += t.Inteiro(1);
      if (t.Inteiro(0) == 254) suprimentos += t.Inteiro(1);
    }
    if (integrado("CN") && integrado("FN")) {
      const std::int64_t gaveta = dinheiroRecebido - troco - sangrias + suprimentos;
      const std::int64_t contaCaixa = l.Numero(
          "SELECT COALESCE(SUM(CASE WHEN conta_debito = ? THEN valor ELSE 0 END), 0) - "
          "COALESCE(SUM(CASE WHEN conta_credito = ? THEN valor ELSE 0 END), 0) FROM lancamento_contabil "
          "WHERE emissora = ? AND data = ? AND (conta_debito = ? OR conta_credito = ?)",
          {caixa, caixa, ecf, data, caixa, caixa});
      compara("caixa × gaveta", "conta " + caixa, gaveta, contaCaixa);
    }
    if (integrado("FN")) {
      // The titles of the day's financial integration.
      struct Titulo {
        std::int64_t forma, valor, vencimento, liquidacao, cliente, cupom;
        std::string conta;
      };
      std::vector<Titulo> titulos;
      for (const auto& t : l.Consulta("SELECT forma, valor, vencimento, data_liquidacao, cliente, cupom, conta FROM "
                                      "titulo_receber WHERE chave IN (" +
                                          chavesDe + ")",
                                      {"FN", data, ecf}))
        titulos.push_back({t.Inteiro(0), t.Inteiro(1), t.Inteiro(2), t.Inteiro(3), t.Inteiro(4), t.Inteiro(5),
                           t.Texto(6)});
      std::map<std::int64_t, std::int64_t> porForma;
      for (const auto& t : titulos) porForma[t.forma] += t.valor;
      std::set<std::int64_t> formas;
      for (const auto& [f, v] : recebido) formas.insert(f);
      for (const auto& [f, v] : porForma) formas.insert(f);
      for (const auto f : formas)
        compara("títulos × pagamentos", nomes.count(f) ? nomes.at(f) : std::to_string(f),
                recebido.count(f) ? recebido.at(f) : 0, porForma.count(f) ? porForma.at(f) : 0);
      int semCliente = 0, naoLiquidados = 0, liquidadosSemDinheiro = 0;
      std::map<std::int64_t, bool> clientes;
      for (const auto& t : titulos) {
        if (t.cliente != 0) {
          if (!clientes.count(t.cliente))
            clientes[t.cliente] = l.Numero("SELECT COUNT(*) FROM cfrt WHERE codigo = ?", {t.cliente}) != 0;
          semCliente += !clientes.at(t.cliente);
        }
        const bool naGaveta = t.conta == caixa && t.vencimento == data;
        naoLiquidados += naGaveta && t.liquidacao != data;
        liquidadosSemDinheiro += !naGaveta && t.liquidacao != 0;
      }
      if (semCliente) r.problemas.push_back(std::to_string(semCliente) + " título(s) de cliente fora do cadastro");
      if (naoLiquidados)
        r.problemas.push_back(std::to_string(naoLiquidados) + " título(s) recebido(s) em dinheiro sem liquidação");
      if (liquidadosSemDinheiro)
        r.problemas.push_back(std::to_string(liquidadosSemDinheiro) +
                              " título(s) de cartão, cheque ou a prazo dado(s) como liquidado(s)");

      // The financial module's entries: one per title (its receivable
      // against the sale's account) but where the title is in that very
      // account, and those of the drawer.
      struct Lancamento {
        std::string debito, credito;
        std::int64_t valor;
        bool usado = false;
      };
      std::vector<Lancamento> lancamentos;
      for (const auto& e : l.Consulta("SELECT conta_debito, conta_credito, valor FROM lancamento_contabil WHERE "
                                      "origem = 'FN' AND chave IN (" +
                                          chavesDe + ")",
                                      {"FN", data, ecf}))
        lancamentos.push_back({e.Texto(0), e.Texto(1), e.Inteiro(2)});
      std::map<std::string, bool> cuponsAPrazo;  // by COO
      for (const auto& [id, c] : cupons) cuponsAPrazo[std::to_string(c.coo)] = c.aPrazo;
      int titulosSemLancamento = 0;
      for (const auto& t : titulos) {
        const auto prazo = cuponsAPrazo.find(std::to_string(t.cupom));
        const std::string& daVenda = t.cupom != 0 && prazo != cuponsAPrazo.end() && prazo->second ? transitoria : caixa;
        if (t.conta == daVenda) continue;
        bool achado = false;
        for (auto& e : lancamentos)
          if (!e.usado && e.debito == t.conta && e.credito == daVenda && e.valor == t.valor) {
            e.usado = achado = true;
            break;
          }
        titulosSemLancamento += !achado;
      }
      if (titulosSemLancamento)
        r.problemas.push_back(std::to_string(titulosSemLancamento) + " título(s) sem lançamento contábil");
      std::int64_t entradasGaveta[4] = {};  // vouchers, roundings, withdrawals, floats
      int outros = 0;
      const Linhas contasGaveta = l.Consulta(
          "SELECT conta_contravales, conta_arredondamentos, conta_tesouraria FROM emissora WHERE numero = ?", {ecf});
      const std::string contaContravales = contasGaveta.front().Texto(0);
      const std::string contaArredondamentos = contasGaveta.front().Texto(1);
      const std::string contaTesouraria = contasGaveta.front().Texto(2);
      for (const auto& e : lancamentos) {
        if (e.usado) continue;
        if (e.debito == caixa && e.credito == contaContravales) entradasGaveta[0] += e.valor;
        else if (e.debito == caixa && e.credito == contaArredondamentos) entradasGaveta[1] += e.valor;
        else if (e.debito == contaTesouraria && e.credito == caixa) entradasGaveta[2] += e.valor;
        else if (e.debito == caixa && e.credito == contaTesouraria) entradasGaveta[3] += e.valor;
        else ++outros;
      }
      if (outros) r.problemas.push_back(std::to_string(outros) + " lançamento(s) do financeiro sem título");
      const std::int64_t daGaveta[4] = {contravales, arredondamentos, sangrias, suprimentos};
      const char* nomesGaveta[4] = {"contravales emitidos", "arredondamentos de troco", "sangrias", "suprimentos"};
      for (int i = 0; i < 4; ++i)
        if (daGaveta[i] || entradasGaveta[i]) compara("gaveta", nomesGaveta[i], daGaveta[i], entradasGaveta[i]);
    }

    // ----- the sales in the accounting -----
    if (integrado("CN")) {
      const std::int64_t vendido = l.Numero(
          "SELECT COALESCE(SUM(i.valor_total), 0) FROM cupom c JOIN cupom_item i ON i.cupom = c.id WHERE "
          "c.emissora = ? AND c.data = ? AND c.cancelado = 0 AND i.cancelado = 0",
          {ecf, data});
      const std::int64_t receita = l.Numero(
          "SELECT COALESCE(SUM(valor), 0) FROM lancamento_contabil WHERE origem = 'CN' AND chave IN (" + chavesDe + ")",
          {"CN", data, ecf});
      compara("vendas × contabilidade", "receita do dia", vendido, receita);
      if (integrado("FN")) {
        const std::int64_t debitada = l.Numero(
            "SELECT COALESCE(SUM(valor), 0) FROM lancamento_contabil WHERE origem = 'CN' AND conta_debito = ? AND "
            "chave IN (" + chavesDe + ")",
            {transitoria, "CN", data, ecf});
        const std::int64_t creditada = l.Numero(
            "SELECT COALESCE(SUM(valor), 0) FROM lancamento_contabil WHERE origem = 'FN' AND conta_credito = ? AND "
            "chave IN (" + chavesDe + ")",
            {transitoria, "FN", data, ecf});
        compara("transitória de vendas", "contabilidade × financeiro", debitada,
                creditada);
      }
    }

    // ----- the stock -----
    std::map<std::pair<std::int64_t, std::int64_t>, std::int64_t> vendidos;  // (cupom, item) -> quantity out
    for (const auto& i : l.Consulta(
             "SELECT c.id, i.item, i.quantidade, c.cancelado + i.cancelado FROM cupom c JOIN cupom_item i ON "
             "i.cupom = c.id WHERE c.emissora = ? AND c.data = ? AND c.origem <> 4 AND i.servico = 0 AND "
             "i.excluido = 0",
             {ecf, data}))
      vendidos[{i.Inteiro(0), i.Inteiro(1)}] = i.Inteiro(3) ? 0 : i.Inteiro(2);
    std::map<std::pair<std::int64_t, std::int64_t>, std::int64_t> baixados;
    for (const auto& m : l.Consulta(
             "SELECT m.cupom, m.item, SUM(m.quantidade) FROM movimento_estoque m JOIN cupom c ON c.id = m.cupom "
             "WHERE c.emissora = ? AND c.data = ? GROUP BY m.cupom, m.item",
             {ecf, data}))
      baixados[{m.Inteiro(0), m.Inteiro(1)}] = -m.Inteiro(2);
    std::int64_t totalVendido = 0, totalBaixado = 0;
    int divergentes = 0;
    for (const auto& [chave, quantidade] : vendidos) {
      const std::int64_t baixado = baixados.count(chave) ? baixados.at(chave) : 0;
      totalVendido += quantidade;
      totalBaixado += baixado;
      if (quantidade != baixado && ++divergentes <= 5)
        r.problemas.push_back("estoque do Cupom Fiscal Nº " + std::to_string(cupons[chave.first].coo) + " item " +
                              std::to_string(chave.second) + ": vendido " + Quantidade(quantidade) + ", baixado " +
                              Quantidade(baixado));
    }
    if (divergentes > 5) r.problemas.push_back("e mais " + std::to_string(divergentes - 5) + " item(ns) no estoque");
    compara("estoque", "vendido × baixado (qtd.)", totalVendido, totalBaixado);
    const Linhas movimentos = l.Consulta(
        "SELECT COALESCE(SUM(m.valor), 0), COALESCE(SUM((SELECT COALESCE(SUM(e.valor), 0) FROM lancamento_contabil "
        "e WHERE e.movimento = m.id)), 0), COALESCE(SUM(CASE WHEN m.valor <> (SELECT COALESCE(SUM(e.valor), 0) FROM "
        "lancamento_contabil e WHERE e.movimento = m.id) THEN 1 ELSE 0 END), 0) FROM movimento_estoque m JOIN "
        "cupom c ON c.id = m.cupom WHERE c.emissora = ? AND c.data = ?",
        {ecf, data});
    compara("estoque", "movimentos × lançamentos", movimentos.front().Inteiro(0),
            movimentos.front().Inteiro(1));
    if (movimentos.front().Inteiro(2))
      r.problemas.push_back(std::to_string(movimentos.front().Inteiro(2)) +
                            " movimento(s) de estoque cujo lançamento não tem o seu valor");
    const std::int64_t estornosDesiguais = l.Numero(
        "SELECT COUNT(*) FROM movimento_estoque r JOIN movimento_estoque m ON m.id = r.estorno_de JOIN cupom c ON "
        "c.id = m.cupom WHERE c.emissora = ? AND c.data = ? AND (r.valor <> m.valor OR r.quantidade <> -m.quantidade)",
        {ecf, data});
    if (estornosDesiguais)
      r.problemas.push_back(std::to_string(estornosDesiguais) + " estorno(s) que não devolvem o que a baixa levou");
    // Each place's running cost holds the place's balance as of its last
    // movement: the branch's position before that day plus the place's
    // movements after the position.
    std::int64_t custoQuantidade = 0, saldoQuantidade = 0;
    int custosDivergentes = 0;
    for (const auto& s : l.Consulta(
             "SELECT s.local_estoque, s.produto, s.quantidade, s.data FROM saldo_local s WHERE s.filial = ? AND "
             "EXISTS (SELECT 1 FROM movimento_estoque m JOIN cupom c ON c.id = m.cupom WHERE c.emissora = ? AND "
             "c.data = ? AND m.local_estoque = s.local_estoque AND m.produto = s.produto)",
             {filial, ecf, data})) {
      const std::int64_t local = s.Inteiro(0), produto = s.Inteiro(1), dia = s.Inteiro(3);
      const Linhas posicao = l.Consulta(
          "SELECT data, quantidade FROM estoque_posicao WHERE filial = ? AND produto = ? AND data < ? "
          "ORDER BY data DESC LIMIT 1",
          {filial, produto, dia});
      const std::int64_t desde = posicao.empty() ? -1 : posicao.front().Inteiro(0);
      const std::int64_t saldo =
          (posicao.empty() ? 0 : posicao.front().Inteiro(1)) +
          l.Numero("SELECT COALESCE(SUM(quantidade), 0) FROM movimento_estoque WHERE filial = ? AND local_estoque = "
                   "? AND produto = ? AND data > ? AND data <= ?",
                   {filial, local, produto, desde, dia});
      custoQuantidade += s.Inteiro(2);
      saldoQuantidade += saldo;
      if (saldo != s.Inteiro(2) && ++custosDivergentes <= 5)
        r.problemas.push_back("custo médio do produto " + std::to_string(produto) + " no local " +
                              std::to_string(local) + ": " + Quantidade(s.Inteiro(2)) + " contra o saldo " +
                              Quantidade(saldo));
    }
    compara("estoque", "saldos × custo médio (qtd.)", saldoQuantidade, custoQuantidade);
  } catch (const dados::CErroDados& e) {
    r.lido = false;
    r.erro = std::string("não foi possível ler a base de dados: ") + e.what();
  }
  return r;
}

}  // namespace qmx
