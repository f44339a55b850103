#pragma once

#include <cstdint>
#include <string>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/ui/Dialogo.h"

namespace qmx {

// Read-only view of one past cupom of a customer: header, items and
// installments.
class CQMXHistCliDlg : public ui::CDialogo {
 public:
  static constexpr int IDD = 14026;
  CQMXHistCliDlg() : ui::CDialogo(IDD) {}

  bool Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                  std::uint32_t numeroCupom, std::uint16_t data, std::uint16_t numeroEcf);

  std::uint32_t NumeroCupom() const { return m_nNumeroCupom; }
  std::uint16_t Data() const { return m_nData; }
  std::uint16_t NumeroEcf() const { return m_nNumeroEcf; }

 private:
  TriploConexao m_triplo;
  std::uint32_t m_nNumeroCupom = 0;
  std::uint16_t m_nData = 0;
  std::uint16_t m_nNumeroEcf = 0;
};

}  // namespace qmx
