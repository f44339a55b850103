# The tests in the Windows build. GoogleTest is built from Debian's sources
# (package googletest) with the cross compiler; the test programs run under
# Wine (CMAKE_CROSSCOMPILING_EMULATOR), also to list their tests.
set(QMX_GTEST_FONTES /usr/src/googletest CACHE PATH "GoogleTest's sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QMX_GTEST_FONTES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(alvo gtest gmock gtest_main)
  target_compile_options(${alvo} PRIVATE -w)
  if(NOT TARGET GTest::${alvo})
    add_library(GTest::${alvo} ALIAS ${alvo})
  endif()
endforeach()

# Tests that need Linux, left out of the Windows test program (they run in
# the Linux build):
# - PostgreSQL: libpq is not available for mingw, so the server engine is not
#   built there (the SQLite runs of the same tests do run, the PostgreSQL
#   runs skip as they do on Linux without a test server);
# - the file-based registry stand-in and the event log's file, syslog and
#   standard-error destinations, which the
#   Windows build replaces by the system's registry and event log;
# - POSIX file semantics the tests build on: FIFOs, symbolic links, file
#   modes, descriptors shared with forked processes, /proc and /dev;
# - crashes injected by killing forked processes (the integration passes);
# - the command-line program's tests, which drive qmx through a POSIX shell.
# Single tests of other files that need the same are left out where they
# stand (#if !defined(_WIN32), with the reason).
set(QMX_TESTES_SO_LINUX
  plataforma/dados/TesteConcorrenciaSQLite.cpp
  plataforma/TesteProcessoComPipe.cpp
  plataforma/arquivos/ArquivoTextoTeste.cpp
  endurecimento/TesteGravacao.cpp
  endurecimento/TesteSondagem.cpp
  integracao/TesteIntegracaoConfiabilidade.cpp
  integracao/TesteLivrosDaRetaguarda.cpp
  cli/TesteQmx.cpp
  cli/TesteEntrada.cpp
  cli/TesteDemoEmpresa.cpp
  cli/TesteVariedade.cpp
  frame/TesteQmxMensagem.cpp
  plataforma/TesteLogEventos.cpp)
