#pragma once

#include <memory>

#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {

// The fixed-width files of the ER-PAF-ECF (Movimentos por ECF R01–R07, DAVs
// D1–D9, Tabela de Produtos P1–P9, Estoque E1–E9, the authenticated-file
// list N1–N9): each record's width and fields, CR LF, the records grouped
// by type in the file's order, each type in its sort order, the trailers'
// counts and the head's CNPJ and registration repeated in them, and the
// details that must belong to a head (an item to its cupom, a totalizer to
// its Z reduction).
std::unique_ptr<CValidadorLinhas> NovoValidadorMovimentos(CColetor& coletor);
std::unique_ptr<CValidadorLinhas> NovoValidadorDAVs(CColetor& coletor);
std::unique_ptr<CValidadorLinhas> NovoValidadorTabelaProdutos(CColetor& coletor);
std::unique_ptr<CValidadorLinhas> NovoValidadorEstoque(CColetor& coletor);
std::unique_ptr<CValidadorLinhas> NovoValidadorListaAutenticados(CColetor& coletor);

}  // namespace qmx::validacao
