#include "plataforma/dados/ConexaoECSDAV.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

#define QMX_FILTRO " WHERE d.emissora = ? AND d.data >= ? AND d.data <= ? ORDER BY d.id"

com::HRESULT CConexaoECSDAV::PercorreDAVs(
    std::uint16_t emissora, NumeroDia dataInicial, NumeroDia dataFinal,
    const std::function<bool(const REG_DAVPS&, const std::vector<REG_DAV_ITEMPS>&)>& porDAV) {
  return Executa([&](CSessaoDados& s) {
    auto davs = s.Abre("SELECT " QMX_COLUNAS_DAV " FROM dav d" QMX_FILTRO, {emissora, dataInicial, dataFinal});
    auto cursorItens = s.Abre("SELECT " QMX_COLUNAS_ITEM_DAV " FROM dav d JOIN dav_item i ON i.dav = d.id" QMX_FILTRO
                              ", i.item",
                              {emissora, dataInicial, dataFinal});
    std::vector<REG_DAV_ITEMPS> itens;
    bool haItem = cursorItens->Proxima();
    while (davs->Proxima()) {
      REG_DAVPS dav = leitura::Dav(*davs);
      itens.clear();
      for (; haItem && cursorItens->Inteiro(0) == dav.Id; haItem = cursorItens->Proxima())
        itens.push_back(leitura::ItemDav(*cursorItens));
      dav.QuantidadeItens = static_cast<std::uint16_t>(itens.size());
      if (!Chama(porDAV, dav, itens)) break;
    }
    return com::S_OK;
  });
}

#undef QMX_FILTRO

}  // namespace qmx::dados
