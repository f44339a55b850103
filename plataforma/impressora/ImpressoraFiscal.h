#pragma once

#include <string>

namespace qmx::impressora {

// The fiscal printer layer: the only way the library reaches the fiscal
// printer (ECF). Every operation answers whether it worked; text answers go
// into the caller's buffers, which are zeroed first. On this platform the
// layer drives an emulated printer (see ImpressoraEmulada.h).

// Registry roots the layer can read.
enum class HKEY { HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER };

// Sizes of the answer buffers.
constexpr int kTamanhoNumeroSerie = 260;
constexpr int kTamanhoCOO = 10;
constexpr int kTamanhoNumeroCaixa = 10;

bool PegaNumeroSerie(char* numeroSerie);
bool GetInfRegHKey(HKEY raiz, const std::string& chave, const std::string& valor, std::string* saida);
// The path of the layer's answer file, in the library's path form ("\").
bool PegaPathArqRetorno(std::string* caminho);
bool InicioFimCOOsMFD(char* primeiro, char* ultimo);
bool NumeroSubstituicoesProprietario(char* numero);
// Type "0" total, "1" by dates, "2" by COO.
bool DownloadMFD(const char* arquivo, const char* tipo, const char* inicial, const char* final,
                 const char* usuario);
bool FormatoDadosMFD(const char* origem, const char* destino, const char* formato, const char* tipo,
                     const char* inicial, const char* final, const char* usuario);
// Writes the MFD file in the fiscal authority's layout into the answer folder.
bool ArquivoMFD(const char* origem, const char* inicial, const char* final, const char* tipo, const char* usuario,
                int geracao, const char* chavePublica, const char* chavePrivada, int arquivoUnico);
// Writes the fiscal memory of a range (dates "D" or COOs "C") in the fiscal
// authority's layout into the answer folder, under the name the MFD file of
// the first generation takes: what a fiscal memory holds (the ECF, its user,
// the Z reductions and their totalizers), none of the detail memory's
// documents.
bool ArquivoMF(const char* inicial, const char* final, const char* tipo, const char* usuario);
// Prints the fiscal-memory reading, or writes it to the answer file.
bool LeituraMemoriaFiscalData(const char* inicio, const char* fim, bool paraArquivo, const char* tipo);
bool LeituraMemoriaFiscalReducao(const char* inicio, const char* fim, bool paraArquivo, const char* tipo);
bool NumeroCaixa(char* numero);
// Version, installation date and installation time of the printer's basic software.
bool VerificaInformacoesSB(char* versao, char* data, char* hora);
// The index of a management report by its title; 255 when there is none.
bool BuscaIndiceRelatorioGerencial(const std::string& titulo, unsigned char& indice);
bool AbreRelatorioGerencial(unsigned char indice);
bool RelatorioGerencial(char* texto);
bool FechaRelatorioGerencial();
void ExibeMensagem(const std::string& texto, unsigned short tempo);
bool TravarTeclado(bool travar);

}  // namespace qmx::impressora
