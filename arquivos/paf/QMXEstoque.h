#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "arquivos/QMXFiltroArquivo.h"
#include "plataforma/ui/ProdutoEditEx.h"

namespace qmx {

// Filter dialog of the Estoque file of a branch. The "Estoque Parcial"
// group holds a list of chosen products (code and description, each code
// once); with an empty list every product of the branch is written.
class CQMXEstoque : public CQMXFiltroArquivo {
 public:
  static constexpr int IDD = 14023;
  static constexpr int IDC_NOME_FILIAL = 13012;
  static constexpr int IDC_FILIAL = 13013;
  static constexpr int IDC_PRODUTO = 13070;
  static constexpr int IDC_NOME_PRODUTO = 13071;
  static constexpr int IDC_LISTA = 13072;
  static constexpr int IDC_ADICIONAR = 13073;
  static constexpr int IDC_REMOVER = 13075;

  static constexpr const char* kTitulo = "Torvo ECF - Arquivo Eletrônico Estoque";

  CQMXEstoque() : CQMXFiltroArquivo(IDD, "QMXEstoque") {}

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id, int notificacao) override;
  void OnKillFocus(int idControle) override;

 private:
  void Adiciona();
  void Remove();
  std::vector<std::uint32_t> Escolhidos() const;
  // The ECF connected to this computer, as the company's ECFs list it.
  std::optional<REG_EMISSORPS> EmissoraDesteComputador() const;
  void Aviso(const std::string& texto) const;

  ui::CProdutoEditEx m_edProduto;
};

}  // namespace qmx
