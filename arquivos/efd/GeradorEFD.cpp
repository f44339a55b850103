#include "arquivos/efd/GeradorEFD.h"

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "arquivos/efd/Registro0200.h"
#include "frame/CarimboCompilacao.h"
#include "frame/QMXFormatador.h"
#include "frame/QMXGenerica.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ConexaoNatureza.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::efd {


CGeradorEFD::CGeradorEFD(const TriploConexao& triplo, const FiltroEFD& filtro)
    : m_triplo(triplo), m_filtro(filtro), m_itens(triplo, filtro.filial), m_grupoC400("C400") {}

std::string CGeradorEFD::NomeArquivo(NumeroDia dataFinal) {
  // The final date as DD/MM/YYYY without its day and its slashes.
  CQMXFormatador formatador;
  std::string mesAno;
  for (const char* c = formatador.FormataDataDMA(dataFinal, "/") + 2; *c; ++c)
    if (*c != '/') mesAno += *c;
  return "TorvoECF-SpedFiscal-" + mesAno + ".txt";
}

void CGeradorEFD::Reporta(const CErroDadosEFD& erro) const {
  mensagens::ZTTrataErro2(erro.Resultado(), 0, 0, m_triplo.chaveEmpresa, "QMXRegistrosEFD", erro.Linha(),
                          QMX_CARIMBO_COMPILACAO);
}

void CGeradorEFD::EmissorasDoFiltro() {
  dados::CConexaoEmissora conexao;
  Exige(conexao.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto), __LINE__);
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> todas;
  Exige(conexao.Lista(&quantidade, &todas), __LINE__);
  m_emissoras.clear();
  for (const auto& e : todas)
    if (e.Filial == m_filtro.filial && (m_filtro.emissora == 0 || e.Numero == m_filtro.emissora))
      m_emissoras.push_back(e);
}

