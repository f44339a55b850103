#include "fisco/DadosIdentificacao.h"

#include <map>

#include "frame/ECFAtivo.h"
#include "plataforma/dados/DetalheFalhaDados.h"
#include "plataforma/dados/ConexaoECF.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoMestre.h"
#include "plataforma/dados/ZTDadosInicializacao.h"
#include "plataforma/dados/ZTParametroInicializacao.h"
#include "plataforma/mensagens/ZTMens.h"

namespace qmx {
namespace {

constexpr std::uint16_t kSistemaPontoVenda = 19;

bool ECFPorFilial(const TriploConexao& triplo) {
  const dados::CZTParametroInicializacao parametro(triplo.chaveEmpresa, triplo.usuario, triplo.contexto,
                                                   kSistemaPontoVenda);
  dados::CZTDadosInicializacao dadosIniciais;
  dadosIniciais.BuscaDados(parametro);  // a failure leaves every flag at 0
  return dadosIniciais.GetTipoSistemas()[dados::QMX_TIPO_ECF_POR_FILIAL] == 1;
}

// The state of a branch, each branch read once; empty when it cannot be read.
class EstadosDasFiliais {
 public:
  explicit EstadosDasFiliais(dados::CConexaoMestre& mestre) : m_mestre(mestre) {}
  std::string Le(std::uint16_t filial) {
    const auto achado = m_lidos.find(filial);
    if (achado != m_lidos.end()) return achado->second;
    REG_EC_MESTRE_FILIALPS registro{};
    const std::string uf = com::FAILED(m_mestre.LeFilial(filial, &registro)) ? std::string() : registro.UF;
    return m_lidos[filial] = uf;
  }

 private:
  dados::CConexaoMestre& m_mestre;
  std::map<std::uint16_t, std::string> m_lidos;
};

}  // namespace

std::optional<DadosIdentificacao> LeDadosIdentificacao(const TriploConexao& triplo) {
  const bool porFilial = ECFPorFilial(triplo);

  dados::CConexaoMestre mestre;
  dados::CConexaoEmissora emissoras;
  dados::CConexaoECF controle;
  if (com::FAILED(mestre.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto)) ||
      com::FAILED(emissoras.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto)))
    return std::nullopt;
  if (porFilial && com::FAILED(controle.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto)))
    return std::nullopt;

  const int posicao = PosicaoECFAtivo(triplo);
  if (posicao < 1) {
    mensagens::ZTMensagem(122, "EC");
    dados::LimpaFalhaDados();  // the operator has been told
    return std::nullopt;
  }
  // The position is read as the ECF's number (see EstadoDaFilial).
  REG_EMISSORPS ecf{};
  if (com::FAILED(emissoras.Le(static_cast<std::uint16_t>(posicao), &ecf))) return std::nullopt;
  if (porFilial) {
    std::int32_t resposta = 0;
    if (com::FAILED(controle.GetEhFilialHabilitada_ECF(ecf.Filial, &resposta))) {
      mensagens::ZTMensagem(162, "EC");
      dados::LimpaFalhaDados();
      return std::nullopt;
    }
    if (resposta != 0) {
      mensagens::ZTMensagem(161, "EC");
      return std::nullopt;
    }
  }
  REG_EC_MESTRE_FILIALPS filialDoECF{};
  if (com::FAILED(mestre.LeFilial(ecf.Filial, &filialDoECF))) return std::nullopt;

  DadosIdentificacao dados;
  dados.uf = filialDoECF.UF;
  std::uint16_t quantidade = 0;
  std::vector<REG_EMISSORPS> lista;
  if (com::FAILED(emissoras.Lista(&quantidade, &lista))) return std::nullopt;
  // Only where the report filters by state does it need each ECF's branch.
  EstadosDasFiliais estados(mestre);
  for (std::size_t i = 0; i < quantidade && i < lista.size(); ++i) {
    const REG_EMISSORPS& e = lista[i];
    dados.ecfs.push_back({e.Nome, e.NumeroSerie, e.Habilitada != 0, dados.uf == "AL" ? estados.Le(e.Filial) : ""});
  }
  return dados;
}

}  // namespace qmx
