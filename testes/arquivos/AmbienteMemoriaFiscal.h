#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"
#include "apoio/MovimentoTeste.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/LancaDialogo.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/ui/HostRoteirizado.h"
#include "plataforma/processo/Sistema.h"

namespace qmx::testes {

// The scripted host, calling a test's hook whenever a box is shown (to see
// what was done before the operator was told).
class HostComGancho : public ui::HostRoteirizado {
 public:
  int MostraCaixa(const std::string& texto, const std::string& titulo, unsigned flags) override {
    if (aoMostrarCaixa) aoMostrarCaixa();
    return ui::HostRoteirizado::MostraCaixa(texto, titulo, flags);
  }
  std::function<void()> aoMostrarCaixa;
};

// The serial number of the emulated printer of these tests.
inline constexpr const char* kSerieTeste = "BE0512SC556";

// A company with one branch and one ECF, the emulated printer of that ECF
// answering in the company's "ecf" folder, the library's clock at 15 June
// 2024, the temporary folder of the test's own and the scripted host. The
// ECF's movement (its printer's memories): on 10 June two cupons (COO 1 and
// 2) and the Z reduction (COO 3, CRZ 1); on 14 June two cupons (COO 4 and
// 5) and the Z reduction (COO 6, CRZ 2).
class AmbienteMemoriaFiscal : public ::testing::Test {
 protected:
  AmbienteMemoriaFiscal() : m_ativo(m_host) {
    qmx::sistema::DefineVariavel(qmx::testes::kVariavelTemporarios, m_temporarios.Pasta().string());
    m_empresa.Filial(1, "Loja Centro", "AL", "Mercado Ávila Ltda");
    m_empresa.Emissora(1, 1, kSerieTeste);
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));
    m_empresa.AcrescentaRegistro(RelogioSimulado("15/06/2024", "10:00:00") +
                                 "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ "/recursos/mensagens\n");
    m_empresa.ImpressoraEmulada(kSerieTeste, "Substituicoes=2\n");
    MovimentoTeste m(m_empresa);
    m.Produto(10, "ARROZ").Tributacao('T', 1800);
    for (const NumeroDia dia : {CodificaDia(10, 6, 2024), CodificaDia(14, 6, 2024)}) {
      m.Cupom(1, dia).Item(10, 2, 12.5);
      m.Cupom(1, dia).Item(10, 1, 12.5);
      m.ReducaoZ(1, dia);
    }
    m.Grava();
  }
  ~AmbienteMemoriaFiscal() override { qmx::sistema::RemoveVariavel(qmx::testes::kVariavelTemporarios); }

  // More printer settings; the last value of a name wins.
  void Impressora(const std::string& valores) {
    m_empresa.AcrescentaRegistro("[SOFTWARE\\ZT Redudeva\\Torvo ECF\\Impressora Fiscal]\n" + valores);
  }
  // Runs a dialog of the library on a script, the way its export does.
  template <class TDialogo>
  int Executa(const std::string& roteiro) {
    m_host.CarregaRoteiro(roteiro);
    return LancaDialogo<TDialogo>([](TDialogo& d, const TriploConexao&) { return d.Inicializa("TESTE", 1, 0); });
  }

  std::filesystem::path Enviado(const std::string& nome) const {
    return m_empresa.PastaEC() / "Arquivos-Eletronicos" / nome;
  }
  // Whether nothing reached the company's folder of electronic files.
  bool NadaEnviado() const {
    const auto pasta = m_empresa.PastaEC() / "Arquivos-Eletronicos";
    return !std::filesystem::exists(pasta) || std::filesystem::is_empty(pasta);
  }
  // The path the final box shows for a stored file.
  std::string CaminhoMostrado(const std::string& nome) const {
    return m_empresa.PastaEC().string() + "/Arquivos-Eletronicos\\" + nome;
  }
  std::filesystem::path PastaImpressora() const { return m_empresa.PastaImpressora(); }
  static std::string TextoMensagem(std::uint32_t numero) {
    return mensagens::CCatalogoMensagens::Le("EC", numero).texto;
  }
  // How many records of a kind a file holds.
  static int Registros(const std::string& conteudo, const std::string& tipo) {
    int n = 0;
    for (std::size_t i = conteudo.find(tipo); i != std::string::npos; i = conteudo.find(tipo, i + 1))
      if (i == 0 || conteudo[i - 1] == '\n') ++n;
    return n;
  }
  // The texts of the boxes shown, in order.
  std::vector<std::string> TextosCaixas() const { return testes::TextosCaixas(m_host); }

  PastaTemporaria m_temporarios;
  EmpresaTeste m_empresa;
  HostComGancho m_host;
  ui::HostTemporario m_ativo;
};

}  // namespace qmx::testes
