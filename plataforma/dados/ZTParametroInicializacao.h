#pragma once

#include <cstdint>
#include <string>

namespace qmx::dados {

// What the system initialisation data are fetched for: the connection
// triple and the system's number (19 is the point of sale).
class CZTParametroInicializacao {
 public:
  CZTParametroInicializacao(const std::string& chaveEmpresa, std::uint16_t usuario, std::int32_t contexto,
                            std::uint16_t sistema)
      : m_chaveEmpresa(chaveEmpresa), m_usuario(usuario), m_contexto(contexto), m_sistema(sistema) {}

  const std::string& ChaveEmpresa() const { return m_chaveEmpresa; }
  std::uint16_t Usuario() const { return m_usuario; }
  std::int32_t Contexto() const { return m_contexto; }
  std::uint16_t Sistema() const { return m_sistema; }

 private:
  std::string m_chaveEmpresa;
  std::uint16_t m_usuario;
  std::int32_t m_contexto;
  std::uint16_t m_sistema;
};

}  // namespace qmx::dados
