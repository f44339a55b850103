#include "arquivos/sintegra/GeradorSintegra.h"

#include <cerrno>
#include "plataforma/dados/TransacaoDados.h"

#include <algorithm>

#include "arquivos/sintegra/ConsumidorSintegra.h"
#include "arquivos/sintegra/ECFSintegra.h"
#include "arquivos/sintegra/ItensSintegra.h"
#include "arquivos/sintegra/LeiautesSintegra.h"
#include "arquivos/sintegra/NotasSintegra.h"
#include "frame/QMXGenerica.h"
#include "plataforma/arquivos/ExcecaoArquivo.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoNatureza.h"
#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/TextoRegistro.h"

namespace qmx::sintegra {

namespace {

std::string Digitos(const std::string& texto) {
  std::string digitos;
  for (char c : texto)
    if (c >= '0' && c <= '9') digitos += c;
  return digitos;
}

// The ECFs of the file: the chosen one, or every ECF of the branch, in
// order of serial number (the order of the 60 records).
std::vector<REG_EMISSORPS> Emissoras(const TriploConexao& t, std::uint16_t filial, std::uint16_t emissora) {
  dados::CConexaoEmissora conexao;
  Exige(conexao.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  std::vector<REG_EMISSORPS> lista;
  std::uint16_t quantidade = 0;
  Exige(conexao.ListaDaFilial(filial, &quantidade, &lista), __LINE__);
  if (emissora != 0)
    std::erase_if(lista, [&](const REG_EMISSORPS& e) { return e.Numero != emissora; });
  std::stable_sort(lista.begin(), lista.end(), [](const REG_EMISSORPS& a, const REG_EMISSORPS& b) {
    return std::string_view(a.NumeroSerie) < std::string_view(b.NumeroSerie);
  });
  return lista;
}

// The CFOP of the point-of-sale master's nature of sale.
std::string CfopDeVenda(const TriploConexao& t) {
  CQMXGenerica generica;
  generica.Inicializa(t.chaveEmpresa.c_str(), t.usuario, t.contexto);
  REG_EC_MESTREPS mestre{};
  generica.LeMestre(&mestre);
  dados::CConexaoNatureza naturezas;
  Exige(naturezas.Inicializa(t.chaveEmpresa, t.usuario, t.contexto), __LINE__);
  REG_NATUREZAPS natureza{};
  const auto lida = naturezas.Le(mestre.NaturezaVenda, &natureza);
  if (lida != dados::QMX_E_REGISTRO_INEXISTENTE) Exige(lida, __LINE__);
  const std::string cfop = Digitos(natureza.Cfop);
  return cfop.size() == 4 ? cfop : "5102";
}

}  // namespace

std::vector<std::string> Registros90(const REG_FILIALPS& filial, Contadores contadores) {
  const std::uint32_t linhas90 = static_cast<std::uint32_t>(contadores.size() / 9 + 1);
  std::uint32_t total = 2 + linhas90;
  for (const auto& [tipo, quantidade] : contadores) total += quantidade;
  contadores.emplace_back(99, total);

  CEscritorRegistro escritor("");
  std::vector<std::string> saida;
  for (std::size_t inicio = 0; inicio < contadores.size(); inicio += 9) {
    std::string linha = escritor.Monta<kCabeca90>({filial.Cnpj, InscricaoSintegra(filial.InscricaoEstadual)});
    for (std::size_t i = inicio; i < inicio + 9; ++i)
      linha += i < contadores.size() ? escritor.Monta<kPar90>({contadores[i].first, contadores[i].second})
                                     : std::string(10, ' ');
    linha += escritor.Monta<kPe90>({linhas90});
    saida.push_back(linha + "\r\n");
  }
  return saida;
}

void CGeradorSintegra::Gera(const FiltroSintegra& filtro, const std::string& caminho,
                            const CArquivoTexto::AntesDeGuardar& antesDeGuardar) {
  const dados::CInstanteLeitura instante(m_triplo.chaveEmpresa);
  ContextoSintegra c;
  c.triplo = m_triplo;
  c.dataInicial = filtro.dataInicial;
  c.dataFinal = filtro.dataFinal;
  CQMXGenerica generica;
  generica.Inicializa(m_triplo.chaveEmpresa.c_str(), m_triplo.usuario, m_triplo.contexto);
  wchar_t* largo = nullptr;
  generica.LeFilial(filtro.filial, &c.filial, &largo);
  std::string razaoSocial = largo ? dados::DeTextoLargo(largo) : std::string();
  dados::LiberaTextoLargo(largo);
  REG_MUNICIPIO_PS municipio{};
  generica.LeMunicipio(static_cast<std::uint16_t>(c.filial.Municipio), &municipio);
  const auto emissoras = Emissoras(m_triplo, filtro.filial, filtro.emissora);

  CArquivoTexto arquivo;
  if (!arquivo.Abrir(caminho, CArquivoTexto::Modo::EscritaBinaria)) {
    const int erro = errno;
    throw CExcecaoArquivo(CExcecaoArquivo::CausaDoErro(erro), erro, caminho);
  }
  // Digested as it is written: the signature does not read it back.
  if (antesDeGuardar) arquivo.DigereAoEscrever();
  c.saida = &arquivo;
  const auto& f = c.filial;
  // A branch without fax has zeros there, not its area code alone.
  const std::string fax = Digitos(f.Fax).empty() ? std::string() : Digitos(std::string(f.DDD) + f.Fax);
  c.Escreve(c.escritor.Monta<kRegistro10>({f.Cnpj, InscricaoSintegra(f.InscricaoEstadual), razaoSocial, municipio.Nome,
                                           municipio.UF, fax, c.dataInicial, c.dataFinal, filtro.convenio,
                                           filtro.natureza, filtro.finalidade}));
  c.Escreve(c.escritor.Monta<kRegistro11>({f.Endereco, Digitos(f.NumeroEndereco), f.Complemento, f.Bairro, f.Cep,
                                           f.Contato, Digitos(std::string(f.DDD) + f.Telefone)}));
  c.cfopVenda = CfopDeVenda(m_triplo);

  Contadores contadores;
  const auto conta = [&](std::uint16_t tipo, std::uint32_t linhas) {
    if (linhas) contadores.emplace_back(tipo, linhas);
  };
  CItensSintegra itens;
  CNotasSintegra notas(c, itens);
  notas.Le();
  m_semParticipante = notas.SemParticipante();
  const std::uint32_t linhas50 = notas.Escreve50();
  const std::uint32_t linhas54 = notas.Escreve54();
  conta(50, linhas50);
  conta(54, linhas54);
  CECFSintegra ecf(c, itens);
  const std::uint32_t linhas60 = ecf.EscreveDias(emissoras);
  conta(60, linhas60 + ecf.Escreve60R());
  CConsumidorSintegra consumidor(c, itens);
  const std::uint32_t linhas61 = consumidor.Escreve61();
  conta(61, linhas61 + consumidor.Escreve61R());
  conta(75, itens.Escreve(c));
  for (const auto& linha : Registros90(c.filial, contadores)) c.Escreve(linha);
  arquivo.Fechar(antesDeGuardar);
}

}  // namespace qmx::sintegra
