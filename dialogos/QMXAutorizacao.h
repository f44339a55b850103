#pragma once

#include <cstdint>
#include <string>

#include "frame/QMXExport.h"
#include "plataforma/dados/ServidorUsuarioCOM.h"
#include "plataforma/ui/Dialogo.h"
#include "plataforma/ui/ZTEdit.h"

// Asks for the name and password of a user whose consent an operation of
// the point of sale needs. The users' server checks them and tells whether
// the user is linked to a branch; on OK the caller reads the user's code.
//
//   CQMXAutorizacao autorizacao;
//   autorizacao.SetEmpresa(chave);
//   if (autorizacao.DoModal() == IDOK && autorizacao.m_bAutorizado) ... autorizacao.m_nUsuario ...
class QMX_API CQMXAutorizacao : public qmx::ui::CDialogo {
 public:
  static constexpr int IDD = 14032;
  static constexpr int IDC_USUARIO = 14033;
  static constexpr int IDC_SENHA = 14034;
  // Characters the operator may type in each field.
  static constexpr int kTamanhoCampo = 15;

  explicit CQMXAutorizacao(qmx::ui::CDialogo* pai = nullptr);
  ~CQMXAutorizacao() override;

  void SetEmpresa(const char* empresa);
  // 1 when the user is linked to at least one branch; 0 when not, and when
  // the server cannot tell (its failure is reported).
  int UsuarioTemVinculoComFilial(std::uint16_t usuario);

  void DoDataExchange(qmx::ui::CDataExchange* pDX) override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnClose() override;
  bool OnHelpInfo(qmx::ui::HELPINFO* ajuda);
  void OnHelp() override;

  bool m_bAutorizado = false;
  std::uint16_t m_nUsuario = 0;
  REG_CONEXAO_SERVIDORPS m_regConexao{};
  qmx::ui::CZTEdit m_edSenha;
  qmx::ui::CZTEdit m_edUsuario;
  std::string m_strEmpresa;
  qmx::dados::IZTDF_AcessoUsuario* m_pServidor = nullptr;

 private:
  void LiberaServidor();
  void Reporta(std::int32_t resultado, std::uint32_t mensagem, std::uint32_t detalhe, int linha) const;
  void RecusaTentativa(std::uint32_t mensagem);
};
