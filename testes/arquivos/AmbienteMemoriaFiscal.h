#pragma once

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"
#include "apoio/RelogioSimulado.h"
#include "plataforma/calendario/DataCodificada.h"
#include "frame/LancaDialogo.h"
#include "plataforma/mensagens/CatalogoMensagens.h"
#include "plataforma/ui/HostRoteirizado.h"

namespace qmx::testes {

// The serial number of the emulated printer of these tests.
inline constexpr const char* kSerieTeste = "BE0512SC556";

// A company with one branch and one ECF, the emulated printer of that ECF
// answering in the company's "ecf" folder, the library's clock at 15 June
// 2024, the temporary folder of the test's own and the scripted host.
class AmbienteMemoriaFiscal : public ::testing::Test {
 protected:
  AmbienteMemoriaFiscal() : m_ativo(m_host) {
    setenv("TMPDIR", m_temporarios.Pasta().c_str(), 1);
    m_empresa.Filial(1, "Loja Centro", "AL", "Mercado Ávila Ltda");
    m_empresa.Emissora(1, 1, kSerieTeste);
    m_empresa.Usuario(1, "Operador", {1});
    m_empresa.Mestre(CodificaDia(1, 1, 2024));
    m_empresa.AcrescentaRegistro(RelogioEm15DeJunho() + "[SOFTWARE\\ZT Redudeva\\Mensagens]\nPath=" QMX_FONTES_RAIZ
                                 "/recursos/mensagens\n");
    m_empresa.ImpressoraEmulada(kSerieTeste, "COOInicialMFD=1\nCOOFinalMFD=123\nSubstituicoes=2\n");
  }
  ~AmbienteMemoriaFiscal() override { unsetenv("TMPDIR"); }

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
  // The texts of the boxes shown, in order.
  std::vector<std::string> TextosCaixas() const {
    std::vector<std::string> textos;
    for (const auto& caixa : m_host.Caixas()) textos.push_back(caixa.texto);
    return textos;
  }

  PastaTemporaria m_temporarios;
  EmpresaTeste m_empresa;
  ui::HostRoteirizado m_host;
  ui::HostTemporario m_ativo;

 private:
  // The library's clock set to 15 June 2024, 10:00, from this instant on.
  static std::string RelogioEm15DeJunho() { return testes::RelogioSimulado("15/06/2024", "10:00:00"); }
};

}  // namespace qmx::testes
