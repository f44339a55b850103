#include "arquivos/efd/Bloco0VendaPeriodo.h"

#include <cstdio>

#include "arquivos/efd/ErroDadosEFD.h"
#include "arquivos/efd/LinhaEFD.h"
#include "arquivos/efd/Registro0200.h"
#include "frame/CarimboCompilacao.h"
#include "frame/QMXFormatador.h"
#include "plataforma/dados/ConexaoEstado.h"
#include "plataforma/dados/ConexaoProduto.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TextoRegistro.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx::venda {

using efd::CLinhaEFD;


CBloco0VendaPeriodo::CBloco0VendaPeriodo(const TriploConexao& triplo, const FiltroVenda& filtro,
                                         ColecoesVendaPeriodo& colecoes, CContagemRegistros& contagem)
    : m_triplo(triplo),
      m_filtro(filtro),
      m_c(colecoes),
      m_contagem(contagem),
      m_generica(triplo.chaveEmpresa.c_str(), triplo.usuario, triplo.contexto) {
  m_generica.LeFilial(filtro.filial, &m_filial, nullptr);
}

void CBloco0VendaPeriodo::Reporta(std::int32_t resultado, int linha) const {
  mensagens::ZTTrataErro2(resultado, 0, 0, m_triplo.chaveEmpresa, "QMXVendaPeriodo", linha, QMX_CARIMBO_COMPILACAO);
}

std::string CBloco0VendaPeriodo::Registro0000() {
  wchar_t* largo = nullptr;
  m_generica.GetRazaoSocial(m_filtro.filial, &largo);
  const std::string razaoSocial = dados::DeTextoLargo(largo);
  dados::LiberaTextoLargo(largo);
  const REG_DADOS_ATO_COTEPE_PS cotepe = m_generica.GetDadosAtoCotepe(m_filtro.filial);
  // A municipality that cannot be read leaves its code 0: "0000000".
  REG_MUNICIPIO_PS municipio{};
  m_generica.LeMunicipio(static_cast<std::uint16_t>(m_filial.Municipio), &municipio);
  char codigoMunicipio[16];
  std::snprintf(codigoMunicipio, sizeof codigoMunicipio, "%07d", municipio.CodigoIBGE);
  std::string texto;
  CLinhaEFD(texto, "0000")
      .Texto("006")
      .Texto("0")
      .Data(m_filtro.dataInicial)
      .Data(m_filtro.dataFinal)
      .Texto(razaoSocial)
      .Digitos(m_filial.Cnpj, 14)
      .Vazio()
      .Texto(CQMXGenerica::FormataCampo(m_filial.UF, 2, false, false))
      .Inscricao(m_filial.InscricaoEstadual)
      .Texto(codigoMunicipio)
      .Texto(m_filial.InscricaoMunicipal)
      .Texto(cotepe.Suframa)
      .Texto(m_filtro.perfil == 'A' ? "A" : "B")
      .Texto(m_filial.Industrial ? "0" : "1")
      .Fim();
  return texto;
}

std::uint32_t CBloco0VendaPeriodo::Registro0005(std::string& texto) {
  const auto& f = m_filial;
  CLinhaEFD(texto, "0005")
      .Texto(f.NomeFantasia)
      .Numerico(f.Cep, 8)
      .Texto(f.Endereco)
      .Texto(f.NumeroEndereco)
      .Texto(f.Complemento)
      .Texto(f.Bairro)
      .Telefone(f.DDD, f.Telefone)
      .Telefone(f.DDD, f.Fax)
      .Texto(f.Email)
      .Fim();
  return 1;
}

