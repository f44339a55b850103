#include "fisco/EstadoDaFilial.h"

#include "frame/ECFAtivo.h"
#include "plataforma/dados/ConexaoEmissora.h"
#include "plataforma/dados/ConexaoMestre.h"

namespace qmx {

std::optional<std::string> EstadoDaFilial(const TriploConexao& triplo, std::uint16_t filial) {
  if (filial == 0) {
    const int posicao = PosicaoECFAtivo(triplo);
    if (posicao <= 0) return std::nullopt;
    dados::CConexaoEmissora emissoras;
    if (com::FAILED(emissoras.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto)))
      return std::nullopt;
    // The position in the ECF list is read as the ECF's number: the list
    // comes in number order and the point-of-sale program numbers its ECFs
    // from 1, as every caller of the connected-ECF lookup does.
    REG_EMISSORPS ecf{};
    if (com::FAILED(emissoras.Le(static_cast<std::uint16_t>(posicao), &ecf))) return std::nullopt;
    filial = ecf.Filial;
  }
  dados::CConexaoMestre mestre;
  if (com::FAILED(mestre.Inicializa(triplo.chaveEmpresa, triplo.usuario, triplo.contexto))) return std::nullopt;
  REG_EC_MESTRE_FILIALPS dados{};
  if (com::FAILED(mestre.LeFilial(filial, &dados))) return std::nullopt;
  return std::string(dados.UF);
}

}  // namespace qmx
