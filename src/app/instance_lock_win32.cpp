#include <windows.h>

#include <string>

#include "app/instance_lock.h"

namespace lx47::app {

struct InstanceLock::Held {
  HANDLE mutex;
  explicit Held(HANDLE h) : mutex(h) {}
  ~Held() { CloseHandle(mutex); }
};

// The mutex is named after the application, in the session's own namespace,
// so the users of one PC each run their own tool.
InstanceLock::InstanceLock(const QString& name) : m_Where(name) {}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::tryAcquire() {
  const std::wstring name = m_Where.toStdWString();
  HANDLE h = CreateMutexW(nullptr, TRUE, name.c_str());
  if (!h) return GetLastError() == ERROR_ACCESS_DENIED ? Result::HeldElsewhere : Result::Unavailable;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(h);
    return Result::HeldElsewhere;
  }
  m_Held = std::make_unique<Held>(h);
  return Result::Acquired;
}

}  // namespace lx47::app
