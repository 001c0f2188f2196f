#include "platform/background_thread.h"

#include <thread>

namespace lx47::platform {

bool StartBackgroundThread(std::function<void()> work) {
  if (!work) return false;
  try {
    std::thread(std::move(work)).detach();
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace lx47::platform
