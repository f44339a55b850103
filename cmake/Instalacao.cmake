# Installation and packaging on Linux. `cmake --install` lays out, under the
# prefix:
#
#   <libdir>/libqmxutil.so.<major>      the library (its SONAME carries the project's major version)
#   <libdir>/qmxutil/libqmxutil-qt.so   the Qt host of the dialogs, a plug-in (when Qt 6 was found)
#   include/qmxutil/QMXUTIL.h           the exports (QMXExport.h beside it); C or C++
#   bin/qmx, share/man/man1/qmx.1.gz    the program and its man page
#   share/qmxutil/Mensagens/            the message catalogues
#   <libdir>/cmake/QMXUTIL/             find_package(QMXUTIL): the target QMXUTIL::qmxutil
#   <libdir>/pkgconfig/qmxutil.pc       pkg-config --cflags --libs qmxutil
#   share/doc/qmxutil/examples/         a commented registro.ini and the front end of exemplos/
#
# in four parts (install components), which `cpack -G DEB` makes into the
# usual Debian split: libqmxutil<major> (the library, its catalogues and the
# example settings), libqmxutil-dev (header, link, CMake and pkg-config
# files, the example front end), qmxutil-qt (the Qt host) and qmx (the
# program and its man page).

include(CMakePackageConfigHelpers)

set_target_properties(qmxutil PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
# A program that links the library includes <QMXUTIL.h>.
target_include_directories(qmxutil INTERFACE $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/frame>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/qmxutil>)

set(QMX_PASTA_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/QMXUTIL)
set(QMX_PASTA_PKGCONFIG ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(QMX_PASTA_EXEMPLOS ${CMAKE_INSTALL_DATAROOTDIR}/doc/qmxutil/examples)
set(QMX_PASTA_CATALOGOS ${CMAKE_INSTALL_DATADIR}/qmxutil/Mensagens)

install(TARGETS qmxutil EXPORT QMXUTILAlvos LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  COMPONENT Biblioteca NAMELINK_COMPONENT Desenvolvimento)
install(FILES ${CMAKE_SOURCE_DIR}/frame/QMXUTIL.h ${CMAKE_SOURCE_DIR}/frame/QMXExport.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qmxutil COMPONENT Desenvolvimento)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/recursos/mensagens/ DESTINATION ${QMX_PASTA_CATALOGOS}
  COMPONENT Biblioteca FILES_MATCHING PATTERN "ZT*Mens.txt")
# The Qt host: a plug-in the library loads from the folder qmxutil beside it
# (it has no SONAME and nothing links it).
if(TARGET qmxutil-qt)
  install(TARGETS qmxutil-qt LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/qmxutil COMPONENT Janelas)
endif()

# The CMake package. The library's own dependencies stay private to it (it is
# a shared library), so the package needs nothing else found.
install(EXPORT QMXUTILAlvos NAMESPACE QMXUTIL:: FILE QMXUTILTargets.cmake DESTINATION ${QMX_PASTA_CMAKE}
  COMPONENT Desenvolvimento)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/QMXUTILConfig.cmake.in
  ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfig.cmake INSTALL_DESTINATION ${QMX_PASTA_CMAKE})
# The SONAME changes with the major version; so does the package's compatibility.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfig.cmake
  ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfigVersion.cmake DESTINATION ${QMX_PASTA_CMAKE}
  COMPONENT Desenvolvimento)

# The pkg-config file finds the prefix from its own place, so it holds for any
# prefix given to `cmake --install --prefix`, as the CMake package does.
file(RELATIVE_PATH QMX_PC_PREFIXO ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" QMX_PC_PREFIXO "\${pcfiledir}/${QMX_PC_PREFIXO}")
foreach(pasta LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${pasta}}")
    set(QMX_PC_${pasta} "${CMAKE_INSTALL_${pasta}}")
  else()
    set(QMX_PC_${pasta} "\${prefix}/${CMAKE_INSTALL_${pasta}}")
  endif()
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/cmake/qmxutil.pc.in ${CMAKE_BINARY_DIR}/instalacao/qmxutil.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/instalacao/qmxutil.pc DESTINATION ${QMX_PASTA_PKGCONFIG}
  COMPONENT Desenvolvimento)

