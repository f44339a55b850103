#include "arquivos/NomeArquivoEletronico.h"

#include <cstdio>
#include <filesystem>

#include "fisco/DadosDesenvolvedor.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/texto/CaminhoArquivo.h"

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

}  // namespace qmx
