#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "arquivos/efd/ColecoesVendaPeriodo.h"
#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/DespejoTexto.h"
#include "plataforma/dados/ConexaoCFRT.h"
#include "plataforma/dados/ConexaoCadastroDocumento.h"
#include "plataforma/dados/ConexaoCondicaoPagamento.h"
#include "plataforma/dados/ConexaoNatureza.h"
#include "plataforma/dados/ConexaoServidorEC.h"
#include "plataforma/calendario/NumeroDia.h"

namespace qmx::venda {

struct ContadoresNotas {
  std::uint32_t c100 = 0, c170 = 0, c190 = 0, c195 = 0;
};

// The notas fiscais of the branch in the period (C100 with its C170, C190
// and C195): only models 01, 1B, 04 and 55; an NF-e (55) has no item
// lines. Their participants, products, services, units, natures and
// observations go into the collections for block 0. A document whose
// participant is gone stays out (Deixadas); an item, unit or nature that
// is not registered ends that document's item lines (its analytic lines
// and observation still follow); a failing server is reported
// (QMXVendaPeriodo) and ends the notas, the lines written staying.
class CNotasVendaPeriodo {
 public:
  CNotasVendaPeriodo(const TriploConexao& triplo, std::uint16_t filial, ColecoesVendaPeriodo& colecoes)
      : m_triplo(triplo), m_filial(filial), m_c(colecoes) {}

  ContadoresNotas Escreve(NumeroDia dataInicial, NumeroDia dataFinal, CDespejoTexto& corpo);
  // The numbers of the notas left out because their participant can no
  // longer be read.
  const std::vector<std::uint32_t>& SemParticipante() const { return m_semParticipante; }

 private:
  void EscreveNota(const REG_NOTA_FISCALPS& nota, const std::vector<REG_ITENS_NF_PS>& itens,
                   const std::string& modelo, std::string& texto, ContadoresNotas& n);
  std::string Modelo(std::uint16_t tipoDocumento);
  const REG_NATUREZAPS* Natureza(std::uint16_t codigo);

  TriploConexao m_triplo;
  std::uint16_t m_filial;
  ColecoesVendaPeriodo& m_c;
  dados::CConexaoServidorEC m_servidor;
  dados::CConexaoCadastroDocumento m_documentos;
  dados::CConexaoCondicaoPagamento m_condicoes;
  dados::CConexaoCFRT m_participantes;
  dados::CConexaoNatureza m_naturezas;
  std::map<std::uint16_t, std::string> m_modelos;
  std::map<std::uint16_t, REG_NATUREZAPS> m_naturezasLidas;
  std::vector<std::uint32_t> m_semParticipante;
};

}  // namespace qmx::venda
