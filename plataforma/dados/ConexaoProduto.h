#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroCatalogo.h"

namespace qmx::dados {

// The products server's operations: products with their tax data per
// branch, services, units of both kinds, PIS/COFINS rates and price tables.
class IZTDF_Produto {
 public:
  virtual ~IZTDF_Produto() = default;
  // The product with its tax data in the branch (zero when it has none there).
  virtual com::HRESULT Le(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) = 0;
  // The product without branch data (code, description, unit, ...).
  // A product (or service) that is no longer in the register, as its
  // latest document sold it: the branch's last cupom item, else the last
  // nota item (description, unit, NCM, tax letter, rate and situation);
  // "record not found" when no document names it.
  virtual com::HRESULT LeDosDocumentos(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) = 0;
  virtual com::HRESULT LeServicoDosDocumentos(std::uint32_t codigo, REG_SERVICOSPS* registro) = 0;
  virtual com::HRESULT LeLight(std::uint32_t codigo, REG_PRODUTOPS* registro) = 0;
  virtual com::HRESULT LeUnidade(std::uint16_t codigo, REG_UNIDADES_MEDIDAPS* registro) = 0;
  virtual com::HRESULT LeServico(std::uint32_t codigo, REG_SERVICOSPS* registro) = 0;
  virtual com::HRESULT LeUnidadeServico(std::uint16_t codigo, REG_UNIDADES_MEDIDA_SERVICOSPS* registro) = 0;
  // A service's PIS and COFINS rates (hundredths of a percent).
  virtual com::HRESULT LePisCofinsServico(std::uint32_t codigo, std::uint16_t* pis, std::uint16_t* cofins) = 0;
  // Every PIS and COFINS rate of the product, by kind and start.
  virtual com::HRESULT LePisCofins(std::uint32_t produto, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>* aliquotas) = 0;
  // Every product, by code, with its data in the branch; the callback
  // answers false to stop.
  virtual com::HRESULT PercorreProdutos(std::uint16_t filial,
                                        const std::function<bool(const REG_PRODUTOPS&)>& porProduto) = 0;
  virtual com::HRESULT LeTabelaPreco(std::uint8_t tipo, std::uint16_t codigo, REG_TABELA_PRECOPS* registro) = 0;
  // The items of a price table, by item code.
  virtual com::HRESULT PercorreTabelaPreco(std::uint8_t tipo, std::uint16_t tabela,
                                           const std::function<bool(const REG_ITEM_TABELA_PRECOPS&)>& porItem) = 0;
};

// Connection to the catalogue. CConexaoDFSPRO and CConexaoServico are the
// same server under the names their callers know it by.
class CConexaoProduto : public CConexaoDados, public IZTDF_Produto {
 public:
  IZTDF_Produto* GetInterface() { return Inicializada() ? this : nullptr; }

  com::HRESULT Le(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) override;
  com::HRESULT LeDosDocumentos(std::uint32_t codigo, std::uint16_t filial, REG_PRODUTOPS* registro) override;
  com::HRESULT LeServicoDosDocumentos(std::uint32_t codigo, REG_SERVICOSPS* registro) override;
  com::HRESULT LeLight(std::uint32_t codigo, REG_PRODUTOPS* registro) override;
  com::HRESULT LeUnidade(std::uint16_t codigo, REG_UNIDADES_MEDIDAPS* registro) override;
  com::HRESULT LeServico(std::uint32_t codigo, REG_SERVICOSPS* registro) override;
  com::HRESULT LeUnidadeServico(std::uint16_t codigo, REG_UNIDADES_MEDIDA_SERVICOSPS* registro) override;
  com::HRESULT LePisCofinsServico(std::uint32_t codigo, std::uint16_t* pis, std::uint16_t* cofins) override;
  com::HRESULT LePisCofins(std::uint32_t produto, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>* aliquotas) override;

  // Several at once, by code, for a pass over many items: the products as
  // Le reads them (a code not found is absent), the units, and the PIS and
  // COFINS rates as LePisCofins (an entry for every code asked, empty when
  // it has none).
  com::HRESULT LeProdutos(const std::vector<std::uint32_t>& codigos, std::uint16_t filial,
                        std::map<std::uint32_t, REG_PRODUTOPS>* produtos);
  com::HRESULT LeUnidades(const std::vector<std::uint16_t>& codigos,
                          std::map<std::uint16_t, REG_UNIDADES_MEDIDAPS>* unidades);
  com::HRESULT LePisCofinsDeVarios(const std::vector<std::uint32_t>& produtos,
                                   std::map<std::uint32_t, std::vector<REG_ITENS_PIS_COFINS_PRODUTOPS>>* aliquotas);
  com::HRESULT PercorreProdutos(std::uint16_t filial,
                                const std::function<bool(const REG_PRODUTOPS&)>& porProduto) override;
  com::HRESULT LeTabelaPreco(std::uint8_t tipo, std::uint16_t codigo, REG_TABELA_PRECOPS* registro) override;
  com::HRESULT PercorreTabelaPreco(std::uint8_t tipo, std::uint16_t tabela,
                                   const std::function<bool(const REG_ITEM_TABELA_PRECOPS&)>& porItem) override;
};

class CConexaoDFSPRO : public CConexaoProduto {};
class CConexaoServico : public CConexaoProduto {};

}  // namespace qmx::dados
