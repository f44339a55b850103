#include "cli/TabelaDialogo.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>

#include "cli/Apresentacao.h"

namespace qmx::cli {
namespace {

struct Coluna {
  std::string titulo;
  int alinhamento = 0;  // 0 left, 1 right, 2 centred
};

struct Lista {
  std::vector<Coluna> colunas;
  std::vector<std::vector<std::string>> linhas;
};

std::vector<std::string> Campos(const std::string& linha) {
  std::vector<std::string> campos;
  std::istringstream partes(linha);
  std::string campo;
  while (std::getline(partes, campo, '\t')) campos.push_back(campo);
  if (!linha.empty() && linha.back() == '\t') campos.emplace_back();
  return campos;
}

std::string Alinha(const std::string& texto, std::size_t largura, int alinhamento) {
  const std::size_t falta = largura > texto.size() ? largura - texto.size() : 0;
  if (alinhamento == 1) return std::string(falta, ' ') + texto;
  if (alinhamento == 2) return std::string(falta / 2, ' ') + texto + std::string(falta - falta / 2, ' ');
  return texto + std::string(falta, ' ');
}

void MostraLista(const Lista& lista, std::ostream& saida) {
  std::vector<std::size_t> larguras;
  for (const auto& coluna : lista.colunas) larguras.push_back(coluna.titulo.size());
  for (const auto& linha : lista.linhas)
    for (std::size_t c = 0; c < linha.size() && c < larguras.size(); ++c)
      larguras[c] = std::max(larguras[c], linha[c].size());
  const auto escreve = [&](const std::vector<std::string>& celulas) {
    std::string texto;
    for (std::size_t c = 0; c < lista.colunas.size(); ++c)
      texto += (c ? "  " : "") + Alinha(c < celulas.size() ? celulas[c] : "", larguras[c], lista.colunas[c].alinhamento);
    texto.erase(texto.find_last_not_of(' ') + 1);
    saida << texto << "\n";
  };
  std::vector<std::string> titulos;
  for (const auto& coluna : lista.colunas) titulos.push_back(coluna.titulo);
  escreve(titulos);
  for (const auto& linha : lista.linhas) escreve(linha);
}

}  // namespace

void MostraDialogoRegistrado(const std::string& arquivoRegistro, int idModelo,
                             const std::vector<RotuloControle>& textos, const std::vector<TituloLista>& listas,
                             std::ostream& saida) {
  std::ifstream entrada(arquivoRegistro, std::ios::binary);
  std::map<int, std::string> estaticos;
  std::map<int, Lista> porControle;
  bool encontrado = false, dentro = false;
  std::string linha;
  while (std::getline(entrada, linha)) {
    const auto campos = Campos(linha);
    if (campos.empty()) continue;
    if (campos[0] == "dialogo") {
      dentro = campos.size() > 1 && campos[1] == std::to_string(idModelo);
      if (dentro) {  // the last run of the dialog counts
        encontrado = true;
        estaticos.clear();
        porControle.clear();
      }
      continue;
    }
    if (!dentro || campos.size() < 3) {
      if (campos[0] != "texto" && campos[0] != "coluna" && campos[0] != "linha") dentro = false;
      continue;
    }
    const int id = std::atoi(campos[1].c_str());
    if (campos[0] == "texto") {
      estaticos[id] = SemEscapes(campos[2]);
    } else if (campos[0] == "coluna" && campos.size() >= 4) {
      porControle[id].colunas.push_back({SemEscapes(campos[2]), std::atoi(campos[3].c_str())});
    } else if (campos[0] == "linha") {
      auto& celulas = porControle[id].linhas.emplace_back();
      for (std::size_t c = 2; c < campos.size(); ++c) celulas.push_back(SemEscapes(campos[c]));
    } else {
      dentro = false;
    }
  }
  if (!encontrado) return;
  for (const auto& [id, rotulo] : textos) saida << rotulo << " " << estaticos[id] << "\n";
  for (const auto& [id, titulo] : listas) {
    saida << "\n" << titulo << "\n";
    MostraLista(porControle[id], saida);
  }
}

}  // namespace qmx::cli
