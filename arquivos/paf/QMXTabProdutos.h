#pragma once

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/ui/TabPrecoEdit.h"

namespace qmx {

// Filter dialog of the Tabela de Produtos file: a branch, the price table
// of its products and the price table of its services.
class CQMXTabProdutos : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14002;
  static constexpr int IDC_FILIAL = 14000;
  static constexpr int IDC_TABELA_PRODUTOS = 14001;
  static constexpr int IDC_TABELA_SERVICOS = 14003;
  static constexpr int IDC_NOME_FILIAL = 14004;
  static constexpr int IDC_NOME_TABELA_PRODUTOS = 14005;
  static constexpr int IDC_NOME_TABELA_SERVICOS = 14006;

  static constexpr const char* kTitulo = "Torvo ECF - Arquivo Eletrônico";

  CQMXTabProdutos() : CQMXFiltroArquivo(IDD, "QMXTabProdutos") {}

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void OnKillFocus(int idControle) override;

 private:
  void PreparaTabela(ui::CTabPrecoEdit& edit, int id, int idRotulo, std::uint8_t tipo);
  // A message through the printer layer's notice; false, for the checks.
  bool Aviso(const char* texto, int idFoco = 0);

  ui::CTabPrecoEdit m_edTabelaProdutos;
  ui::CTabPrecoEdit m_edTabelaServicos;
};

}  // namespace qmx
