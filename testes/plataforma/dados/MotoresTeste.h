#pragma once

#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"

namespace qmx::testes {

// Runs a test suite once per engine; the PostgreSQL run is skipped when no
// test server was given.
class TesteMotores : public ::testing::TestWithParam<MotorTeste> {
 protected:
  void SetUp() override {
    if (GetParam() == MotorTeste::Postgres && !EmpresaTeste::PostgresDisponivel())
      GTEST_SKIP() << "sem servidor PostgreSQL de teste (QMX_TESTE_POSTGRES)";
    empresa = std::make_unique<EmpresaTeste>(GetParam());
  }
  void TearDown() override { empresa.reset(); }

  std::unique_ptr<EmpresaTeste> empresa;
};

inline std::string NomeParametro(const ::testing::TestParamInfo<MotorTeste>& info) { return NomeMotor(info.param); }

#define QMX_NOS_DOIS_MOTORES(Suite) \
  INSTANTIATE_TEST_SUITE_P(Motores, Suite, ::testing::Values(MotorTeste::SQLite, MotorTeste::Postgres), NomeParametro)

}  // namespace qmx::testes
