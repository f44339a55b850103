#include "cli/EmpresaDemo.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "cli/CatalogoDemo.h"
#include "cli/MovimentoDemo.h"
#include "cli/VariedadeDemo.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/GravadorEmpresa.h"

namespace qmx::cli {

namespace {

// The check digit of a document's digits, weights running from the right
// as the registries compute them (modulo 11, remainders 0 and 1 give 0).
char DigitoModulo11(const std::string& digitos, int pesoMaximo) {
  int soma = 0, peso = 2;
  for (auto c = digitos.rbegin(); c != digitos.rend(); ++c) {
    soma += (*c - '0') * peso;
    peso = peso == pesoMaximo ? 2 : peso + 1;
  }
  const int resto = soma % 11;
  return static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
}

struct Estado {
  std::uint16_t codigo;
  const char* sigla;
  const char* nome;
};

// The states with their IBGE codes.
constexpr Estado kEstados[] = {
    {11, "RO", "Rondônia"},
    {12, "AC", "Acre"},
    {13, "AM", "Amazonas"},
    {14, "RR", "Roraima"},
    {15, "PA", "Pará"},
    {16, "AP", "Amapá"},
    {17, "TO", "Tocantins"},
    {21, "MA", "Maranhão"},
    {22, "PI", "Piauí"},
    {23, "CE", "Ceará"},
    {24, "RN", "Rio Grande do Norte"},
    {25, "PB", "Paraíba"},
    {26, "PE", "Pernambuco"},
    {27, "AL", "Alagoas"},
    {28, "SE", "Sergipe"},
    {29, "BA", "Bahia"},
    {31, "MG", "Minas Gerais"},
    {32, "ES", "Espírito Santo"},
    {33, "RJ", "Rio de Janeiro"},
    {35, "SP", "São Paulo"},
    {41, "PR", "Paraná"},
    {42, "SC", "Santa Catarina"},
    {43, "RS", "Rio Grande do Sul"},
    {50, "MS", "Mato Grosso do Sul"},
    {51, "MT", "Mato Grosso"},
    {52, "GO", "Goiás"},
    {53, "DF", "Distrito Federal"},
};

struct Municipio {
  const char* nome;
  const char* uf;
  std::int32_t ibge;
  const char* bairro;
  const char* cep;
  const char* ddd;
  const char* rua;
};

// Municipalities of the branches, in the order new branches take them: the
// first six states are those whose rules the files treat apart.
constexpr Municipio kMunicipios[] = {
    {"São Paulo", "SP", 3550308, "Sé", "01001-000", "11", "Rua Direita"},
    {"Belo Horizonte", "MG", 3106200, "Centro", "30130-010", "31", "Avenida Afonso Pena"},
    {"Rio de Janeiro", "RJ", 3304557, "Copacabana", "22070-011", "21", "Rua Barata Ribeiro"},
    {"Brasília", "DF", 5300108, "Asa Sul", "70390-025", "61", "SCS Quadra 2"},
    {"Florianópolis", "SC", 4205407, "Centro", "88010-400", "48", "Rua Felipe Schmidt"},
    {"João Pessoa", "PB", 2507507, "Tambaú", "58039-000", "83", "Avenida Almirante Tamandaré"},
    {"Campinas", "SP", 3509502, "Cambuí", "13025-320", "19", "Rua José Paulino"},
    {"Uberlândia", "MG", 3170206, "Santa Mônica", "38408-100", "34", "Avenida Rondon Pacheco"},
    {"Curitiba", "PR", 4106902, "Batel", "80420-090", "41", "Avenida do Batel"},
    {"Porto Alegre", "RS", 4314902, "Moinhos de Vento", "90570-020", "51", "Rua Padre Chagas"},
    {"Salvador", "BA", 2927408, "Barra", "40140-130", "71", "Avenida Sete de Setembro"},
    {"Recife", "PE", 2611606, "Boa Viagem", "51020-000", "81", "Avenida Conselheiro Aguiar"},
    {"Maceió", "AL", 2704302, "Ponta Verde", "57035-000", "82", "Avenida Álvaro Otacílio"},
    {"Goiânia", "GO", 5208707, "Setor Bueno", "74230-010", "62", "Avenida T-4"},
    {"Manaus", "AM", 1302603, "Adrianópolis", "69057-000", "92", "Avenida Djalma Batista"},
};

struct Aliquota {
  char tipo;
  std::uint16_t valor;
};

// Rate tables: 1 for branches in SP, 2 for the other states.
constexpr Aliquota kTabelaSP[] = {{'T', 1800}, {'T', 1200}, {'T', 700}, {'T', 2500}, {'S', 500}};
constexpr Aliquota kTabelaOutros[] = {{'T', 1800}, {'T', 1200}, {'T', 700}, {'S', 200}};

struct ModeloECF {
  const char* marca;
  const char* modelo;  // as the owner typed it: blanks and letter case vary
  std::int32_t codigo;
  const char* prefixoSerie;
};

// The printers of the company, taken in turn by the ECFs.
constexpr ModeloECF kModelos[] = {
    {"BEMATECH", "MP-4000 TH FI", 32101, "BE"}, {"BEMATECH", "MP-20 FI III", 30509, "BE"},
    {"SWEDA", "IFS T1000", 381802, "SW"},       {"EPSON", "TM-T81 FBII", 150404, "EP"},
    {"DARUMA", "FS345", 80502, "DR"},           {"DARUMA", "Fs2000", 80103, "DR"},
    {"SWEDA", "IFS T100", 381703, "SW"},        {"BEMATECH", "MP-25 FI", 31004, "BE"},
    {"SWEDA", "IFS-9000 IIIE", 381502, "SW"},
};

constexpr int kEstadosEspeciais = 6;

// How many ECFs a branch has: branch 1 is the busiest, the first branch of
// every further group of six has two, the others one; a chain's branches
// have four each.
int EmissorasDaFilial(int filial, const OpcoesDemo& opcoes) {
  if (opcoes.rede) return 4;
  if (filial == 1) return opcoes.lojaGrande ? 20 : 4;
  return (filial - 1) % kEstadosEspeciais == 0 ? 2 : 1;
}

REG_FILIALPS Filial(int n, const Municipio& municipio, std::int32_t numeroMunicipio, const MesDemo& mes) {
  REG_FILIALPS f{};
  f.Numero = static_cast<std::uint16_t>(n);
  f.Municipio = numeroMunicipio;
  char raiz[16];
  std::snprintf(raiz, sizeof raiz, "12345678%04d", n % 10000);
  Copia(f.Cnpj, CnpjComDigitos(raiz));
  Copia(f.NomeFantasia, std::string("Mercado Ávila ") + municipio.nome);
  Copia(f.InscricaoEstadual, std::to_string(110042490000LL + n));
  Copia(f.InscricaoMunicipal, std::to_string(4455000 + n));
  Copia(f.UF, municipio.uf);
  Copia(f.Cep, municipio.cep);
  Copia(f.Endereco, municipio.rua);
  Copia(f.NumeroEndereco, std::to_string(100 + 7 * n));
  if (n % 3 == 0) Copia(f.Complemento, "Loja " + std::to_string(n));
  Copia(f.Bairro, municipio.bairro);
  Copia(f.DDD, municipio.ddd);
  Copia(f.Telefone, std::to_string(32150000 + n));
  if (n % 2) Copia(f.Fax, std::to_string(32159000 + n));
  Copia(f.Email, "loja" + std::to_string(n) + "@mercadoavila.com.br");
  f.HabilitadaECF = 1;
  // The bakery of Belo Horizonte bakes for the other branches.
  f.Industrial = n == 2;
  f.ProgramaCredito = std::string(municipio.uf) == "DF";
  Copia(f.ContadorNome, "Conceição Contabilidade");
  Copia(f.ContadorCpf, "123.456.789-09");
  Copia(f.ContadorCrc, "1SP123456/O-7");
  Copia(f.ContadorCnpj, n == 1 ? CnpjComDigitos("987654320001") : "");
  Copia(f.ContadorCep, "01310-100");
  Copia(f.ContadorEndereco, "Avenida Paulista");
  Copia(f.ContadorNumero, "1578");
  Copia(f.ContadorBairro, "Bela Vista");
  Copia(f.ContadorDDD, "11");
  Copia(f.ContadorTelefone, "31420000");
  Copia(f.ContadorEmail, "fiscal@conceicaocontabil.com.br");
  f.ContadorMunicipio = 1;
  Copia(f.Contato, n == 1 ? "Gerente Raimundo" : "Gerente");
  // Rio de Janeiro closed the month before for accounting.
  const DiaMesAno anterior = DecodificaDia(mes.Primeiro() - 1);
  f.MesBloqueadoContabil = n == 3 ? CodificaMes(anterior.mes, anterior.ano) : 0;
  return f;
}

}  // namespace

int MesDemo::DiaDaSemana(int dia) const {
  static const int kDeslocamento[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  int a = static_cast<int>(ano);
  if (mes < 3) --a;
  return (a + a / 4 - a / 100 + a / 400 + kDeslocamento[mes - 1] + dia) % 7;
}

std::string CnpjComDigitos(const std::string& dozeDigitos) {
  std::string base = dozeDigitos;
  base += DigitoModulo11(base, 9);
  base += DigitoModulo11(base, 9);
  return base.substr(0, 2) + "." + base.substr(2, 3) + "." + base.substr(5, 3) + "/" + base.substr(8, 4) + "-" +
         base.substr(12, 2);
}

std::string CpfComDigitos(const std::string& noveDigitos) {
  std::string base = noveDigitos;
  base += DigitoModulo11(base, 11);
  base += DigitoModulo11(base, 11);
  return base.substr(0, 3) + "." + base.substr(3, 3) + "." + base.substr(6, 3) + "-" + base.substr(9, 2);
}

CadastrosDemo GravaCadastrosDemo(dados::CGravadorEmpresa& gravador, const OpcoesDemo& opcoes) {
  CadastrosDemo cadastros;
  for (const auto& e : kEstados) {
    REG_ESTADOPS r{};
    r.Codigo = e.codigo;
    Copia(r.Sigla, e.sigla);
    Copia(r.Nome, e.nome);
    gravador.GravaEstado(r);
  }
  for (std::size_t i = 0; i < std::size(kMunicipios); ++i) {
    REG_MUNICIPIO_PS m{};
    m.Numero = static_cast<std::uint16_t>(i + 1);
    Copia(m.Nome, kMunicipios[i].nome);
    Copia(m.UF, kMunicipios[i].uf);
    m.CodigoIBGE = kMunicipios[i].ibge;
    gravador.GravaMunicipio(m);
    ++cadastros.municipios;
  }
  std::vector<REG_EMISSOR_ALIQUOTA> tabelaSP, tabelaOutros;
  for (std::uint16_t p = 0; p < std::size(kTabelaSP); ++p)
    tabelaSP.push_back({1, static_cast<std::uint16_t>(p + 1), kTabelaSP[p].tipo, kTabelaSP[p].valor});
  for (std::uint16_t p = 0; p < std::size(kTabelaOutros); ++p)
    tabelaOutros.push_back({2, static_cast<std::uint16_t>(p + 1), kTabelaOutros[p].tipo, kTabelaOutros[p].valor});
  for (const auto& a : tabelaSP) gravador.GravaAliquota(a);
  for (const auto& a : tabelaOutros) gravador.GravaAliquota(a);

  const int filiais = opcoes.rede ? opcoes.rede : kEstadosEspeciais * opcoes.tamanho;
  int numeroEmissora = 0;
  for (int n = 1; n <= filiais; ++n) {
    const std::size_t indice = static_cast<std::size_t>(n - 1) % std::size(kMunicipios);
    const auto& municipio = kMunicipios[indice];
    const REG_FILIALPS f = Filial(n, municipio, static_cast<std::int32_t>(indice + 1), opcoes.mes);
    gravador.GravaFilial(f, "Comércio de Alimentos Ávila Ltda");
    if (n == 1) {
      // Registered as tax substitute in Minas Gerais and Rio de Janeiro.
      gravador.GravaInscricaoSubstituta(1, 1, {31, "0623079040081"});
      gravador.GravaInscricaoSubstituta(1, 2, {33, "77452011"});
    }
    REG_EC_MESTRE_FILIALPS p{};
    p.Filial = f.Numero;
    Copia(p.UF, municipio.uf);
    // João Pessoa sells without pre-sales and DAVs.
    p.SemPreVenda = p.SemDAV = std::string(municipio.uf) == "PB";
    gravador.GravaMestreFilial(p);
    cadastros.filiais.push_back({f.Numero, municipio.uf, municipio.ibge, municipio.nome});

    const bool sp = std::string(municipio.uf) == "SP";
    for (int k = 0; k < EmissorasDaFilial(n, opcoes); ++k) {
      const int e = ++numeroEmissora;
      const auto& modelo = kModelos[(e - 1) % std::size(kModelos)];
      REG_EMISSORPS r{};
      r.Numero = NumeroEmissora(opcoes, e);
      r.Filial = f.Numero;
      Copia(r.Nome, "Caixa " + std::to_string(r.Numero));
      char serie[24];
      std::snprintf(serie, sizeof serie, "%s%018d", modelo.prefixoSerie, 91010100 + e);
      Copia(r.NumeroSerie, e == 1 ? opcoes.serieEmulada : std::string(serie));
      Copia(r.Marca, e == 1 ? "EMULADA" : modelo.marca);
      Copia(r.Modelo, modelo.modelo);
      Copia(r.Tipo, "ECF-IF");
      r.CodigoModelo = modelo.codigo;
      r.Habilitada = 1;
      r.TabelaAliquotas = sp ? 1 : 2;
      Copia(r.CfopEstoque, "5.102");
      r.TipoDocumentoEstoque = kTipoDocumentoEstoque;
      // The accounting of the sales.
      r.GradeProdutos = kGradeProdutos;
      r.GradeMercadorias = kGradeMercadorias;
      r.GradeSubstituicao = kGradeSubstituicao;
      r.GradeServicos = kGradeServicos;
      Copia(r.ContaProdutos, kContaVendaProdutos);
      Copia(r.ContaMercadorias, kContaVendaMercadorias);
      Copia(r.ContaSubstituicao, kContaVendaSubstituicao);
      Copia(r.ContaServicos, kContaReceitaServicos);
      Copia(r.ContaTransitoriaVendas, kContaVendasAReceber);
      Copia(r.ContaCaixa, kContaCaixa);
      Copia(r.ContaContravales, kContaContravales);
      Copia(r.ContaArredondamentos, kContaArredondamentos);
      Copia(r.ContaTesouraria, kContaTesouraria);
      gravador.GravaEmissora(r);
      cadastros.emissoras.push_back({r.Numero, r.Filial, sp ? tabelaSP : tabelaOutros});
    }
  }

  // The supervisor works everywhere; each operator in one branch. The
  // supervisor and the first two operators have logins.
  REG_USUARIOPS supervisor{};
  supervisor.Codigo = 1;
  Copia(supervisor.Nome, "Supervisor");
  for (int n = 1; n <= filiais && n < QMX_FILIAIS_USUARIO; ++n) supervisor.Filiais[n] = 1;
  gravador.GravaUsuario(supervisor);
  gravador.GravaSenhaUsuario(1, kLoginDemo, kSenhaDemo);
  ++cadastros.usuarios;
  constexpr const char* kNomes[] = {"Antônio", "Júlia", "Sebastião", "Conceição", "Raimundo", "Lúcia"};
  constexpr const char* kLogins[] = {"antonio", "julia"};
  for (int n = 0; n < 3 * opcoes.tamanho && n + 2 < 65536; ++n) {
    REG_USUARIOPS u{};
    u.Codigo = static_cast<std::uint16_t>(n + 2);
    Copia(u.Nome, std::string("Operador ") + kNomes[n % std::size(kNomes)]);
    const int filial = n % filiais + 1;
    if (filial < QMX_FILIAIS_USUARIO) u.Filiais[filial] = 1;
    gravador.GravaUsuario(u);
    if (n < static_cast<int>(std::size(kLogins)))
      gravador.GravaSenhaUsuario(u.Codigo, kLogins[n], "caixa" + std::to_string(n + 2));
    ++cadastros.usuarios;
  }

  REG_EC_MESTREPS mestre{};
  // The system came into use two years before the month.
  mestre.DataInicioSistema = CodificaDia(1, 1, opcoes.mes.ano - 2);
  mestre.NaturezaVenda = kNaturezaVenda;
  mestre.NaturezaVendaST = kNaturezaVendaST;
  mestre.NaturezaServico = kNaturezaServico;
  mestre.NaturezaProducao = kNaturezaProducao;
  mestre.DescontoISSQN = 1;
  gravador.GravaMestre(mestre);
  // Point-of-sale flags: ECFs are not controlled per branch.
  gravador.GravaDadosInicializacao(19, std::string(100, '0'));
  return cadastros;
}

ResumoEmpresaDemo CriaEmpresaDemo(const std::string& endereco, const OpcoesDemo& opcoes) {
  namespace fs = std::filesystem;
  if (dados::EhSQLite(endereco)) {
    // From nothing: a database left by an earlier run goes away first.
    const std::string arquivo = dados::ArquivoSQLite(endereco);
    for (const char* sufixo : {"", "-wal", "-shm"}) fs::remove(arquivo + sufixo);
    if (fs::path(arquivo).has_parent_path()) fs::create_directories(fs::path(arquivo).parent_path());
  }
  dados::CGravadorEmpresa gravador(endereco, true);
  gravador.Inicia();
  const CadastrosDemo cadastros = GravaCadastrosDemo(gravador, opcoes);
  GravaCatalogoDemo(gravador.Sessao(), cadastros, opcoes.mes);
  gravador.Confirma();

  ResumoEmpresaDemo resumo;
  resumo.filiais = static_cast<int>(cadastros.filiais.size());
  resumo.emissoras = static_cast<int>(cadastros.emissoras.size());
  resumo.usuarios = cadastros.usuarios;
  resumo.municipios = cadastros.municipios;
  resumo.movimento = GravaMovimentoDemo(gravador, cadastros, opcoes);
  if (opcoes.variedade) AplicaVariedade(gravador, cadastros, opcoes);
  // A server that has just taken a month at once plans with statistics of
  // empty tables and marks each row as visible on its first read: both are
  // done now, once, instead of by the first files made.
  if (!dados::EhSQLite(endereco)) {
    const auto inicio = std::chrono::steady_clock::now();
    gravador.Sessao().ExecutaScript("VACUUM ANALYZE");
    resumo.segundosVacuo = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  }
  return resumo;
}

}  // namespace qmx::cli
