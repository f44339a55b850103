#pragma once

#include <string>

namespace qmx::dados {

// Users' passwords are kept as PBKDF2-HMAC-SHA256 hashes with a random
// salt of their own, never as text. The texts below are lowercase
// hexadecimal.
struct SenhaGuardada {
  std::string sal;
  std::string hash;
  int iteracoes = 0;
};

// Iterations of a new hash: slow enough to make guessing costly, quick
// enough for an operator's login.
constexpr int kIteracoesSenha = 60000;

// A new salt and the password's hash with it.
SenhaGuardada GuardaSenha(const std::string& senha, int iteracoes = kIteracoesSenha);

// Whether the password is the one guarded. The comparison takes the same
// time wherever the hashes differ; a malformed guard never matches.
bool ConfereSenha(const std::string& senha, const SenhaGuardada& guardada);

}  // namespace qmx::dados
