#include "apoio/RelogioSimulado.h"

#include <ctime>

namespace qmx::testes {

std::string RelogioSimulado(const std::string& data, const std::string& hora) {
  const std::time_t agora = std::time(nullptr);
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &agora);
#else
  localtime_r(&agora, &local);
#endif
  char real[64];
  std::strftime(real, sizeof real, "%d/%m/%Y;%H:%M:%S:000", &local);
  return "[SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\nZT_DATETIME=1;" + data + ";" + hora +
         ":000;" + real + "\n";
}

}  // namespace qmx::testes
