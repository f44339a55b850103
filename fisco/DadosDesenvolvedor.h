#pragma once

namespace qmx {

// The registration data of the program's developer, printed in the
// identification report and written in the authenticated-file list and in
// the files' headers. One place holds them all.
struct DadosDesenvolvedor {
  static constexpr const char* kCNPJ = "27415963000102";  // check digits valid
  static constexpr const char* kCNPJFormatado = "27.415.963/0001-02";
  static constexpr const char* kInscricaoEstadual = "ISENTO";
  static constexpr const char* kInscricaoMunicipal = "0048213";
  static constexpr const char* kRazaoSocial = "ZT Redudeva Tecnologia em Automação Comercial Ltda";
  static constexpr const char* kEndereco = "Rua das Acácias, 1200, sala 3, Farol, Maceió - AL";
  static constexpr const char* kContato = "Marta Albuquerque";
  static constexpr const char* kTelefone = "(82) 3221-0147";
  // The certification report number: 10 characters.
  static constexpr const char* kNumeroLaudo = "ZTR0122026";

  // The program's name and the numbers of its version texts.
  static constexpr const char* kNomePrograma = "TORVO ECF";
  static constexpr int kVersao[4] = {5, 2, 5, 21};
};

}  // namespace qmx
