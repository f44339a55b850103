#include "arquivos/sintegra/ContextoSintegra.h"

#include "calculo/Inteiro128.h"
#include "plataforma/texto/LetrasEDigitos.h"

namespace qmx::sintegra {

std::string CodigoItem(bool servico, std::uint32_t codigo) {
  char texto[12];
  int n = sizeof texto;
  do {
    texto[--n] = static_cast<char>('0' + codigo % 10);
    codigo /= 10;
  } while (codigo);
  texto[--n] = servico ? 'S' : 'P';
  return std::string(texto + n, sizeof texto - static_cast<std::size_t>(n));
}

std::string InscricaoSintegra(const char* inscricao) {
  const std::string limpa = texto::LetrasEDigitos(inscricao ? inscricao : "");
  return limpa.empty() ? "ISENTO" : limpa;
}

std::string SituacaoTributaria(bool cancelado, bool servico, char letra, std::uint16_t aliquota) {
  if (cancelado) return "CANC";
  if (servico || letra == 'S') return "ISS";
  if (letra == 'F' || letra == 'I' || letra == 'N') return std::string(1, letra);
  if (aliquota == 0) return "N";
  // As V(4,2) writes a rate: zeros on the left, the leftmost four digits.
  unsigned valor = aliquota;
  while (valor > 9999) valor /= 10;
  const char texto[4] = {static_cast<char>('0' + valor / 1000), static_cast<char>('0' + valor / 100 % 10),
                         static_cast<char>('0' + valor / 10 % 10), static_cast<char>('0' + valor % 10)};
  return std::string(texto, 4);
}

ImpostoItem ImpostoDoItem(const REG_EC_CX_CIPS& item, bool cancelado) {
  ImpostoItem imposto;
  if (cancelado || item.Cancelado || item.Servico || item.TipoTributacao != 'T' || item.AliquotaCentesimos == 0)
    return imposto;
  imposto.base = item.ValorTotal.int64;
  // value × rate / 100, the rate in hundredths: kept exact to the fourth
  // decimal and cut there, as the records cut further.
  // The product fits 64 bits for any base below 2^47 (billions of reais);
  // a larger one is taken in 128.
  const std::int64_t limite = std::int64_t{1} << 47;
  imposto.icms = (imposto.base < limite && imposto.base > -limite)
                     ? imposto.base * item.AliquotaCentesimos / 10000
                     : static_cast<std::int64_t>(static_cast<qmx::Inteiro128>(imposto.base) * item.AliquotaCentesimos / 10000);
  return imposto;
}

}  // namespace qmx::sintegra
