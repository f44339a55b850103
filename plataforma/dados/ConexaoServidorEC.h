#pragma once

#include <cstdint>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"
#include "plataforma/dados/RegistroNotaFiscal.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::dados {

// The notas-fiscais interface of the EC server.
class IZTDF_NotasFiscais {
 public:
  virtual ~IZTDF_NotasFiscais() = default;
  // The notas of a branch dated in the period (both ends included), by date
  // and key.
  virtual com::HRESULT ListaNotas(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                                  std::vector<std::uint32_t>* notas) = 0;
  // A nota with its items, by item sequence.
  virtual com::HRESULT LeNota(std::uint32_t nota, REG_NOTA_FISCALPS* registro, std::vector<REG_ITENS_NF_PS>* itens) = 0;
  // The payments of a nota, by sequence.
  virtual com::HRESULT LePagamentosNota(std::uint32_t nota, std::vector<REG_NF_PAGAMENTOPS>* pagamentos) = 0;
  // The nota's participant as it was when the nota was issued (whatever
  // the register says now); "record not found" for a nota written before
  // the notas kept it whose participant had already left the register.
  virtual com::HRESULT LeParticipanteDaNota(std::uint32_t nota, ZTCFRT* participante) = 0;
};

class CConexaoServidorEC : public CConexaoDados, public IZTDF_NotasFiscais {
 public:
  IZTDF_NotasFiscais* GetINotaFiscal() { return Inicializada() ? this : nullptr; }

  com::HRESULT ListaNotas(std::uint16_t filial, NumeroDia dataInicial, NumeroDia dataFinal,
                          std::vector<std::uint32_t>* notas) override;
  com::HRESULT LeNota(std::uint32_t nota, REG_NOTA_FISCALPS* registro, std::vector<REG_ITENS_NF_PS>* itens) override;
  com::HRESULT LePagamentosNota(std::uint32_t nota, std::vector<REG_NF_PAGAMENTOPS>* pagamentos) override;
  com::HRESULT LeParticipanteDaNota(std::uint32_t nota, ZTCFRT* participante) override;
};

}  // namespace qmx::dados
