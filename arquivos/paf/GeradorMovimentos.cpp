#include "arquivos/paf/GeradorMovimentos.h"

#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>

#include "arquivos/ErroDadosArquivo.h"
#include "arquivos/paf/LeiautesMovimentos.h"
#include "arquivos/ModelosECF.h"
#include "fisco/DadosDesenvolvedor.h"
#include "frame/QMXGenerica.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/arquivos/LinhasOrdenadas.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoFormaPagamento.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/impressora/TotaisCupom.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/impressora/TotalizadoresParciais.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/calendario/DataCodificada.h"

namespace qmx::movimentos {

namespace {

void Exige(com::HRESULT resultado, int linha) { ExigeDados(resultado, linha); }

// A record read once per code: absent ones answer an empty record.
template <class Registro, class Le>
const Registro& EmCache(std::unordered_map<std::uint32_t, Registro>& cache, std::uint32_t codigo, Le&& le) {
  auto achado = cache.find(codigo);
  if (achado != cache.end()) return achado->second;
  Registro registro{};
  const auto resultado = le(codigo, &registro);
  if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(resultado, __LINE__);
  return cache.emplace(codigo, registro).first->second;
}

std::string Digitos(const char* texto) {
  std::string d;
  for (const char* c = texto; *c; ++c)
    if (*c >= '0' && *c <= '9') d += *c;
  return d;
}

// A date text of the printer ("dd/mm/aaaa") as year, month and day.
std::string DataAnoMesDia(const std::string& data) {
  const std::string d = Digitos(data.c_str());
  return d.size() == 8 ? d.substr(4, 4) + d.substr(2, 2) + d.substr(0, 2) : d;
}

using impressora::CodigoAliquota;

// An R05 line waits for the last R04 as its values, without the blanks and
// zeros of its fields: about a third of the line's bytes go to the spill
// file and come back. The texts keep what their fields show (a field cuts
// a longer text); the description's bytes follow the record.
struct ItemAdiado {
  std::int64_t quantidade, unitario, desconto, total;
  std::uint32_t coo, ccf, codigo;
  std::uint16_t item;
  char cancelado;  // S or N
  char producao;   // T or P
  char unidade[3 + 1];
  char totalizador[7 + 1];
  std::uint8_t tamanhoDescricao;
};

// The first characters of `texto` that a field one narrower than the
// zeroed array shows.
template <std::size_t N>
void Guarda(char (&campo)[N], const char* texto) {
  std::memcpy(campo, texto, strnlen(texto, N - 1));
}

class CGeradorMovimentos {
 public:
  CGeradorMovimentos(const DadosMovimentos& d, CArquivoTexto& saida) : m_d(d), m_saida(saida) {
    const auto& t = d.triplo;
    Exige(m_caixa.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_produtos.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    Exige(m_clientes.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    dados::CConexaoFormaPagamento formas;
    Exige(formas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
    std::vector<REG_FORMA_PAGAMENTOPS> lista;
    Exige(formas.Lista(&lista), __LINE__);
    for (const auto& f : lista) m_formas[f.Codigo] = f.Nome;
    m_codigosAliquota = impressora::CodigosAliquotas(d.aliquotas);
  }

  void Escreve() {
    R01();
    ReducoesZ();
    Cupons();
    R06();
    m_r07.EscrevePara(m_saida);
  }

 private:
  const char* Serie() const { return m_d.emissora.NumeroSerie; }
  const char* Modelo() const { return m_d.emissora.Modelo; }

  void R01() {
    const auto& e = m_d.emissora;
    const auto& s = m_d.software;
    m_saida.EscreverTexto(m_e.Monta<kR01>(
        {e.NumeroSerie, e.Marca, e.Modelo, s.versao, DataAnoMesDia(s.data), Digitos(s.hora.c_str()),
         s.numeroCaixa, m_d.filial.Cnpj, m_d.filial.InscricaoEstadual, DadosDesenvolvedor::kCNPJ,
         DadosDesenvolvedor::kInscricaoEstadual, DadosDesenvolvedor::kInscricaoMunicipal,
         DadosDesenvolvedor::kRazaoSocial, "Torvo ECF", "5.2", m_d.md5Lista, m_d.dataInicial, m_d.dataFinal,
         "0113"}));
  }

  // R02 per day with a Z reduction, then the R03 totalizers of those days.
  void ReducoesZ() {
    std::string r03;
    REG_REDUCAO_ZPS z{};
    std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
    std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
    for (NumeroDia dia = m_d.dataInicial; dia <= m_d.dataFinal; ++dia) {
      const auto lida = m_caixa.LeReducaoZ(m_d.emissora.Numero, dia, &z, &aliquotas, &naoFiscais);
      if (lida == dados::QMX_E_REGISTRO_INEXISTENTE) continue;
      Exige(lida, __LINE__);
      if (z.CRZ == 0) continue;
      m_saida.EscreverTexto(m_e.Monta<kR02>({Serie(), Modelo(), z.CRZ, z.COOFinal, z.CRO, z.Data, z.DataEmissao,
                                             z.HoraEmissao, z.VendaBruta.int64, m_d.mestre.DescontoISSQN ? "S" : "N"}));
      const auto totalizador = [&](const std::string& codigo, std::int64_t valor) {
        r03 += m_e.Monta<kR03>({Serie(), Modelo(), z.CRZ, codigo, valor});
      };
      for (const auto& a : aliquotas) totalizador(CodigoAliquota(a.Posicao, a.Tipo == 'S' ? 'S' : 'T', a.Aliquota), a.Valor.int64);
      std::int64_t naoFiscal = 0;
      for (const auto& t : naoFiscais) naoFiscal += t.Valor.int64;
      impressora::TotalizadoresFixos(z, naoFiscal, totalizador);
    }
    m_saida.EscreverTexto(r03);
  }

  std::string Totalizador(const REG_EC_CX_CIPS& item) const {
    return impressora::CodigoTotalizadorItem(item, m_codigosAliquota);
  }

  void Cupons() {
    // The items wait in a spill file of their own until every R04 is out.
    CDespejoTexto itens("R05");
    constexpr std::size_t kDescricao = 100;  // the R05 description's width
    Exige(m_caixa.PercorreMovimento(m_d.emissora.Numero, m_d.dataInicial, m_d.dataFinal,
                                 [&](const REG_EC_CXPS& c, const auto& lista, const auto& pagamentos) {
      if (c.Status == QMX_STATUS_NOTA_CONSUMIDOR) return true;
      std::string nome = c.NomeCliente, documento = c.DocumentoCliente;
      if (c.Cliente && (nome.empty() || documento.empty())) {
        const auto& cliente = EmCache(m_cacheClientes, c.Cliente, [&](std::uint32_t k, ZTCFRT* r) { return m_clientes.Le(k, r); });
        if (nome.empty()) nome = cliente.Nome;
        if (documento.empty()) documento = cliente.CnpjCpf;
      }
      // As the detail memory's E14: the items' net values, and only the
      // discount given on the subtotal (the items' own are in R05).
      const impressora::TotaisCupom totais = impressora::TotaisDoCupom(c, lista);
      m_saida.EscreverTexto(m_e.Monta<kR04>({Serie(), Modelo(), c.CCF, c.COO, c.Data, totais.subtotal,
                                             totais.desconto, totais.acrescimo, c.Total.int64,
                                             c.Cancelado ? "S" : "N", 0, nome, documento}));
      for (const auto& item : lista) {
        const std::string* unidade;
        bool producao = false;
        if (item.Servico) {
          const auto& s = EmCache(m_cacheServicos, item.Codigo, [&](std::uint32_t k, REG_SERVICOSPS* r) { return m_produtos.LeServico(k, r); });
          unidade = &UnidadeServico(s.Unidade);
        } else {
          const auto& p = EmCache(m_cacheProdutos, item.Codigo, [&](std::uint32_t k, REG_PRODUTOPS* r) { return m_produtos.LeLight(k, r); });
          unidade = &Unidade(p.Unidade);
          producao = p.Producao != 0;
        }
        // Zeroed whole, its padding too: every byte that goes to the file is set.
        ItemAdiado a;
        std::memset(&a, 0, sizeof a);
        a.quantidade = item.Quantidade.int64;
        a.unitario = item.ValorUnitario.int64;
        a.desconto = item.Desconto.int64;
        a.total = item.ValorTotal.int64;
        a.coo = c.COO;
        a.ccf = c.CCF;
        a.codigo = item.Codigo;
        a.item = item.Item;
        a.cancelado = item.Cancelado ? 'S' : 'N';
        a.producao = (producao && !item.Servico) ? 'T' : 'P';
        Guarda(a.unidade, unidade->c_str());
        Guarda(a.totalizador, Totalizador(item).c_str());
        const std::size_t descricao = strnlen(item.Descricao, kDescricao);
        a.tamanhoDescricao = static_cast<std::uint8_t>(descricao);
        itens.Escreve({reinterpret_cast<const char*>(&a), sizeof a});
        itens.Escreve({item.Descricao, descricao});
      }
      for (const auto& p : pagamentos) {
        const auto forma = m_formas.find(p.Forma);
        m_r07.Acrescenta(m_e.Monta<kR07>({Serie(), Modelo(), c.COO, c.CCF, p.GNF,
                                         forma == m_formas.end() ? std::string() : forma->second, p.Valor.int64, 0}));
      }
      return true;
    }), __LINE__);
    itens.Rebobina();
    ItemAdiado a;
    char descricao[kDescricao + 1];
    while (itens.Le(reinterpret_cast<char*>(&a), sizeof a)) {
      if (a.tamanhoDescricao > kDescricao || !itens.Le(descricao, a.tamanhoDescricao))
        throw CExcecaoArquivo(CExcecaoArquivo::erroFisico, EIO, "R05");
      descricao[a.tamanhoDescricao] = '\0';
      char codigo[12];
      *std::to_chars(codigo, codigo + sizeof codigo - 1, a.codigo).ptr = '\0';
      const bool cancelado = a.cancelado == 'S';
      m_saida.EscreverTexto(m_e.Monta<kR05>({Serie(), Modelo(), a.coo, a.ccf, a.item, codigo, descricao, a.quantidade,
                                             a.unidade, a.unitario, a.desconto, 0, a.total, a.totalizador,
                                             cancelado ? "S" : "N", cancelado ? a.quantidade : 0,
                                             cancelado ? a.total : 0, 0, a.producao == 'T' ? "T" : "P"}));
    }
  }

  const std::string& Unidade(std::uint16_t codigo) {
    auto achado = m_unidades.find(codigo);
    if (achado != m_unidades.end()) return achado->second;
    REG_UNIDADES_MEDIDAPS u{};
    if (codigo) {
      const auto r = m_produtos.LeUnidade(codigo, &u);
      if (r != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(r, __LINE__);
    }
    return m_unidades.emplace(codigo, u.Sigla).first->second;
  }

  const std::string& UnidadeServico(std::uint16_t codigo) {
    auto achado = m_unidadesServico.find(codigo);
    if (achado != m_unidadesServico.end()) return achado->second;
    REG_UNIDADES_MEDIDA_SERVICOSPS u{};
    if (codigo) {
      const auto r = m_produtos.LeUnidadeServico(codigo, &u);
      if (r != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(r, __LINE__);
    }
    return m_unidadesServico.emplace(codigo, u.Sigla).first->second;
  }

  // The documents of the log that the file lists, with their denomination.
  void R06() {
    Exige(m_caixa.PercorreDocumentos(m_d.emissora.Numero, m_d.dataInicial, m_d.dataFinal,
                                     [&](const REG_DOCUMENTO_ECFPS& d) {
      const char* denominacao = nullptr;
      switch (d.Tipo) {
        case 3: case 4: case 20: denominacao = "CN"; break;
        case 6: case 13: case 14: case 38: denominacao = "RG"; break;
        case 7: denominacao = "CC"; break;
        default: return true;
      }
      const bool comGRG = d.Tipo == 6 || d.Tipo == 13 || d.Tipo == 14;
      m_saida.EscreverTexto(m_e.Monta<kR06>({Serie(), Modelo(), d.COO, d.GNF, comGRG ? d.GRG : 0u, d.CDC,
                                             denominacao, d.Data, d.Hora}));
      return true;
    }), __LINE__);
  }

  const DadosMovimentos& m_d;
  CArquivoTexto& m_saida;
  CEscritorRegistro m_e;
  dados::CConexaoECSCX m_caixa;
  dados::CConexaoProduto m_produtos;
  dados::CConexaoCliente m_clientes;
  std::map<std::uint16_t, std::string> m_formas;
  // The totalizer code of each kind and rate of the ECF's table (the first
  // position wins when a rate repeats).
  std::map<int, std::string> m_codigosAliquota;
  std::unordered_map<std::uint32_t, ZTCFRT> m_cacheClientes;
  std::unordered_map<std::uint32_t, REG_PRODUTOPS> m_cacheProdutos;
  std::unordered_map<std::uint32_t, REG_SERVICOSPS> m_cacheServicos;
  std::map<std::uint16_t, std::string> m_unidades, m_unidadesServico;
  // One line per payment of the period, sorted as whole texts.
  CLinhasOrdenadas m_r07{"R07"};
};

}  // namespace

void EscreveMovimentos(const DadosMovimentos& dados, CArquivoTexto& saida) {
  CGeradorMovimentos(dados, saida).Escreve();
}

std::string NomeArquivoMovimentos(const REG_EMISSORPS& emissora, NumeroDia dataFinal) {
  return texto::NomeArquivoSeguro(CQMXGenerica::FormataCampo(CodigoModeloECF(emissora.Modelo).c_str(), 6, true, false) +
                                  CQMXGenerica::FormataCampo(emissora.NumeroSerie, 14, true, false) +
                                  DataInvertida(dataFinal, false) + ".txt");
}

}  // namespace qmx::movimentos
