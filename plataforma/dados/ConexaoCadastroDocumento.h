#pragma once

#include <cstdint>
#include <string>

#include "plataforma/dados/ConexaoDados.h"
#include "plataforma/dados/RegistroDocumentos.h"

namespace qmx::dados {

// The document types server.
class IZTDF_TipoDocumento {
 public:
  virtual ~IZTDF_TipoDocumento() = default;
  virtual com::HRESULT Le(std::uint16_t codigo, REG_TIPO_DOCUMENTOPS* registro) = 0;
  // The fiscal-document model of a document type; "record not found" when
  // the type has none.
  virtual com::HRESULT GetDocFiscal(std::uint16_t tipoDocumento, REG_DOC_FISCAIS* registro) = 0;
};

// Connection to the document types (CConexaoDFSTDC is the same server as
// the customer history knows it).
class CConexaoCadastroDocumento : public CConexaoDados, public IZTDF_TipoDocumento {
 public:
  IZTDF_TipoDocumento* GetInterface() { return Inicializada() ? this : nullptr; }
  com::HRESULT Le(std::uint16_t codigo, REG_TIPO_DOCUMENTOPS* registro) override;
  com::HRESULT GetDocFiscal(std::uint16_t tipoDocumento, REG_DOC_FISCAIS* registro) override;
};

class CConexaoDFSTDC : public CConexaoCadastroDocumento {};

// The closed function of the same name: the fiscal-document record of a
// document type, through a connection of its own.
com::HRESULT GetDocFiscal(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                          std::uint16_t tipoDocumento, REG_DOC_FISCAIS* registro);

}  // namespace qmx::dados
