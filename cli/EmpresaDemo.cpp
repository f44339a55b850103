#include "cli/EmpresaDemo.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>

#include "frame/DataCodificada.h"
#include "plataforma/dados/GravadorEmpresa.h"

namespace qmx::cli {

namespace {

// The company's CNPJ for a branch: root 12.345.678, the branch's order
// number, and the two check digits computed as the registry computes them.
std::string CnpjDaFilial(int filial) {
  char digitos[16];
  std::snprintf(digitos, sizeof digitos, "12345678%04d", filial % 10000);
  std::string base = digitos;
  for (int pesoInicial : {5, 6}) {
    int soma = 0, peso = pesoInicial;
    for (char c : base) {
      soma += (c - '0') * peso;
      peso = peso == 2 ? 9 : peso - 1;
    }
    const int resto = soma % 11;
    base += static_cast<char>('0' + (resto < 2 ? 0 : 11 - resto));
  }
  return base.substr(0, 2) + "." + base.substr(2, 3) + "." + base.substr(5, 3) + "/" + base.substr(8, 4) + "-" +
         base.substr(12, 2);
}

template <std::size_t N>
void Copia(char (&destino)[N], const std::string& texto) {
  const std::size_t n = std::min(texto.size(), N - 1);
  std::copy_n(texto.data(), n, destino);
  std::fill(destino + n, destino + N, '\0');
}

struct Estado {
  std::uint16_t codigo;
  const char* sigla;
  const char* nome;
};

// The states with their IBGE codes.
constexpr Estado kEstados[] = {
    {11, "RO", "Rondônia"}, {12, "AC", "Acre"}, {13, "AM", "Amazonas"}, {14, "RR", "Roraima"},
    {15, "PA", "Pará"}, {16, "AP", "Amapá"}, {17, "TO", "Tocantins"}, {21, "MA", "Maranhão"},
    {22, "PI", "Piauí"}, {23, "CE", "Ceará"}, {24, "RN", "Rio Grande do Norte"}, {25, "PB", "Paraíba"},
    {26, "PE", "Pernambuco"}, {27, "AL", "Alagoas"}, {28, "SE", "Sergipe"}, {29, "BA", "Bahia"},
    {31, "MG", "Minas Gerais"}, {32, "ES", "Espírito Santo"}, {33, "RJ", "Rio de Janeiro"},
    {35, "SP", "São Paulo"}, {41, "PR", "Paraná"}, {42, "SC", "Santa Catarina"},
    {43, "RS", "Rio Grande do Sul"}, {50, "MS", "Mato Grosso do Sul"}, {51, "MT", "Mato Grosso"},
    {52, "GO", "Goiás"}, {53, "DF", "Distrito Federal"},
};

struct Municipio {
  const char* nome;
  const char* uf;
  std::int32_t ibge;
  const char* bairro;
  const char* cep;
};

// Municipalities of the branches, in the order new branches take them.
constexpr Municipio kMunicipios[] = {
    {"São Paulo", "SP", 3550308, "Sé", "01001-000"},
    {"Belo Horizonte", "MG", 3106200, "Centro", "30130-010"},
    {"Campinas", "SP", 3509502, "Cambuí", "13025-320"},
    {"Uberlândia", "MG", 3170206, "Santa Mônica", "38408-100"},
    {"Rio de Janeiro", "RJ", 3304557, "Copacabana", "22070-011"},
    {"Curitiba", "PR", 4106902, "Batel", "80420-090"},
    {"Porto Alegre", "RS", 4314902, "Moinhos de Vento", "90570-020"},
    {"Salvador", "BA", 2927408, "Barra", "40140-130"},
    {"Recife", "PE", 2611606, "Boa Viagem", "51020-000"},
    {"Brasília", "DF", 5300108, "Asa Sul", "70390-025"},
    {"Maceió", "AL", 2704302, "Ponta Verde", "57035-000"},
    {"Goiânia", "GO", 5208707, "Setor Bueno", "74230-010"},
};

constexpr const char* kRuas[] = {"Rua Direita", "Avenida Afonso Pena", "Rua José Paulino", "Avenida Rondon Pacheco",
                                 "Rua Barata Ribeiro", "Avenida do Batel"};

struct Aliquota {
  char tipo;
  std::uint16_t valor;
};

// Rate tables: 1 for branches in SP, 2 for the other states.
constexpr Aliquota kTabelaSP[] = {{'T', 1800}, {'T', 1200}, {'T', 700}, {'T', 2500}, {'S', 500}};
constexpr Aliquota kTabelaOutros[] = {{'T', 1800}, {'T', 1200}, {'T', 700}, {'S', 200}};

}  // namespace

ResumoEmpresaDemo CriaEmpresaDemo(const std::string& arquivo, int tamanho, const std::string& serieEmulada) {
  namespace fs = std::filesystem;
  // From nothing: a database left by an earlier run goes away first.
  for (const char* sufixo : {"", "-wal", "-shm"}) fs::remove(arquivo + sufixo);
  fs::create_directories(fs::path(arquivo).parent_path());

  ResumoEmpresaDemo resumo;
  dados::CGravadorEmpresa gravador("sqlite:" + arquivo, true);
  gravador.Inicia();
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
    ++resumo.municipios;
  }
  for (std::uint16_t p = 0; p < std::size(kTabelaSP); ++p)
    gravador.GravaAliquota({1, static_cast<std::uint16_t>(p + 1), kTabelaSP[p].tipo, kTabelaSP[p].valor});
  for (std::uint16_t p = 0; p < std::size(kTabelaOutros); ++p)
    gravador.GravaAliquota({2, static_cast<std::uint16_t>(p + 1), kTabelaOutros[p].tipo, kTabelaOutros[p].valor});

