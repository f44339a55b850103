# Installation and packaging on Linux. `cmake --install` lays out, under the
# prefix:
#
#   <libdir>/libqmxutil.so.<major>      the library (its SONAME carries the project's major version)
#   include/qmxutil/QMXUTIL.h           the exports (QMXExport.h beside it); C or C++
#   bin/qmx, share/man/man1/qmx.1.gz    the program and its man page
#   share/qmxutil/Mensagens/            the message catalogues
#   <libdir>/cmake/QMXUTIL/             find_package(QMXUTIL): the target QMXUTIL::qmxutil
#   <libdir>/pkgconfig/qmxutil.pc       pkg-config --cflags --libs qmxutil
#   share/doc/qmxutil/examples/         a commented registro.ini and the front end of exemplos/
#
# `cpack -G DEB` makes the Debian package "qmxutil" of the same files.

include(CMakePackageConfigHelpers)

set_target_properties(qmxutil PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
# A program that links the library includes <QMXUTIL.h>.
target_include_directories(qmxutil INTERFACE $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/frame>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/qmxutil>)

set(QMX_PASTA_CMAKE ${CMAKE_INSTALL_LIBDIR}/cmake/QMXUTIL)
set(QMX_PASTA_PKGCONFIG ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(QMX_PASTA_EXEMPLOS ${CMAKE_INSTALL_DATAROOTDIR}/doc/qmxutil/examples)
set(QMX_PASTA_CATALOGOS ${CMAKE_INSTALL_DATADIR}/qmxutil/Mensagens)

install(TARGETS qmxutil EXPORT QMXUTILAlvos LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/frame/QMXUTIL.h ${CMAKE_SOURCE_DIR}/frame/QMXExport.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qmxutil)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/recursos/mensagens/ DESTINATION ${QMX_PASTA_CATALOGOS}
  FILES_MATCHING PATTERN "ZT*Mens.txt")

# The CMake package. The library's own dependencies stay private to it (it is
# a shared library), so the package needs nothing else found.
install(EXPORT QMXUTILAlvos NAMESPACE QMXUTIL:: FILE QMXUTILTargets.cmake DESTINATION ${QMX_PASTA_CMAKE})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/QMXUTILConfig.cmake.in
  ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfig.cmake INSTALL_DESTINATION ${QMX_PASTA_CMAKE})
# The SONAME changes with the major version; so does the package's compatibility.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfig.cmake
  ${CMAKE_BINARY_DIR}/instalacao/QMXUTILConfigVersion.cmake DESTINATION ${QMX_PASTA_CMAKE})

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
install(FILES ${CMAKE_BINARY_DIR}/instalacao/qmxutil.pc DESTINATION ${QMX_PASTA_PKGCONFIG})

# The machine settings are this machine's folders, printer and companies: no
# default would work anywhere, so the package puts no file in /etc (Debian
# keeps /etc for configuration a package can ship working). It installs a
# commented example among the package's documentation, where Debian keeps
# examples; the administrator copies it to /etc/qmxutil/registro.ini. Its
# catalogue folder is the one of the prefix the files go to, known only when
# they are installed (cmake --install --prefix), so it is written then.
install(FILES ${CMAKE_SOURCE_DIR}/exemplos/assina.c ${CMAKE_SOURCE_DIR}/exemplos/CMakeLists.txt
  DESTINATION ${QMX_PASTA_EXEMPLOS})
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
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${QMX_PASTA_EXEMPLOS}\")")

if(TARGET qmx)
  install(TARGETS qmx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
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
    install(FILES ${QMX_MANUAL}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

# The Debian package: what `cmake --install` puts under the configured
# prefix (configure with -DCMAKE_INSTALL_PREFIX=/usr for a package that
# follows Debian's layout; the library then goes to lib/<multiarch>).
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "The Debian package installs under ${CMAKE_INSTALL_PREFIX}; -DCMAKE_INSTALL_PREFIX=/usr for /usr")
endif()
set(CPACK_PACKAGE_NAME qmxutil)
set(CPACK_PACKAGE_VENDOR "QMXUTIL")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PAF-ECF library for Brazilian point-of-sale programs")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "PAF-ECF library for Brazilian point-of-sale programs
 libqmxutil generates and signs the fiscal electronic files (Sintegra, SPED
 Fiscal, Venda do Período, Movimentos por ECF, fiscal memory and MFD),
 prints management reports on the fiscal printer, computes cupom values
 exactly, reads and writes the TEF exchange files and carries a day's sales
 into the back office. The package holds the library, its C header, the qmx
 command-line program, the message catalogues and a commented example of
 the machine settings (registro.ini).")
set(QMX_MANTENEDOR "QMXUTIL maintainers <maintainers@qmxutil.invalid>"
  CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${QMX_MANTENEDOR}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QMX_MANTENEDOR}")
set(CPACK_GENERATOR DEB)
# The package holds the configured prefix's layout (the source package keeps
# its own folders).
file(WRITE ${CMAKE_BINARY_DIR}/instalacao/CPackProjeto.cmake
  "if(CPACK_GENERATOR STREQUAL \"DEB\")\n  set(CPACK_PACKAGING_INSTALL_PREFIX \"${CMAKE_INSTALL_PREFIX}\")\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/instalacao/CPackProjeto.cmake)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared-library dependencies (libc6, libssl3, libsqlite3-0, libpq5,
# libstdc++6, libgcc-s1) come from dpkg-shlibdeps; the diagnostics of an
# unreachable data server run ping, which no library links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "iputils-ping")
# A shlibs file for the programs that link the library, any later version of
# the same SONAME serving them. (CPack adds the postinst and postrm that run
# ldconfig.)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/\\\\.git$" "/build[^/]*/" "/qmx-demo/")
include(CPack)
