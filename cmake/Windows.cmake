# The Windows build (mingw-w64): QMXUTIL.dll, qmx.exe and the tests from the
# same folders as the Linux build. Only the platform layer differs: the files
# named *Win32.cpp take the place of the POSIX and OpenSSL ones listed in
# QMX_FONTES_SO_POSIX, and the company databases are SQLite only, compiled
# from its amalgamation (PostgreSQL needs libpq, which mingw lacks).
enable_language(C)
enable_language(RC)

set(QMX_SQLITE_PASTA "${CMAKE_BINARY_DIR}/sqlite" CACHE PATH
    "Folder holding sqlite3.c and sqlite3.h (scripts/testes-windows.sh fills it)")
if(NOT EXISTS "${QMX_SQLITE_PASTA}/sqlite3.c")
  message(FATAL_ERROR "sqlite3.c not found in ${QMX_SQLITE_PASTA}: run scripts/sqlite-amalgama.sh")
endif()
add_library(qmx_sqlite3 STATIC "${QMX_SQLITE_PASTA}/sqlite3.c")
target_include_directories(qmx_sqlite3 SYSTEM PUBLIC "${QMX_SQLITE_PASTA}")
target_compile_definitions(qmx_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DEFAULT_FOREIGN_KEYS=0 SQLITE_DQS=0)
# The amalgamation is not ours to warn about, nor to re-encode.
set_source_files_properties("${QMX_SQLITE_PASTA}/sqlite3.c" PROPERTIES COMPILE_OPTIONS "-w")
target_compile_options(qmx_sqlite3 PRIVATE -finput-charset=UTF-8 -fexec-charset=UTF-8)

# The system's libraries behind the platform layer: registry and event log
# (advapi32), COM (ole32, oleaut32), CNG (bcrypt), dialogs (user32, gdi32,
# comctl32).
set(QMX_DEPENDENCIAS qmx_sqlite3 advapi32 ole32 oleaut32 uuid bcrypt user32 gdi32 comctl32 shlwapi)
set(QMX_POSTGRES OFF)

# The POSIX and OpenSSL implementations that a *Win32.cpp replaces.
set(QMX_FONTES_SO_POSIX
  plataforma/dados/SessaoPostgres.cpp
  plataforma/dados/ValorBinarioPostgres.cpp
  plataforma/registro/Registro.cpp
  plataforma/processo/ProcessoComPipe.cpp)

# Everything is linked statically (libstdc++, libgcc, winpthread): the DLL and
# the programs run on a bare Windows, and under Wine without mingw's DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)
# Windows headers: no min/max macros, Unicode-neutral calls chosen explicitly.
add_compile_definitions(NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601)
add_compile_definitions(_FILE_OFFSET_BITS=64)

# The DLL exports exactly the listed names: the QMX_ functions, the functions
# with C++ names and the exported classes, as this compiler decorates them.
enable_testing()
add_test(NAME exportacoes_dll
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:qmxutil>
          -DLISTA=${CMAKE_SOURCE_DIR}/cmake/exportacoes-${CMAKE_SYSTEM_PROCESSOR}.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/ConfereExportacoes.cmake)
set_tests_properties(exportacoes_dll PROPERTIES LABELS windows-estatico)

# The programs built here run under Wine on the build machine: the tests,
# and GoogleTest's listing of them.
find_program(QMX_WINE NAMES wine)
if(QMX_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QMX_WINE})
endif()

# The dialog templates become the DLL's own dialog resources, as windres
# compiles them (the templates are UTF-8).
set(QMX_RECURSOS_RC ${CMAKE_BINARY_DIR}/gerado/Dialogos.rc)
file(GLOB QMX_MODELOS_RC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/recursos/dialogos/*.rc)
list(SORT QMX_MODELOS_RC)
set(conteudo "#include <windows.h>\n#include <commctrl.h>\n#pragma code_page(65001)\n")
foreach(modelo IN LISTS QMX_MODELOS_RC)
  string(APPEND conteudo "#include \"${modelo}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${QMX_RECURSOS_RC} CONTENT "${conteudo}" @ONLY)
set_source_files_properties(${QMX_RECURSOS_RC} PROPERTIES OBJECT_DEPENDS "${QMX_MODELOS_RC}")
cmake_language(DEFER CALL target_sources qmxutil PRIVATE ${QMX_RECURSOS_RC})
cmake_language(DEFER CALL target_sources qmxutil PRIVATE ${CMAKE_SOURCE_DIR}/plataforma/dll/EntradaDLL.cpp)
cmake_language(DEFER CALL target_include_directories qmxutil PRIVATE ${CMAKE_SOURCE_DIR})
cmake_language(DEFER CALL target_compile_definitions qmxutil PRIVATE QMX_CONSTRUINDO)

# The screenshots of the real dialogs (run under Xvfb by
# scripts/testes-windows.sh): the library's own dialog classes on the
# system's dialog boxes, each saved as a PNG and its control rectangles
# compared with the template's.
add_executable(qmx_telas ${CMAKE_SOURCE_DIR}/telas/Telas.cpp ${QMX_RECURSOS_RC})
target_link_libraries(qmx_telas PRIVATE qmxutil_estatica)
target_compile_options(qmx_telas PRIVATE ${QMX_AVISOS})
