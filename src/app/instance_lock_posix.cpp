#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "app/instance_lock.h"

namespace lx47::app {

struct InstanceLock::Held {
  QLockFile file;
  explicit Held(const QString& path) : file(path) {}
};

InstanceLock::InstanceLock(const QString& name) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  m_Where = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::tryAcquire() {
  auto held = std::make_unique<Held>(m_Where);
  // A lock is never old enough to be taken over while its owner lives; the
  // lock file of a process that died is recognised and replaced.
  held->file.setStaleLockTime(0);
  if (held->file.tryLock(0)) {
    m_Held = std::move(held);
    return Result::Acquired;
  }
  return held->file.error() == QLockFile::LockFailedError ? Result::HeldElsewhere : Result::Unavailable;
}

}  // namespace lx47::app