  const int filiais = 2 * tamanho;
  for (int n = 1; n <= filiais; ++n) {
    const auto& municipio = kMunicipios[(n - 1) % std::size(kMunicipios)];
    REG_FILIALPS f{};
    f.Numero = static_cast<std::uint16_t>(n);
    f.Municipio = static_cast<std::int32_t>((n - 1) % std::size(kMunicipios) + 1);
    Copia(f.Cnpj, CnpjDaFilial(n));
    Copia(f.NomeFantasia, std::string("Mercado Ávila ") + municipio.nome);
    Copia(f.InscricaoEstadual, std::to_string(110042490000LL + n));
    Copia(f.InscricaoMunicipal, std::to_string(4455000 + n));
    Copia(f.UF, municipio.uf);
    Copia(f.Cep, municipio.cep);
    Copia(f.Endereco, kRuas[(n - 1) % std::size(kRuas)]);
    Copia(f.NumeroEndereco, std::to_string(100 + 7 * n));
    Copia(f.Bairro, municipio.bairro);
    Copia(f.DDD, n % 2 ? "11" : "31");
    Copia(f.Telefone, std::to_string(32150000 + n));
    Copia(f.Email, "loja" + std::to_string(n) + "@mercadoavila.com.br");
    f.HabilitadaECF = 1;
    Copia(f.ContadorNome, "Conceição Contabilidade");
    Copia(f.ContadorCpf, "123.456.789-09");
    Copia(f.ContadorCrc, "1SP123456/O-7");
    f.ContadorMunicipio = 1;
    gravador.GravaFilial(f, "Comércio de Alimentos Ávila Ltda");
    REG_EC_MESTRE_FILIALPS p{};
    p.Filial = f.Numero;
    Copia(p.UF, municipio.uf);
    gravador.GravaMestreFilial(p);
    ++resumo.filiais;
  }

  // Three ECFs for each two branches: two in the odd branch, one in the even.
  for (int n = 1; n <= 3 * tamanho; ++n) {
    const int par = (n - 1) / 3;
    const int filial = 2 * par + ((n - 1) % 3 == 2 ? 2 : 1);
    REG_EMISSORPS e{};
    e.Numero = static_cast<std::uint16_t>(n);
    e.Filial = static_cast<std::uint16_t>(filial);
    Copia(e.Nome, "Caixa " + std::to_string(n));
    char serie[24];
    std::snprintf(serie, sizeof serie, "BE%018d", 91010100 + n);
    Copia(e.NumeroSerie, n == 1 ? serieEmulada : std::string(serie));
    Copia(e.Marca, n == 1 ? "EMULADA" : "BEMATECH");
    Copia(e.Modelo, n == 1 ? "QMX EMULADA" : "MP-4000 TH FI");
    Copia(e.Tipo, "ECF-IF");
    e.CodigoModelo = n == 1 ? 999999 : 21105;
    e.Habilitada = 1;
    e.TabelaAliquotas = kMunicipios[(filial - 1) % std::size(kMunicipios)].uf == std::string("SP") ? 1 : 2;
    Copia(e.CfopEstoque, "5.102");
    e.TipoDocumentoEstoque = 60;
    gravador.GravaEmissora(e);
    ++resumo.emissoras;
  }

  // The supervisor works everywhere; each operator in one branch.
  REG_USUARIOPS supervisor{};
  supervisor.Codigo = 1;
  Copia(supervisor.Nome, "Supervisor");
  for (int n = 1; n <= filiais && n < QMX_FILIAIS_USUARIO; ++n) supervisor.Filiais[n] = 1;
  gravador.GravaUsuario(supervisor);
  ++resumo.usuarios;
  constexpr const char* kNomes[] = {"Antônio", "Júlia", "Sebastião", "Conceição", "Raimundo", "Lúcia"};
  for (int n = 0; n < 3 * tamanho && n + 2 < 65536; ++n) {
    REG_USUARIOPS u{};
    u.Codigo = static_cast<std::uint16_t>(n + 2);
    Copia(u.Nome, std::string("Operador ") + kNomes[n % std::size(kNomes)]);
    const int filial = n % filiais + 1;
    if (filial < QMX_FILIAIS_USUARIO) u.Filiais[filial] = 1;
    gravador.GravaUsuario(u);
    ++resumo.usuarios;
  }

  REG_EC_MESTREPS mestre{};
  mestre.DataInicioSistema = CodificaDia(1, 1, 2024);
  mestre.NaturezaVenda = 5102;
  mestre.NaturezaVendaST = 5405;
  mestre.NaturezaServico = 5933;
  gravador.GravaMestre(mestre);
  // Point-of-sale flags: ECFs are not controlled per branch.
  gravador.GravaDadosInicializacao(19, std::string(100, '0'));
  gravador.Confirma();
  return resumo;
}

}  // namespace qmx::cli
