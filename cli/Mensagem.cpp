#include "cli/Mensagem.h"

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <ostream>

#include "cli/Comandos.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/registro/Registro.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx::cli {

using qmx::mensagens::CCatalogoMensagens;

std::string PastaMensagensInstalada() {
#ifdef QMX_MENSAGENS_RELATIVAS
  // An installed program finds the catalogues of its own prefix; the one in
  // the build folder has none there and uses the build folder's.
  std::error_code erro;
  const auto programa = std::filesystem::canonical("/proc/self/exe", erro);
  if (!erro) {
    const auto pasta = (programa.parent_path() / QMX_MENSAGENS_RELATIVAS).lexically_normal();
    if (std::filesystem::is_directory(pasta, erro)) return pasta.string();
  }
#endif
  return QMX_MENSAGENS_INSTALADAS;
}

bool ExecutaMensagem(Ambiente& a) {
  std::string modulo = a.opcoes.Posicional(0, "o módulo (por exemplo EC)");
  if (modulo.size() != 2 || !std::isalpha(static_cast<unsigned char>(modulo[0])) ||
      !std::isalpha(static_cast<unsigned char>(modulo[1])))
    throw ErroUso("o módulo tem duas letras (por exemplo EC ou DF)");
  for (char& c : modulo) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto numero = static_cast<std::uint32_t>(LeNumero(a.opcoes.Posicional(1, "o número"), 0, 99999999, "número"));

  std::string pasta = qmx::texto::CaminhoDaBiblioteca(a.opcoes.Texto("pasta").value_or(""));
  if (pasta.empty())
    pasta = qmx::registro::Registro::LeTexto("SOFTWARE\\ZT Redudeva\\Mensagens", "Path");
  if (pasta.empty()) pasta = qmx::texto::CaminhoDaBiblioteca(PastaMensagensInstalada());
  if (pasta.back() != '/') pasta += '/';

  const auto leitura = CCatalogoMensagens::LeDoArquivo(pasta + "ZT" + modulo + "Mens.txt", numero);
  if (!leitura.aberto) {
    a.saida << "Não foi possível abrir o arquivo texto de Mensagens " << leitura.caminho << ".\n";
    return false;
  }
  if (leitura.texto.empty()) {
    a.saida << "Mensagem " << numero << " não encontrada em " << leitura.caminho << ".\n";
    return false;
  }
  a.saida << leitura.texto << "\n";
  return true;
}

}  // namespace qmx::cli
