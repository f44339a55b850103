#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qmx {

// Files that must never be seen half-written: the new content goes to a
// temporary file beside the target, is flushed to the disk, and only then
// renamed over the target (and the folder flushed), so that a reader, a
// crash or a full disk finds either the old file or the new one, whole.
//
// The temporary is named "." + target name + kMarca + six characters and is
// held under an exclusive lock while its writer lives: a temporary that
// nobody holds belongs to a run that was killed, and the next write into
// the folder removes it (an empty one only once it is a few seconds old:
// its writer may be between creating and locking it).
class GravacaoAtomica {
 public:
  static constexpr const char* kMarca = ".qmx-parcial-";

  // What a sweep removed.
  struct Limpeza {
    int arquivos = 0;
    std::uint64_t bytes = 0;
    Limpeza& operator+=(const Limpeza& outra) {
      arquivos += outra.arquivos;
      bytes += outra.bytes;
      return *this;
    }
  };

  // The temporary of one write, beside its target: created under its lock
  // (sweeping the folder's abandoned ones first), with the target's
  // permissions (0644 for a new file); Conclui puts it in place of the
  // target. Whatever is not concluded is removed when the object goes.
  class Temporario {
   public:
    Temporario() = default;
    ~Temporario() { Descarta(); }
    Temporario(const Temporario&) = delete;
    Temporario& operator=(const Temporario&) = delete;

    // False (errno tells why) when it cannot be made.
    bool Cria(const std::string& destinoNativo);
    int Descritor() const { return m_fd; }
    const std::string& Caminho() const { return m_caminho; }
    // Flushes the content to the disk, renames it over the target and
    // flushes the folder. False, with the temporary removed and the target
    // as it was, when anything fails (errno tells why).
    bool Conclui();
    void Descarta() noexcept;

   private:
    std::string m_destino;
    std::string m_caminho;
    int m_fd = -1;
  };

  // Whether a live writer other than the temporary given holds a temporary
  // of the target (a second run writing the same file).
  static bool OutroEscrevendo(const std::string& destinoNativo, const std::string& temporarioProprio);

  // Replaces the file at the native path with what `escreve` writes into
  // the temporary's descriptor. A symbolic link at the path is replaced,
  // not followed; a regular file keeps its permissions. False, with the old
  // file intact and no temporary left, when anything fails (errno tells why).
  static bool Substitui(const std::string& destinoNativo, const std::function<bool(int)>& escreve);

  // The same, with the whole content of the open file `origem`.
  static bool Substitui(const std::string& destinoNativo, int origem);

  // Removes the temporaries of killed runs from the folder. `agora` is the
  // file system's present time (seconds), as a file just made in the
  // folder carries it.
  static Limpeza LimpaAbandonados(const std::string& pastaNativa, std::int64_t agora);
  // Whether a writer should sweep the folder now: once per process and
  // folder, then again once kSegundosEntreLimpezas have passed (by the
  // file system's time). A folder of thousands of files, such as a shared
  // temporary folder, would otherwise cost every small file a walk of it.
  static constexpr std::int64_t kSegundosEntreLimpezas = 60;
  static bool HoraDeLimpar(const std::string& pastaNativa, std::int64_t agora);

  // Writes all the bytes, going on after interruptions.
  static bool EscreveTudo(int fd, const char* dados, std::size_t tamanho);
};

}  // namespace qmx
