// Exports of digests, the signature and the text cipher. Each builds its
// worker on the stack, calls one operation and returns.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fisco/CifraTexto.h"
#include "fisco/QMXFisco.h"
#include "frame/ContextoBiblioteca.h"
#include "frame/ProtecaoExportacao.h"
#include "frame/QMXUTIL.h"

using namespace qmx;

namespace {

CQMXFisco FiscoDoContexto() {
  const TriploConexao triplo = CopiaTriplo();
  return CQMXFisco(triplo.chaveEmpresa, triplo.usuario, triplo.contexto);
}

// Appends to what the caller's buffer holds, as the cipher export does.
void Anexa(char* destino, const std::string& texto) {
  if (destino) std::strcat(destino, texto.c_str());
}

std::string SemSeparadores(const char* valor) {
  std::string limpo;
  for (const char* c = valor ? valor : ""; *c; ++c)
    if (*c != ',' && *c != '.') limpo += *c;
  return limpo;
}

}  // namespace

extern "C" {

// The digest exports answer true even when the digest fails: the caller's
// buffer then stays as it was.
QMX_BOOL QMX_GerarMD5_Arquivo(const char* caminho, char* digest) {
  return Protegido("QMX_GerarMD5_Arquivo", QMX_BOOL{1}, [&] {
    CQMXFisco().GerarMD5Arquivo(caminho, digest);
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_GerarMD5_String(const char* texto, char* digest) {
  return Protegido("QMX_GerarMD5_String", QMX_BOOL{1}, [&] {
    CQMXFisco().GerarMD5String(texto, digest);
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_GerarMD5_StringMD5(const char* texto, unsigned char* digest) {
  return Protegido("QMX_GerarMD5_StringMD5", QMX_BOOL{1}, [&] {
    CQMXFisco().GerarMD5StringMD5(texto, digest);
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_GerarMD5_PAFECF(char* digest, std::uint8_t mostraMensagem) {
  return Protegido("QMX_GerarMD5_PAFECF", QMX_BOOL{0}, [&] {
    return QMX_BOOL{FiscoDoContexto().GerarListaArquivos(digest, mostraMensagem != 0, 0)};
  });
}

QMX_BOOL QMX_GerarMD5_NotaFiscal(char* digest, std::uint16_t filial) {
  return Protegido("QMX_GerarMD5_NotaFiscal", QMX_BOOL{0}, [&] {
    return QMX_BOOL{FiscoDoContexto().GerarListaArquivos(digest, false, filial)};
  });
}

QMX_BOOL QMX_AssinarArquivo(const char* caminho) {
  if (!caminho) return 0;
  return Protegido("QMX_AssinarArquivo", QMX_BOOL{0},
                   [&] { return QMX_BOOL{FiscoDoContexto().AssinarArquivo(caminho)}; });
}

QMX_BOOL QMX_IdentificacaoPAFECF() {
  return Protegido("QMX_IdentificacaoPAFECF", QMX_BOOL{0}, [] {
    return QMX_BOOL{FiscoDoContexto().IdentificacaoPAFECF()};
  });
}

QMX_BOOL QMX_MontaSenha(std::uint16_t semente, std::uint16_t numeroDeslocamento, char* senha) {
  return Protegido("QMX_MontaSenha", QMX_BOOL{1}, [&] {
    // The run-time's generator draws the arrangement; 0..31.
    const int r = std::rand() % 32;
    const std::string texto = CifraTexto::MontaSenha(semente, numeroDeslocamento, r);
    if (senha) std::memcpy(senha, texto.c_str(), texto.size() + 1);
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_DesmontaSenha(const char* senha, std::uint16_t* semente, std::uint16_t* numeroDeslocamento) {
  return Protegido("QMX_DesmontaSenha", QMX_BOOL{1}, [&] {
    std::uint16_t s = 0, d = 0;
    CifraTexto::DesmontaSenha(senha, s, d);
    if (semente) *semente = s;
    if (numeroDeslocamento) *numeroDeslocamento = d;
    return QMX_BOOL{1};
  });
}

QMX_BOOL QMX_Criptografar(std::int32_t semente, std::int32_t numeroDeslocamento, const char* texto,
                          const char* valor, char* hexTexto, char* hexValor) {
  return Protegido("QMX_Criptografar", QMX_BOOL{1}, [&] {
    const CifraTexto cifra(semente, numeroDeslocamento);
    Anexa(hexTexto, cifra.CifraParaHex(TextoDoChamador(texto)));
    Anexa(hexValor, cifra.CifraParaHex(SemSeparadores(valor)));
    return QMX_BOOL{1};
  });
}

// The amount comes back with four implied decimals (its digits times 100).
// An amount whose digits do not fit, or do not fit once multiplied, is an
// error: false, and the caller's amount is left as it was, never a wrapped
// number.
QMX_BOOL QMX_Descriptografar(const char* senha, const char* hexTexto, const char* hexValor, char* texto,
                             std::int64_t* valor) {
  return Protegido("QMX_Descriptografar", QMX_BOOL{0}, [&] {
    std::uint16_t semente = 0, deslocamento = 0;
    CifraTexto::DesmontaSenha(senha, semente, deslocamento);
    const CifraTexto cifra(semente, deslocamento);
    const std::string claro = cifra.DecifraDeHex(TextoDoChamador(hexTexto));
    if (texto) std::memcpy(texto, claro.c_str(), claro.size() + 1);
    const std::string quantia = cifra.DecifraDeHex(TextoDoChamador(hexValor));
    errno = 0;
    const long long lido = std::strtoll(quantia.c_str(), nullptr, 10);
    std::int64_t centavos = 0;
    if (errno == ERANGE || __builtin_mul_overflow(static_cast<std::int64_t>(lido), std::int64_t{100}, &centavos))
      return QMX_BOOL{0};
    if (valor) *valor = centavos;
    return QMX_BOOL{1};
  });
}

}  // extern "C"

void CriptografarTexto(char* buffer, int tamanho, unsigned char chave) {
  Protegido("CriptografarTexto", 0, [&] {
    CriptografarTextoInterno(buffer, tamanho, chave);
    return 0;
  });
}
