/*
 * A front end in a few lines: it links the installed library, sets up the
 * context as the point-of-sale program does after the operator's login,
 * signs a file with its EAD line and prints the file's MD5 digest as the
 * list of authenticated files would show it.
 *
 *   assina EMPRESA ARQUIVO
 *
 * Exit status: 0 signed, 1 the library refused, 2 wrong arguments.
 *
 * Built with CMake (see CMakeLists.txt beside it), or with pkg-config:
 *
 *   cc assina.c $(pkg-config --cflags --libs qmxutil) -o assina
 */
#include <stdio.h>

#include <QMXUTIL.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "uso: %s EMPRESA ARQUIVO\n", argv[0]);
    return 2;
  }
  /* Company key, user 1, context 0: the values the operator's login gives. */
  if (!QMX_Inicializa(argv[1], 1, 0)) {
    fprintf(stderr, "QMX_Inicializa falhou\n");
    return 1;
  }
  const char* arquivo = argv[2];
  QMX_BOOL assinado = QMX_AssinarArquivo(arquivo);
  char digest[33] = "";
  QMX_BOOL calculado = assinado && QMX_GerarMD5_Arquivo(arquivo, digest);
  QMX_Finaliza();
  if (!assinado || !calculado) {
    fprintf(stderr, "%s: %s falhou\n", arquivo, assinado ? "QMX_GerarMD5_Arquivo" : "QMX_AssinarArquivo");
    return 1;
  }
  printf("%s assinado, MD5 %s\n", arquivo, digest);
  return 0;
}
