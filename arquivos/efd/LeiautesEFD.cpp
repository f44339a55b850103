#include "arquivos/efd/LeiautesEFD.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "arquivos/LeiautesEmbutidos.h"
#include "arquivos/RegrasValidacao.h"

namespace qmx::validacao {
namespace {

int Versao(std::string_view texto, int seNada) { return texto == "-" ? seNada : static_cast<int>(Numero(texto)); }

bool NaFaixa(const std::vector<std::string_view>& linha, std::size_t inicial, int versao) {
  return Versao(linha[inicial], 0) <= versao && versao <= Versao(linha[inicial + 1], 9999);
}

Tabela Referencia(std::string_view reg, std::string_view nome) {
  if (nome == "COD_PART" && reg != "0150") return Tabela::Participante;
  if ((nome == "UNID" || nome == "UNID_INV" || nome == "UNID_CONV") && reg != "0190") return Tabela::Unidade;
  if (nome == "COD_ITEM" && reg != "0200") return Tabela::Item;
  if (nome == "COD_NAT" && reg != "0400") return Tabela::Natureza;
  if (nome == "COD_INF" && reg != "0450") return Tabela::Informacao;
  if (nome == "COD_OBS" && reg != "0460") return Tabela::Observacao;
  return Tabela::Nenhuma;
}

std::unique_ptr<LeiauteEFD> Monta(bool contribuicoes, int versao) {
  auto l = std::make_unique<LeiauteEFD>();
  l->contribuicoes = contribuicoes;
  l->versao = versao;
  for (const auto& linha :
       LinhasDoLeiaute(contribuicoes ? "efd-contribuicoes-registros.tsv" : "efd-icms-ipi-registros.tsv")) {
    if (linha.size() < 6 || !NaFaixa(linha, 4, versao)) continue;
    RegistroEFD r;
    r.reg = std::string(linha[0]);
    r.nivel = static_cast<int>(Numero(linha[1]));
    r.pai = linha[2] == "-" ? std::string() : std::string(linha[2]);
    r.obrigatorio = linha[3].substr(0, 1) == "1";
    r.unico = linha[3].substr(linha[3].size() - 1) == "1";
    r.semCampos = contribuicoes;
    if (r.nivel == 1 && r.reg.substr(1) == "001") {
      l->blocos += r.reg[0];
      if (r.obrigatorio) l->blocosObrigatorios += r.reg[0];
    }
    l->registros[r.reg] = std::move(r);
  }
  if (l->registros.empty()) return nullptr;
  if (!contribuicoes) {
    for (const auto& linha : LinhasDoLeiaute("efd-icms-ipi-versoes.tsv"))
      if (linha.size() >= 3 && Versao(linha[0], 0) == versao) {
        if (const auto d = DataAMD(linha[1])) l->inicio = *d;
        if (const auto d = DataAMD(linha[2])) l->fim = *d;
      }
    // The fields by their position (REG, position 1, is the register's name).
    std::map<std::string, std::map<int, CampoEFD>> campos;
    for (const auto& linha : LinhasDoLeiaute("efd-icms-ipi-campos.tsv")) {
      if (linha.size() < 9 || !NaFaixa(linha, 7, versao)) continue;
      const int ordem = static_cast<int>(Numero(linha[1]));
      if (ordem < 2) continue;
      CampoEFD c;
      c.nome = std::string(linha[2]);
      c.tipo = linha[3].empty() ? 'C' : linha[3][0];
      if (linha[4] != "-") {
        c.tamanho = static_cast<std::size_t>(Numero(linha[4].substr(0, 3)));
        c.exato = linha[4].find('*') != std::string_view::npos;
      }
      c.decimais = linha[5] == "-" ? -1 : static_cast<int>(Numero(linha[5]));
      c.obrigacao = linha[6] == "O" ? 'O' : linha[6] == "N" ? 'N' : 'C';
      c.data = c.nome.rfind("DT_", 0) == 0 && c.tipo == 'N' && c.tamanho == 8;
      c.referencia = Referencia(linha[0], c.nome);
      campos[std::string(linha[0])][ordem] = std::move(c);
    }
    for (auto& [reg, porOrdem] : campos) {
      const auto r = l->registros.find(reg);
      if (r == l->registros.end()) continue;
      for (auto& [ordem, campo] : porOrdem) r->second.campos.push_back(std::move(campo));
    }
  }
  return l;
}

}  // namespace

const LeiauteEFD* LeiauteDaVersao(bool contribuicoes, int versao) {
  static std::mutex trava;
  static std::map<std::pair<bool, int>, std::unique_ptr<LeiauteEFD>> montados;
  if (versao < 1 || versao > UltimaVersao(contribuicoes)) return nullptr;
  const std::lock_guard<std::mutex> guarda(trava);
  auto& leiaute = montados[{contribuicoes, versao}];
  if (!leiaute) leiaute = Monta(contribuicoes, versao);
  return leiaute.get();
}

int UltimaVersao(bool contribuicoes) {
  static const int ultimas[2] = {[] {
                                   int maior = 0;
                                   for (const auto& linha : LinhasDoLeiaute("efd-icms-ipi-versoes.tsv"))
                                     maior = std::max(maior, Versao(linha[0], 0));
                                   return maior;
                                 }(),
                                 [] {
                                   int maior = 0;
                                   for (const auto& linha : LinhasDoLeiaute("efd-contribuicoes-registros.tsv"))
                                     if (linha.size() >= 6) maior = std::max({maior, Versao(linha[4], 0), Versao(linha[5], 0)});
                                   return maior;
                                 }()};
  return ultimas[contribuicoes ? 1 : 0];
}

}  // namespace qmx::validacao
