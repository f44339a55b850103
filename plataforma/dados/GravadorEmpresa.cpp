#include "plataforma/dados/GravadorEmpresa.h"

#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/dados/InsercaoDados.h"
#include "plataforma/dados/Migracoes.h"
#include "plataforma/dados/SenhaUsuario.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

std::string Uma(char c) { return c ? std::string(1, c) : std::string(); }

}  // namespace

CGravadorEmpresa::CGravadorEmpresa(const std::string& endereco, bool cria) : m_sessao(AbreSessao(endereco, cria)) {
  AplicaMigracoes(*m_sessao);
}

CGravadorEmpresa::~CGravadorEmpresa() {
  if (m_sessao && m_sessao->EmTransacao()) m_sessao->Desfaz();
}

void CGravadorEmpresa::Inicia() { m_sessao->Inicia(); }
void CGravadorEmpresa::Confirma() { m_sessao->Confirma(); }
void CGravadorEmpresa::Desfaz() { m_sessao->Desfaz(); }

void CGravadorEmpresa::Substitui(const std::string& tabela, const std::vector<std::string>& colunas,
                                 std::size_t colunasChave, const std::vector<ParametroDados>& valores) {
  InsereOuSubstitui(*m_sessao, tabela, colunas, colunasChave, valores);
}

void CGravadorEmpresa::GravaEstado(const REG_ESTADOPS& e) {
  Substitui("estado", {"codigo", "sigla", "nome"}, 1, {e.Codigo, TextoParaBase(e.Sigla), TextoParaBase(e.Nome)});
}

void CGravadorEmpresa::GravaMunicipio(const REG_MUNICIPIO_PS& m) {
  Substitui("municipio", {"numero", "nome", "uf", "codigo_ibge"}, 1,
            {m.Numero, TextoParaBase(m.Nome), TextoParaBase(m.UF), m.CodigoIBGE});
}

void CGravadorEmpresa::GravaFilial(const REG_FILIALPS& f, const std::string& razaoSocial,
                                   const std::string& suframa) {
  Substitui("filial",
            {"numero", "municipio", "razao_social", "nome_fantasia", "cnpj", "cpf", "inscricao_estadual",
             "inscricao_municipal", "uf", "cep", "endereco", "numero_endereco", "complemento", "bairro", "ddd",
             "telefone", "fax", "email", "industrial", "programa_credito", "habilitada_ecf", "suframa",
             "contador_nome", "contador_cpf", "contador_crc", "contador_cnpj", "contador_cep", "contador_endereco",
             "contador_numero", "contador_complemento", "contador_bairro", "contador_ddd", "contador_telefone",
             "contador_fax", "contador_email", "contador_municipio", "contato", "mes_bloqueado_contabil"},
            1,
            {f.Numero, f.Municipio, TextoParaBase(razaoSocial.c_str(), razaoSocial.size()),
             TextoParaBase(f.NomeFantasia), TextoParaBase(f.Cnpj), TextoParaBase(f.Cpf),
             TextoParaBase(f.InscricaoEstadual), TextoParaBase(f.InscricaoMunicipal), TextoParaBase(f.UF),
             TextoParaBase(f.Cep), TextoParaBase(f.Endereco), TextoParaBase(f.NumeroEndereco),
             TextoParaBase(f.Complemento), TextoParaBase(f.Bairro), TextoParaBase(f.DDD), TextoParaBase(f.Telefone),
             TextoParaBase(f.Fax), TextoParaBase(f.Email), f.Industrial, f.ProgramaCredito, f.HabilitadaECF,
             TextoParaBase(suframa.c_str(), suframa.size()), TextoParaBase(f.ContadorNome),
             TextoParaBase(f.ContadorCpf), TextoParaBase(f.ContadorCrc), TextoParaBase(f.ContadorCnpj),
             TextoParaBase(f.ContadorCep), TextoParaBase(f.ContadorEndereco), TextoParaBase(f.ContadorNumero),
             TextoParaBase(f.ContadorComplemento), TextoParaBase(f.ContadorBairro), TextoParaBase(f.ContadorDDD),
             TextoParaBase(f.ContadorTelefone), TextoParaBase(f.ContadorFax), TextoParaBase(f.ContadorEmail),
             f.ContadorMunicipio, TextoParaBase(f.Contato), f.MesBloqueadoContabil});
}

