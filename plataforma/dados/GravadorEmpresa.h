#pragma once

#include <memory>
#include <string>
#include <vector>

#include "plataforma/dados/RegistroCadastros.h"
#include "plataforma/dados/RegistroEmissora.h"
#include "plataforma/dados/RegistroFilial.h"
#include "plataforma/dados/RegistroMestre.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Writes a company's registers: what the company's own programs do, and
// what the demonstration and the tests use to build a company. Records
// come in the library's form (Windows-1252 texts) and are stored as UTF-8.
// Saving a record with the key of an existing one replaces it. Failures
// throw CErroDados; writes between Inicia and Confirma land together or
// not at all.
class CGravadorEmpresa {
 public:
  // Opens (and, when asked, creates) the database at the address and
  // brings its schema up to date.
  explicit CGravadorEmpresa(const std::string& endereco, bool cria = true);
  ~CGravadorEmpresa();

  void Inicia();
  void Confirma();
  void Desfaz();

  void GravaEstado(const REG_ESTADOPS& estado);
  void GravaMunicipio(const REG_MUNICIPIO_PS& municipio);
  void GravaFilial(const REG_FILIALPS& filial, const std::string& razaoSocial, const std::string& suframa = {});
  void GravaInscricaoSubstituta(std::uint16_t filial, std::uint16_t sequencia, const REG_IE_SUBSTITUTOPS& inscricao);
  void GravaEmissora(const REG_EMISSORPS& emissora);
  void GravaAliquota(const REG_EMISSOR_ALIQUOTA& aliquota);
  void GravaMestre(const REG_EC_MESTREPS& mestre);
  void GravaMestreFilial(const REG_EC_MESTRE_FILIALPS& parametros);
  // The user and exactly the branches flagged in its table.
  void GravaUsuario(const REG_USUARIOPS& usuario);
  // The user's login name and password, kept as a salted hash.
  void GravaSenhaUsuario(std::uint16_t codigo, const std::string& login, const std::string& senha);
  // One digit per position, position 0 first.
  void GravaDadosInicializacao(std::uint16_t sistema, const std::string& digitos);

  CSessaoDados& Sessao() { return *m_sessao; }

 private:
  void Substitui(const std::string& tabela, const std::vector<std::string>& colunas, std::size_t colunasChave,
                 const std::vector<ParametroDados>& valores);

  std::unique_ptr<CSessaoDados> m_sessao;
};

}  // namespace qmx::dados
