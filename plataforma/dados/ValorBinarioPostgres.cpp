#include "plataforma/dados/ValorBinarioPostgres.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <type_traits>
#include <vector>

#include "plataforma/dados/ResultadosDados.h"
#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados::postgres {

namespace {

// The type oids of the server's catalogue (pg_type), fixed since ever.
constexpr unsigned kBool = 16, kChar = 18, kNome = 19, kInt8 = 20, kInt2 = 21, kInt4 = 23, kTexto = 25, kOid = 26,
                   kFloat4 = 700, kFloat8 = 701, kDesconhecido = 705, kBpchar = 1042, kVarchar = 1043,
                   kNumeric = 1700;

// Big-endian integers, as the wire has them.
template <typename T>
T Le(const char* valor) {
  using U = std::make_unsigned_t<T>;
  U u = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) u = static_cast<U>((u << 8) | static_cast<unsigned char>(valor[i]));
  return static_cast<T>(u);
}

[[noreturn]] void Desconhecido(unsigned tipo) {
  throw CErroDados(QMX_E_FALHA_BASE, "PostgreSQL: coluna de tipo " + std::to_string(tipo) + " lida em binário");
}

// A numeric: its base-10 000 digits, the weight of the first, its sign and
// how many decimals its text shows.
struct Numerico {
  std::vector<int> digitos;
  int peso = 0;
  bool negativo = false;
  bool nan = false;
  int escala = 0;
};

Numerico LeNumerico(const char* valor, int tamanho) {
  if (tamanho < 8) Desconhecido(kNumeric);
  Numerico n;
  const int quantos = Le<std::uint16_t>(valor);
  n.peso = Le<std::int16_t>(valor + 2);
  const unsigned sinal = Le<std::uint16_t>(valor + 4);
  n.escala = Le<std::uint16_t>(valor + 6);
  n.negativo = sinal == 0x4000;
  n.nan = sinal == 0xC000;
  if (tamanho < 8 + 2 * quantos) Desconhecido(kNumeric);
  for (int i = 0; i < quantos; ++i) n.digitos.push_back(Le<std::int16_t>(valor + 8 + 2 * i));
  return n;
}

double LeFlutuante(unsigned tipo, const char* valor) {
  if (tipo == kFloat4) return static_cast<double>(std::bit_cast<float>(Le<std::uint32_t>(valor)));
  return std::bit_cast<double>(Le<std::uint64_t>(valor));
}

}  // namespace

bool TipoDeTexto(unsigned tipo) {
  return tipo == kTexto || tipo == kVarchar || tipo == kBpchar || tipo == kNome || tipo == kChar ||
         tipo == kDesconhecido;
}

std::int64_t InteiroBinario(unsigned tipo, const char* valor, int tamanho) {
  switch (tipo) {
    case kInt2: return Le<std::int16_t>(valor);
    case kInt4: return Le<std::int32_t>(valor);
    case kInt8: return Le<std::int64_t>(valor);
    case kOid: return Le<std::uint32_t>(valor);
    // The text "t" or "f" reads as 0 with strtoll; in binary a true is 1,
    // as SQLite has it.
    case kBool: return valor[0] != 0;
    case kFloat4:
    case kFloat8: {
      const double d = LeFlutuante(tipo, valor);
      return std::isfinite(d) ? static_cast<std::int64_t>(d) : 0;
    }
    case kNumeric: {
      const Numerico n = LeNumerico(valor, tamanho);
      if (n.nan) return 0;
      std::int64_t inteiro = 0;
      // Only the digits at or above the units: the fraction is cut off.
      for (int i = 0; i <= n.peso; ++i)
        inteiro = inteiro * 10000 + (i < static_cast<int>(n.digitos.size()) ? n.digitos[static_cast<std::size_t>(i)] : 0);
      return n.negativo ? -inteiro : inteiro;
    }
    default:
      if (TipoDeTexto(tipo)) return std::strtoll(valor, nullptr, 10);
      Desconhecido(tipo);
  }
}

std::string TextoBinario(unsigned tipo, const char* valor, int tamanho) {
  if (TipoDeTexto(tipo)) return std::string(valor, static_cast<std::size_t>(tamanho));
  switch (tipo) {
    case kBool: return valor[0] ? "t" : "f";
    case kFloat4:
    case kFloat8: {
      const double d = LeFlutuante(tipo, valor);
      if (std::isnan(d)) return "NaN";
      if (std::isinf(d)) return d > 0 ? "Infinity" : "-Infinity";
      // The shortest digits that read back the same; in plain notation
      // while the exponent is from -4 to the type's digits less one (14,
      // or 5 for a float4), as the server writes them.
      const auto escreve = [&](char* texto, std::chars_format forma) {
        return tipo == kFloat4 ? std::to_chars(texto, texto + 64, static_cast<float>(d), forma).ptr
                               : std::to_chars(texto, texto + 64, d, forma).ptr;
      };
      char texto[64];
      const char* fim = escreve(texto, std::chars_format::scientific);
      const char* e = std::find(static_cast<const char*>(texto), fim, 'e');
      int expoente = 0;
      if (e != fim) std::from_chars(e[1] == '+' ? e + 2 : e + 1, fim, expoente);
      if (expoente >= -4 && expoente < (tipo == kFloat4 ? 6 : 15)) fim = escreve(texto, std::chars_format::fixed);
      return std::string(static_cast<const char*>(texto), fim);
    }
    case kNumeric: {
      const Numerico n = LeNumerico(valor, tamanho);
      if (n.nan) return "NaN";
      const auto digito = [&](int i) { return i >= 0 && i < static_cast<int>(n.digitos.size()) ? n.digitos[static_cast<std::size_t>(i)] : 0; };
      std::string texto = n.negativo ? "-" : "";
      // The whole part: the first group without its leading zeros, the
      // others with all four digits; none at all is "0".
      if (n.peso < 0) {
        texto += '0';
      } else {
        texto += std::to_string(digito(0));
        char grupo[8];
        for (int i = 1; i <= n.peso; ++i) {
          std::snprintf(grupo, sizeof grupo, "%04d", digito(i));
          texto += grupo;
        }
      }
      if (n.escala > 0) {
        texto += '.';
        std::string fracao;
        char grupo[8];
        for (int i = n.peso + 1; static_cast<int>(fracao.size()) < n.escala; ++i) {
          std::snprintf(grupo, sizeof grupo, "%04d", digito(i));
          fracao += grupo;
        }
        texto += fracao.substr(0, static_cast<std::size_t>(n.escala));
      }
      return texto;
    }
    default:
      return std::to_string(InteiroBinario(tipo, valor, tamanho));
  }
}

}  // namespace qmx::dados::postgres
