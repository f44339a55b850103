#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/dados/GravadorEmpresa.h"

namespace qmx::testes {

// The engine a test company lives on.
enum class MotorTeste { SQLite, Postgres };
const char* NomeMotor(MotorTeste motor);

// A company of the test's own: a registry file naming it, its folders in a
// temporary folder and its database, with the records the test writes.
// On SQLite the database is a file in the company's folder; on PostgreSQL
// it is a schema of its own in the server named by QMX_TESTE_POSTGRES
// (a "key=value" connection string), dropped at the end.
class EmpresaTeste {
 public:
  explicit EmpresaTeste(MotorTeste motor = MotorTeste::SQLite, const std::string& chave = "TESTE");
  ~EmpresaTeste();
  EmpresaTeste(const EmpresaTeste&) = delete;
  EmpresaTeste& operator=(const EmpresaTeste&) = delete;

  // Whether a PostgreSQL server for the tests was given.
  static bool PostgresDisponivel();

  const std::string& Chave() const { return m_chave; }
  const std::string& Endereco() const { return m_endereco; }
  // The PostgreSQL schema (and session name) of the company; empty on SQLite.
  const std::string& Esquema() const { return m_esquema; }
  std::filesystem::path PastaEC() const { return m_pasta.Pasta() / "EC"; }
  const PastaTemporaria& Pasta() const { return m_pasta; }
  dados::CGravadorEmpresa& Gravador() { return *m_gravador; }

  // Records with the usual values; texts are Windows-1252.
  void Estado(std::uint16_t codigo, const std::string& sigla, const std::string& nome);
  void Municipio(std::uint16_t numero, const std::string& nome, const std::string& uf, std::int32_t ibge);
  REG_FILIALPS Filial(std::uint16_t numero, const std::string& fantasia, const std::string& uf,
                      const std::string& razaoSocial, std::uint16_t municipio = 0);
  REG_EMISSORPS Emissora(std::uint16_t numero, std::uint16_t filial, const std::string& serie,
                         const std::string& nome = {});
  void Usuario(std::uint16_t codigo, const std::string& nome, const std::vector<std::uint16_t>& filiais);
  void Mestre(NumeroDia dataInicio);
  void MestreFilial(std::uint16_t filial, const std::string& uf);
  // The point-of-sale system's flags, with ECFs controlled per branch or not.
  void ECFPorFilial(bool porFilial);

  // More keys of the machine's registry file (the installation folder, the
  // message catalogues, ...), added to the company's own.
  void AcrescentaRegistro(const std::string& linhas);
  // The emulated fiscal printer of this computer, answering in the folder
  // "ecf" of the company's temporary folder; its memories are the movement
  // of the company's ECF of that serial number.
  void ImpressoraEmulada(const std::string& serie, const std::string& outrosValores = {});
  std::filesystem::path PastaImpressora() const { return m_pasta.Pasta() / "ecf"; }

 private:
  MotorTeste m_motor;
  std::string m_chave;
  PastaTemporaria m_pasta;
  std::unique_ptr<RegistroTemporario> m_registro;
  std::string m_textoRegistro;
  std::string m_esquema;
  std::string m_endereco;
  std::unique_ptr<dados::CGravadorEmpresa> m_gravador;
};

// Copies a text into a record's array, cut and terminated.
template <std::size_t N>
void Copia(char (&destino)[N], const std::string& texto) {
  const std::size_t n = texto.size() < N - 1 ? texto.size() : N - 1;
  std::copy_n(texto.data(), n, destino);
  std::fill(destino + n, destino + N, '\0');
}

}  // namespace qmx::testes
