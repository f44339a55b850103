#include "plataforma/dados/ConexaoFilial.h"

#include <cstring>

#include "plataforma/dados/TextoRegistro.h"

namespace qmx::dados {

namespace {

constexpr const char* kLeFilial =
    "SELECT municipio, numero, nome_fantasia, cnpj, cpf, inscricao_estadual, inscricao_municipal, uf, cep, "
    "endereco, numero_endereco, complemento, bairro, ddd, telefone, fax, email, industrial, programa_credito, "
    "habilitada_ecf, contador_nome, contador_cpf, contador_crc, contador_cnpj, contador_cep, contador_endereco, "
    "contador_numero, contador_complemento, contador_bairro, contador_ddd, contador_telefone, contador_fax, "
    "contador_email, contador_municipio, contato, mes_bloqueado_contabil FROM filial WHERE numero = ?";

void Preenche(const LinhaDados& l, REG_FILIALPS& r) {
  std::memset(&r, 0, sizeof r);
  r.Municipio = static_cast<std::int32_t>(l.Inteiro(0));
  r.Numero = static_cast<std::uint16_t>(l.Inteiro(1));
  CopiaTexto(r.NomeFantasia, l.Texto(2));
  CopiaTexto(r.Cnpj, l.Texto(3));
  CopiaTexto(r.Cpf, l.Texto(4));
  CopiaTexto(r.InscricaoEstadual, l.Texto(5));
  CopiaTexto(r.InscricaoMunicipal, l.Texto(6));
  CopiaTexto(r.UF, l.Texto(7));
  CopiaTexto(r.Cep, l.Texto(8));
  CopiaTexto(r.Endereco, l.Texto(9));
  CopiaTexto(r.NumeroEndereco, l.Texto(10));
  CopiaTexto(r.Complemento, l.Texto(11));
  CopiaTexto(r.Bairro, l.Texto(12));
  CopiaTexto(r.DDD, l.Texto(13));
  CopiaTexto(r.Telefone, l.Texto(14));
  CopiaTexto(r.Fax, l.Texto(15));
  CopiaTexto(r.Email, l.Texto(16));
  r.Industrial = static_cast<std::uint8_t>(l.Inteiro(17));
  r.ProgramaCredito = static_cast<std::uint8_t>(l.Inteiro(18));
  r.HabilitadaECF = static_cast<std::uint8_t>(l.Inteiro(19));
  CopiaTexto(r.ContadorNome, l.Texto(20));
  CopiaTexto(r.ContadorCpf, l.Texto(21));
  CopiaTexto(r.ContadorCrc, l.Texto(22));
  CopiaTexto(r.ContadorCnpj, l.Texto(23));
  CopiaTexto(r.ContadorCep, l.Texto(24));
  CopiaTexto(r.ContadorEndereco, l.Texto(25));
  CopiaTexto(r.ContadorNumero, l.Texto(26));
  CopiaTexto(r.ContadorComplemento, l.Texto(27));
  CopiaTexto(r.ContadorBairro, l.Texto(28));
  CopiaTexto(r.ContadorDDD, l.Texto(29));
  CopiaTexto(r.ContadorTelefone, l.Texto(30));
  CopiaTexto(r.ContadorFax, l.Texto(31));
  CopiaTexto(r.ContadorEmail, l.Texto(32));
  r.ContadorMunicipio = static_cast<std::int32_t>(l.Inteiro(33));
  CopiaTexto(r.Contato, l.Texto(34));
  r.MesBloqueadoContabil = static_cast<std::uint16_t>(l.Inteiro(35));
}

}  // namespace

com::HRESULT CConexaoFilial::Inicializa(const std::string& chaveEmpresa, std::uint16_t usuario,
                                        std::int32_t contexto, bool /*exclusiva*/) {
  return CConexaoDados::Inicializa(chaveEmpresa, usuario, contexto);
}

com::HRESULT CConexaoFilial::Le(std::uint16_t filial, REG_FILIALPS* registro) {
  if (!registro) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta(kLeFilial, {filial});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    Preenche(linhas.front(), *registro);
    return com::S_OK;
  });
}

com::HRESULT CConexaoFilial::GetRazaoSocial(std::uint16_t filial, wchar_t** razaoSocial) {
  if (!razaoSocial) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT razao_social FROM filial WHERE numero = ?", {filial});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    char texto[256];
    CopiaTexto(texto, linhas.front().Texto(0));
    *razaoSocial = AlocaTextoLargo(texto);
    return com::S_OK;
  });
}

com::HRESULT CConexaoFilial::GetDadosAtoCotepe(std::uint16_t filial, REG_DADOS_ATO_COTEPE_PS* dados) {
  if (!dados) return com::E_POINTER;
  return Executa([&](CSessaoDados& s) {
    const auto linhas = s.Consulta("SELECT suframa FROM filial WHERE numero = ?", {filial});
    if (linhas.empty()) return QMX_E_REGISTRO_INEXISTENTE;
    const auto substitutos = s.Consulta(
        "SELECT estado, inscricao FROM filial_ie_substituto WHERE filial = ? ORDER BY sequencia", {filial});
    REG_DADOS_ATO_COTEPE_PS r;
    std::memset(&r, 0, sizeof r);
    CopiaTexto(r.Suframa, linhas.front().Texto(0));
    for (const auto& l : substitutos) {
      if (r.QuantidadeSubstitutos == std::size(r.Substitutos)) break;
      auto& destino = r.Substitutos[r.QuantidadeSubstitutos++];
      destino.Estado = static_cast<std::uint16_t>(l.Inteiro(0));
      CopiaTexto(destino.Inscricao, l.Texto(1));
    }
    *dados = r;
    return com::S_OK;
  });
}

}  // namespace qmx::dados
