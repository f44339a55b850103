#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "apoio/EmpresaTeste.h"

namespace qmx::testes {

// A test suite run once per engine (QMX_NOS_DOIS_MOTORES); the PostgreSQL
// run is skipped when no test server was given.
class NosDoisMotores : public ::testing::TestWithParam<MotorTeste> {
 protected:
  void SetUp() override {
    if (GetParam() == MotorTeste::Postgres && !EmpresaTeste::PostgresDisponivel())
      GTEST_SKIP() << "sem servidor PostgreSQL de teste (QMX_TESTE_POSTGRES)";
  }
};

// The same, with an empty test company on the engine.
class TesteMotores : public NosDoisMotores {
 protected:
  void SetUp() override {
    NosDoisMotores::SetUp();
    if (!IsSkipped()) empresa = std::make_unique<EmpresaTeste>(GetParam());
  }
  void TearDown() override { empresa.reset(); }

  std::unique_ptr<EmpresaTeste> empresa;
};

inline std::string NomeParametro(const ::testing::TestParamInfo<MotorTeste>& info) { return NomeMotor(info.param); }

#define QMX_NOS_DOIS_MOTORES(Suite) \
  INSTANTIATE_TEST_SUITE_P(Motores, Suite, ::testing::Values(MotorTeste::SQLite, MotorTeste::Postgres), NomeParametro)

}  // namespace qmx::testes
