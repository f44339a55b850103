#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzzer's input as a file that lives in memory: readers that take a
// path get "/proc/self/fd/N", and no disk is touched between runs.
class EntradaEmMemoria {
 public:
  EntradaEmMemoria() : m_fd(::memfd_create("entrada-fuzz", 0)) {}
  std::string Caminho() const { return "/proc/self/fd/" + std::to_string(m_fd); }
  void Grava(const std::uint8_t* dados, std::size_t tamanho) const {
    (void)::ftruncate(m_fd, 0);
    for (std::size_t escrito = 0; escrito < tamanho;) {
      const ssize_t n = ::pwrite(m_fd, dados + escrito, tamanho - escrito, static_cast<off_t>(escrito));
      if (n <= 0) break;
      escrito += static_cast<std::size_t>(n);
    }
  }

 private:
  int m_fd;
};
