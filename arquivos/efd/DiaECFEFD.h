#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <unordered_map>
#include <vector>

#include "arquivos/efd/ItensEFD.h"
#include "frame/MapaMFC.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::efd {

// How many lines each ECF register wrote, and all of them.
struct ContadoresC400 {
  std::uint32_t c400 = 0, c405 = 0, c410 = 0, c420 = 0, c425 = 0, c460 = 0, c470 = 0, c490 = 0, c495 = 0;
  std::uint32_t total = 0;
  ContadoresC400& operator+=(const ContadoresC400& outro);
};

// The CFOPs of the ECF items, from the natures of the point-of-sale master.
struct CfopsECF {
  std::string venda;         // other products
  std::string substituicao;  // items under tax substitution
  std::string producao;      // products made by the company
  std::string servico;
};

// One ECF's movement day: the cupons of the day go in one by one and the
// day's lines come out from its Z reduction. Profile A writes C405, C410,
// C420, C460 with C470, and C490; profile B writes C405, C420 with C425,
// and C490. Only one ECF-day is held at a time.
class CDiaECF {
 public:
  CDiaECF(char perfil, CItensEFD& itens, dados::CConexaoCFRT& clientes, const CfopsECF& cfops)
      : m_perfilA(perfil == 'A'), m_itens(itens), m_clientes(clientes), m_cfops(cfops) {}

  // Starts a new day; `escreve` false only gathers the items (a day whose
  // Z reduction gives no lines).
  void Inicia(NumeroDia data, bool escreve);
  // A cash document of the day, in the walk's order.
  void Cupom(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens);
  // The day's lines, written to `grupo`, and their counts. Every Z
  // reduction has its C405, so that the CRZ sequence has no gap; one without
  // gross sale has no other line (the Guia: "não devem ser apresentados
  // registros filhos e o registro C490"). The cupons' lines (the day's
  // largest part) go to the group as they were gathered, not copied first.
  void Escreve(const REG_REDUCAO_ZPS& z, const std::vector<REG_REDUCAO_Z_ALIQUOTAPS>& totalizadores,
               const std::vector<REG_TOTALIZADOR_NAO_FISCALPS>& naoFiscais,
               const std::vector<REG_EMISSOR_ALIQUOTA>& tabela, CDespejoTexto& grupo, ContadoresC400& contadores);

 private:
  // An item summed under its partial totalizer (C425), keyed by its code
  // (services with the high bit set, so a product and a service of the same
  // code stay apart).
  struct SomaC425 {
    std::int64_t quantidade = 0, valor = 0, pis = 0, cofins = 0;
    std::uint32_t codigo = 0;
    bool servico = false;
    const ItemLido* lido = nullptr;
  };
  // A day's analytic line (C490): tax situation, CFOP and rate.
  struct SomaC490 {
    std::string cst, cfop;
    std::uint16_t aliquota = 0;
    std::int64_t operacao = 0, base = 0;
  };

  static unsigned QualCfop(const REG_EC_CX_CIPS& item, const ItemLido& lido);
  const std::string& Cfop(unsigned qual) const;
  SomaC490& Analitico(std::string_view cst, unsigned qualCfop, std::uint16_t aliquota);
  static std::uint32_t ChaveTotalizador(char letra, unsigned aliquota);
  static std::uint32_t Totalizador(const REG_EC_CX_CIPS& item);
  // An item as read for the cupom's lines: its catalogue data and taxes.
  struct ItemDoCupom {
    const ItemLido* lido;
    PisCofins pc;
  };
  void Cupom460(const REG_EC_CXPS& cupom, const std::vector<REG_EC_CX_CIPS>& itens);
  const ZTCFRT* Cliente(std::uint32_t codigo);

  bool m_perfilA;
  CItensEFD& m_itens;
  dados::CConexaoCFRT& m_clientes;
  const CfopsECF& m_cfops;
  std::unordered_map<std::uint32_t, ZTCFRT> m_clientesLidos;

  NumeroDia m_data = 0;
  bool m_escreve = false;
  std::int64_t m_pis = 0, m_cofins = 0;
  std::string m_c460;
  std::string m_texto;  // the day's other lines, before and after the cupons'
  std::vector<ItemDoCupom> m_itensDoCupom;
  std::uint32_t m_linhasC460 = 0, m_linhasC470 = 0;
  std::map<std::uint32_t, CMapaMFC<std::uint32_t, SomaC425>> m_c425;
  CMapaMFC<double, SomaC490> m_c490;
  std::vector<std::pair<std::uint64_t, SomaC490*>> m_analiticos;  // the day's lines met, by packed key
};

}  // namespace qmx::efd
