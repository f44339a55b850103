#include "arquivos/NomeArquivoEletronico.h"

#include <cstdio>
#include <filesystem>

#include "fisco/DadosDesenvolvedor.h"
#include "frame/RelogioBiblioteca.h"
#include "plataforma/arquivos/GravacaoAtomica.h"
#include "plataforma/texto/CaminhoArquivo.h"

namespace qmx {

std::string NomeArquivoEletronico(const std::string& pasta) {
  const auto dia = static_cast<unsigned>(CQMXRelogio::PegaDiaHoje());
  std::int32_t segundos = CQMXRelogio::PegaSegundos();
  char nome[64];
  for (;;) {
    std::snprintf(nome, sizeof nome, "%s%08u%06d.txt", DadosDesenvolvedor::kNumeroLaudo, dia, static_cast<int>(segundos));
    const std::string caminho = texto::CaminhoNativo(pasta + nome);
    std::error_code erro;
    if (!std::filesystem::exists(caminho, erro) && !GravacaoAtomica::OutroEscrevendo(caminho, "")) return nome;
    ++segundos;
  }
}

}  // namespace qmx
