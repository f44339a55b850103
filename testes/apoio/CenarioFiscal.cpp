#include "apoio/CenarioFiscal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "apoio/Linhas.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/dados/GravadorCatalogo.h"

namespace qmx::testes {

namespace fs = std::filesystem;

const std::uint16_t CenarioFiscal::kDia1 = CodificaDia(2, 11, 2026);
const std::uint16_t CenarioFiscal::kDia2 = CodificaDia(3, 11, 2026);
const std::uint16_t CenarioFiscal::kDia3 = CodificaDia(4, 11, 2026);
const std::uint16_t CenarioFiscal::kDia4 = CodificaDia(5, 11, 2026);

CenarioFiscal::CenarioFiscal(MotorTeste motor, bool pastaLocal) : empresa(motor), ativo(host), m(empresa) {
  empresa.AcrescentaRegistro(RelogioSimulado("06/12/2026", "10:00:00") +
                             "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
  if (pastaLocal) empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva]\nLocalTorvo=" + local.Pasta().string() + "\n");
  empresa.Municipio(1, "São Paulo", "SP", 3550308);
  empresa.Municipio(2, "Campinas", "SP", 3509502);
  empresa.Estado(35, "SP", "São Paulo");
  empresa.Estado(33, "RJ", "Rio de Janeiro");
  empresa.Estado(41, "PR", "Paraná");
  REG_FILIALPS f{};
  f.Numero = 1;
  f.Municipio = 1;
  Copia(f.NomeFantasia, "Mercado Ávila Centro");
  Copia(f.Cnpj, "12.345.678/0001-95");
  Copia(f.InscricaoEstadual, "110.042.490.114");
  Copia(f.InscricaoMunicipal, "4.321.987-0");
  Copia(f.UF, "SP");
  Copia(f.Cep, "01001-000");
  Copia(f.Endereco, "Rua Direita da Sé");
  Copia(f.NumeroEndereco, "1234");
  Copia(f.Complemento, "Loja 2");
  Copia(f.Bairro, "Sé");
  Copia(f.DDD, "11");
  Copia(f.Telefone, "3215-0001");
  Copia(f.Fax, "3215-0002");
  Copia(f.Email, "fiscal@avila.com.br");
  Copia(f.ContadorNome, "Conceição Contábil");
  Copia(f.ContadorCpf, "987.654.321-00");
  Copia(f.ContadorCrc, "SP-123456/O-7");
  Copia(f.ContadorCep, "13010-100");
  Copia(f.ContadorEndereco, "Av. Andrade Neves");
  Copia(f.ContadorNumero, "50");
  Copia(f.ContadorBairro, "Centro");
  Copia(f.ContadorDDD, "019");
  Copia(f.ContadorTelefone, "3233-4455");
  Copia(f.ContadorEmail, "contador@exemplo.com.br");
  f.ContadorMunicipio = 2;
  f.HabilitadaECF = 1;
  empresa.Gravador().GravaFilial(f, "Comércio de Alimentos Ávila Ltda", "200123456");
  empresa.Gravador().GravaInscricaoSubstituta(1, 1, {33, "77.123.456"});
  empresa.Gravador().GravaInscricaoSubstituta(1, 2, {41, "90.111.222-33"});
  empresa.Emissora(1, 1, "BE0910000000000000B2");
  empresa.Emissora(2, 1, "AA0910000000000000A1");
  empresa.Emissora(3, 1, "ZZ0910000000000000Z3");
  empresa.Usuario(1, "Operador", {1});
  REG_EC_MESTREPS mestre{};
  mestre.DataInicioSistema = CodificaDia(1, 1, 2024);
  mestre.NaturezaVenda = 5102;
  mestre.NaturezaVendaST = 5405;
  mestre.NaturezaServico = 5933;
  mestre.NaturezaProducao = 5101;
  empresa.Gravador().GravaMestre(mestre);
}

// The movement, with the corner each record stands for:
//  - ECF 1 on day 1: a cupom of a customer with a discounted product, a
//    tax-substitution product and a service; a cancelled cupom; a cupom
//    with a cancelled item and a typed CPF; two consumer notas (one
//    cancelled); non-fiscal totalizers 251 (not an operation), 252 and 255.
//  - ECF 1 on day 2: a produced product (its own CFOP), a surcharge, and a
//    product sold in two cupons (summed under its totalizer).
//  - ECF 2 on day 1: a cupom of a person; on day 2 a Z reduction without
//    sales (no lines); a consumer nota of a service.
//  - ECF 3: a cupom without a Z reduction (no lines; its inactive product
//    is still an item of the period).
//  - Day 3: consumer notas all cancelled; day 4: one whose last number is 0.
//  - Notas of every model and situation, a participant of several notas and
//    one that is not registered, an observation with line breaks, a unit
//    discount whose cut to four decimals shows, a product whose status is
//    not "A" (no 0200 line).
//  - Inventory at day 4: positive, zero and negative balances.
void CenarioFiscal::Movimento() {
  m.Produto(10, "ARROZ TIPO 1 5KG").Tributacao('T', 1800)
      .PisCofins(1, kDia1, 0, 165)
      .PisCofins(2, CodificaDia(1, 10, 2026), kDia1, 760)
      .PisCofins(2, kDia2, 0, 300)
      .PisCofins(1, kDia2 + 1, 0, 999);
  m.Produto(20, "REFRIGERANTE COLA 2L").Tributacao('F', 0, "060").Unidade(2);
  m.Produto(30, "LEITE INTEGRAL").Tributacao('I', 0, "040");
  m.Produto(40, "JORNAL").Tributacao('N', 0, "041").Producao();
  m.Produto(50, "FEIJÃO CARIOCA").Tributacao('T', 1200);
  m.Produto(70, "BOLACHA").Tributacao('T', 700).Inativo();
  m.Produto(90, "PRODUTO DESCONTINUADO").Tributacao('I', 0, "040");
  auto& servico = m.Servico(60, "ENTREGA EM DOMICILIO", 500);
  servico.AliquotaPIS = 65;
  servico.AliquotaCOFINS = 300;
  m.Cliente(5, "ATACADO PAULISTA SA", 'J', "11.222.333/0001-81");
  auto& estrangeiro = m.Cliente(6, "IMPORTADORA DEL PLATA", 'J', "");
  Copia(estrangeiro.Pais, "0639");
  estrangeiro.Estrangeiro = 1;
  auto& pessoa = m.Cliente(7, "JOSE DA SILVA", 'F', "123.456.789-09");
  Copia(pessoa.Endereco, "Rua das Flores");
  pessoa.Numero = 15;
  Copia(pessoa.Bairro, "Jardim");
  m.Grava();
  auto& sessao = empresa.Gravador().Sessao();
  dados::CGravadorCatalogo catalogo(sessao);
  catalogo.GravaNatureza({5101, "VENDA PRODUCAO", "5101"});
  catalogo.GravaCondicaoPagamento({1, "A VISTA", 1});
  catalogo.GravaCondicaoPagamento({2, "30 DIAS", 0});
  catalogo.GravaConta({"1.1.3.01", "ESTOQUE DE BEBIDAS", 1, 0});
  sessao.Executa("UPDATE cfrt SET inscricao_estadual = '110.042.490.999', suframa = '' WHERE codigo = 5", {});
  sessao.Executa("UPDATE produto SET conta_contabil = '1.1.3.01' WHERE codigo = 20", {});
  sessao.Executa("UPDATE produto SET conta_contabil = '9.9.9' WHERE codigo = 10", {});
  sessao.Executa("UPDATE produto SET situacao = 'D' WHERE codigo = 90", {});

  m.Cupom(1, kDia1).Item(10, 2, 12.5, 1.0).Item(20, 1, 3.99).Servico(60, 1, 5).Cliente(5);
  m.Cupom(1, kDia1).Item(30, 1, 4.5).Cancelado();
  m.Cupom(1, kDia1).Item(50, 1.5, 8.9).Item(10, 1, 12.5).Cancela().Documento("123.456.789-09");
  m.NotaConsumidor(1, kDia1, 100, 110).Item(10, 2, 12.5).Item(30, 1, 4.5).Item(20, 1, 3.99).Cancela();
  m.NotaConsumidor(1, kDia1, 111, 113).Item(10, 1, 12.5).Cancelado();
  m.NaoFiscal(1, kDia1, 251, 99);
  m.NaoFiscal(1, kDia1, 252, 10);
  m.NaoFiscal(1, kDia1, 255, 2.5);
  m.ReducaoZ(1, kDia1);
  m.Cupom(1, kDia2).Item(10, 1, 12.5).Item(40, 3, 1);
  m.Cupom(1, kDia2).Item(10, 2, 12.5).Cliente(6);
  m.ReducaoZ(1, kDia2);
  m.Cupom(2, kDia1).Item(40, 2, 1).Item(10, 1, 12.5).Cliente(7);
  m.ReducaoZ(2, kDia1);
  m.ReducaoZ(2, kDia2);
  m.NotaConsumidor(2, kDia2, 116, 120).Servico(60, 1, 10);
  m.Cupom(3, kDia2).Item(70, 1, 1);
  m.NotaConsumidor(1, kDia3, 130, 132).Item(50, 1, 8.9).Cancelado();
  m.NotaConsumidor(1, kDia3, 133, 0).Item(50, 1, 8.9).Cancelado();
  m.NotaConsumidor(1, kDia4, 140, 0).Item(30, 1, 4.5);

  auto& n1 = m.Nota(1, kDia2, 1).Participante(5).CondicaoPagamento(1).Observacao("ENTREGAR\r\nNO DEPOSITO\nFUNDOS")
                 .Item(10, 2, 100).Item(50, 1, 50).Servico(60, 1, 20);
  n1.itens[0].DescontoUnitario = 123456789;  // 1.23456789 a unit
  n1.itens[0].BaseST = Valor(9.99);
  n1.itens[0].AliquotaST = 1800;
  n1.itens[0].ICMSST = Valor(1.79);
  n1.itens[0].BaseIPI = Valor(200);
  n1.itens[0].AliquotaIPI = 555;
  n1.itens[0].IPI = Valor(11.1);
  n1.itens[0].CstPIS = 1;
  n1.itens[0].BasePIS = Valor(200);
  n1.itens[0].AliquotaPIS = 165;
  n1.itens[0].PIS = Valor(3.3);
  n1.itens[1].CstPIS = 3;
  n1.itens[1].AliquotaPIS = 12;
  n1.itens[1].CstCOFINS = 3;
  n1.itens[1].AliquotaCOFINS = 57;
  n1.itens[1].ReducaoBase = Valor(5);
  n1.registro.Abatimento1 = Valor(1);
  n1.registro.Abatimento2 = Valor(0.5);
  n1.registro.IndicadorFrete = 9;
  m.Nota(2, kDia1, 4).Participante(6).ChaveNFe("35261112345678000195550010000000021000000020").Item(10, 1, 10);
  m.Nota(3, kDia1, 2).Participante(7).Situacao(true).Item(40, 3, 3);
  m.Nota(4, kDia1, 5).Participante(5).Item(10, 1, 7);
  auto& n5 = m.Nota(5, kDia1, 3).Participante(5).CondicaoPagamento(2).Item(20, 1, 2, 5405);
  n5.itens[0].Quantidade = Valor(1000);
  n5.itens[0].DescontoUnitario = 12345678;  // 0.12345678 a unit: cut to 0.1234 before the product
  m.Nota(6, kDia2, 1).Participante(7).Situacao(false, true).Item(30, 1, 1).Item(90, 1, 1);
  m.Nota(7, kDia2, 7).Participante(5).Item(40, 1, 1);
  m.Nota(8, kDia2, 4).Participante(7).Situacao(false, false, true).ChaveNFe("35261112345678000195550010000000081000000080");
  m.Nota(9, kDia2, 1).Participante(99).Item(40, 1, 1);
  m.Inventario(10, kDia4, 10, 12.5);
  m.Inventario(20, kDia4, 2, 3);
  m.Inventario(40, kDia4, 0, 1);
  m.Inventario(30, kDia4, -2, 4.5);
  m.Inventario(50, kDia4, 4, 8.123456);
  m.Grava();
  sessao.Executa("UPDATE reducao_z SET acrescimos = 5000 WHERE emissora = 1 AND data = ?", {kDia2});
}

std::string CenarioFiscal::Le(const fs::path& arquivo) {
  if (!fs::exists(arquivo)) return {};
  return PastaTemporaria::Le(arquivo.string());
}

std::vector<fs::path> CenarioFiscal::Arquivos(const fs::path& pasta) {
  std::vector<fs::path> r;
  if (fs::is_directory(pasta))
    for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path());
  std::sort(r.begin(), r.end());
  return r;
}

