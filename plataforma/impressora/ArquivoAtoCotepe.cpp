#include "plataforma/impressora/ArquivoAtoCotepe.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "plataforma/impressora/SaidaRetorno.h"
#include "plataforma/impressora/TotaisCupom.h"
#include "plataforma/texto/LetrasEDigitos.h"

namespace qmx::impressora {

namespace {

constexpr const char* kFimLinha = "\r\n";
constexpr const char* kVersaoBiblioteca = "01.00.00";
constexpr const char* kVersaoLeiaute = "AC1704 01.00.00";
constexpr const char* kUsuario = "01";

std::string SoDigitos(const std::string& texto) {
  std::string digitos;
  for (char c : texto)
    if (std::isdigit(static_cast<unsigned char>(c))) digitos += c;
  return digitos;
}

std::uint64_t Numero(const std::string& texto) {
  const std::string digitos = SoDigitos(texto);
  return digitos.empty() ? 0 : std::stoull(digitos.substr(0, 18));
}

// "dd/mm/aaaa" and "hh:mm:ss" of the printer's settings as AAAAMMDD and HHMMSS.
std::string DataSB(const std::string& texto) {
  const std::string d = SoDigitos(texto);
  return d.size() == 8 ? d.substr(4, 4) + d.substr(2, 2) + d.substr(0, 2) : "00000000";
}

// Serial number, additional memory, model and user: the head of the
// records from E12 on.
class CCabeca {
 public:
  explicit CCabeca(const REG_EMISSORPS& e)
      : m_texto(CampoX(e.NumeroSerie, 20) + " " + CampoX(e.Modelo, 20) + kUsuario) {}
  const std::string& Texto() const { return m_texto; }

