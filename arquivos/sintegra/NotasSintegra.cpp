#include "arquivos/sintegra/NotasSintegra.h"

#include "arquivos/ParticipanteDaNota.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <set>
#include <tuple>

#include "arquivos/sintegra/LeiautesSintegra.h"
#include "calculo/CY.h"
#include "calculo/Rateio.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoCadastroDocumento.h"
#include "plataforma/dados/ConexaoNatureza.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::sintegra {

namespace {

// Kinds of nota whose amounts are not declared: their 50 lines carry zeros
// and they have no 54 lines.
bool SemValores(std::uint16_t codigoTipo) { return codigoTipo == 12 || codigoTipo == 30; }

// Denied (2) and voided (4) are situations of the NF-e only: any other
// model that was denied or voided did not take place, as a cancelled one.
char Situacao(const REG_NOTA_FISCALPS& n, const std::string& modelo) {
  if (n.Denegada && modelo == "55") return '2';
  if (n.Inutilizada && modelo == "55") return '4';
  if (n.Cancelada || n.Denegada || n.Inutilizada) return 'S';
  return 'N';
}

// The model of the Convênio's table for a fiscal-document model. The nota
// avulsa (the EFD's "1B") is a nota fiscal of model 1 there; the ECF's
// documents (2B, 2C, 2D) belong to the 60 family, not to 50 and 54.
std::optional<std::string> ModeloSintegra(std::string_view modelo) {
  if (modelo == "1B") return "01";
  static constexpr std::string_view kModelos[] = {"01", "02", "03", "04", "06", "07", "08", "09", "10", "11", "13", "14",
                                                  "15", "16", "17", "18", "20", "21", "22", "24", "25", "26", "27", "55", "57"};
  for (std::string_view m : kModelos)
    if (m == modelo) return std::string(m);
  return std::nullopt;
}

// Where an item's value beyond its base goes in 50: exempt or not taxed
// (CST 20, 30, 40, 41, 50 and 70: reductions, exemptions, suspensions), or
// other (substitution, deferral, others and services).
bool ParaIsentas(const char* cst) {
  const std::string_view s = cst ? std::string_view(cst) : std::string_view();
  if (s.size() < 3) return false;
  const std::string_view codigo = s.substr(1, 2);
  return codigo == "20" || codigo == "30" || codigo == "40" || codigo == "41" || codigo == "50" || codigo == "70";
}

// An export (CFOP 7xxx) is outside the ICMS by immunity: the Convênio's
// manual puts what is "amparado por isenção ou não-incidência" in field
// 14, as the Livro Registro de Saídas puts immune operations in its column
// "Isentas ou não Tributadas", not in "Outras".
bool Exportacao(const std::string& cfop) { return !cfop.empty() && cfop.front() == '7'; }

}  // namespace

