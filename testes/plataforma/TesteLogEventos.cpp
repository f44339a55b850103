#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "apoio/PastaTemporaria.h"
#include "apoio/RegistroTemporario.h"
#include "plataforma/eventos/LogEventos.h"

using qmx::eventos::CLogEventos;
using qmx::testes::PastaTemporaria;
using qmx::testes::RegistroTemporario;

