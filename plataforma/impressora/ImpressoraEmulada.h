#pragma once

#include <string>
#include <vector>

namespace qmx::impressora {

// The emulated fiscal printer behind the printer layer. Its settings are
// registry values under "SOFTWARE\ZT Redudeva\Torvo ECF\Impressora Fiscal",
// read on every operation:
//   Modelo          printer model (a missing model is a printer that cannot
//                   be reached: every operation fails)
//   NumeroSerie     serial number
//   NumeroCaixa     ECF number
//   PastaRetorno    the folder of its answer files and of its print spool
//                   (default: "qmx-ecf" in the system's temporary folder)
//   Empresa         the company whose database holds this ECF's movement
//                   (found by the serial number): its fiscal memory and
//                   detail memory (MemoriaEmulada.h)
//   COOInicialMFD, COOFinalMFD   the first and last COO in the detail
//                   memory of a printer without a company
//   Substituicoes   the owner-replacement number
//   VersaoSB, DataSB, HoraSB     its basic software
//   Relatorios      the management reports it knows, separated by "|"
//   Falhas          operations that must fail, by name, separated by ",";
//                   a name followed by ":sem-arquivo" answers true and
//                   writes no file (a printer that lost what it wrote)
//
// Whatever it prints goes, exactly as sent, to the spool file
// "impressao-<serial>.txt" in its answer folder, between marker lines.
struct ConfiguracaoImpressora {
  std::string modelo;
  std::string numeroSerie;
  std::string numeroCaixa;
  std::string pastaRetorno;  // system path
  long cooInicial = 1;
  long cooFinal = 1;
  std::string substituicoes;
  std::string versaoSB, dataSB, horaSB;
  // When the user (the company) was registered on the printer: its fiscal
  // memory keeps it, and the detail memory's E02 repeats it. Without a
  // setting of its own, the installation of the basic software.
  std::string dataUsuario, horaUsuario;
  std::vector<std::string> relatorios;
  std::vector<std::string> falhas;
};

ConfiguracaoImpressora LeConfiguracao();

// Whether the operation may run: the printer answers and the operation is
// not among the ones set to fail.
bool OperacaoDisponivel(const ConfiguracaoImpressora& configuracao, const std::string& operacao);
// Whether the operation is set to answer true without writing its file.
bool RespondeSemArquivo(const ConfiguracaoImpressora& configuracao, const std::string& operacao);

// The spool file of the printer (system path).
std::string ArquivoImpressao(const ConfiguracaoImpressora& configuracao);

// A management report as the printer received it.
struct RelatorioImpresso {
  std::string titulo;
  int indice = 0;
  std::string texto;  // every piece, in order, as sent
  bool fechado = false;
};

// The management reports in the spool file, in print order.
std::vector<RelatorioImpresso> RelatoriosImpressos();

// Whether the keyboard is locked now, and how many times it was locked.
bool TecladoTravado();
int VezesTecladoTravado();

// The pieces of the management report opened last in this process, one per
// print call, as sent (the spool keeps them joined).
std::vector<std::string>& PecasRelatorio();

}  // namespace qmx::impressora