const std::string& CNotasSintegra::Cfop(std::uint16_t natureza) {
  auto achado = m_cfops.find(natureza);
  if (achado != m_cfops.end()) return achado->second;
  dados::CConexaoNatureza naturezas;
  const auto& t = m_contexto.triplo;
  Exige(naturezas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  REG_NATUREZAPS registro{};
  const auto resultado = naturezas.Le(natureza, &registro);
  // A nature that no longer exists leaves the CFOP empty.
  if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(resultado, __LINE__);
  return m_cfops.emplace(natureza, registro.Cfop).first->second;
}

// Register 50 gives each CFOP and rate of a nota a line of that group's own
// values, so that the lines of a nota add up to the nota (earlier versions wrote
// the whole nota's goods value, base and tax on every line): the group's
// items' base and tax, and as total the group's goods value and its own
// items' IPI with its share of what belongs to the nota as a whole
// (freight, insurance, other expenses, less a discount on the total),
// shared in proportion to the goods value and the last group taking what
// the rounding left, so that no cent is lost. A group of services has no
// IPI of its own and takes none of the goods'.
void CNotasSintegra::Le() {
  const auto& t = m_contexto.triplo;
  const std::uint16_t filial = m_contexto.filial.Numero;
  dados::CConexaoServidorEC servidor;
  dados::CConexaoCFRT participantes;
  dados::CConexaoCadastroDocumento documentos;
  dados::CConexaoProduto produtos;
  Exige(servidor.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  Exige(participantes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  Exige(documentos.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  Exige(produtos.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  std::vector<std::uint32_t> notas;
  Exige(servidor.GetINotaFiscal()->ListaNotas(filial, m_contexto.dataInicial, m_contexto.dataFinal, &notas), __LINE__);

  auto& escritor = m_contexto.escritor;
  REG_NOTA_FISCALPS nota{};
  std::vector<REG_ITENS_NF_PS> itens;
  for (const auto id : notas) {
    Exige(servidor.LeNota(id, &nota, &itens), __LINE__);
    // No 50 and no 54 for what is no fiscal document of the Convênio.
    REG_DOC_FISCAIS modelo{};
    const auto temModelo = documentos.GetDocFiscal(nota.TipoDocumento, &modelo);
    if (temModelo != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(temModelo, __LINE__);
    const auto codigoModelo = temModelo == com::S_OK ? ModeloSintegra(modelo.Modelo) : std::nullopt;
    if (!codigoModelo) continue;
    // The participant as the nota was issued to it; every nota is written.
    ZTCFRT participante{};
    bool identificado = true;
    Exige(LeParticipanteDaNota(servidor, participantes, nota, &participante, &identificado), __LINE__);
    if (!identificado) m_semParticipante.push_back(nota.Numero);
    // A participant known by its code alone is in the state its CFOP says:
    // the branch's for an operation inside it, abroad for an export.
    std::string uf = participante.Estrangeiro ? "EX" : participante.UF;
    if (!identificado && uf.empty() && !itens.empty()) {
      const std::string& cfop = Cfop(itens.front().Natureza);
      if (!cfop.empty() && cfop.front() == '5') uf = m_contexto.filial.UF;
      if (!cfop.empty() && cfop.front() == '7') uf = "EX";
    }
    const std::string inscricao = InscricaoSintegra(participante.InscricaoEstadual);
    const char situacao[2] = {Situacao(nota, *codigoModelo), 0};
    const auto linha50 = [&](const std::string& cfop, std::int64_t total, std::int64_t base, std::int64_t icms,
                             std::int64_t isentas, std::int64_t outras, std::int64_t aliquota) {
      m_linhas50.push_back(escritor.Monta<kRegistro50>({participante.CnpjCpf, inscricao, nota.Data, uf, *codigoModelo,
                                                        nota.Serie, nota.Numero, cfop, total, base, icms, isentas,
                                                        outras, aliquota, situacao}));
    };

    // A cancelled, denied or voided number has one line, without values,
    // even when it has no items.
    if (situacao[0] != 'N') {
      linha50(itens.empty() ? m_contexto.cfopVenda : Cfop(itens.front().Natureza), 0, 0, 0, 0, 0, 0);
      continue;
    }
    struct Grupo {
      std::string cfop;
      std::uint16_t aliquota = 0;
      std::int64_t mercadorias = 0, ipi = 0, base = 0, icms = 0, isentas = 0, outras = 0;
    };
    std::vector<Grupo> grupos;
    for (const auto& item : itens) {
      const std::string& cfop = Cfop(item.Natureza);
      const std::uint16_t aliquota = item.Servico ? 0 : item.AliquotaICMS;
      auto grupo = std::find_if(grupos.begin(), grupos.end(),
                                [&](const Grupo& g) { return g.cfop == cfop && g.aliquota == aliquota; });
      if (grupo == grupos.end()) grupo = grupos.insert(grupos.end(), Grupo{cfop, aliquota});
      REG_PRODUTOPS produto{};
      if (!item.Servico) {
        const auto r = produtos.Le(item.Codigo, filial, &produto);
        if (r != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(r, __LINE__);
      }
      grupo->mercadorias += item.ValorItem.int64;
      grupo->ipi += item.IPI.int64;
      grupo->base += item.BaseICMS.int64;
      grupo->icms += item.ICMS.int64;
      const std::int64_t fora = std::max<std::int64_t>(item.ValorItem.int64 - item.BaseICMS.int64, 0);
      // The tax situation the item was sold under (the register's for a
      // nota written before items kept it).
      const std::string situacao = item.CST[0] ? item.CST : produto.SituacaoTributaria;
      (!item.Servico && (ParaIsentas(situacao.c_str()) || Exportacao(cfop)) ? grupo->isentas : grupo->outras) += fora;
      if (SemValores(nota.CodigoTipo) || item.Servico) continue;
      // Register 54 lists goods; the services of a nota are in its 50 only.
      // The unit discount has eight decimals: cut to four, times the quantity.
      const CY desconto = CY{item.DescontoUnitario / 10000} * item.Quantidade;
      m_linhas54.push_back(escritor.Monta<kRegistro54>(
          {participante.CnpjCpf, *codigoModelo, nota.Serie, nota.Numero, cfop, situacao, item.Sequencia,
           CodigoItem(false, item.Codigo), item.Quantidade.int64, item.ValorItem.int64, desconto.int64,
           item.BaseICMS.int64, item.BaseST.int64, item.IPI.int64, Percentual(item.AliquotaICMS)}));
      m_itens.Acrescenta(false, item.Codigo, item.Descricao);
    }
    if (SemValores(nota.CodigoTipo)) {
      for (const auto& g : grupos) linha50(g.cfop, 0, 0, 0, 0, 0, 0);
      continue;
    }
    // What the nota charges as a whole goes in 54 under the items the
    // Convênio's manual numbers for it (991 freight, 992 insurance, 999
    // other expenses), the value in the discount and expense field, with
    // the document's first CFOP and neither CST nor code.
    const std::pair<int, std::int64_t> extras[] = {
        {991, nota.Frete.int64}, {992, nota.Seguro.int64}, {999, nota.OutrasDespesas.int64}};
    for (const auto& [numero, valor] : extras)
      if (valor > 0 && !grupos.empty())
        m_linhas54.push_back(escritor.Monta<kRegistro54>({participante.CnpjCpf, *codigoModelo, nota.Serie, nota.Numero,
                                                          grupos.front().cfop, "", numero, "", 0, 0, valor, 0, 0, 0, 0}));
    const std::int64_t acrescimos =
        nota.Frete.int64 + nota.Seguro.int64 + nota.OutrasDespesas.int64 - nota.Desconto.int64;
    std::vector<std::int64_t> pesos;
    for (const auto& g : grupos) pesos.push_back(g.mercadorias);
    const auto partes = Rateia(acrescimos, pesos);
    for (std::size_t i = 0; i < grupos.size(); ++i) {
      Grupo& g = grupos[i];
      const std::int64_t parte = partes[i];
      // The group's IPI and what the nota adds to the goods are other; a
      // discount comes off the other amounts first, then off the exempt
      // ones.
      g.outras += g.ipi + parte;
      if (g.outras < 0) {
        g.isentas += g.outras;
        g.outras = 0;
      }
      if (g.isentas < 0) g.isentas = 0;
      linha50(g.cfop, g.mercadorias + g.ipi + parte, g.base, g.icms, g.isentas, g.outras, Percentual(g.aliquota));
    }
  }
}

std::uint32_t CNotasSintegra::Escreve50() {
  // By the date field; notas of one date keep their order.
  std::stable_sort(m_linhas50.begin(), m_linhas50.end(),
                   [](const std::string& a, const std::string& b) { return a.compare(30, 8, b, 30, 8) < 0; });
  for (const auto& linha : m_linhas50) m_contexto.Escreve(linha);
  return static_cast<std::uint32_t>(m_linhas50.size());
}

std::uint32_t CNotasSintegra::Escreve54() {
  // CNPJ (3-16), series (19-21), number (22-27), item number (35-37).
  const auto chave = [](const std::string& l) {
    return std::make_tuple(std::string_view(l).substr(2, 14), std::string_view(l).substr(18, 3),
                           std::string_view(l).substr(21, 6), std::string_view(l).substr(34, 3));
  };
  std::stable_sort(m_linhas54.begin(), m_linhas54.end(),
                   [&](const std::string& a, const std::string& b) { return chave(a) < chave(b); });
  for (const auto& linha : m_linhas54) m_contexto.Escreve(linha);
  return static_cast<std::uint32_t>(m_linhas54.size());
}

}  // namespace qmx::sintegra
