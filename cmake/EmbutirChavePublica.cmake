# Writes the public half of the EAD key (the published one, or a developer's
# own) into a C++ source of the program.
file(READ ${ENTRADA} pem)
file(WRITE ${SAIDA}.novo "// Generated from the public EAD key; do not edit.\n#include \"cli/VerificacaoEAD.h\"\n\nnamespace qmx::cli {\n\nconst char* const kChavePublicaPEM = R\"pem(${pem})pem\";\n\n}  // namespace qmx::cli\n")
file(COPY_FILE ${SAIDA}.novo ${SAIDA} ONLY_IF_DIFFERENT)
