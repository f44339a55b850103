#include "plataforma/dados/ConexaoPlano.h"

#include <cstring>

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

namespace {

REG_PLANO_CONTAPS Conta(const LinhaDados& l) {
  auto r = leitura::Zerado<REG_PLANO_CONTAPS>();
  CopiaTexto(r.Codigo, l.Texto(0));
  CopiaTexto(r.Descricao, l.Texto(1));
  r.Analitica = static_cast<std::uint8_t>(l.Inteiro(2));
  r.ExigeGerencial = static_cast<std::uint8_t>(l.Inteiro(3));
  return r;
}

}  // namespace

com::HRESULT CConexaoPlano::Le(const std::string& codigo, REG_PLANO_CONTAPS* registro) {
  return LeUm("SELECT codigo, descricao, analitica, exige_gerencial FROM plano_conta WHERE codigo = ?",
              {TextoParaBase(codigo.c_str(), codigo.size())}, registro, Conta);
}

com::HRESULT CConexaoPlano::LeContas(const std::vector<std::string>& codigos,
                                     std::map<std::string, REG_PLANO_CONTAPS>* contas) {
  if (!contas) return com::E_POINTER;
  contas->clear();
  std::vector<std::string> naBase;
  naBase.reserve(codigos.size());
  for (const auto& codigo : codigos) naBase.push_back(TextoParaBase(codigo.c_str(), codigo.size()));
  return LePorChaves(
      naBase, {},
      [](const std::string& lista) {
        return "SELECT codigo, descricao, analitica, exige_gerencial FROM plano_conta WHERE codigo IN (" + lista +
               ")";
      },
      [&](const LinhaDados& l) {
        const auto conta = Conta(l);
        contas->emplace(std::string(conta.Codigo, ::strnlen(conta.Codigo, sizeof conta.Codigo)), conta);
      });
}

}  // namespace qmx::dados
