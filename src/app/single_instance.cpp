#include "app/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QApplication>
#endif

namespace lx47::app {

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

#ifndef Q_OS_WIN
QString RuntimeDir() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir;
}
#endif

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent) : QObject(parent), m_Lock(name) {
#ifdef Q_OS_WIN
  // Pipe names are per machine; the user's name keeps users apart.
  m_ServerName = name + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
  // A socket path in the user's own runtime directory: private to the user.
  m_ServerName = RuntimeDir() + QLatin1Char('/') + name + QStringLiteral(".socket");
#endif
}

SingleInstance::~SingleInstance() {
  if (m_Server) m_Server->close();
}

bool SingleInstance::acquire() {
  m_NotifiedFirst = false;
  switch (m_Lock.tryAcquire()) {
    case InstanceLock::Result::HeldElsewhere:
      m_NotifiedFirst = notifyRunning();
      return false;
    case InstanceLock::Result::Unavailable:
      // The lock cannot be made at all (unwritable directory): run without
      // the rule rather than refuse to start.
      return true;
    case InstanceLock::Result::Acquired:
      break;
  }

  // A socket left behind by a process that died would block the listen.
  QLocalServer::removeServer(m_ServerName);
  m_Server = std::make_unique<QLocalServer>();
  m_Server->setSocketOptions(QLocalServer::UserAccessOption);
  connect(m_Server.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = m_Server->nextPendingConnection()) {
      connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
      connect(s, &QLocalSocket::readyRead, this, [this, s] {
        if (s->readAll().contains(kActivate)) emit activationRequested();
        s->disconnectFromServer();
      });
    }
  });
  m_Server->listen(m_ServerName);
  return true;
}

bool SingleInstance::notifyRunning() {
#ifdef Q_OS_WIN
  // Windows lets only the program the user just started take the
  // foreground; this one passes that right on, so that the running window
  // really comes to the front instead of only flashing in the taskbar.
  AllowSetForegroundWindow(ASFW_ANY);
#endif
  QLocalSocket socket;
  socket.connectToServer(m_ServerName);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kActivate);
  const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kConnectTimeoutMs);
  return sent;
}

void InformationBeep() {
#ifdef Q_OS_WIN
  MessageBeep(MB_ICONINFORMATION);
#else
  QApplication::beep();
#endif
}

}  // namespace lx47::app
