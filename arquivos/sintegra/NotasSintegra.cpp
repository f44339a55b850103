#include "arquivos/sintegra/NotasSintegra.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "arquivos/sintegra/LeiautesSintegra.h"
#include "calculo/CY.h"
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

char Situacao(const REG_NOTA_FISCALPS& n) {
  if (n.Denegada) return '2';
  if (n.Inutilizada) return '4';
  if (n.Cancelada) return 'S';
  return 'N';
}

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
    // A participant that cannot be found is written without documents:
    // CNPJ zeros, "ISENTO", no state.
    ZTCFRT participante{};
    const auto lido = participantes.Le(nota.Participante, &participante);
    if (lido != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(lido, __LINE__);
    REG_DOC_FISCAIS modelo{};
    const auto temModelo = documentos.GetDocFiscal(nota.TipoDocumento, &modelo);
    if (temModelo != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(temModelo, __LINE__);
    const bool semValores = SemValores(nota.CodigoTipo);
    const char* uf = participante.Estrangeiro ? "EX" : participante.UF;
    const char situacao[2] = {Situacao(nota), 0};

    std::set<std::pair<std::string, std::uint16_t>> grupos;
    for (const auto& item : itens) {
      const std::string& cfop = Cfop(item.Natureza);
      const std::uint16_t aliquota = item.Servico ? 0 : item.AliquotaICMS;
      if (temModelo == com::S_OK && grupos.emplace(cfop, aliquota).second) {
        const auto z = [&](CY v) { return semValores ? 0 : v.int64; };
        const bool isento = participante.InscricaoEstadual[0] == '\0';
        m_linhas50.push_back(escritor.Monta(
            isento ? std::span<const leiaute::Campo>(kRegistro50Isento) : std::span<const leiaute::Campo>(kRegistro50),
            {participante.CnpjCpf, isento ? "ISENTO" : participante.InscricaoEstadual, nota.Data, uf, modelo.Modelo,
             nota.Serie, nota.Numero, cfop, z(nota.ValorMercadorias), z(nota.BaseICMS), z(nota.ICMS),
             z(nota.Isentas), z(nota.Outras), semValores ? 0 : Percentual(aliquota), situacao}));
      }
      if (semValores) continue;
      REG_PRODUTOPS produto{};
      if (!item.Servico) {
        const auto r = produtos.Le(item.Codigo, filial, &produto);
        if (r != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(r, __LINE__);
      }
      // The unit discount has eight decimals: cut to four, times the quantity.
      const CY desconto = CY{item.DescontoUnitario / 10000} * item.Quantidade;
      const bool s = item.Servico != 0;
      m_linhas54.push_back(escritor.Monta(
          kRegistro54, {participante.CnpjCpf, modelo.Modelo, nota.Serie, nota.Numero, cfop,
                        s ? "" : produto.SituacaoTributaria, item.Sequencia, CodigoItem(s, item.Codigo),
                        item.Quantidade.int64, item.ValorItem.int64, desconto.int64, item.BaseICMS.int64,
                        s ? 0 : item.BaseST.int64, s ? 0 : item.IPI.int64, s ? 0 : Percentual(item.AliquotaICMS)}));
      m_itens.Acrescenta(s, item.Codigo, item.Descricao);
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
