// The "one tool runs" lock of SingleInstance. On Linux a lock file in the
// user's runtime directory; on Windows a named mutex, which the system frees
// the moment its owner ends, however it ends: a lock file there would name
// the dead owner by a process id that a later process (under Wine, as soon as
// the next start) may carry again, and the tool would never start.
#pragma once

#include <QString>
#include <memory>

namespace lx47::app {

class InstanceLock {
 public:
  enum class Result { Acquired, HeldElsewhere, Unavailable };

  // name: the application name.
  explicit InstanceLock(const QString& name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Acquired: held until this object ends. HeldElsewhere: another process
  // holds it. Unavailable: it cannot be made at all.
  Result tryAcquire();
  // The lock file's path, or the mutex's name.
  QString where() const { return m_Where; }

 private:
  struct Held;
  QString m_Where;
  std::unique_ptr<Held> m_Held;
};

}  // namespace lx47::app
