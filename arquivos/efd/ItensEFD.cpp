#include "arquivos/efd/ItensEFD.h"

#include <cstdio>
#include <string_view>

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::efd {

namespace {

constexpr const char* kSiglaAvulsa = "UN";
constexpr const char* kDescricaoAvulsa = "UNIDADE";

template <typename Unidade>
Unidade RegistroAvulso() {
  Unidade u{};
  std::snprintf(u.Sigla, sizeof u.Sigla, "%s", kSiglaAvulsa);
  std::snprintf(u.Descricao, sizeof u.Descricao, "%s", kDescricaoAvulsa);
  return u;
}

// A read that may find nothing: false for "not found", a throw for a
// failing server.
bool Encontrou(com::HRESULT resultado, int linha) {
  if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) return false;
  Exige(resultado, linha);
  return true;
}

}  // namespace

CItensEFD::CItensEFD(const TriploConexao& triplo, std::uint16_t filial) : m_filial(filial) {
  Exige(m_catalogo.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto), __LINE__);
}

const ItemLido& CItensEFD::Produto(std::uint32_t codigo) {
  const auto achado = m_produtosLidos.find(codigo);
  if (achado != m_produtosLidos.end()) return achado->second;
  ItemLido lido;
  REG_PRODUTOPS produto{};
  if (Encontrou(m_catalogo.Le(codigo, m_filial, &produto), __LINE__) ||
      Encontrou(m_catalogo.LeDosDocumentos(codigo, m_filial, &produto), __LINE__)) {
    lido.encontrado = true;
    lido.cst = produto.SituacaoTributaria;
    lido.producao = produto.Producao != 0;
    if (produto.Unidade != 0) {
      const auto& unidade = Unidade(produto.Unidade);
      lido.semUnidade = !unidade;
      if (unidade) lido.unidade = *unidade;
    } else {
      lido.unidade = UnidadeAvulsa();
    }
    Exige(m_catalogo.LePisCofins(codigo, &lido.pisCofins), __LINE__);
    produtos[codigo] = produto;
  }
  return m_produtosLidos.emplace(codigo, std::move(lido)).first->second;
}

const ItemLido& CItensEFD::Servico(std::uint32_t codigo) {
  const auto achado = m_servicosLidos.find(codigo);
  if (achado != m_servicosLidos.end()) return achado->second;
  ItemLido lido;
  REG_SERVICOSPS servico{};
  if (Encontrou(m_catalogo.LeServico(codigo, &servico), __LINE__) ||
      Encontrou(m_catalogo.LeServicoDosDocumentos(codigo, &servico), __LINE__)) {
    lido.encontrado = true;
    lido.pisServico = servico.AliquotaPIS;
    lido.cofinsServico = servico.AliquotaCOFINS;
    if (servico.Unidade != 0) {
      const auto& unidade = UnidadeServico(servico.Unidade);
      lido.semUnidade = !unidade;
      if (unidade) lido.unidade = *unidade;
    } else {
      lido.unidade = UnidadeAvulsaServico();
    }
    servicos[codigo] = servico;
  }
  return m_servicosLidos.emplace(codigo, std::move(lido)).first->second;
}

std::string CItensEFD::UnidadeAvulsa() {
  if (!unidades.PLookup(0)) unidades[0] = RegistroAvulso<REG_UNIDADES_MEDIDAPS>();
  return kSiglaAvulsa;
}

std::string CItensEFD::UnidadeAvulsaServico() {
  if (!unidadesServico.PLookup(0)) unidadesServico[0] = RegistroAvulso<REG_UNIDADES_MEDIDA_SERVICOSPS>();
  return kSiglaAvulsa;
}

std::uint32_t CItensEFD::Linhas0190(std::string& texto) const {
  bool registrada = false;
  for (const auto& [codigo, u] : unidades) registrada |= codigo != 0 && std::string_view(u.Sigla) == kSiglaAvulsa;
  for (const auto& [codigo, u] : unidadesServico)
    registrada |= codigo != 0 && std::string_view(u.Sigla) == kSiglaAvulsa;
  std::uint32_t linhas = 0;
  bool escrita = false;
  const auto linha = [&](std::uint16_t codigo, const char* sigla, const char* descricao) {
    if (codigo == 0 && (registrada || escrita)) return;
    escrita |= codigo == 0;
    CLinhaEFD(texto, "0190").Texto(sigla).Texto(descricao).Fim();
    ++linhas;
  };
  for (const auto& [codigo, u] : unidades) linha(codigo, u.Sigla, u.Descricao);
  for (const auto& [codigo, u] : unidadesServico) linha(codigo, u.Sigla, u.Descricao);
  return linhas;
}

// A unit is read once and goes into its map the first time an item uses it.
const std::optional<std::string>& CItensEFD::Unidade(std::uint16_t codigo) {
  auto achada = m_unidadesLidas.find(codigo);
  if (achada != m_unidadesLidas.end()) return achada->second;
  REG_UNIDADES_MEDIDAPS unidade{};
  std::optional<std::string> sigla;
  if (Encontrou(m_catalogo.LeUnidade(codigo, &unidade), __LINE__)) {
    sigla = unidade.Sigla;
    unidades[codigo] = unidade;
  }
  return m_unidadesLidas.emplace(codigo, sigla).first->second;
}

const std::optional<std::string>& CItensEFD::UnidadeServico(std::uint16_t codigo) {
  auto achada = m_unidadesServicoLidas.find(codigo);
  if (achada != m_unidadesServicoLidas.end()) return achada->second;
  REG_UNIDADES_MEDIDA_SERVICOSPS unidade{};
  std::optional<std::string> sigla;
  if (Encontrou(m_catalogo.LeUnidadeServico(codigo, &unidade), __LINE__)) {
    sigla = unidade.Sigla;
    unidadesServico[codigo] = unidade;
  }
  return m_unidadesServicoLidas.emplace(codigo, sigla).first->second;
}

PisCofins CItensEFD::Calcula(const ItemLido& item, bool servico, std::int64_t valor4, NumeroDia data) {
  PisCofins r;
  if (servico) {
    r.pis = ParteDoValor(valor4, item.pisServico);
    r.cofins = ParteDoValor(valor4, item.cofinsServico);
    return r;
  }
  for (const auto& a : item.pisCofins) {
    if (data < a.Inicio || (a.Fim != 0 && data > a.Fim)) continue;
    if (a.Tipo == 1) r.pis += ParteDoValor(valor4, a.Aliquota);
    else if (a.Tipo == 2) r.cofins += ParteDoValor(valor4, a.Aliquota);
  }
  return r;
}

}  // namespace qmx::efd
