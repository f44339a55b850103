#pragma once

#include <vector>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The fixed-width files of the ER-PAF-ECF (Movimentos por ECF R01–R07, DAVs
// D1–D9, Tabela de Produtos P1–P9, Estoque E1–E9, the authenticated-file
// list N1–N9): each record's width and fields, CR LF, the records grouped
// by type in the file's order, each type in its sort order, the trailers'
// counts and the head's CNPJ and registration repeated in them, and the
// details that must belong to a head (an item to its cupom, a totalizer to
// its Z reduction).
void ValidaMovimentos(const std::vector<Linha>& linhas, CColetor& coletor);
void ValidaDAVs(const std::vector<Linha>& linhas, CColetor& coletor);
void ValidaTabelaProdutos(const std::vector<Linha>& linhas, CColetor& coletor);
void ValidaEstoque(const std::vector<Linha>& linhas, CColetor& coletor);
void ValidaListaAutenticados(const std::vector<Linha>& linhas, CColetor& coletor);

}  // namespace qmx::validacao
