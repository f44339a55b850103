#include "integracao/EmpresaIntegracao.h"

#include <filesystem>

#include "apoio/Linhas.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "plataforma/calendario/JanelaDatas.h"
#include "plataforma/dados/GravadorCatalogo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::testes {

const NumeroDia EmpresaIntegracao::kDia = CodificaDia(10, 11, 2026);

EmpresaIntegracao::EmpresaIntegracao(MotorTeste motor) : empresa(motor), movimento(empresa) {
  empresa.AcrescentaRegistro(RelogioSimulado("06/12/2026", "10:00:00"));
  empresa.Filial(1, "Loja Centro", "SP", "Comércio Ávila Ltda");
  REG_EMISSORPS ecf = empresa.Emissora(1, 1, "SERIE-1");
  Copia(ecf.CfopEstoque, "5102");
  ecf.TipoDocumentoEstoque = 6;
  ecf.GradeProdutos = ecf.GradeMercadorias = ecf.GradeSubstituicao = ecf.GradeServicos = 1;
  Copia(ecf.ContaProdutos, "4.1.01");
  Copia(ecf.ContaMercadorias, "4.1.02");
  Copia(ecf.ContaSubstituicao, "4.1.03");
  Copia(ecf.ContaServicos, "4.1.04");
  Copia(ecf.ContaTransitoriaVendas, "1.1.05");
  Copia(ecf.ContaCaixa, "1.1.01");
  Copia(ecf.ContaContravales, "2.1.01");
  Copia(ecf.ContaArredondamentos, "4.2.01");
  Copia(ecf.ContaTesouraria, "1.1.06");
  empresa.Gravador().GravaEmissora(ecf);
  empresa.Emissora(2, 1, "SERIE-2");
  REG_EMISSORPS semTipo = empresa.Emissora(3, 1, "SERIE-3");
  Copia(semTipo.CfopEstoque, "5102");
  empresa.Gravador().GravaEmissora(semTipo);
  empresa.Mestre(CodificaDia(1, 1, 2026));

  dados::CGravadorCatalogo catalogo(empresa.Gravador().Sessao());
  for (const REG_PLANO_CONTAPS& conta : std::vector<REG_PLANO_CONTAPS>{
           {"1.1.01", "CAIXA", 1, 0},          {"1.1.02", "ESTOQUE", 1, 0},
           {"1.1.03", "CARTOES A RECEBER", 1, 0}, {"1.1.04", "CHEQUES A RECEBER", 1, 0},
           {"1.1.05", "VENDAS A RECEBER", 1, 0}, {"1.1.06", "TESOURARIA", 1, 0},
           {"2.1.01", "CONTRAVALES", 1, 0},    {"4.2.01", "ARREDONDAMENTOS", 1, 0},
           {"3.1.01", "CUSTO", 1, 0},          {"3.1.02", "CUSTO GERENCIAL", 1, 1},
           {"4.1.01", "RECEITA PRODUTOS", 1, 0}, {"4.1.02", "RECEITA MERCADORIAS", 1, 0},
           {"4.1.03", "RECEITA ST", 1, 0},     {"4.1.04", "RECEITA SERVICOS", 1, 0},
           {"9", "SINTETICA", 0, 0}})
    catalogo.GravaConta(conta);
  catalogo.GravaGrade({1, "VENDAS", "1.1.01", ""});
  catalogo.GravaGrade({2, "ESTOQUE", "3.1.01", "1.1.02"});
  catalogo.GravaLocal({1, "DEPOSITO", "G-LOJA", 0});
  catalogo.GravaLocal({2, "GONDOLA", "", 1});

  auto produto = [&](std::uint32_t codigo, const char* descricao, char letra, std::uint16_t aliquota,
                     std::uint16_t local, std::uint16_t grade, std::int64_t custo) -> REG_PRODUTOPS& {
    auto& p = movimento.Produto(codigo, descricao).Tributacao(letra, aliquota, letra == 'F' ? "060" : "000");
    p.registro.LocalEstoque = local;
    p.registro.GradeContabil = grade;
    p.registro.CustoUltimaCompra = CY{custo};
    return p.registro;
  };
  produto(10, "ARROZ", 'T', 1800, 1, 2, 83333);
  produto(11, "FEIJAO", 'F', 0, 2, 2, 52500);
  produto(12, "OLEO", 'T', 1200, 1, 0, 61000);
  produto(13, "ACUCAR", 'T', 700, 1, 2, 25000);
  Copia(produto(14, "CAFE", 'T', 1800, 2, 2, 100000).ContaCusto, "3.1.02");
  auto& entrega = movimento.Servico(20, "ENTREGA");
  entrega.AliquotaPIS = 65;
  entrega.AliquotaCOFINS = 300;
  movimento.Posicao(10, CodificaDia(31, 10, 2026), 100);
  movimento.Posicao(12, CodificaDia(31, 10, 2026), 50);
  movimento.Posicao(13, CodificaDia(31, 10, 2026), 1);
  movimento.Grava();
  // Rice's PIS (kind 1) and COFINS (kind 2): a COFINS rate that ended the
  // day before and the one in force.
  catalogo.GravaPisCofins({10, 1, kDia, 0, 165});
  catalogo.GravaPisCofins({10, 2, kDia - 10, kDia - 1, 300});
  catalogo.GravaPisCofins({10, 2, kDia, 0, 760});
  catalogo.GravaFormaPagamento({1, "DINHEIRO", 0, "1.1.01"});
  catalogo.GravaFormaPagamento({2, "CARTAO", 1, "1.1.03"});
  catalogo.GravaFormaPagamento({3, "CHEQUE", 0, "1.1.04"});
  catalogo.GravaCondicaoPagamento({1, "A VISTA", 1});
  catalogo.GravaCondicaoPagamento({2, "30 DIAS", 0});

  QMX_Inicializa(empresa.Chave().c_str(), 1, 0);
  QMX_SetDiretorio(ArquivoLog().c_str());
}

EmpresaIntegracao::~EmpresaIntegracao() { QMX_SetDiretorio(""); }

REG_QMX_PARAMETROS_INTEGRACAO EmpresaIntegracao::Parametros(NumeroDia data, std::uint16_t ecf) {
  return {.nData = DiaDezesseisBits(data), .nEcf = ecf};
}

std::string EmpresaIntegracao::ArquivoLog() const { return (empresa.PastaEC() / "integracao.log").string(); }

void EmpresaIntegracao::LimpaLog() const { std::filesystem::remove(ArquivoLog()); }

std::vector<std::string> EmpresaIntegracao::LinhasLog() const {
  std::vector<std::string> linhas;
  // "dd/mm/aa hh:mm:ss " comes first.
  for (const auto& l : LinhasCRLF(PastaTemporaria::Le(ArquivoLog()))) linhas.push_back(l.substr(18));
  return linhas;
}

std::vector<std::string> EmpresaIntegracao::Linhas(const std::string& sql) {
  std::vector<std::string> linhas;
  for (const auto& l : empresa.Gravador().Sessao().Consulta(sql, {})) {
    std::string texto;
    for (std::size_t i = 0; i < l.Colunas(); ++i) texto += (i ? "|" : "") + texto::DeUtf8(l.Texto(i));
    linhas.push_back(texto);
  }
  return linhas;
}

std::int64_t EmpresaIntegracao::Conta(const std::string& tabela) {
  return empresa.Gravador().Sessao().Consulta("SELECT COUNT(*) FROM " + tabela, {}).front().Inteiro(0);
}

}  // namespace qmx::testes
