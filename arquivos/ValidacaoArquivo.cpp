#include "arquivos/ValidacaoArquivo.h"

#include <algorithm>

#include "arquivos/RegrasValidacao.h"
#include "arquivos/efd/ValidadorEFD.h"
#include "arquivos/memorias/ValidadorMFD.h"
#include "arquivos/paf/ValidadorPAF.h"
#include "arquivos/sintegra/ValidadorSintegra.h"

namespace qmx::validacao {
namespace {

TipoArquivo Reconhece(std::string_view primeira) {
  if (primeira.substr(0, 6) == "|0000|") return TipoArquivo::EFD;
  if (primeira.substr(0, 3) == "R01") return TipoArquivo::Movimentos;
  if (primeira.substr(0, 3) == "E01") return TipoArquivo::MFD;
  if (primeira.substr(0, 2) == "10") return TipoArquivo::Sintegra;
  if (primeira.substr(0, 2) == "D1") return TipoArquivo::DAVs;
  if (primeira.substr(0, 2) == "P1") return TipoArquivo::TabelaProdutos;
  if (primeira.substr(0, 2) == "E1") return TipoArquivo::Estoque;
  if (primeira.substr(0, 2) == "N1") return TipoArquivo::ListaAutenticados;
  return TipoArquivo::Desconhecido;
}

}  // namespace

const char* NomeTipo(TipoArquivo tipo) {
  switch (tipo) {
    case TipoArquivo::Desconhecido: return "desconhecido";
    case TipoArquivo::Sintegra: return "Sintegra";
    case TipoArquivo::EFD: return "EFD";
    case TipoArquivo::Movimentos: return "Movimentos por ECF";
    case TipoArquivo::DAVs: return "DAVs emitidos";
    case TipoArquivo::TabelaProdutos: return "Tabela de Produtos";
    case TipoArquivo::Estoque: return "Estoque";
    case TipoArquivo::ListaAutenticados: return "Lista de arquivos autenticados";
    case TipoArquivo::MFD: return "Memória Fita Detalhe (Ato COTEPE/ICMS 17/04)";
  }
  return "";
}

bool Validacao::Valido() const { return tipo != TipoArquivo::Desconhecido && Erros() == 0; }

std::size_t Validacao::Erros() const {
  return static_cast<std::size_t>(
      std::count_if(problemas.begin(), problemas.end(), [](const Problema& p) { return p.gravidade == Gravidade::Erro; }));
}

Validacao ValidaConteudo(std::string_view conteudo) {
  Validacao v;
  const std::vector<Linha> linhas = PartirLinhas(conteudo, &v.temLinhaEAD);
  v.linhas = linhas.size();
  CColetor coletor(v);
  if (linhas.empty()) {
    coletor.Erro(0, "", "vazio", "o arquivo não tem registros");
    return v;
  }
  v.tipo = Reconhece(linhas.front().texto);
  switch (v.tipo) {
    case TipoArquivo::Desconhecido:
      coletor.Erro(1, "", "tipo-desconhecido", "o primeiro registro não é o de nenhum dos arquivos que a biblioteca gera");
      break;
    case TipoArquivo::Sintegra: ValidaSintegra(linhas, coletor); break;
    case TipoArquivo::EFD: ValidaEFD(linhas, coletor); break;
    case TipoArquivo::Movimentos: ValidaMovimentos(linhas, coletor); break;
    case TipoArquivo::DAVs: ValidaDAVs(linhas, coletor); break;
    case TipoArquivo::TabelaProdutos: ValidaTabelaProdutos(linhas, coletor); break;
    case TipoArquivo::Estoque: ValidaEstoque(linhas, coletor); break;
    case TipoArquivo::ListaAutenticados: ValidaListaAutenticados(linhas, coletor); break;
    case TipoArquivo::MFD: ValidaMFD(linhas, coletor); break;
  }
  coletor.Conclui();
  std::stable_sort(v.problemas.begin(), v.problemas.end(),
                   [](const Problema& a, const Problema& b) { return a.linha < b.linha; });
  return v;
}

}  // namespace qmx::validacao
