#include "plataforma/cripto/ExponenciacaoModular.h"

#include <cstdint>

namespace qmx::cripto {

namespace {

using Numero = std::vector<std::uint32_t>;  // little-endian 32-bit limbs
using Bytes = std::basic_string_view<unsigned char>;

Numero DeBytes(Bytes bytes, std::size_t membros) {
  Numero numero(membros, 0);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::size_t posicao = bytes.size() - 1 - i;  // from the least significant byte
    if (i / 4 < membros) numero[i / 4] |= static_cast<std::uint32_t>(bytes[posicao]) << (8 * (i % 4));
  }
  return numero;
}

int Compara(const Numero& a, const Numero& b) {
  for (std::size_t i = a.size(); i-- > 0;)
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  return 0;
}

void Subtrai(Numero& a, const Numero& b) {
  std::int64_t emprestimo = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::int64_t diferenca = static_cast<std::int64_t>(a[i]) - b[i] - emprestimo;
    a[i] = static_cast<std::uint32_t>(diferenca);
    emprestimo = diferenca < 0 ? 1 : 0;
  }
}

// a*b/R mod n (R = 2^(32*k)), with n' = -n^-1 mod 2^32.
Numero Montgomery(const Numero& a, const Numero& b, const Numero& n, std::uint32_t nLinha) {
  const std::size_t k = n.size();
  std::vector<std::uint64_t> t(k + 2, 0);
  for (std::size_t i = 0; i < k; ++i) {
    std::uint64_t vai = 0;
    for (std::size_t j = 0; j < k; ++j) {
      const std::uint64_t soma = t[j] + static_cast<std::uint64_t>(a[j]) * b[i] + vai;
      t[j] = soma & 0xFFFFFFFFu;
      vai = soma >> 32;
    }
    std::uint64_t soma = t[k] + vai;
    t[k] = soma & 0xFFFFFFFFu;
    t[k + 1] = soma >> 32;
    const std::uint32_t m = static_cast<std::uint32_t>(t[0]) * nLinha;
    vai = (t[0] + static_cast<std::uint64_t>(m) * n[0]) >> 32;
    for (std::size_t j = 1; j < k; ++j) {
      soma = t[j] + static_cast<std::uint64_t>(m) * n[j] + vai;
      t[j - 1] = soma & 0xFFFFFFFFu;
      vai = soma >> 32;
    }
    soma = t[k] + vai;
    t[k - 1] = soma & 0xFFFFFFFFu;
    t[k] = t[k + 1] + (soma >> 32);
  }
  Numero resultado(k);
  for (std::size_t j = 0; j < k; ++j) resultado[j] = static_cast<std::uint32_t>(t[j]);
  if (t[k] != 0 || Compara(resultado, n) >= 0) Subtrai(resultado, n);
  return resultado;
}

}  // namespace

std::optional<std::vector<unsigned char>> ExponenciacaoModular(Bytes base, Bytes expoente, Bytes modulo) {
  while (!modulo.empty() && modulo[0] == 0) modulo.remove_prefix(1);
  if (modulo.empty() || (modulo.back() & 1) == 0) return std::nullopt;
  const std::size_t k = (modulo.size() + 3) / 4;
  const Numero n = DeBytes(modulo, k);
  while (base.size() > modulo.size() && base[0] == 0) base.remove_prefix(1);
  if (base.size() > modulo.size()) return std::nullopt;
  const Numero x = DeBytes(base, k);
  if (Compara(x, n) >= 0) return std::nullopt;

  // n' by Newton's iteration: each step doubles the correct low bits.
  std::uint32_t inverso = 1;
  for (int i = 0; i < 5; ++i) inverso *= 2u - n[0] * inverso;
  const std::uint32_t nLinha = 0u - inverso;

  // R mod n and R^2 mod n by doubling.
  Numero r(k, 0);
  r[0] = 1;
  Numero r2;
  for (std::size_t bit = 0; bit < 64 * k; ++bit) {
    if (bit == 32 * k) r2 = r;  // r is R mod n here
    std::uint32_t vai = 0;
    for (std::size_t i = 0; i < k; ++i) {
      const std::uint32_t proximo = r[i] >> 31;
      r[i] = (r[i] << 1) | vai;
      vai = proximo;
    }
    if (vai || Compara(r, n) >= 0) Subtrai(r, n);
  }
  const Numero rModN = r2;  // R mod n: one in Montgomery form
  r2 = r;                   // R^2 mod n

  Numero acumulado = rModN;
  const Numero xMont = Montgomery(x, r2, n, nLinha);
  for (unsigned char byte : expoente)
    for (int bit = 7; bit >= 0; --bit) {
      acumulado = Montgomery(acumulado, acumulado, n, nLinha);
      if ((byte >> bit) & 1) acumulado = Montgomery(acumulado, xMont, n, nLinha);
    }
  Numero um(k, 0);
  um[0] = 1;
  const Numero resultado = Montgomery(acumulado, um, n, nLinha);

  std::vector<unsigned char> bytes(modulo.size());
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[bytes.size() - 1 - i] = static_cast<unsigned char>(resultado[i / 4] >> (8 * (i % 4)));
  return bytes;
}

}  // namespace qmx::cripto