CfopsECF LeCfopsECF(const TriploConexao& t) {
  dados::CConexaoMestre mestres;
  Exige(mestres.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  REG_EC_MESTREPS mestre{};
  const auto lido = mestres.Le(&mestre);
  if (lido != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(lido, __LINE__);
  dados::CConexaoNatureza naturezas;
  Exige(naturezas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  const auto cfop = [&](std::uint16_t codigo) {
    REG_NATUREZAPS natureza{};
    if (codigo == 0) return std::string();
    const auto resultado = naturezas.Le(codigo, &natureza);
    if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) return std::string();
    Exige(resultado, __LINE__);
    return std::string(natureza.Cfop);
  };
  CfopsECF cfops;
  cfops.venda = cfop(mestre.NaturezaVenda);
  cfops.substituicao = cfop(mestre.NaturezaVendaST);
  cfops.producao = cfop(mestre.NaturezaProducao);
  cfops.servico = cfop(mestre.NaturezaServico);
  return cfops;
}

void CGeradorEFD::GeraRegistrosECF() {
  EmissorasDoFiltro();
  m_cfops = LeCfopsECF(m_triplo);
  for (const auto& emissora : m_emissoras) {
    try {
      GeraEmissora(emissora);
    } catch (const CErroDadosEFD& erro) {
      Reporta(erro);
    }
  }
}

void CGeradorEFD::GeraEmissora(const REG_EMISSORPS& emissora) {
  const auto& t = m_triplo;
  std::vector<REG_EMISSOR_ALIQUOTA> tabela;
  {
    dados::CConexaoEmissora emissoras;
    Exige(emissoras.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(emissoras.LeAliquotas(emissora.TabelaAliquotas, &tabela), __LINE__);
  }
  dados::CConexaoECSCX caixa;
  dados::CConexaoCFRT clientes;
  Exige(caixa.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  Exige(clientes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);

  CDiaECF dia(m_filtro.perfil, m_itens, clientes, m_cfops);
  REG_REDUCAO_ZPS z{};
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> totalizadores;
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
  bool comMovimento = false;
  for (NumeroDia data = m_filtro.dataInicial; data <= m_filtro.dataFinal; ++data) {
    try {
      const auto lida = caixa.LeReducaoZ(emissora.Numero, data, &z, &totalizadores, &naoFiscais);
      if (lida != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(lida, __LINE__);
      // Every Z reduction of the period is in the file, a day without
      // gross sale included (the published layout's CRZ sequence has no
      // gaps, and Sintegra's 60M lists it too).
      const bool escreve = lida != dados::QMX_E_REGISTRO_INEXISTENTE;
      // Every day's cupons are read, with a Z reduction or not: their
      // items belong to the file's item maps all the same.
      dia.Inicia(data, escreve);
      Exige(caixa.PercorreItensTributados(emissora.Numero, data, data,
                                          [&](const REG_EC_CXPS& cupom, const auto& itens, const auto&) {
                                            dia.Cupom(cupom, itens);
                                            return true;
                                          }),
            __LINE__);
      if (!escreve) continue;
      // From here the day's lines go straight into the group: every read
      // that can fail, and so leave the day out, came before this point.
      ContadoresC400 contadores;
      if (!comMovimento) {
        comMovimento = true;
        std::string c400;
        CLinhaEFD(c400, "C400")
            .Texto("2D")
            .Texto(emissora.Modelo)
            .Texto(emissora.NumeroSerie)
            .NumericoInteiro(emissora.Numero, 3)
            .Fim();
        m_grupoC400.Escreve(c400);
        ++contadores.c400;
        ++contadores.total;
      }
      dia.Escreve(z, totalizadores, naoFiscais, tabela, m_grupoC400, contadores);
      m_contadores += contadores;
    } catch (const CErroDadosEFD& erro) {
      // The day is left out; the next one is tried.
      Reporta(erro);
    }
  }
}

std::string CGeradorEFD::Cabecalho() const {
  CQMXGenerica generica(m_triplo.chaveEmpresa.c_str(), m_triplo.usuario, m_triplo.contexto);
  REG_FILIALPS filial{};
  generica.LeFilial(m_filtro.filial, &filial, nullptr);
  wchar_t* largo = nullptr;
  generica.GetRazaoSocial(m_filtro.filial, &largo);
  const std::string razaoSocial = dados::DeTextoLargo(largo);
  dados::LiberaTextoLargo(largo);
  const REG_DADOS_ATO_COTEPE_PS cotepe = generica.GetDadosAtoCotepe(m_filtro.filial);

  std::string texto;
  CLinhaEFD l0000(texto, "0000");
  l0000.Texto("004").Texto("0").Data(m_filtro.dataInicial).Data(m_filtro.dataFinal)
      .Texto(razaoSocial);
  // CNPJ or CPF, never both and never a CNPJ of zeros (its check digits
  // fail): a branch known by its CPF leaves the CNPJ empty.
  if (TemDigito(filial.Cnpj)) l0000.Numerico(filial.Cnpj, 14).Vazio();
  else l0000.Vazio().Numerico(filial.Cpf, 11);
  // COD_MUN is the IBGE code of the branch's municipality, as the published
  // layout (and the Venda do Período file) has it, not the register's own
  // number of the municipality; one that cannot be read gives "0000000".
  REG_MUNICIPIO_PS municipio{};
  generica.LeMunicipio(static_cast<std::uint16_t>(filial.Municipio), &municipio);
  l0000.Texto(CQMXGenerica::FormataCampo(filial.UF, 2, false, false))
      .Inscricao(filial.InscricaoEstadual)
      .NumericoInteiro(municipio.CodigoIBGE, 7)
      .Texto(filial.InscricaoMunicipal)
      .Texto(cotepe.Suframa)
      .Texto(m_filtro.perfil == 'A' ? "A" : "B")
      .Texto(filial.Industrial ? "0" : "1")
      .Fim();
  if (m_contadores.c400 == 0) return texto;

  m_itens.Linhas0190(texto);
  // Code 0 finds the unit of the items registered without one.
  for (const auto& [codigo, p] : m_itens.produtos) {
    const auto* unidade = m_itens.unidades.PLookup(p.Unidade);
    Linha0200(texto, p, unidade ? unidade->Sigla : "");
  }
  for (const auto& [codigo, s] : m_itens.servicos) {
    const auto* unidade = m_itens.unidadesServico.PLookup(s.Unidade);
    Linha0200(texto, s, unidade ? unidade->Sigla : "");
  }
  return texto;
}

void CGeradorEFD::EscreveArquivo(CArquivoTexto& saida) {
  saida.EscreverTexto(Cabecalho());
  m_grupoC400.CopiaPara(saida);
}

}  // namespace qmx::efd