 private:
  std::string m_texto;
};

// The log's document kinds that are other documents, with their symbol.
// The symbol of a document of the log in E16. Every COO that is not a
// cupom's has its E16, so that an auditor finds the COOs without a gap:
// non-fiscal receipts (CN), management reports (RG), credit receipts (CC),
// readings X, the day's opening and the operator's change among them (LX),
// fiscal-memory readings (MF) and the cancellation of
// the previous cupom (NC, the ECF's cancelling document). The events of a
// cupom (opening, finishing) share the cupom's COO and stay in its E14;
// the Z reductions come from the reductions themselves (RZ).
const char* Simbolo(std::uint8_t tipo) {
  switch (tipo) {
    case 3: case 4: case 20: return "CN";
    case 6: case 13: case 14: case 38: return "RG";
    case 7: return "CC";
    case 1: case 2: case 31: return "LX";
    case 9: return "NC";
    case 11: case 12: return "MF";
    default: return nullptr;
  }
}

}  // namespace

bool GravaArquivoAtoCotepe(const ConfiguracaoImpressora& c, CMemoriaEmulada& m,
                           const CMemoriaEmulada::Faixa& faixa, const std::filesystem::path& destino,
                           ConteudoAtoCotepe conteudo) {
  const bool detalhe = conteudo == ConteudoAtoCotepe::MemoriaFitaDetalhe;
  CSaidaRetorno saida(destino);
  const REG_EMISSORPS& e = m.Emissora();
  const CCabeca cabeca(e);
  NumeroDia dataInicial = 0, dataFinal = 0;
  if (!m.Dias(faixa, &dataInicial, &dataFinal)) dataInicial = dataFinal = 0;
  const std::vector<REG_REDUCAO_ZPS> reducoes =
      m.TemMovimento() && dataInicial ? m.Reducoes(false, dataInicial, dataFinal) : std::vector<REG_REDUCAO_ZPS>{};
  std::vector<const REG_REDUCAO_ZPS*> naFaixa;
  for (const auto& z : reducoes)
    if (CMemoriaEmulada::NaFaixa(faixa, z.COOFinal)) naFaixa.push_back(&z);

  // E01: the ECF, the reading asked for and its counters.
  saida.Escreve("E01" + CampoX(c.numeroSerie, 20) + " " + CampoX(e.Tipo[0] ? e.Tipo : "ECF-IF", 7) +
                CampoX(e.Marca, 20) + CampoX(m.TemMovimento() ? e.Modelo : c.modelo, 20) + CampoX(c.versaoSB, 10) +
                DataSB(c.dataSB) + CampoN(Numero(c.horaSB), 6) + CampoN(Numero(c.numeroCaixa), 3) +
                CampoN(Numero(m.Filial().Cnpj), 14) + (detalhe ? "MFD" : "MF ") +
                CampoN(naFaixa.empty() ? 0 : naFaixa.front()->CRZ, 6) +
                CampoN(naFaixa.empty() ? 0 : naFaixa.back()->CRZ, 6) + CampoD(dataInicial) + CampoD(dataFinal) +
                CampoX(kVersaoBiblioteca, 8) + CampoX(kVersaoLeiaute, 15) + kFimLinha);
  // E02: the user, with the grand total of the last reduction.
  const auto& f = m.Filial();
  const std::string endereco = std::string(f.Endereco) + (f.NumeroEndereco[0] ? ", " : "") + f.NumeroEndereco +
                               (f.Bairro[0] ? " - " : "") + f.Bairro;
  saida.Escreve("E02" + CampoX(c.numeroSerie, 20) + " " + CampoX(m.TemMovimento() ? e.Modelo : c.modelo, 20) +
                CampoN(Numero(f.Cnpj), 14) + CampoX(texto::LetrasEDigitos(f.InscricaoEstadual), 14) + CampoX(m.RazaoSocial(), 40) +
                CampoX(endereco, 120) + DataSB(c.dataUsuario) + CampoN(Numero(c.horaUsuario), 6) +
                CampoN(reducoes.empty() ? 0 : reducoes.front().CRO, 6) +
                CampoValor(reducoes.empty() ? 0 : reducoes.back().GrandeTotal.int64, 18, 2) + kUsuario + kFimLinha);

  // E12 and E13: the reductions, then their partial totalizers.
  const char* descontoISSQN = m.DescontoISSQN() ? "S" : "N";
  for (const auto* z : naFaixa)
    saida.Escreve("E12" + cabeca.Texto() + CampoN(z->CRZ, 6) + CampoN(z->COOFinal, 6) + CampoN(z->CRO, 6) +
                  CampoD(z->Data) + CampoD(z->DataEmissao) + CampoN(static_cast<std::uint64_t>(z->HoraEmissao), 6) +
                  CampoValor(z->VendaBruta.int64, 14, 2) + descontoISSQN + kFimLinha);
  for (const auto* z : naFaixa)
    m.Totalizadores(*z, [&](const std::string& codigo, std::int64_t valor) {
      saida.Escreve("E13" + cabeca.Texto() + CampoN(z->CRZ, 6) + CampoX(codigo, 7) + CampoValor(valor, 13, 2) +
                    kFimLinha);
    });

  // A fiscal memory keeps no documents.
  if (!detalhe) return saida.Conclui();

  // E14, E15 and E21 walk the cupons once each: every record of a kind
  // comes before the next kind.
  m.PercorreCupons(faixa, [&](const REG_EC_CXPS& cupom, const auto& itens, const auto&) {
    const TotaisCupom totais = TotaisDoCupom(cupom, itens);
    saida.Escreve("E14" + cabeca.Texto() + CampoN(cupom.CCF, 6) + CampoN(cupom.COO, 6) + CampoD(cupom.Data) +
                  CampoValor(totais.subtotal, 14, 2) + CampoValor(totais.desconto, 13, 2) + "V" +
                  CampoValor(totais.acrescimo, 13, 2) + "V" + CampoValor(cupom.Total.int64, 14, 2) +
                  (cupom.Cancelado ? "S" : "N") +
                  CampoN(0, 13) + "D" + CampoX(cupom.NomeCliente, 40) +
                  CampoN(Numero(cupom.DocumentoCliente), 14) + kFimLinha);
  });
  m.PercorreCupons(faixa, [&](const REG_EC_CXPS& cupom, const auto& itens, const auto&) {
    for (const auto& i : itens) {
      const bool cancelado = i.Cancelado != 0;
      saida.Escreve("E15" + cabeca.Texto() + CampoN(cupom.COO, 6) + CampoN(cupom.CCF, 6) + CampoN(i.Item, 3) +
                    CampoX(std::to_string(i.Codigo), 14) + CampoX(i.Descricao, 100) +
                    CampoValor(i.Quantidade.int64, 7, 3) + CampoX(m.Unidade(i), 3) +
                    CampoValor(i.ValorUnitario.int64, 8, 2) + CampoValor(i.Desconto.int64, 8, 2) + CampoN(0, 8) +
                    CampoValor(i.ValorTotal.int64, 14, 2) + CampoX(m.Totalizador(i), 7) + (cancelado ? "S" : "N") +
                    CampoValor(cancelado ? i.Quantidade.int64 : 0, 7, 3) +
                    CampoValor(cancelado ? i.ValorTotal.int64 : 0, 13, 2) + CampoN(0, 13) + "T" + "3" + "2" +
                    kFimLinha);
    }
  });
  // E16: the other documents of the log, and each Z reduction of the range
  // (with its CRZ) whether or not the log kept it, in the order of the COO.
  std::vector<std::pair<std::uint32_t, std::string>> outros;
  for (const auto* z : naFaixa)
    outros.emplace_back(z->COOFinal, "E16" + cabeca.Texto() + CampoN(z->COOFinal, 6) + CampoN(0, 6) + CampoN(0, 6) +
                                         CampoN(0, 4) + CampoN(z->CRZ, 6) + "RZ" + CampoD(z->DataEmissao) +
                                         CampoN(static_cast<std::uint64_t>(z->HoraEmissao), 6) + kFimLinha);
  m.PercorreDocumentos(faixa, [&](const REG_DOCUMENTO_ECFPS& d) {
    const char* simbolo = d.Tipo == 8 ? nullptr : Simbolo(d.Tipo);
    if (!simbolo) return;
    const bool comGRG = d.Tipo == 6 || d.Tipo == 13 || d.Tipo == 14;
    outros.emplace_back(d.COO, "E16" + cabeca.Texto() + CampoN(d.COO, 6) + CampoN(d.GNF, 6) +
                                   CampoN(comGRG ? d.GRG : 0, 6) + CampoN(d.CDC, 4) + CampoN(0, 6) + simbolo +
                                   CampoD(d.Data) + CampoN(static_cast<std::uint64_t>(d.Hora), 6) + kFimLinha);
  });
  std::stable_sort(outros.begin(), outros.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [coo, linha] : outros) saida.Escreve(linha);
  m.PercorreCupons(faixa, [&](const REG_EC_CXPS& cupom, const auto&, const auto& pagamentos) {
    for (const auto& p : pagamentos)
      saida.Escreve("E21" + cabeca.Texto() + CampoN(cupom.COO, 6) + CampoN(cupom.CCF, 6) + CampoN(p.GNF, 6) +
                    CampoX(m.NomeForma(p.Forma), 15) + CampoValor(p.Valor.int64, 13, 2) + "N" + CampoN(0, 13) +
                    kFimLinha);
  });
  return saida.Conclui();
}

}  // namespace qmx::impressora
