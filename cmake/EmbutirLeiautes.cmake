# Writes a C++ source holding the published layout tables the validators
# read (tab-separated texts kept beside each family's validator), so that
# the program carries them. Each table is found by its file name.
set(conteudo "// Generated from the layout tables under arquivos/; do not edit.\n")
string(APPEND conteudo "#include \"arquivos/LeiautesEmbutidos.h\"\n\n")
string(APPEND conteudo "namespace qmx::validacao {\n\nconst LeiauteEmbutido kLeiautesEmbutidos[] = {\n")
string(REPLACE "|" ";" LEIAUTES "${LEIAUTES}")
foreach(arquivo IN LISTS LEIAUTES)
  file(READ ${arquivo} texto)
  get_filename_component(nome ${arquivo} NAME)
  string(APPEND conteudo "    {\"${nome}\", R\"qmxtsv(${texto})qmxtsv\"},\n")
endforeach()
string(APPEND conteudo "    {nullptr, nullptr},\n};\n\n}  // namespace qmx::validacao\n")
file(WRITE ${SAIDA}.novo "${conteudo}")
file(COPY_FILE ${SAIDA}.novo ${SAIDA} ONLY_IF_DIFFERENT)
