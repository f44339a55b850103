#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plataforma/dados/ConexaoECSCX.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/impressora/ImpressoraEmulada.h"

namespace qmx::impressora {

// The emulated printer's fiscal memory and detail memory (MFD): the
// movement of its own ECF, found by its serial number in the database of
// the company named by its settings (value "Empresa"). Its Z reductions
// are the fiscal memory; its cupons, Z reductions and logged documents,
// by COO, are the detail memory. Without a company, or without an ECF of
// that serial number there, the memories hold no movement.
class CMemoriaEmulada {
 public:
  // A part of the memories: movement dates (day numbers) or COOs.
  struct Faixa {
    bool porCOO = false;
    std::uint32_t inicio = 0;
    std::uint32_t fim = 0;
  };
  using PorCupom = std::function<void(const REG_EC_CXPS&, const std::vector<REG_EC_CX_CIPS>&,
                                      const std::vector<REG_EC_CX_PAGAMENTOPS>&)>;

  explicit CMemoriaEmulada(const ConfiguracaoImpressora& configuracao);

  bool TemMovimento() const { return m_temEmissora; }
  const REG_EMISSORPS& Emissora() const { return m_emissora; }
  const REG_FILIALPS& Filial() const { return m_filial; }
  const std::string& RazaoSocial() const { return m_razaoSocial; }
  bool DescontoISSQN() const { return m_descontoISSQN; }

  // The Z reductions with movement dates (or CRZ) in the range, by CRZ;
  // a reduction of counter 0 is no reduction.
  std::vector<REG_REDUCAO_ZPS> Reducoes(bool porCRZ, std::uint32_t inicio, std::uint32_t fim);
  // A reduction's partial totalizers, in order: one per rate, then the
  // fixed codes.
  void Totalizadores(const REG_REDUCAO_ZPS& reducao,
                     const std::function<void(const std::string&, std::int64_t)>& porTotalizador);
  // The first and last COO of the detail memory (0 and 0 when empty).
  void FaixaCOO(std::uint32_t* primeiro, std::uint32_t* ultimo);

  // The cupons fiscais of the range (consumer notas are no cupons), day by
  // day and by sequence, with their items and payments.
  void PercorreCupons(const Faixa& faixa, const PorCupom& porCupom);
  // The other documents of the range (the ECF's document log), by date and COO.
  void PercorreDocumentos(const Faixa& faixa, const std::function<void(const REG_DOCUMENTO_ECFPS&)>& porDocumento);

  // An item's partial totalizer ("01T1800", "F1", "NS1", ...), its unit
  // and whether it is a product made by the company.
  std::string Totalizador(const REG_EC_CX_CIPS& item) const;
  std::string Unidade(const REG_EC_CX_CIPS& item);
  bool Producao(const REG_EC_CX_CIPS& item);
  std::string NomeForma(std::uint16_t forma) const;

  // The days that hold the range: its dates, or those of its COOs; false
  // when it holds none.
  bool Dias(const Faixa& faixa, NumeroDia* inicial, NumeroDia* final);
  static bool NaFaixa(const Faixa& faixa, std::uint32_t coo) {
    return !faixa.porCOO || (coo >= faixa.inicio && coo <= faixa.fim);
  }

 private:

  bool m_temEmissora = false;
  REG_EMISSORPS m_emissora{};
  REG_FILIALPS m_filial{};
  std::string m_razaoSocial;
  bool m_descontoISSQN = false;
  std::map<int, std::string> m_codigosAliquota;  // (type << 16 | rate) -> code
  std::map<std::uint16_t, std::string> m_formas;
  std::map<std::uint32_t, REG_PRODUTOPS> m_produtos;
  std::map<std::uint16_t, std::string> m_unidades;
  dados::CConexaoECSCX m_caixa;
  dados::CConexaoProduto m_catalogo;
};

// Reads a date the printer layer was given: "dd/mm/aaaa", "ddmmaaaa" or
// "ddmmaa" (a two-digit year in the hundred years of today, JanelaDatas.h);
// 0 when it is none.
NumeroDia DiaDoTexto(const char* texto);

}  // namespace qmx::impressora
