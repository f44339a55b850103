#include "plataforma/dados/EnderecoBase.h"

#if defined(QMX_COM_POSTGRES)
#include "plataforma/dados/SessaoPostgres.h"
#endif
#include "plataforma/dados/SessaoSQLite.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::dados {

namespace {

constexpr const char* kPrefixoSQLite = "sqlite:";

std::string ChaveEmpresa(const std::string& chaveEmpresa) {
  return "SOFTWARE\\ZT Redudeva\\Empresas\\" + chaveEmpresa;
}

}  // namespace

std::optional<std::string> PastaEmpresa(const std::string& chaveEmpresa, const std::string& sistema) {
  if (chaveEmpresa.empty()) return std::nullopt;
  auto pasta = registro::Registro::LeValor(ChaveEmpresa(chaveEmpresa), sistema);
  if (!pasta || pasta->empty()) return std::nullopt;
  return pasta;
}

std::optional<std::string> ResolveBaseEmpresa(const std::string& chaveEmpresa) {
  if (chaveEmpresa.empty()) return std::nullopt;
  if (auto base = registro::Registro::LeValor(ChaveEmpresa(chaveEmpresa), "BaseDados"); base && !base->empty())
    return texto::ParaUtf8(*base);
  auto pasta = PastaEmpresa(chaveEmpresa, "EC");
  if (!pasta) return std::nullopt;
  std::string caminho = texto::ParaUtf8(*pasta);
  if (caminho.back() != '/' && caminho.back() != '\\') caminho += '/';
  return kPrefixoSQLite + caminho + "empresa.db";
}

bool EhSQLite(const std::string& endereco) { return endereco.rfind(kPrefixoSQLite, 0) == 0; }

std::string ArquivoSQLite(const std::string& endereco) { return endereco.substr(std::string(kPrefixoSQLite).size()); }

std::unique_ptr<CSessaoDados> AbreSessao(const std::string& endereco, bool cria) {
  if (EhSQLite(endereco)) return std::make_unique<CSessaoSQLite>(ArquivoSQLite(endereco), cria);
#if defined(QMX_COM_POSTGRES)
  return std::make_unique<CSessaoPostgres>(endereco);
#else
  // Built without libpq (the Windows build): a server address cannot be
  // reached, which the callers report like any unreachable server.
  throw CErroDados(com::RPC_S_SERVER_UNAVAILABLE, "esta biblioteca foi construída sem PostgreSQL: " + endereco);
#endif
}

}  // namespace qmx::dados
