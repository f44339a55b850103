#include "arquivos/sintegra/ConsumidorSintegra.h"

#include <algorithm>

#include "arquivos/sintegra/LeiautesSintegra.h"
#include "calculo/Inteiro128.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/ConexaoECSCX.h"

namespace qmx::sintegra {

namespace {

struct Dia {
  NumeroDia data = 0;
  bool tem = false;
  std::uint32_t primeiro = 0, ultimo = 0;
  std::int64_t total = 0, base = 0, icms = 0, isentas = 0, outras = 0;
};

}  // namespace

std::uint32_t CConsumidorSintegra::Escreve61() {
  auto& c = m_contexto;
  dados::CConexaoECSCX caixa;
  Exige(caixa.Inicializa(c.triplo.chaveEmpresa, c.triplo.usuario, c.triplo.contexto), __LINE__);
  std::uint32_t linhas = 0;
  Dia dia;
  const auto escreveDia = [&] {
    if (!dia.tem) return;
    // The rate of the day: its tax over its base, as a percentage.
    const std::int64_t aliquota =
        dia.base ? static_cast<std::int64_t>(static_cast<qmx::Inteiro128>(dia.icms) * 1000000 / dia.base) : 0;
    c.Escreve(c.escritor.Monta<kRegistro61>({dia.data, dia.primeiro, dia.ultimo, dia.total, dia.base, dia.icms,
                                             dia.isentas, dia.outras, aliquota}));
    ++linhas;
  };
  Exige(caixa.PercorreNotasConsumidor(c.filial.Numero, c.dataInicial, c.dataFinal,
                                      [&](const REG_EC_CXPS& nota, const auto& itens, const auto&) {
    if (!dia.tem || dia.data != nota.Data) {
      escreveDia();
      dia = Dia{nota.Data, true, nota.NumeroInicial, nota.NumeroFinal};
    }
    dia.primeiro = std::min(dia.primeiro, nota.NumeroInicial);
    dia.ultimo = std::max(dia.ultimo, nota.NumeroFinal);
    // A cancelled nota gives its numbers to the range and nothing else.
    if (nota.Cancelado) return true;
    const DiaMesAno data = DecodificaDia(nota.Data);
    const std::uint32_t mes = CodificaMes(data.mes, data.ano);
    for (const auto& item : itens) {
      if (item.Cancelado) continue;
      const auto imposto = ImpostoDoItem(item, false);
      const char letra = static_cast<char>(item.TipoTributacao);
      const std::int64_t valor = item.ValorTotal.int64;
      dia.total += valor;
      dia.base += imposto.base;
      dia.icms += imposto.icms;
      if (!item.Servico && (letra == 'I' || letra == 'N')) dia.isentas += valor;
      else if (imposto.base == 0) dia.outras += valor;
      const bool servico = item.Servico != 0;
      auto& soma = m_meses[{CodigoItem(servico, item.Codigo), mes}];
      soma.quantidade += item.Quantidade.int64;
      soma.valor += valor + item.Desconto.int64;  // gross: before the item's discount
      soma.base += imposto.base;
      soma.letra = letra;
      soma.aliquota = item.AliquotaCentesimos;
      soma.servico = servico;
      m_itens.Acrescenta(servico, item.Codigo, item.Descricao);
    }
    return true;
  }), __LINE__);
  escreveDia();
  return linhas;
}

std::uint32_t CConsumidorSintegra::Escreve61R() {
  auto& c = m_contexto;
  for (const auto& [chave, soma] : m_meses) {
    const bool tributado = !soma.servico && soma.letra == 'T';
    c.Escreve(c.escritor.Monta<kRegistro61R>({static_cast<std::uint16_t>(chave.second), chave.first, soma.quantidade,
                                              soma.valor, tributado ? soma.base : 0,
                                              tributado ? Percentual(soma.aliquota) : 0}));
  }
  return static_cast<std::uint32_t>(m_meses.size());
}

}  // namespace qmx::sintegra
