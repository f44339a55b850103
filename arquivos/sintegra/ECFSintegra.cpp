#include "arquivos/sintegra/ECFSintegra.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <unordered_map>

#include "arquivos/sintegra/ChaveSintegra.h"
#include "arquivos/sintegra/LeiautesSintegra.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/MapaMFC.h"
#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ResultadosDados.h"

namespace qmx::sintegra {

namespace {

// The index of a day's 60D sums by their key.
struct HashIndice {
  std::size_t operator()(const REG_KEY_SINTEGRA& k) const {
    return std::hash<std::uint64_t>{}((std::uint64_t{k.Codigo} << 32) ^ (std::uint64_t{k.Tipo} << 1) ^ k.Cancelado);
  }
};

}  // namespace

std::uint32_t CECFSintegra::EscreveDias(const std::vector<REG_EMISSORPS>& emissoras) {
  auto& c = m_contexto;
  dados::CConexaoECSCX caixa;
  Exige(caixa.Inicializa(c.triplo.chaveEmpresa, c.triplo.usuario, c.triplo.contexto), __LINE__);
  std::uint32_t linhas = 0;
  std::string linhasI;
  REG_REDUCAO_ZPS z{};
  std::vector<REG_REDUCAO_Z_ALIQUOTAPS> aliquotas;
  std::vector<REG_TOTALIZADOR_NAO_FISCALPS> naoFiscais;
  struct Linha60D {
    std::string codigo, situacao;
    Soma soma;
  };
  std::vector<Linha60D> linhas60D;
  std::unordered_map<std::string, std::size_t> indice60DEscrito;
  for (NumeroDia data = c.dataInicial; data <= c.dataFinal; ++data) {
    const DiaMesAno diaMesAno = DecodificaDia(data);
    const std::uint32_t mes = CodificaMes(diaMesAno.mes, diaMesAno.ano);
    for (const auto& ecf : emissoras) {
      const auto lida = caixa.LeReducaoZ(ecf.Numero, data, &z, &aliquotas, &naoFiscais);
      if (lida == dados::QMX_E_REGISTRO_INEXISTENTE) continue;
      Exige(lida, __LINE__);

      // The day's items, in the 60D map (its lines come out in the map's
      // order) and as 60I lines held until the 60D lines are out.
      CMapaMFC<REG_KEY_SINTEGRA, Soma> dia60D;
      // The map's 17 buckets hold a day's thousands of items in long chains:
      // each sum is found through an index of its own, and the map only
      // keeps the order its lines come out in.
      std::unordered_map<REG_KEY_SINTEGRA, Soma*, HashIndice> indice60D;
      linhasI.clear();
      std::uint32_t contaI = 0;
      Exige(caixa.PercorreItensTributados(ecf.Numero, data, data, [&](const REG_EC_CXPS& cupom, const auto& itens, const auto&) {
        if (cupom.Status == QMX_STATUS_NOTA_CONSUMIDOR) return true;
        for (const auto& item : itens) {
          const bool cancelado = cupom.Cancelado || item.Cancelado;
          const bool servico = item.Servico != 0;
          const auto imposto = ImpostoDoItem(item, cupom.Cancelado);
          const char letra = static_cast<char>(item.TipoTributacao);
          const std::string codigo = CodigoItem(servico, item.Codigo);
          c.escritor.MontaEm<kRegistro60I>(
              linhasI, {cupom.Data, ecf.NumeroSerie, cupom.COO, item.Item, codigo, item.Quantidade.int64,
                        item.ValorUnitario.int64, imposto.base,
                        SituacaoTributaria(cancelado, servico, letra, item.AliquotaCentesimos), imposto.icms});
          ++contaI;
          // One 60D per item and tax situation: an item sold at two rates
          // in a day has two lines (earlier versions summed them under one);
          // its cancellations, whatever their rates, are one CANC line.
          const std::uint32_t especie = servico ? std::uint32_t{'S'} : std::uint32_t{'P'};
          const std::uint32_t tipo = cancelado ? especie
                                               : (std::uint32_t{item.AliquotaCentesimos} << 16) |
                                                     (std::uint32_t{static_cast<unsigned char>(letra)} << 8) | especie;
          const REG_KEY_SINTEGRA chave{item.Codigo, cancelado ? 1u : 0u, tipo};
          Soma*& indexada = indice60D[chave];
          if (!indexada) indexada = &dia60D[chave];
          auto& soma = *indexada;
          soma.quantidade += item.Quantidade.int64;
          soma.valor += item.ValorTotal.int64;
          soma.base += imposto.base;
          soma.icms += imposto.icms;
          soma.letra = letra;
          soma.aliquota = item.AliquotaCentesimos;
          soma.servico = servico;
          // Cancelled sales are no sales of the month; an item is listed in
          // register 75 the first time the file uses it.
          if (cancelado) {
            m_itens.AcrescentaDoCupom(servico, item.Codigo, cupom.Id, item.Item);
            continue;
          }
          // The month's sums are kept per tax situation as the day's are.
          const auto [posicao, novo] = m_meses.try_emplace(ChaveMes{mes, item.Codigo, tipo});
          if (novo) m_itens.AcrescentaDoCupom(servico, item.Codigo, cupom.Id, item.Item);
          auto& doMes = posicao->second;
          doMes.quantidade += item.Quantidade.int64;
          doMes.valor += item.ValorTotal.int64;
          doMes.base += imposto.base;
          doMes.letra = letra;
          doMes.aliquota = item.AliquotaCentesimos;
          doMes.servico = servico;
        }
        return true;
      }), __LINE__);

      c.Escreve(c.escritor.Monta<kRegistro60M>({z.Data, ecf.NumeroSerie, ecf.Numero, z.COOInicial, z.COOFinal, z.CRZ,
                                                z.CRO, z.VendaBruta.int64, z.GrandeTotal.int64}));
      ++linhas;
      // The ICMS rates that moved, then always F, I, N, CANC, DESC and ISS
      // (the service rates are in ISS). Two totalizers of one rate are one
      // line of the rate (the Convênio lists a rate once a day).
      std::vector<std::pair<std::string, std::int64_t>> porAliquota;
      for (const auto& a : aliquotas) {
        if (a.Tipo != 'T' || a.Valor.int64 == 0) continue;
        const std::string situacao = SituacaoTributaria(false, false, 'T', a.Aliquota);
        auto mesma = std::find_if(porAliquota.begin(), porAliquota.end(), [&](const auto& p) { return p.first == situacao; });
        if (mesma == porAliquota.end()) porAliquota.emplace_back(situacao, a.Valor.int64);
        else mesma->second += a.Valor.int64;
      }
      for (const auto& [situacao, valor] : porAliquota) {
        c.Escreve(c.escritor.Monta<kRegistro60A>({z.Data, ecf.NumeroSerie, situacao, valor}));
        ++linhas;
      }
      const std::pair<const char*, CY> fixos[] = {{"F", z.Substituicao}, {"I", z.Isento},      {"N", z.NaoTributado},
                                                  {"CANC", z.Cancelamentos}, {"DESC", z.Descontos}, {"ISS", z.ISS}};
      for (const auto& [nome, valor] : fixos) {
        c.Escreve(c.escritor.Monta<kRegistro60A>({z.Data, ecf.NumeroSerie, nome, valor.int64}));
        ++linhas;
      }
      // The map keeps the rate of every item, but a substitution, exempt,
      // untaxed or service item shows no rate: two of its rates are one
      // situation, summed into one line where the first of them comes.
      linhas60D.clear();
      indice60DEscrito.clear();
      for (const auto& [chave, soma] : dia60D) {
        Linha60D linha{CodigoItem(soma.servico, chave.Codigo),
                       SituacaoTributaria(chave.Cancelado != 0, soma.servico, soma.letra, soma.aliquota), soma};
        const auto [posicao, nova] = indice60DEscrito.try_emplace(linha.codigo + '|' + linha.situacao, linhas60D.size());
        if (nova) {
          linhas60D.push_back(std::move(linha));
          continue;
        }
        auto& mesma = linhas60D[posicao->second].soma;
        mesma.quantidade += soma.quantidade;
        mesma.valor += soma.valor;
        mesma.base += soma.base;
        mesma.icms += soma.icms;
      }
      for (const auto& l : linhas60D) {
        c.Escreve(c.escritor.Monta<kRegistro60D>({z.Data, ecf.NumeroSerie, l.codigo, l.soma.quantidade, l.soma.valor,
                                                  l.soma.base, l.situacao, l.soma.icms}));
        ++linhas;
      }
      c.Escreve(linhasI);
      linhas += contaI;
    }
  }
  return linhas;
}

std::uint32_t CECFSintegra::Escreve60R() {
  auto& c = m_contexto;
  // The map's order is the file's: the month code orders year and month,
  // then the item code's text, then the tax situation's. Sums kept under
  // two rates of one situation without a rate (a substitution item the ECF
  // recorded with its register's rate) are one line.
  std::map<std::tuple<std::uint32_t, std::string, std::string>, Soma> ordem;
  for (const auto& [chave, soma] : m_meses) {
    auto& linha = ordem[std::make_tuple(chave.mes, CodigoItem(soma.servico, chave.codigo),
                                        SituacaoTributaria(false, soma.servico, soma.letra, soma.aliquota))];
    linha.quantidade += soma.quantidade;
    linha.valor += soma.valor;
    linha.base += soma.base;
    linha.servico = soma.servico;
  }
  for (const auto& [chave, soma] : ordem)
    c.Escreve(c.escritor.Monta<kRegistro60R>({static_cast<std::uint16_t>(std::get<0>(chave)), std::get<1>(chave),
                                              soma.quantidade, soma.valor, soma.servico ? 0 : soma.base,
                                              std::get<2>(chave)}));
  return static_cast<std::uint32_t>(ordem.size());
}

}  // namespace qmx::sintegra