std::uint32_t CBloco0VendaPeriodo::Registro0015(std::string& texto) {
  const REG_DADOS_ATO_COTEPE_PS cotepe = m_generica.GetDadosAtoCotepe(m_filtro.filial);
  if (cotepe.QuantidadeSubstitutos == 0) return 0;
  dados::CConexaoEstado estados;
  com::HRESULT resultado = estados.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  std::uint32_t linhas = 0;
  for (std::uint16_t i = 0; com::SUCCEEDED(resultado) && i < cotepe.QuantidadeSubstitutos && i < 27; ++i) {
    REG_ESTADOPS estado{};
    resultado = estados.Le(cotepe.Substitutos[i].Estado, &estado);
    if (com::FAILED(resultado)) break;
    CLinhaEFD(texto, "0015").Texto(estado.Sigla).Inscricao(cotepe.Substitutos[i].Inscricao).Fim();
    ++linhas;
  }
  if (com::FAILED(resultado)) Reporta(resultado, __LINE__);
  return linhas;
}

std::uint32_t CBloco0VendaPeriodo::Registro0100(std::string& texto) {
  const auto& f = m_filial;
  REG_MUNICIPIO_PS municipio{};
  m_generica.LeMunicipio(static_cast<std::uint16_t>(f.ContadorMunicipio), &municipio);
  CLinhaEFD linha(texto, "0100");
  linha.Texto(f.ContadorNome).Numerico(f.ContadorCpf, 11).Texto(f.ContadorCrc);
  if (efd::TemDigito(f.ContadorCnpj)) linha.Numerico(f.ContadorCnpj, 14);
  else linha.Vazio();
  linha.Numerico(f.ContadorCep, 8)
      .Texto(f.ContadorEndereco)
      .Texto(f.ContadorNumero)
      .Texto(f.ContadorComplemento)
      .Texto(f.ContadorBairro)
      .Telefone(f.ContadorDDD, f.ContadorTelefone)
      .Telefone(f.ContadorDDD, f.ContadorFax)
      .Texto(f.ContadorEmail)
      .NumericoInteiro(municipio.CodigoIBGE, 7)
      .Fim();
  return 1;
}

std::uint32_t CBloco0VendaPeriodo::Registro0150(std::string& texto) {
  std::uint32_t linhas = 0;
  for (const auto& [codigo, p] : m_c.participantes) {
    const bool nacional = p.Estrangeiro == 0;
    CLinhaEFD linha(texto, "0150");
    linha.Inteiro(p.Codigo).Texto(p.Nome).Texto(nacional ? "1058" : p.Pais);
    // A foreign participant has neither CNPJ nor CPF: its country says who
    // it is (zeros would fail the check digits of the tax office's program).
    if (!nacional) linha.Vazios(2);
    else if (p.TipoPessoa == 'J') linha.Digitos(p.CnpjCpf, 14).Vazio();
    else if (p.TipoPessoa == 'F') linha.Vazio().Digitos(p.CnpjCpf, 11);
    else linha.Vazios(2);
    linha.Inscricao(p.InscricaoEstadual);
    // A municipality that is not known is left empty (0 is no IBGE code).
    if (nacional && p.Municipio != 0) linha.Inteiro(p.Municipio);
    else linha.Vazio();
    linha.Texto(p.Suframa).Texto(p.Endereco).Inteiro(p.Numero).Texto(p.Complemento).Texto(p.Bairro).Fim();
    ++linhas;
  }
  return linhas;
}

std::uint32_t CBloco0VendaPeriodo::Registro0190(std::string& texto) { return m_c.itens.Linhas0190(texto); }

