// How a worker reports to the window that started it: a posted message with
// two parameters, never a call that waits for the user-interface thread.
#pragma once

#include <cstdint>

namespace lx47::platform {

class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void post(std::uint32_t message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace lx47::platform