std::string GoldenEFD(const std::string& nome) {
  return PastaTemporaria::Le(std::string(QMX_FONTES_TESTES) + "/arquivos/dados/" + nome);
}

void ConfereGoldenEFD(const std::string& gerado, const std::string& nome) {
  if (gerado == GoldenEFD(nome)) return;
  const std::string novo = testing::TempDir() + nome + ".novo";
  std::ofstream(novo, std::ios::binary) << gerado;
  ADD_FAILURE() << nome << " difere; gerado em " << novo;
}

std::map<std::string, int> ConfereContagens(const std::string& arquivo) {
  std::map<std::string, int> porRegistro;
  std::map<char, int> porBloco;
  std::map<std::string, long> declarados9900;
  std::map<char, long> fechamentos;
  std::map<char, std::string> aberturas;
  long declarado9999 = -1;
  const auto linhas = LinhasCRLF(arquivo.substr(0, arquivo.rfind("\r\nEAD") == std::string::npos
                                                       ? arquivo.size()
                                                       : arquivo.rfind("\r\nEAD") + 2));
  for (const auto& linha : linhas) {
    EXPECT_TRUE(linha.size() >= 6 && linha.front() == '|' && linha.back() == '|' && linha[5] == '|') << linha;
    if (linha.size() < 6) continue;
    const std::string registro = linha.substr(1, 4);
    ++porRegistro[registro];
    ++porBloco[registro[0]];
    std::vector<std::string> campos;
    std::stringstream partes(linha.substr(1, linha.size() - 2));
    std::string campo;
    while (std::getline(partes, campo, '|')) campos.push_back(campo);
    if (registro == "9900" && campos.size() >= 3) declarados9900[campos[1]] += std::stol(campos[2]);
    if (registro.substr(1) == "990" && campos.size() >= 2) fechamentos[registro[0]] = std::stol(campos[1]);
    if (registro == "9999" && campos.size() >= 2) declarado9999 = std::stol(campos[1]);
    if (registro.substr(1) == "001" && campos.size() >= 2) aberturas[registro[0]] = campos[1];
  }
  for (const auto& [registro, quantos] : porRegistro)
    EXPECT_EQ(declarados9900[registro], quantos) << "9900 de " << registro;
  for (const auto& [registro, quantos] : declarados9900) EXPECT_TRUE(porRegistro.count(registro)) << registro;
  // Each block's closing line counts its lines (0000 belongs to block 0);
  // its opening line says whether it has any besides the two.
  for (const auto& [bloco, quantos] : fechamentos) EXPECT_EQ(quantos, porBloco[bloco]) << "bloco " << bloco;
  for (const auto& [bloco, indicador] : aberturas)
    EXPECT_EQ(indicador, porBloco[bloco] > 2 ? "0" : "1") << "bloco " << bloco;
  EXPECT_EQ(declarado9999, static_cast<long>(linhas.size()));
  return porRegistro;
}

}  // namespace qmx::testes
