#include "arquivos/NomeArquivoEletronico.h"

#include <cstdio>
#include <filesystem>

#include "fisco/DadosDesenvolvedor.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/texto/CaminhoArquivo.h"
#include "plataforma/ui/HostUI.h"

namespace qmx {

std::string NomeArquivoEletronico(const std::string& pasta) {
  const auto dia = static_cast<unsigned>(CQMXRelogio::PegaDiaHoje());
  std::int32_t segundos = CQMXRelogio::PegaSegundos();
  char nome[64];
  for (;;) {
    std::snprintf(nome, sizeof nome, "%s%08u%06d.txt", DadosDesenvolvedor::kNumeroLaudo, dia, static_cast<int>(segundos));
    std::error_code erro;
    if (!std::filesystem::exists(texto::CaminhoNativo(pasta + nome), erro)) return nome;
    ++segundos;
  }
}

void AvisaNotasDeixadas(const std::vector<std::uint32_t>& numeros, const std::string& titulo) {
  if (numeros.empty()) return;
  std::string lista;
  for (const auto n : numeros) lista += (lista.empty() ? "" : ", ") + std::to_string(n);
  ui::CaixaMensagem("Notas fiscais fora do arquivo: o participante não está mais cadastrado.\r\nNúmeros: " + lista,
                    titulo, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

}  // namespace qmx
