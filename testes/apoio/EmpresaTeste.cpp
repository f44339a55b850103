#include "apoio/EmpresaTeste.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>

#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/PoolSessoes.h"
#include "plataforma/processo/Sistema.h"

namespace qmx::testes {

namespace {

std::string BasePostgres() {
  const char* base = std::getenv("QMX_TESTE_POSTGRES");
  return base ? base : "";
}

}  // namespace

const char* NomeMotor(MotorTeste motor) { return motor == MotorTeste::SQLite ? "SQLite" : "Postgres"; }

bool EmpresaTeste::PostgresDisponivel() {
  // Where PostgreSQL is required (continuous integration), its absence is
  // a failure, not a skipped test.
  if (BasePostgres().empty() && std::getenv("QMX_EXIGE_POSTGRES"))
    throw std::runtime_error("QMX_EXIGE_POSTGRES definida, mas QMX_TESTE_POSTGRES não");
  return !BasePostgres().empty();
}

EmpresaTeste::EmpresaTeste(MotorTeste motor, const std::string& chave) : m_motor(motor), m_chave(chave) {
  std::filesystem::create_directories(PastaEC());
  if (motor == MotorTeste::SQLite) {
    m_endereco = "sqlite:" + (PastaEC() / "empresa.db").string();
  } else {
    if (!PostgresDisponivel()) throw std::runtime_error("QMX_TESTE_POSTGRES não definida");
    static std::atomic<int> contador{0};
    m_esquema = "qmx_t" + std::to_string(sistema::IdProcesso()) + "_" + std::to_string(++contador);
    auto admin = dados::AbreSessao(BasePostgres());
    admin->ExecutaScript("DROP SCHEMA IF EXISTS " + m_esquema + " CASCADE; CREATE SCHEMA " + m_esquema);
    // The schema's name also names the sessions, so a test can find its own.
    m_endereco = BasePostgres() + " application_name=" + m_esquema + " options='-c search_path=" + m_esquema + "'";
  }
  m_textoRegistro = "[SOFTWARE\\ZT Redudeva\\Empresas\\" + chave + "]\nEC=" + PastaEC().string() +
                    "/\nBaseDados=" + m_endereco + "\n";
  m_registro = std::make_unique<RegistroTemporario>(m_textoRegistro);
  m_gravador = std::make_unique<dados::CGravadorEmpresa>(m_endereco, true);
}

EmpresaTeste::~EmpresaTeste() {
  m_gravador.reset();
  dados::CPoolSessoes::Instancia().Descarta(m_endereco);
  if (!m_esquema.empty()) {
    try {
      dados::AbreSessao(BasePostgres())->ExecutaScript("DROP SCHEMA IF EXISTS " + m_esquema + " CASCADE");
    } catch (...) {
      // A stopped server keeps the schema; the next run of the script starts a fresh one.
    }
  }
}

void EmpresaTeste::AcrescentaRegistro(const std::string& linhas) {
  m_textoRegistro += linhas;
  if (!m_textoRegistro.empty() && m_textoRegistro.back() != '\n') m_textoRegistro += '\n';
  m_registro->Reescreve(m_textoRegistro);
}

void EmpresaTeste::ImpressoraEmulada(const std::string& serie, const std::string& outrosValores) {
  AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\nModelo=EMULADA\nNumeroSerie=" + serie +
                     "\nPastaRetorno=" + PastaImpressora().string() + "\nEmpresa=" + m_chave + "\n" + outrosValores);
}

void EmpresaTeste::Estado(std::uint16_t codigo, const std::string& sigla, const std::string& nome) {
  REG_ESTADOPS e{.Codigo = codigo};
  Copia(e.Sigla, sigla);
  Copia(e.Nome, nome);
  m_gravador->GravaEstado(e);
}

void EmpresaTeste::Municipio(std::uint16_t numero, const std::string& nome, const std::string& uf,
                             std::int32_t ibge) {
  REG_MUNICIPIO_PS m{.Numero = numero, .CodigoIBGE = ibge};
  Copia(m.Nome, nome);
  Copia(m.UF, uf);
  m_gravador->GravaMunicipio(m);
}

REG_FILIALPS EmpresaTeste::Filial(std::uint16_t numero, const std::string& fantasia, const std::string& uf,
                                  const std::string& razaoSocial, std::uint16_t municipio) {
  REG_FILIALPS f{.Municipio = municipio, .Numero = numero, .InscricaoEstadual = "110.042.490.114", .HabilitadaECF = 1};
  Copia(f.NomeFantasia, fantasia);
  Copia(f.UF, uf);
  Copia(f.Cnpj, "12.345.678/000" + std::to_string(numero % 10) + "-90");
  m_gravador->GravaFilial(f, razaoSocial);
  return f;
}

REG_EMISSORPS EmpresaTeste::Emissora(std::uint16_t numero, std::uint16_t filial, const std::string& serie,
                                     const std::string& nome) {
  REG_EMISSORPS e{.Numero = numero, .Filial = filial, .Marca = "EMULADA", .Modelo = "QMX-1", .Tipo = "ECF-IF",
                  .Habilitada = 1};
  Copia(e.Nome, nome.empty() ? "Caixa " + std::to_string(numero) : nome);
  Copia(e.NumeroSerie, serie);
  m_gravador->GravaEmissora(e);
  return e;
}

void EmpresaTeste::Usuario(std::uint16_t codigo, const std::string& nome, const std::vector<std::uint16_t>& filiais) {
  REG_USUARIOPS u{.Codigo = codigo};
  Copia(u.Nome, nome);
  for (auto f : filiais) u.Filiais[f] = 1;
  m_gravador->GravaUsuario(u);
}

void EmpresaTeste::Mestre(NumeroDia dataInicio) {
  m_gravador->GravaMestre(
      {.DataInicioSistema = dataInicio, .NaturezaVenda = 5102, .NaturezaVendaST = 5405, .NaturezaServico = 5933});
}

void EmpresaTeste::MestreFilial(std::uint16_t filial, const std::string& uf) {
  REG_EC_MESTRE_FILIALPS p{.Filial = filial};
  Copia(p.UF, uf);
  m_gravador->GravaMestreFilial(p);
}

void EmpresaTeste::ECFPorFilial(bool porFilial) {
  std::string digitos(100, '0');
  digitos[45] = porFilial ? '1' : '0';
  m_gravador->GravaDadosInicializacao(19, digitos);
}

}  // namespace qmx::testes