# The machine settings are this machine's folders, printer and companies: no
# default would work anywhere, so the package puts no file in /etc (Debian
# keeps /etc for configuration a package can ship working). It installs a
# commented example among the package's documentation, where Debian keeps
# examples; the administrator copies it to /etc/qmxutil/registro.ini. Its
# catalogue folder is the one of the prefix the files go to, known only when
# they are installed (cmake --install --prefix), so it is written then.
install(FILES ${CMAKE_SOURCE_DIR}/exemplos/assina.c ${CMAKE_SOURCE_DIR}/exemplos/CMakeLists.txt
  DESTINATION ${QMX_PASTA_EXEMPLOS} COMPONENT Desenvolvimento)
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  set(QMX_DADOS_NO_PREFIXO "${CMAKE_INSTALL_DATADIR}")
else()
  set(QMX_DADOS_NO_PREFIXO "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}")
endif()
install(CODE "
  set(QMX_PASTA_CATALOGOS_INSTALADA \"${QMX_DADOS_NO_PREFIXO}/qmxutil/Mensagens\")
  configure_file(\"${CMAKE_SOURCE_DIR}/exemplos/registro.ini.in\"
    \"${CMAKE_BINARY_DIR}/instalacao/exemplo/registro.ini\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/instalacao/exemplo/registro.ini\"
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${QMX_PASTA_EXEMPLOS}\")" COMPONENT Biblioteca)

if(TARGET qmx)
  install(TARGETS qmx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Programa)
  # Where an installed qmx finds the library and the catalogues: paths
  # relative to its own folder, so that any prefix (or the package unpacked
  # elsewhere) works. The build folder has nothing at those places, and there
  # the program keeps the build folder's paths.
  file(RELATIVE_PATH QMX_BIBLIOTECA_INSTALADA ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_LIBDIR}/libqmxutil.so.${PROJECT_VERSION_MAJOR})
  file(RELATIVE_PATH QMX_MENSAGENS_RELATIVAS ${CMAKE_INSTALL_FULL_BINDIR}
    ${CMAKE_INSTALL_FULL_DATADIR}/qmxutil/Mensagens)
  target_compile_definitions(qmx PRIVATE QMX_BIBLIOTECA_INSTALADA="${QMX_BIBLIOTECA_INSTALADA}"
    QMX_MENSAGENS_RELATIVAS="${QMX_MENSAGENS_RELATIVAS}")
  # The man page, written from the program's own help when the program is
  # built (so it needs a program that runs on this machine).
  if(NOT CMAKE_CROSSCOMPILING)
    set(QMX_MANUAL ${CMAKE_BINARY_DIR}/instalacao/qmx.1)
    add_custom_command(OUTPUT ${QMX_MANUAL} ${QMX_MANUAL}.gz
      COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/gera-manual.sh $<TARGET_FILE:qmx> ${PROJECT_VERSION} ${QMX_MANUAL}
      DEPENDS qmx ${CMAKE_SOURCE_DIR}/scripts/gera-manual.sh
      COMMENT "Writing the man page of qmx"
      VERBATIM)
    add_custom_target(qmx_manual ALL DEPENDS ${QMX_MANUAL} ${QMX_MANUAL}.gz)
    install(FILES ${QMX_MANUAL}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Programa)
  endif()
endif()

# The Debian packages: what `cmake --install` puts under the configured
# prefix (configure with -DCMAKE_INSTALL_PREFIX=/usr for packages that
# follow Debian's layout; the library then goes to lib/<multiarch>), one
# package per install component.
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "The Debian packages install under ${CMAKE_INSTALL_PREFIX}; -DCMAKE_INSTALL_PREFIX=/usr for /usr")
endif()
set(CPACK_PACKAGE_NAME qmxutil)
set(CPACK_PACKAGE_VENDOR "QMXUTIL")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PAF-ECF library for Brazilian point-of-sale programs")
set(QMX_MANTENEDOR "QMXUTIL maintainers <maintainers@qmxutil.invalid>"
  CACHE STRING "The Maintainer field of the Debian packages")
