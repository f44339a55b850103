#pragma once

#include <cstdint>

namespace qmx::texto {

// "00" to "99": numbers are written two digits at a time (a month's file
// formats tens of millions of them).
inline constexpr char kParesDeDigitos[] =
    "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
    "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

// The two digits of a value below 100.
inline const char* ParDeDigitos(unsigned valor) { return kParesDeDigitos + 2 * valor; }

// Whether a number's decimal digits (zero has one) fit in `digitos`
// places: a field written from the right takes it whole.
inline bool CabeEm(std::uint64_t numero, long digitos) {
  static constexpr std::uint64_t kPotenciasDeDez[] = {1,
                                                      10,
                                                      100,
                                                      1000,
                                                      10000,
                                                      100000,
                                                      1000000,
                                                      10000000,
                                                      100000000,
                                                      1000000000,
                                                      10000000000,
                                                      100000000000,
                                                      1000000000000,
                                                      10000000000000,
                                                      100000000000000,
                                                      1000000000000000,
                                                      10000000000000000,
                                                      100000000000000000,
                                                      1000000000000000000,
                                                      10000000000000000000u};
  return digitos >= 20 || (digitos >= 1 && numero < kPotenciasDeDez[digitos]);
}

// The decimal digits of a number written from the right, ending just
// before `fim` (which has 20 characters of room before it); answers where
// the first digit is. Zero is "0".
inline char* DigitosAntesDe(std::uint64_t numero, char* fim) {
  char* p = fim;
  while (numero >= 100) {
    const char* par = ParDeDigitos(static_cast<unsigned>(numero % 100));
    numero /= 100;
    *--p = par[1];
    *--p = par[0];
  }
  if (numero >= 10) {
    const char* par = ParDeDigitos(static_cast<unsigned>(numero));
    *--p = par[1];
    *--p = par[0];
  } else {
    *--p = static_cast<char>('0' + numero);
  }
  return p;
}

}  // namespace qmx::texto
