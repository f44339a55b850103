#include "plataforma/dados/ConexaoGradeContabil.h"

#include <set>

#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/LeituraRegistros.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

com::HRESULT CConexaoGradeContabil::LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) {
  return LeUm("SELECT codigo, descricao, conta_debito, conta_credito FROM grade_contabil WHERE codigo = ?", {codigo},
              registro, [](const LinhaDados& l) {
                auto r = leitura::Zerado<REG_GRADE_CONTABILPS>();
                r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
                CopiaTexto(r.Descricao, l.Texto(1));
                CopiaTexto(r.ContaDebito, l.Texto(2));
                CopiaTexto(r.ContaCredito, l.Texto(3));
                return r;
              });
}

com::HRESULT CConexaoGradeContabil::TravaEmissora(std::uint16_t emissora) {
  return Executa([&](CSessaoDados& s) {
    s.Enfileira("UPDATE emissora SET numero = numero WHERE numero = ?", {emissora});
    return com::S_OK;
  });
}

com::HRESULT CConexaoGradeContabil::NovoNumeroIntegracao(std::int32_t* numero) {
  if (!numero) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    *numero = static_cast<std::int32_t>(s.ProximoNumero("integracao"));
    return com::S_OK;
  });
}

com::HRESULT CConexaoGradeContabil::GravaLancamento(const REG_CONTABILIDADEPS& l, std::uint16_t* codigo) {
  if (!codigo) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    *codigo = m_partidas.Verifica(s, l);
    if (*codigo == 0) CPartidasContabeis::Grava(s, l);
    return com::S_OK;
  });
}

com::HRESULT CConexaoGradeContabil::LeLancamentosDoMovimento(std::uint32_t movimento,
                                                            std::vector<REG_CONTABILIDADEPS>* lancamentos) {
  return LeVarios("SELECT " QMX_COLUNAS_LANCAMENTO " FROM lancamento_contabil WHERE movimento = ? ORDER BY id",
                  {movimento}, lancamentos, [](const LinhaDados& l) { return leitura::Lancamento(l); });
}

namespace {

// Which of the codes the table has, every piece of codes in one round trip.
std::set<std::int64_t> CodigosExistentes(CSessaoDados& s, const char* tabela, const std::set<std::int64_t>& codigos) {
  const std::vector<std::int64_t> lista(codigos.begin(), codigos.end());
  std::set<std::int64_t> existentes;
  LePorPedacos(
      s, lista.size(),
      [&](std::size_t primeira, std::size_t quantas) {
        const auto de = lista.begin() + static_cast<std::ptrdiff_t>(primeira);
        return LeituraDados{std::string("SELECT codigo FROM ") + tabela + " WHERE codigo IN (" +
                                ListaDeMarcadores(quantas) + ")",
                            std::vector<ParametroDados>(de, de + static_cast<std::ptrdiff_t>(quantas))};
      },
      [&](const LinhaDados& l) { existentes.insert(l.Inteiro(0)); });
  return existentes;
}

}  // namespace

com::HRESULT CConexaoGradeContabil::GravaItemLivro(const REG_LIVRO_FISCALPS& i, std::uint16_t* status) {
  std::size_t gravados = 0;
  return GravaItensLivro({i}, &gravados, status);
}

com::HRESULT CConexaoGradeContabil::GravaItensLivro(const std::vector<REG_LIVRO_FISCALPS>& itens,
                                                    std::size_t* gravados, std::uint16_t* status) {
  if (!status || !gravados) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    *gravados = 0;
    *status = 0;
    std::set<std::int64_t> pedidas, pedidos;
    for (const auto& i : itens) {
      if (i.Natureza != 0) pedidas.insert(i.Natureza);
      if (i.Produto != 0) pedidos.insert(i.Produto);
    }
    const std::set<std::int64_t> naturezas = CodigosExistentes(s, "natureza", pedidas);
    const std::set<std::int64_t> produtos = CodigosExistentes(s, "produto", pedidos);
    for (const auto& i : itens) {
      // The checks of the fiscal integration server, each with its status.
      if (m_partidas.MesBloqueado(s, i.Filial, i.Data)) *status = 2344;
      else if (i.Natureza == 0) *status = 2013;
      else if (!naturezas.count(i.Natureza)) *status = 1000;
      else if (i.Produto != 0 && !produtos.count(i.Produto)) *status = 242;
      if (*status != 0) break;
      s.Enfileira(
          "INSERT INTO livro_fiscal (id, filial, data, emissora, natureza, cfop, produto, servico, aliquota, valor, "
          "base_icms, icms, historico, chave, quantidade, unidade, situacao_tributaria, aliquota_pis, "
          "aliquota_cofins, modelo, tributacao) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {s.ProximoNumero("livro_fiscal"), i.Filial, i.Data, i.Emissora, i.Natureza, TextoParaBase(i.Cfop),
           i.Produto, i.Servico, i.Aliquota, i.Valor.int64, i.BaseICMS.int64, i.ICMS.int64,
           TextoParaBase(i.Historico), i.Chave, i.Quantidade.int64, TextoParaBase(i.Unidade),
           TextoParaBase(i.SituacaoTributaria), i.AliquotaPIS, i.AliquotaCOFINS,
           TextoParaBase(i.Modelo[0] ? i.Modelo : "2D"), std::string(1, i.Tributacao ? i.Tributacao : 'T')});
      ++*gravados;
    }
    return com::S_OK;
  });
}

com::HRESULT CConexaoGradeContabil::ExcluiIntegracao(std::int32_t fac, std::int32_t numero) {
  const char* sql = fac == kIntegracaoContabil ? "DELETE FROM lancamento_contabil WHERE chave = ?"
                    : fac == kIntegracaoFiscal ? "DELETE FROM livro_fiscal WHERE chave = ?"
                                                : nullptr;
  if (!sql) return com::E_INVALIDARG;
  return Executa([&](CSessaoDados& s) {
    s.Enfileira(sql, {numero});
    return com::S_OK;
  });
}

}  // namespace qmx::dados
