#include "cli/Limpar.h"

#include <filesystem>
#include <vector>

#include "cli/Comandos.h"
#include "plataforma/arquivos/ArquivoTemporario.h"
#include "plataforma/arquivos/Descritores.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/dados/EnderecoBase.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/texto/Windows1252.h"

namespace qmx::cli {

namespace {

// The file system's present time in the folder: the time a file just made
// there carries (the clocks of a remote server and of this machine differ).
std::optional<std::int64_t> AgoraNaPasta(const std::string& pastaNativa) {
  std::string modelo = (std::filesystem::path(pastaNativa) / ".qmx-agora-XXXXXX").string();
  const int fd = ::mkostemp(modelo.data(), O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat estado {};
  const bool ok = ::fstat(fd, &estado) == 0;
  ::close(fd);
  ::unlink(modelo.c_str());
  if (!ok) return std::nullopt;
  return descritores::SegundosModificacao(estado);
}

}  // namespace

bool ExecutaLimpar(Ambiente& a) {
  std::vector<std::string> pastas;  // in the library's path form
  if (!a.opcoes.Posicionais().empty()) {
    pastas.push_back(a.opcoes.Posicionais().front());
  } else {
    if (!a.empresa.empty()) {
      if (const auto ec = dados::PastaEmpresa(a.empresa, "EC")) {
        std::string pasta = *ec;
        if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '\\';
        pastas.push_back(pasta + "Arquivos-Eletronicos");
      }
    }
    if (const auto temporaria = ArquivoTemporario::Pasta()) pastas.push_back(*temporaria);
  }
  bool tudoCerto = true;
  for (const auto& pasta : pastas) {
    const std::string nativa = texto::CaminhoNativo(pasta);
    const std::string mostrada = texto::DeUtf8OuLatin(nativa);
    const auto agora = AgoraNaPasta(nativa);
    if (!agora) {
      a.saida << mostrada << ": não foi possível limpar (a pasta não existe ou não pode ser escrita)\n";
      tudoCerto = false;
      continue;
    }
    GravacaoAtomica::Limpeza limpeza = GravacaoAtomica::LimpaAbandonados(nativa, *agora);
    limpeza += ArquivoTemporario::LimpaAbandonados(nativa, *agora);
    a.saida << mostrada << ": " << limpeza.arquivos << (limpeza.arquivos == 1 ? " arquivo" : " arquivos")
            << " removido" << (limpeza.arquivos == 1 ? "" : "s") << ", " << limpeza.bytes << " bytes liberados\n";
  }
  return tudoCerto;
}

}  // namespace qmx::cli
