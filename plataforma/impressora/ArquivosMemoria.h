#pragma once

#include <string>

#include "plataforma/impressora/ImpressoraEmulada.h"

namespace qmx::impressora {

// The answer files the emulated printer writes for the fiscal-memory and
// detail-memory operations. Their content is a plain, well-formed rendering
// of what the printer was asked, identified by its serial number and ECF
// number; every write replaces the file whole.

// The name of the answer file in the answer folder.
extern const char* const NomeArquivoRetorno;

std::string TextoLeituraMemoriaFiscal(const ConfiguracaoImpressora& c, const char* modo, const char* inicio,
                                      const char* fim, const char* tipo);
bool GravaRetorno(const ConfiguracaoImpressora& c, const std::string& conteudo);
bool GravaImagemMFD(const ConfiguracaoImpressora& c, const char* arquivo, const char* tipo, const char* inicial,
                    const char* final, const char* usuario);
bool GravaEspelhoMFD(const ConfiguracaoImpressora& c, const char* origem, const char* destino, const char* formato,
                     const char* tipo, const char* inicial, const char* final, const char* usuario);
bool GravaArquivoMFD(const ConfiguracaoImpressora& c, const char* inicial, const char* final, const char* tipo,
                     const char* usuario, int geracao);
bool GravaArquivoMF(const ConfiguracaoImpressora& c, const char* inicial, const char* final, const char* tipo,
                    const char* usuario);

}  // namespace qmx::impressora
