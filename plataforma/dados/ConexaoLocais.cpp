#include "plataforma/dados/ConexaoLocais.h"

#include "plataforma/dados/LeituraRegistros.h"

namespace qmx::dados {

namespace {

constexpr const char* kColunasLocal = "SELECT codigo, descricao, conta_empresarial, permite_negativo FROM local_estoque ";

REG_LOCAL_ESTOQUEPS Local(const LinhaDados& l) {
  auto r = leitura::Zerado<REG_LOCAL_ESTOQUEPS>();
  r.Codigo = static_cast<std::uint16_t>(l.Inteiro(0));
  CopiaTexto(r.Descricao, l.Texto(1));
  CopiaTexto(r.ContaEmpresarial, l.Texto(2));
  r.PermiteNegativo = static_cast<std::uint8_t>(l.Inteiro(3));
  return r;
}

}  // namespace

com::HRESULT CConexaoLocais::Le(std::uint16_t codigo, REG_LOCAL_ESTOQUEPS* registro) {
  return LeUm((std::string(kColunasLocal) + "WHERE codigo = ?").c_str(), {codigo}, registro, Local);
}

com::HRESULT CConexaoLocais::LeLocais(const std::vector<std::uint16_t>& codigos,
                                      std::map<std::uint16_t, REG_LOCAL_ESTOQUEPS>* locais) {
  if (!locais) return com::E_POINTER;
  locais->clear();
  return LePorChaves(
      codigos, {}, [](const std::string& lista) { return std::string(kColunasLocal) + "WHERE codigo IN (" + lista + ")"; },
      [&](const LinhaDados& l) {
        const REG_LOCAL_ESTOQUEPS local = Local(l);
        locais->emplace(local.Codigo, local);
      });
}

}  // namespace qmx::dados
