#pragma once

#include <string>
#include <string_view>

#include "plataforma/dados/RegistroCatalogo.h"

namespace qmx::efd {

// The 0200 line of a product or a service, the same in both files of the
// digital-bookkeeping layout. A product's genre (COD_GEN) is the chapter
// of its NCM, its first two digits, empty without one; its ICMS rate is a
// decimal ("18,00", "12,50"), empty when the product carries none. A
// service is of type 09 and genre 00, with its code of the services list
// and no ICMS rate (its ISS is no ICMS).
void Linha0200(std::string& texto, const REG_PRODUTOPS& produto, std::string_view unidade);
void Linha0200(std::string& texto, const REG_SERVICOSPS& servico, std::string_view unidade);

}  // namespace qmx::efd
