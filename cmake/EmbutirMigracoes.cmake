# Writes a C++ source holding every versioned SQL migration, in version
# order, so that the library creates and upgrades its databases by itself.
# A file is named NNNN_description.sql; NNNN is its version.
set(conteudo "// Generated from plataforma/dados/migracoes; do not edit.\n")
string(APPEND conteudo "#include \"plataforma/dados/MigracoesEmbutidas.h\"\n\n")
string(APPEND conteudo "namespace qmx::dados {\n\nconst MigracaoEmbutida kMigracoesEmbutidas[] = {\n")
string(REPLACE "|" ";" MIGRACOES "${MIGRACOES}")
list(SORT MIGRACOES)
foreach(arquivo IN LISTS MIGRACOES)
  file(READ ${arquivo} texto)
  get_filename_component(nome ${arquivo} NAME)
  string(SUBSTRING "${nome}" 0 4 versao)
  if(NOT versao MATCHES "^[0-9][0-9][0-9][0-9]$")
    message(FATAL_ERROR "migration without a version: ${nome}")
  endif()
  # The sources are compiled to Windows-1252 and a server reads UTF-8: a
  # character beyond ASCII would reach it as neither.
  if(texto MATCHES "[^\t\n\r -~]")
    message(FATAL_ERROR "migration with a character beyond ASCII: ${nome}")
  endif()
  math(EXPR numero "${versao}")
  string(APPEND conteudo "    {${numero}, \"${nome}\", R\"qmxsql(${texto})qmxsql\"},\n")
endforeach()
string(APPEND conteudo "    {0, nullptr, nullptr},\n};\n\n}  // namespace qmx::dados\n")
file(WRITE ${SAIDA}.novo "${conteudo}")
file(COPY_FILE ${SAIDA}.novo ${SAIDA} ONLY_IF_DIFFERENT)
