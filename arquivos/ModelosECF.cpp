#include "arquivos/ModelosECF.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace qmx {

namespace {

struct Modelo {
  const char* nome;
  const char* codigo;
};

// The table as the fiscal authority lists the models.
constexpr Modelo kModelos[] = {
    {"MP-20FIII", "030509"},   {"MP-25FI", "031004"},     {"MP-40FIII", "031304"},   {"MP-50FI", "031304"},
    {"MP-2000THFI", "030806"}, {"MP-2100THFI", "030902"}, {"MP-3000THFI", "031903"}, {"MP-4000THFI", "032101"},
    {"MP-6000THFI", "031705"}, {"MP-7000THFI", "031705"}, {"FS345", "080502"},       {"FS2000", "080103"},
    {"FS600", "080804"},       {"IFMFD1FIT", "140702"},   {"IFMFD6000TH", "141102"}, {"IFMFDFIT1E", "141002"},
    {"TM-H6000", "150502"},    {"TM-T81", "150404"},      {"IFST1000", "381802"},    {"IFST100", "381703"},
    {"IFST120", "382001"},     {"IFST200", "381901"},     {"IFS-9000IIIE", "381502"}, {"IFS-7000II", "380903"},
    {"IFS-9000IIE", "381401"}, {"IFS-7000IE", "380802"},  {"IFS-9000IE", "381202"},  {"IFS-7000I", "380703"},
    {"IFS-9000I", "381102"},
};

}  // namespace

std::string CodigoModeloECF(const std::string& modelo) {
  std::string texto;
  for (char c : modelo)
    if (c != ' ') texto += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const std::vector<Modelo> ordem = [] {
    std::vector<Modelo> v(std::begin(kModelos), std::end(kModelos));
    std::stable_sort(v.begin(), v.end(),
                     [](const Modelo& a, const Modelo& b) { return std::strlen(a.nome) > std::strlen(b.nome); });
    return v;
  }();
  for (const auto& m : ordem)
    if (texto.find(m.nome) != std::string::npos) return m.codigo;
  return {};
}

}  // namespace qmx
