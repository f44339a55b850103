#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::validacao {

// Checks a file the library writes against the layout a tax office's
// validator reads it by (Convênio ICMS 57/95 for Sintegra, the Guia Prático
// da EFD for the EFD-layout files, the ER-PAF-ECF for the PAF-ECF files, the
// Ato COTEPE/ICMS 17/04 for the detail memory), not against our own
// writers: the tables here are written from the published layouts alone.
//
// A rule the published texts state is an error; one that only the
// programs built on them agree on is a warning.

enum class Gravidade { Erro, Aviso };

struct Problema {
  std::size_t linha = 0;  // 1-based; 0 for the file as a whole
  std::string registro;   // "54", "C100", "R04"...; empty for the whole file
  std::string regra;      // a short name of the rule, for programs: "54-sem-50"
  std::string mensagem;   // Portuguese, for people
  Gravidade gravidade = Gravidade::Erro;
};

enum class TipoArquivo {
  Desconhecido,
  Sintegra,
  EFD,  // the SPED extract and the Venda do Período file
  Movimentos,
  DAVs,
  TabelaProdutos,
  Estoque,
  ListaAutenticados,
  MFD,  // the detail memory and the fiscal-memory reading of Ato COTEPE/ICMS 17/04
};

// "Sintegra", "EFD", "Movimentos por ECF"...
const char* NomeTipo(TipoArquivo tipo);

struct Validacao {
  TipoArquivo tipo = TipoArquivo::Desconhecido;
  bool temLinhaEAD = false;  // the file ends in an EAD line (not verified here)
  std::size_t linhas = 0;    // lines before the EAD line
  std::vector<Problema> problemas;

  bool Valido() const;
  std::size_t Erros() const;
};

// The kind of file is told by its first record.
Validacao ValidaConteudo(std::string_view conteudo);

}  // namespace qmx::validacao
