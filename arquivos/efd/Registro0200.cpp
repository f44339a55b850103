#include "arquivos/efd/Registro0200.h"

#include "arquivos/efd/LinhaEFD.h"

namespace qmx::efd {

namespace {

std::string Capitulo(const char* ncm) {
  const std::string digitos = SoDigitos(ncm);
  return digitos.size() >= 2 ? digitos.substr(0, 2) : std::string();
}

}  // namespace

void Linha0200(std::string& texto, const REG_PRODUTOPS& p, std::string_view unidade) {
  CLinhaEFD linha(texto, "0200");
  linha.Texto("P" + std::to_string(p.Codigo))
      .Texto(p.Descricao)
      .Vazios(2)
      .Texto(unidade)
      .Texto(p.Revenda ? "00" : "04")
      .Texto(p.NCM)
      .Texto(p.ExIPI)
      .Texto(Capitulo(p.NCM))
      .Vazio();
  if (p.AliquotaICMS != 0) linha.Valor(static_cast<std::int64_t>(p.AliquotaICMS) * 100);
  else linha.Vazio();
  linha.Fim();
}

void Linha0200(std::string& texto, const REG_SERVICOSPS& s, std::string_view unidade) {
  CLinhaEFD(texto, "0200")
      .Texto("S" + std::to_string(s.Codigo))
      .Texto(s.Descricao)
      .Vazios(2)
      .Texto(unidade)
      .Texto("09")
      .Vazios(2)
      .Texto("00")
      .Numerico(s.CodigoLST, 4)
      .Vazio()
      .Fim();
}

}  // namespace qmx::efd
