#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/RegistroEmissora.h"

namespace qmx::dados {
class CGravadorEmpresa;
}

namespace qmx::cli {

// How the demonstration company is made. Size 1 is six branches (São
// Paulo, Belo Horizonte, Rio de Janeiro, Brasília, Florianópolis and João
// Pessoa) with nine ECFs, four of them in branch 1; each step of the size
// adds as many branches again. The big store gives branch 1 twenty ECFs
// that sell 1 000 cupons of 8 items each every day of the month, for the
// benchmarks of the file generators. A chain (qmx demo --rede N) is N
// branches of one size, four ECFs each, every ECF selling 250 cupons of 8
// items a day it opens (branch 1 opens on Sundays too): the month an
// accounting office closes for every branch at once.
// The month of the movement, November 2026 unless told.
struct MesDemo {
  unsigned mes = 11;
  unsigned ano = 2026;
  NumeroDia Dia(int dia) const { return CodificaDia(static_cast<unsigned>(dia), mes, ano); }
  NumeroDia Primeiro() const { return Dia(1); }
  NumeroDia Ultimo() const { return Dia(Dias()); }
  int Dias() const { return static_cast<int>(DiasDoMes(mes, ano)); }
  // 0 for Sunday.
  int DiaDaSemana(int dia) const;
  // All Souls' Day, 2 November, when the branches but the first close.
  bool Finados(int dia) const { return mes == 11 && dia == 2; }
  // "DD/MM/AAAA" of a day of the month.
  std::string Texto(int dia) const { return TextoData(Dia(dia), true); }
};

struct OpcoesDemo {
  MesDemo mes;
  int tamanho = 1;
  bool lojaGrande = false;
  // Not 0: a chain of this many branches alike.
  int rede = 0;
  // The cupons a day of each of the big store's ECFs, or of each ECF of a
  // chain (qmx demo --cupons-por-dia): fewer make the same shape smaller.
  int cuponsLojaGrande = 1000;
  // The serial number of ECF 1, the emulated printer of this computer.
  std::string serieEmulada = "QMX0000000000000001";
  // A line per day of movement on stderr.
  bool progresso = false;
  // Not 0: a varied company drawn from this seed (qmx demo --variada): a
  // few days of the month with a few cupons each, whose events (the notas
  // of every kind, the consumer notas, the interventions) are those of the
  // days drawn, and registers varied as real stores have them (see
  // AplicaVariedade). The same seed always gives the same rows.
  std::uint64_t variedade = 0;
};

// A branch and an ECF as the catalogue and the movement need them.
struct FilialDemo {
  std::uint16_t numero = 0;
  std::string uf;
  std::int32_t municipioIBGE = 0;
  std::string municipio;  // its city's name
};

struct EmissoraDemo {
  std::uint16_t numero = 0;
  std::uint16_t filial = 0;
  std::vector<REG_EMISSOR_ALIQUOTA> aliquotas;  // the ECF's rate table, by position
};

struct CadastrosDemo {
  std::vector<FilialDemo> filiais;
  std::vector<EmissoraDemo> emissoras;
  int usuarios = 0;
  int municipios = 0;
};

// What the month of movement wrote.
struct ContagemMovimentoDemo {
  long long cupons = 0;  // cupons fiscais and consumer notas
  long long itens = 0;
  long long pagamentos = 0;
  long long parcelas = 0;
  long long reducoes = 0;
  long long documentos = 0;  // entries of the ECFs' document logs
  long long notas = 0;
  long long davs = 0;
  long long posicoes = 0;
  long long inventario = 0;
  // The COOs of ECF 1 in the month: the range of the emulated printer's
  // detail memory.
  std::uint32_t primeiroCOOEmissora1 = 0;
  std::uint32_t ultimoCOOEmissora1 = 0;
  // The first day of the month with movement.
  int primeiroDia = 1;
};

struct ResumoEmpresaDemo {
  int filiais = 0;
  int emissoras = 0;
  int usuarios = 0;
  int municipios = 0;
  ContagemMovimentoDemo movimento;
  double segundosVacuo = 0;  // the server's VACUUM ANALYZE after the loading
};

// The user whose login the demonstration shows for the authorization dialog.
constexpr const char* kLoginDemo = "supervisor";
constexpr const char* kSenhaDemo = "avila2026";


// Writes the whole demonstration company at a database address ("sqlite:"
// and a file, or a PostgreSQL connection string): registers, catalogue and
// a month of movement. A SQLite file is made anew; a PostgreSQL schema
// must be empty. The same options always give the same rows.
ResumoEmpresaDemo CriaEmpresaDemo(const std::string& endereco, const OpcoesDemo& opcoes);

// The registers alone (states, municipalities, branches, ECFs with their
// rate tables, users, point-of-sale master data), inside the caller's
// transaction.
CadastrosDemo GravaCadastrosDemo(dados::CGravadorEmpresa& gravador, const OpcoesDemo& opcoes);

// Documents with their check digits: a CNPJ from its first twelve digits
// and a CPF from its first nine, punctuated.
std::string CnpjComDigitos(const std::string& dozeDigitos);
std::string CpfComDigitos(const std::string& noveDigitos);

// Copies a text into a record's array, cut and terminated.
template <std::size_t N>
void Copia(char (&destino)[N], const std::string& texto) {
  const std::size_t n = std::min(texto.size(), N - 1);
  std::copy_n(texto.data(), n, destino);
  std::fill(destino + n, destino + N, '\0');
}

}  // namespace qmx::cli
