#pragma once

#include <cstdint>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/PartidasContabeis.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/RegistroIntegracao.h"

namespace qmx::dados {

// The accounting grids of the integration server.
class IZTDF_Integracao {
 public:
  virtual ~IZTDF_Integracao() = default;
  virtual com::HRESULT LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) = 0;

  // Holds an ECF's integrations against a second writer until the caller's
  // transaction ends (two terminals running one pass for the same ECF).
  virtual com::HRESULT TravaEmissora(std::uint16_t emissora) = 0;
  // A new integration number (the COD of an integration key).
  virtual com::HRESULT NovoNumeroIntegracao(std::int32_t* numero) = 0;
  // Records an accounting entry. A refused entry is not written and its
  // result code (1 to 22; 21 a date in the branch's blocked month) says
  // why; 0 is recorded.
  virtual com::HRESULT GravaLancamento(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo) = 0;
  // The entries that account a stock movement, as written.
  virtual com::HRESULT LeLancamentosDoMovimento(std::uint32_t movimento,
                                                std::vector<REG_CONTABILIDADEPS>* lancamentos) = 0;
  // Records a fiscal-book line. A refused line is not written and its
  // status code says why (2344 a date in the branch's blocked month); 0 is
  // recorded.
  virtual com::HRESULT GravaItemLivro(const REG_LIVRO_FISCALPS& item, std::uint16_t* status) = 0;
  // Removes what an integration wrote: its accounting entries (FAC 1) or
  // fiscal-book lines (FAC 2) with the integration number.
  virtual com::HRESULT ExcluiIntegracao(std::int32_t fac, std::int32_t numero) = 0;
};

// The kinds of record that an integration key names (its FAC).
inline constexpr std::int32_t kIntegracaoContabil = 1;
inline constexpr std::int32_t kIntegracaoFiscal = 2;
inline constexpr std::int32_t kIntegracaoFinanceira = 3;

class CConexaoGradeContabil : public CConexaoDados, public IZTDF_Integracao {
 public:
  IZTDF_Integracao* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT LeGrade(std::uint16_t codigo, REG_GRADE_CONTABILPS* registro) override;
  com::HRESULT TravaEmissora(std::uint16_t emissora) override;
  com::HRESULT NovoNumeroIntegracao(std::int32_t* numero) override;
  com::HRESULT GravaLancamento(const REG_CONTABILIDADEPS& lancamento, std::uint16_t* codigo) override;
  com::HRESULT LeLancamentosDoMovimento(std::uint32_t movimento,
                                        std::vector<REG_CONTABILIDADEPS>* lancamentos) override;
  com::HRESULT GravaItemLivro(const REG_LIVRO_FISCALPS& item, std::uint16_t* status) override;
  com::HRESULT ExcluiIntegracao(std::int32_t fac, std::int32_t numero) override;
  // Records a day's fiscal-book lines in their order, as GravaItemLivro
  // would one after the other, with the natures and products they name
  // checked together: the lines up to the first refused one are written,
  // and `gravados` and `status` say how many and why it was refused.
  com::HRESULT GravaItensLivro(const std::vector<REG_LIVRO_FISCALPS>& itens, std::size_t* gravados,
                               std::uint16_t* status);

 private:
  CPartidasContabeis m_partidas;
};

}  // namespace qmx::dados
