#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/RegistroCaixa.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx {

// Read-only view of one past cupom of a customer: its header (date, number,
// ECF, the ECF's branch, total, origin), its items and its installments,
// all read from the data servers as the dialog opens. A read that fails
// leaves its fields or list empty and shows nothing of its own.
class CQMXHistCliDlg : public ui::CDialogo {
 public:
  static constexpr int IDD = 14026;
  static constexpr int IDC_NOME_FANTASIA = 13027;
  static constexpr int IDC_ECF = 13028;
  static constexpr int IDC_VALOR_TOTAL = 13029;
  static constexpr int IDC_NUMERO_CUPOM = 13030;
  static constexpr int IDC_ORIGEM = 13031;
  static constexpr int IDC_ITENS = 13032;
  static constexpr int IDC_PARCELAS = 13033;
  static constexpr int IDC_DATA = 13034;

  CQMXHistCliDlg() : ui::CDialogo(IDD) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                  std::uint32_t numeroCupom, NumeroDia data, std::uint16_t numeroEcf);

  std::uint32_t NumeroCupom() const { return m_nNumeroCupom; }
  NumeroDia Data() const { return m_nData; }
  std::uint16_t NumeroEcf() const { return m_nNumeroEcf; }

  // The origin of a cupom as the operator reads it; empty for an unknown code.
  static std::string TextoOrigem(std::uint8_t origem);

 protected:
  void DoDataExchange(ui::CDataExchange* pDX) override;
  bool OnInitDialog() override;
  void OnHelp() override;

 private:
  void MostraCupom();
  void PreencheItens(const std::vector<REG_EC_CX_CIPS>& itens);
  void PreencheParcelas(const std::vector<REG_EC_CX_PARCELAPS>& parcelas);
  void MostraEcfEFilial();

  std::string m_strEmpresa;
  std::int32_t m_nContexto = 0;
  std::uint32_t m_nNumeroCupom = 0;
  std::uint16_t m_nUsuario = 0;
  NumeroDia m_nData = 0;
  std::uint16_t m_nNumeroEcf = 0;
  dados::CConexaoProduto m_conProduto;
  dados::CConexaoServico m_conServico;
  ui::CControle* m_lstParcelas = nullptr;
  ui::CControle* m_lstItens = nullptr;
};

}  // namespace qmx
