#pragma once

#include <functional>
#include <string>
#include <utility>

#include "frame/ContextoBiblioteca.h"
#include "plataforma/arquivos/ArquivoTexto.h"

namespace qmx {

// How the final box of a generated file reads.
struct AvisoArquivoGerado {
  enum class Forma {
    Padrao,      // "Arquivo gerado em\r\n" and the path
    DAV,         // "Arquivo gerado em " and the path
    ArquivoMFD,  // "Arquivo gerado em:\n\r" and the path
    EspelhoMFD,  // "As informações foram geradas com Sucesso em\r\n" and the path
  };
  std::string titulo;  // for example "Torvo ECF - Arquivo Eletrônico Estoque"
  Forma forma = Forma::Padrao;
};

// The last steps of every electronic file: the text goes to a new
// temporary file, is signed, is stored in the company's
// "Arquivos-Eletronicos" folder through the data server's file transfer,
// and the operator is told where it is. A failure stops the chain where it
// happens: nothing unsigned is stored and no success box is shown.
// A failed transfer is reported under the source name of the dialog that
// made the file, so that the operator sees which one failed.
class CQMXEnvioArquivo {
 public:
  static constexpr const char* kPastaArquivos = "Arquivos-Eletronicos\\";

  CQMXEnvioArquivo(const TriploConexao& triplo, std::string fonte) : m_triplo(triplo), m_fonte(std::move(fonte)) {}

  // Writes the text byte for byte to a temporary file ("txt" prefix in the
  // system's temporary folder), signs, stores and reports it; the temporary
  // file is deleted unless asked to stay. True when the file was stored.
  bool GeraEEnvia(const std::string& nomeArquivo, const std::string& texto, const AvisoArquivoGerado& aviso,
                  bool mantemTemporario = false);

  // The same for a file too large to build in memory: `escreve` writes it
  // line by line into the temporary file (the bytes as given). An
  // exception of `escreve` leaves nothing behind and goes on to the caller.
  bool EscreveEEnvia(const std::string& nomeArquivo, const std::function<void(CArquivoTexto&)>& escreve,
                     const AvisoArquivoGerado& aviso);

  // The same for a file already written elsewhere (by the printer layer):
  // sign, store, report.
  bool AssinaEEnvia(const std::string& arquivoLocal, const std::string& nomeArquivo,
                    const AvisoArquivoGerado& aviso);
  // The last two steps for a file already signed: store, report. Callers
  // that tell a failed signature apart sign first themselves.
  bool EnviaEAvisa(const std::string& arquivoLocal, const std::string& nomeArquivo,
                   const AvisoArquivoGerado& aviso);
  // The two steps apart, for a caller that does something between them.
  bool Envia(const std::string& arquivoLocal, const std::string& nomeArquivo, const std::string& titulo);
  void Avisa(const std::string& nomeArquivo, const AvisoArquivoGerado& aviso) const;

  // Where the file is for the operator: the company's point-of-sale folder,
  // "Arquivos-Eletronicos\" and the name.
  std::string CaminhoNaEmpresa(const std::string& nomeArquivo) const;

  // The temporary file of the last GeraEEnvia (empty when none was made).
  const std::string& ArquivoTemporario() const { return m_temporario; }

 private:

  TriploConexao m_triplo;
  std::string m_fonte;
  std::string m_temporario;
};

}  // namespace qmx