// Each product and service the file names is read again for the chosen
// branch and has its line, inactive or not: a C170, C321, C425, C470 or
// H010 line must find its item here. A product whose unit can no longer be
// read has an empty unit, one registered without a unit the unit "UN"
// (the items' collection declares it); only a failing server abandons the
// file.
std::optional<std::uint32_t> CBloco0VendaPeriodo::Registro0200(std::string& texto) {
  dados::CConexaoProduto catalogo;
  com::HRESULT resultado = catalogo.Inicializa(m_triplo.chaveEmpresa, m_triplo.usuario, m_triplo.contexto);
  const auto falhou = [&](int linha) {
    Reporta(resultado, linha);
    return std::nullopt;
  };
  if (com::FAILED(resultado)) return falhou(__LINE__);
  std::uint32_t linhas = 0;
  for (const auto& [codigo, noMapa] : m_c.itens.produtos) {
    REG_PRODUTOPS p{};
    resultado = catalogo.Le(codigo, m_filtro.filial, &p);
    // One no longer in the register is written as its latest document sold it.
    if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) resultado = catalogo.LeDosDocumentos(codigo, m_filtro.filial, &p);
    if (com::FAILED(resultado)) return falhou(__LINE__);
    std::string unidade;
    if (p.Unidade == 0) {
      // Gathered as the unit of the items registered without one.
      if (const auto* u = m_c.itens.unidades.PLookup(0)) unidade = u->Sigla;
    } else {
      const REG_UNIDADES_MEDIDAPS* u = m_c.itens.unidades.PLookup(p.Unidade);
      if (!u) {
        REG_UNIDADES_MEDIDAPS lida{};
        resultado = catalogo.LeUnidade(p.Unidade, &lida);
        if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) {
          if (com::FAILED(resultado)) return falhou(__LINE__);
          m_c.itens.unidades[p.Unidade] = lida;
          u = m_c.itens.unidades.PLookup(p.Unidade);
        }
      }
      if (u) unidade = u->Sigla;
    }
    efd::Linha0200(texto, p, unidade);
    ++linhas;
  }
  for (const auto& [codigo, noMapa] : m_c.itens.servicos) {
    REG_SERVICOSPS s{};
    resultado = catalogo.LeServico(codigo, &s);
    if (resultado == dados::QMX_E_REGISTRO_INEXISTENTE) resultado = catalogo.LeServicoDosDocumentos(codigo, &s);
    if (com::FAILED(resultado)) return falhou(__LINE__);
    std::string unidade;
    if (s.Unidade == 0) {
      if (const auto* u = m_c.itens.unidadesServico.PLookup(0)) unidade = u->Sigla;
    } else {
      const REG_UNIDADES_MEDIDA_SERVICOSPS* u = m_c.itens.unidadesServico.PLookup(s.Unidade);
      if (!u) {
        REG_UNIDADES_MEDIDA_SERVICOSPS lida{};
        resultado = catalogo.LeUnidadeServico(s.Unidade, &lida);
        if (resultado != dados::QMX_E_REGISTRO_INEXISTENTE) {
          if (com::FAILED(resultado)) return falhou(__LINE__);
          m_c.itens.unidadesServico[s.Unidade] = lida;
          u = m_c.itens.unidadesServico.PLookup(s.Unidade);
        }
      }
      if (u) unidade = u->Sigla;
    }
    efd::Linha0200(texto, s, unidade);
    ++linhas;
  }
  return linhas;
}

std::uint32_t CBloco0VendaPeriodo::Registro0400(std::string& texto) {
  std::uint32_t linhas = 0;
  for (const auto& [codigo, descricao] : m_c.naturezas) {
    texto += "|0400|" + codigo + "|" + descricao + "|\r\n";
    ++linhas;
  }
  return linhas;
}

std::uint32_t CBloco0VendaPeriodo::Registro0460(std::string& texto) {
  std::uint32_t numero = 0;
  for (const auto& observacao : m_c.observacoes) {
    texto += "|0460|" + std::to_string(++numero) + "|" + observacao + "|\r\n";
  }
  return numero;
}

std::optional<std::string> CBloco0VendaPeriodo::Corpo(std::uint32_t& linhas) {
  std::string texto;
  linhas = 0;
  const auto conta = [&](std::uint32_t n, const char* registro) {
    m_contagem.Acrescenta(n, registro);
    linhas += n;
  };
  conta(Registro0005(texto), "0005");
  conta(Registro0015(texto), "0015");
  conta(Registro0100(texto), "0100");
  conta(Registro0150(texto), "0150");
  // The items first: a unit read for a product's line must have its 0190.
  std::string texto0200;
  const auto produtos = Registro0200(texto0200);
  if (!produtos) return std::nullopt;
  conta(Registro0190(texto), "0190");
  texto += texto0200;
  conta(*produtos, "0200");
  conta(Registro0400(texto), "0400");
  conta(Registro0460(texto), "0460");
  return texto;
}

}  // namespace qmx::venda