void CGravadorEmpresa::GravaInscricaoSubstituta(std::uint16_t filial, std::uint16_t sequencia,
                                                const REG_IE_SUBSTITUTOPS& i) {
  Substitui("filial_ie_substituto", {"filial", "sequencia", "estado", "inscricao"}, 2,
            {filial, sequencia, i.Estado, TextoParaBase(i.Inscricao)});
}

void CGravadorEmpresa::GravaEmissora(const REG_EMISSORPS& e) {
  Substitui("emissora",
            {"numero", "filial", "nome", "numero_serie", "marca", "modelo", "tipo", "codigo_modelo", "habilitada",
             "autonomo", "tabela_aliquotas", "cfop_estoque", "tipo_documento_estoque", "grade_produtos",
             "grade_mercadorias", "grade_substituicao", "grade_servicos", "conta_produtos", "conta_mercadorias",
             "conta_substituicao", "conta_servicos", "conta_transitoria_vendas", "conta_caixa", "conta_contravales",
             "conta_arredondamentos", "conta_tesouraria"},
            1,
            {e.Numero, e.Filial, TextoParaBase(e.Nome), TextoParaBase(e.NumeroSerie), TextoParaBase(e.Marca),
             TextoParaBase(e.Modelo), TextoParaBase(e.Tipo), e.CodigoModelo, e.Habilitada, e.Autonomo,
             e.TabelaAliquotas, TextoParaBase(e.CfopEstoque), e.TipoDocumentoEstoque, e.GradeProdutos,
             e.GradeMercadorias, e.GradeSubstituicao, e.GradeServicos, TextoParaBase(e.ContaProdutos),
             TextoParaBase(e.ContaMercadorias), TextoParaBase(e.ContaSubstituicao), TextoParaBase(e.ContaServicos),
             TextoParaBase(e.ContaTransitoriaVendas), TextoParaBase(e.ContaCaixa), TextoParaBase(e.ContaContravales),
             TextoParaBase(e.ContaArredondamentos), TextoParaBase(e.ContaTesouraria)});
}

void CGravadorEmpresa::GravaAliquota(const REG_EMISSOR_ALIQUOTA& a) {
  Substitui("emissora_aliquota", {"tabela", "posicao", "tipo", "aliquota"}, 2,
            {a.Tabela, a.Posicao, TextoParaBase(Uma(a.Tipo).c_str(), 1), a.Aliquota});
}

void CGravadorEmpresa::GravaMestre(const REG_EC_MESTREPS& m) {
  Substitui("mestre_ec",
            {"id", "data_inicio_sistema", "natureza_venda", "natureza_venda_st", "natureza_servico",
             "natureza_producao", "desconto_issqn"},
            1,
            {1, m.DataInicioSistema, m.NaturezaVenda, m.NaturezaVendaST, m.NaturezaServico, m.NaturezaProducao,
             m.DescontoISSQN});
}

void CGravadorEmpresa::GravaMestreFilial(const REG_EC_MESTRE_FILIALPS& p) {
  Substitui("mestre_ec_filial", {"filial", "uf", "sem_pre_venda", "sem_dav"}, 1,
            {p.Filial, TextoParaBase(p.UF), p.SemPreVenda, p.SemDAV});
}

void CGravadorEmpresa::GravaSenhaUsuario(std::uint16_t codigo, const std::string& login, const std::string& senha) {
  const auto guardada = GuardaSenha(TextoParaBase(senha.c_str(), senha.size()));
  m_sessao->Enfileira(
      "UPDATE usuario SET login = ?, senha_sal = ?, senha_hash = ?, senha_iteracoes = ? WHERE codigo = ?",
      {TextoParaBase(login.c_str(), login.size()), guardada.sal, guardada.hash, guardada.iteracoes, codigo});
}

void CGravadorEmpresa::GravaUsuario(const REG_USUARIOPS& u) {
  Substitui("usuario", {"codigo", "nome"}, 1, {u.Codigo, TextoParaBase(u.Nome)});
  m_sessao->Enfileira("DELETE FROM usuario_filial WHERE usuario = ?", {u.Codigo});
  for (int filial = 0; filial < QMX_FILIAIS_USUARIO; ++filial)
    if (u.Filiais[filial])
      m_sessao->Enfileira("INSERT INTO usuario_filial (usuario, filial) VALUES (?, ?)", {u.Codigo, filial});
}

void CGravadorEmpresa::GravaDadosInicializacao(std::uint16_t sistema, const std::string& digitos) {
  Substitui("dados_inicializacao", {"sistema", "tipos_sistemas"}, 1, {sistema, digitos});
}

}  // namespace qmx::dados
