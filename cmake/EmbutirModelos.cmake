# Writes a C++ source holding every dialog template text, so that the library
# carries its own resources. The texts become Windows-1252 when compiled.
set(conteudo "// Generated from recursos/dialogos; do not edit.\n")
string(APPEND conteudo "#include \"plataforma/ui/ModelosEmbutidos.h\"\n\n")
string(APPEND conteudo "namespace qmx::ui {\n\nconst char* const kModelosEmbutidos[] = {\n")
string(REPLACE "|" ";" MODELOS "${MODELOS}")
foreach(arquivo IN LISTS MODELOS)
  file(READ ${arquivo} texto)
  get_filename_component(nome ${arquivo} NAME)
  string(APPEND conteudo "    // ${nome}\n    R\"qmxrc(${texto})qmxrc\",\n")
endforeach()
string(APPEND conteudo "    nullptr,\n};\n\n}  // namespace qmx::ui\n")
file(WRITE ${SAIDA}.novo "${conteudo}")
file(COPY_FILE ${SAIDA}.novo ${SAIDA} ONLY_IF_DIFFERENT)
