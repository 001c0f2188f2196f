// One running tool per user: a lock (InstanceLock) says whether one already
// runs, and a local socket named after the application lets a second start
// hand over to the first, which then comes to the front.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

#include "app/instance_lock.h"

namespace lx47::app {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // name: the application name; the socket lives in the user's runtime
  // directory (the temporary directory where there is none); on Windows it
  // is a named pipe.
  explicit SingleInstance(const QString& name, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when this process is the first: it then holds the lock and listens
  // for later starts. False when another process holds it: that process has
  // been told to come to the front (when it could be reached).
  bool acquire();

  // Whether the last acquire() reached the running process.
  bool notifiedFirst() const { return m_NotifiedFirst; }

  QString lockPath() const { return m_Lock.where(); }
  QString serverName() const { return m_ServerName; }

 signals:
  // A later start asked this, the first process, to show its window.
  void activationRequested();

 private:
  bool notifyRunning();

  InstanceLock m_Lock;
  QString m_ServerName;
  std::unique_ptr<QLocalServer> m_Server;
  bool m_NotifiedFirst = false;
};

// The beep of a start that handed over to the running tool.
void InformationBeep();

}  // namespace lx47::app