set(CPACK_PACKAGE_CONTACT "${QMX_MANTENEDOR}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QMX_MANTENEDOR}")
set(CPACK_GENERATOR DEB)
# The packages hold the configured prefix's layout (the source package keeps
# its own folders).
file(WRITE ${CMAKE_BINARY_DIR}/instalacao/CPackProjeto.cmake
  "if(CPACK_GENERATOR STREQUAL \"DEB\")\n  set(CPACK_PACKAGING_INSTALL_PREFIX \"${CMAKE_INSTALL_PREFIX}\")\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/instalacao/CPackProjeto.cmake)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each package's shared-library dependencies come from dpkg-shlibdeps (the
# Qt host's on Qt 6's runtime packages among them); the library within the
# build that the Qt host links is found there and depended on by name below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
# A shlibs file for the programs that link the library, any later version of
# the same SONAME serving them. (CPack adds the postinst and postrm that run
# ldconfig.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Biblioteca Desenvolvimento Programa)
if(TARGET qmxutil-qt)
  list(APPEND CPACK_COMPONENTS_ALL Janelas)
endif()
set(QMX_PACOTE_BIBLIOTECA libqmxutil${PROJECT_VERSION_MAJOR})
set(QMX_DEPENDE_BIBLIOTECA "${QMX_PACOTE_BIBLIOTECA} (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_BIBLIOTECA_PACKAGE_NAME ${QMX_PACOTE_BIBLIOTECA})
set(CPACK_DEBIAN_BIBLIOTECA_PACKAGE_SECTION libs)
# The diagnostics of an unreachable data server run ping, which no library links.
set(CPACK_DEBIAN_BIBLIOTECA_PACKAGE_DEPENDS "iputils-ping")
set(CPACK_DEBIAN_BIBLIOTECA_DESCRIPTION "PAF-ECF library for Brazilian point-of-sale programs
 libqmxutil generates and signs the fiscal electronic files (Sintegra, SPED
 Fiscal, Venda do Período, Movimentos por ECF, fiscal memory and MFD),
 prints management reports on the fiscal printer, computes cupom values
 exactly, reads and writes the TEF exchange files and carries a day's sales
 into the back office. This package holds the library, its message
 catalogues and a commented example of the machine settings (registro.ini).")

set(CPACK_DEBIAN_DESENVOLVIMENTO_PACKAGE_NAME libqmxutil-dev)
set(CPACK_DEBIAN_DESENVOLVIMENTO_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DESENVOLVIMENTO_PACKAGE_DEPENDS "${QMX_DEPENDE_BIBLIOTECA}")
set(CPACK_DEBIAN_DESENVOLVIMENTO_DESCRIPTION "PAF-ECF library for Brazilian point-of-sale programs (development files)
 The C header of libqmxutil's exports, the link to the library, its CMake
 package (find_package(QMXUTIL)) and pkg-config file, and an example front
 end in C that signs a file.")

set(CPACK_DEBIAN_JANELAS_PACKAGE_NAME qmxutil-qt)
set(CPACK_DEBIAN_JANELAS_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_JANELAS_PACKAGE_DEPENDS "${QMX_DEPENDE_BIBLIOTECA}")
set(CPACK_DEBIAN_JANELAS_DESCRIPTION "PAF-ECF library for Brazilian point-of-sale programs (Qt windows)
 The host of libqmxutil's dialogs on Qt 6 Widgets: with it installed, a
 program that sets QMX_JANELAS=qt (or qmx --janelas) shows the dialogs in
 real windows on X11 or Wayland for the operator to fill.")

set(CPACK_DEBIAN_PROGRAMA_PACKAGE_NAME qmx)
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_DEPENDS "${QMX_DEPENDE_BIBLIOTECA}")
set(CPACK_DEBIAN_PROGRAMA_PACKAGE_SUGGESTS qmxutil-qt)
set(CPACK_DEBIAN_PROGRAMA_DESCRIPTION "PAF-ECF library for Brazilian point-of-sale programs (command line)
 qmx calls libqmxutil's exports from the command line: it generates, signs,
 verifies and validates the fiscal files, prints the management reports on
 an emulated printer, integrates a day's sales and builds a demonstration
 company. Its --janelas option needs the package qmxutil-qt.")
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/\\\\.git$" "/build[^/]*/" "/qmx-demo/")
include(CPack)
