#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "arquivos/efd/ColecoesVendaPeriodo.h"
#include "arquivos/ContagemRegistros.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/QMXGenerica.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::venda {

// What the operator chose.
struct FiltroVenda {
  std::uint16_t filial = 0;
  NumeroDia dataInicial = 0;
  NumeroDia dataFinal = 0;
  char perfil = 'A';
};

// The opening register 0000 and the body of block 0 (0005, 0015, 0100,
// 0150, 0190, 0200, 0400, 0460) from the branch record and the
// collections that the other blocks filled. Failing reads are reported
// (QMXVendaPeriodo) and end the register concerned, except in 0200: a
// product or service that cannot be read there abandons the file.
class CBloco0VendaPeriodo {
 public:
  CBloco0VendaPeriodo(const TriploConexao& triplo, const FiltroVenda& filtro, ColecoesVendaPeriodo& colecoes,
                      CContagemRegistros& contagem);

  // The body with each register counted, and its line count; nothing when
  // 0200 failed.
  std::optional<std::string> Corpo(std::uint32_t& linhas);
  std::string Registro0000();

 private:
  std::uint32_t Registro0005(std::string& texto);
  std::uint32_t Registro0015(std::string& texto);
  std::uint32_t Registro0100(std::string& texto);
  std::uint32_t Registro0150(std::string& texto);
  std::uint32_t Registro0190(std::string& texto);
  std::optional<std::uint32_t> Registro0200(std::string& texto);
  std::uint32_t Registro0400(std::string& texto);
  std::uint32_t Registro0460(std::string& texto);
  void Reporta(std::int32_t resultado, int linha) const;

  TriploConexao m_triplo;
  FiltroVenda m_filtro;
  ColecoesVendaPeriodo& m_c;
  CContagemRegistros& m_contagem;
  CQMXGenerica m_generica;
  REG_FILIALPS m_filial{};
};

}  // namespace qmx::venda
