#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "arquivos/SaidaTemporaria.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/com/HResult.h"

namespace qmx::tabela_produtos {

// The step of the generation that could not read its data.
enum class PassoFalho { Filial, RazaoSocial, ItensProdutos, ItensServicos };

class CFalhaTabelaProdutos : public std::runtime_error {
 public:
  CFalhaTabelaProdutos(PassoFalho passo, com::HRESULT resultado)
      : std::runtime_error("falha ao ler os dados da tabela de produtos"), m_passo(passo), m_resultado(resultado) {}
  PassoFalho Passo() const { return m_passo; }
  com::HRESULT Resultado() const { return m_resultado; }

 private:
  PassoFalho m_passo;
  com::HRESULT m_resultado;
};

// The table of the products and services that a branch sells, with the
// prices of a product price table and a service price table: P1, one P2
// line per item of either table in the order of their codes, P9. A data
// read that fails throws CFalhaTabelaProdutos naming its step; a file that
// cannot take its text throws CExcecaoArquivo.
class CGeradorTabelaProdutos {
 public:
  explicit CGeradorTabelaProdutos(const TriploConexao& triplo) : m_triplo(triplo) {}

  // Writes the file; answers the number of P2 lines.
  int Escreve(std::uint16_t filial, std::uint16_t tabelaProdutos, std::uint16_t tabelaServicos,
              CSaidaTemporaria& saida);

  // "TabelaProdutos" and the two table codes ("%02d" each).
  static std::string NomeArquivo(std::uint16_t tabelaProdutos, std::uint16_t tabelaServicos);

 private:
  TriploConexao m_triplo;
};

}  // namespace qmx::tabela_produtos
