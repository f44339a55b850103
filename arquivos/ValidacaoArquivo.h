#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plataforma/cripto/Cripto.h"

namespace qmx::validacao {

// Checks a fiscal file, whoever wrote it, against the layout a tax
// office's validator reads it by (Convênio ICMS 57/95 for Sintegra, the
// Guia Prático da EFD of the file's layout version for the EFD ICMS/IPI
// files, the ER-PAF-ECF for the PAF-ECF files, the Ato COTEPE/ICMS 17/04
// for the detail memory), not against the library's own writers: the
// tables here are the published layouts, kept as data beside each
// family's validator.
//
// A rule the published texts state is an error; one that only the
// programs built on them agree on is a warning; what is only worth knowing
// (a signature block, a choice the library documents) is information.
//
// A file is read once, in pieces: what a rule needs is kept (counts, the
// codes a later line refers to), never the file, so a file of any size is
// checked in the memory of a few records.

enum class Gravidade { Erro, Aviso, Informacao };

struct Problema {
  std::size_t linha = 0;  // 1-based; 0 for the file as a whole
  std::string registro;   // "54", "C100", "R04"...; empty for the whole file
  std::string regra;      // a short name of the rule, for programs: "54-sem-50"
  std::string mensagem;   // Portuguese, for people
  Gravidade gravidade = Gravidade::Erro;
};

// All the times one rule was broken in one register: how many, the first
// one's text and the lines of the first three.
struct ResumoRegra {
  Gravidade gravidade = Gravidade::Erro;
  std::string regra;
  std::string registro;
  std::string mensagem;
  std::size_t vezes = 0;
  std::vector<std::size_t> linhas;
};

enum class TipoArquivo {
  Desconhecido,
  Sintegra,
  EFD,  // EFD ICMS/IPI: the SPED extract, the Venda do Período file, a whole EFD
  EFDContribuicoes,
  AtoCotepe,  // another file of the Atos COTEPE (first record E00), named only
  Movimentos,
  DAVs,
  TabelaProdutos,
  Estoque,
  ListaAutenticados,
  MFD,  // the detail memory and the fiscal-memory reading of Ato COTEPE/ICMS 17/04
};

// "Sintegra", "EFD ICMS/IPI", "Movimentos por ECF"...
const char* NomeTipo(TipoArquivo tipo);
// Whether the file is one the PAF-ECF signs with an EAD line.
bool AssinadoComEAD(TipoArquivo tipo);

struct Validacao {
  TipoArquivo tipo = TipoArquivo::Desconhecido;
  std::string versao;        // the layout version the file declares (EFD: COD_VER), if any
  std::size_t linhas = 0;    // lines of the file proper: no EAD line, no signature block
  // The EAD line the file ends in, if any, and the MD5 digest of all that
  // comes before it (what the signature covers).
  bool temLinhaEAD = false;
  std::string linhaEAD;
  std::optional<cripto::DigestMD5> digest;
  // The validation program's signature block after an EFD's 9999, in lines.
  std::size_t linhasAssinatura = 0;
  // The first three times each rule was broken, in the file's order, and
  // every rule with its count, errors first, in the order they first came.
  std::vector<Problema> problemas;
  std::vector<ResumoRegra> regras;

  bool Valido() const;
  std::size_t Erros() const;   // every time an error rule was broken
  std::size_t Avisos() const;
};

// The kind of file is told by its first record.
Validacao ValidaConteudo(std::string_view conteudo);
// The same of a file on disk, read in pieces; false in *legivel when it
// cannot be read.
Validacao ValidaArquivo(const std::string& caminhoNativo, bool* legivel);

}  // namespace qmx::validacao
