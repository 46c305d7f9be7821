#include "platform/local_time.h"

namespace kiv {

std::tm LocalTimeOf(std::time_t seconds) {
  std::tm local{};
  ::localtime_r(&seconds, &local);
  return local;
}

}  // namespace kiv
