#pragma once

#include <memory>
#include <optional>
#include <string>

#include "plataforma/dados/SessaoDados.h"

namespace qmx::dados {

// Where a company's data live. The registry key
// "SOFTWARE\ZT Redudeva\Empresas\<company key>" holds, as value
// "BaseDados", either "sqlite:<file>" or a PostgreSQL connection string
// ("host=... dbname=..." or "postgresql://..."). Without it the company's
// database is "empresa.db" in the company's point-of-sale folder (value
// "EC" of the same key). Registry texts are Windows-1252; the address
// comes back in UTF-8, as the engines and the file system take it.
std::optional<std::string> ResolveBaseEmpresa(const std::string& chaveEmpresa);

// The company's folder of a system ("EC" for the point of sale), as the
// registry holds it (Windows-1252), or nothing.
std::optional<std::string> PastaEmpresa(const std::string& chaveEmpresa, const std::string& sistema);

// Whether an address names a SQLite file, and which.
bool EhSQLite(const std::string& endereco);
std::string ArquivoSQLite(const std::string& endereco);

// Opens a new session on an address. A SQLite file that does not exist is
// created only when asked. Throws CErroDados with "server unavailable"
// when the database cannot be reached.
std::unique_ptr<CSessaoDados> AbreSessao(const std::string& endereco, bool cria = false);

}  // namespace qmx::dados
