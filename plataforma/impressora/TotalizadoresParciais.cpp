#include "plataforma/impressora/TotalizadoresParciais.h"

#include <cstdio>

namespace qmx::impressora {

std::string CodigoAliquota(std::uint16_t posicao, char tipo, std::uint16_t aliquota) {
  char texto[16];
  std::snprintf(texto, sizeof texto, "%02u%c%04u", static_cast<unsigned>(posicao % 100), tipo,
                static_cast<unsigned>(aliquota % 10000));
  return texto;
}

std::map<int, std::string> CodigosAliquotas(const std::vector<REG_EMISSOR_ALIQUOTA>& aliquotas) {
  std::map<int, std::string> codigos;
  for (const auto& a : aliquotas) codigos.emplace((a.Tipo << 16) | a.Aliquota, CodigoAliquota(a.Posicao, a.Tipo, a.Aliquota));
  return codigos;
}

std::string CodigoTotalizadorItem(const REG_EC_CX_CIPS& item, const std::map<int, std::string>& codigosAliquotas) {
  const bool servico = item.Servico != 0;
  const char letra = static_cast<char>(item.TipoTributacao);
  if (letra == 'F' || letra == 'I' || letra == 'N') return std::string(1, letra) + (servico ? "S1" : "1");
  const char tipo = servico ? 'S' : 'T';
  const auto achado = codigosAliquotas.find((tipo << 16) | item.AliquotaCentesimos);
  return achado == codigosAliquotas.end() ? std::string() : achado->second;
}

void TotalizadoresFixos(const REG_REDUCAO_ZPS& z, std::int64_t naoFiscal,
                        const std::function<void(const char*, std::int64_t)>& porTotalizador) {
  const std::pair<const char*, std::int64_t> fixos[] = {
      {"AS", 0}, {"AT", 0}, {"Can-S", 0}, {"Can-T", z.Cancelamentos.int64}, {"DS", 0},
      {"DT", z.Descontos.int64}, {"F1", z.Substituicao.int64}, {"FS1", 0}, {"I1", z.Isento.int64}, {"IS1", 0},
      {"N1", z.NaoTributado.int64}, {"NS1", 0}, {"OPNF", naoFiscal}};
  for (const auto& [codigo, valor] : fixos) porTotalizador(codigo, valor);
}

}  // namespace qmx::impressora
