#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "plataforma/calendario/NumeroDia.h"

namespace qmx::validacao {

// The codes a field refers to, kept by a register of block 0.
enum class Tabela { Nenhuma, Participante, Unidade, Item, Natureza, Informacao, Observacao };

// A field as the Guia's table of a version gives it.
struct CampoEFD {
  std::string nome;
  char tipo = 'C';           // C text, N number
  std::size_t tamanho = 0;   // 0: none stated (a text then up to 255)
  bool exato = false;        // the size is exact
  int decimais = -1;         // at most; -1: none
  char obrigacao = 'O';      // O obligatory, C conditional (OC), N not to be filled
  bool data = false;         // DT_...: a date DDMMAAAA
  Tabela referencia = Tabela::Nenhuma;
};

struct RegistroEFD {
  std::string reg;
  int nivel = 0;
  std::string pai;
  bool obrigatorio = false;  // at least one (inside a parent that has data)
  bool unico = false;        // at most one in its parent
  bool semCampos = false;    // the table gives the register but not its fields
  std::vector<CampoEFD> campos;  // after REG
};

// The layout of one version of one of the two EFD files.
struct LeiauteEFD {
  bool contribuicoes = false;
  int versao = 0;
  NumeroDia inicio = 0, fim = 0;  // the periods the version is for; 0: not known
  std::string blocos;             // the block letters in the file's order
  std::string blocosObrigatorios;
  std::unordered_map<std::string, RegistroEFD> registros;

  const RegistroEFD* Registro(std::string_view reg) const {
    const auto r = registros.find(std::string(reg));
    return r == registros.end() ? nullptr : &r->second;
  }
};

// The layout of a version (COD_VER as a number), built from the published
// tables the program carries; nothing for a version they do not describe.
const LeiauteEFD* LeiauteDaVersao(bool contribuicoes, int versao);
// The newest version the tables describe.
int UltimaVersao(bool contribuicoes);

}  // namespace qmx::validacao
