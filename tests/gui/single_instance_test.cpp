// One tool per user: a later start hands over to the running one and ends,
// unless "PinMonitor" lifts the rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>

#include "app/single_instance.h"
#include "ui/message_service.h"

#ifdef Q_OS_WIN
#include "tool_registry_win.h"
#endif

using lx47::app::SingleInstance;

namespace {

template <typename Pred>
bool WaitFor(Pred done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

// The running tool as it is in life: its instance answers from a running
// event loop, here on a thread of its own, while the later start waits for
// its message to be taken. A Windows pipe hands written bytes over only when
// the other end reads them, so a first instance on the waiting thread itself
// would never hear the second.
class RunningFirst {
 public:
  explicit RunningFirst(const QString& name) : m_Instance(new SingleInstance(name)) {
    m_Instance->moveToThread(&m_Thread);
    // Ends on its own thread, where its server lives; that frees the lock.
    QObject::connect(&m_Thread, &QThread::finished, m_Instance, &QObject::deleteLater);
    QObject::connect(
        m_Instance, &SingleInstance::activationRequested, m_Instance, [this] { ++m_Activations; },
        Qt::DirectConnection);
    m_Thread.start();
  }
  ~RunningFirst() {
    m_Thread.quit();
    m_Thread.wait();
  }
  RunningFirst(const RunningFirst&) = delete;
  RunningFirst& operator=(const RunningFirst&) = delete;

  bool acquire() {
    bool first = false;
    QMetaObject::invokeMethod(
        m_Instance, [this] { return m_Instance->acquire(); }, Qt::BlockingQueuedConnection, &first);
    return first;
  }
  QString lockPath() const { return m_Instance->lockPath(); }
  int activations() const { return m_Activations; }

 private:
  QThread m_Thread;
  SingleInstance* m_Instance;
  std::atomic<int> m_Activations{0};
};

}  // namespace

TEST(SingleInstance, SecondHandsOverToTheFirstAndTheLockIsFreedAfter) {
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  {
    RunningFirst first(QStringLiteral("lx47-single-test"));
    ASSERT_TRUE(first.acquire());
#ifndef Q_OS_WIN
    EXPECT_TRUE(first.lockPath().startsWith(runtime.path()));
#endif

    SingleInstance second(QStringLiteral("lx47-single-test"));
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.notifiedFirst());
    EXPECT_TRUE(WaitFor([&] { return first.activations() == 1; }, 3000));
  }
  // The first has ended: a new start is the first again.
  SingleInstance third(QStringLiteral("lx47-single-test"));
  EXPECT_TRUE(third.acquire());
  qunsetenv("XDG_RUNTIME_DIR");
}

// Two real processes of the tool, each with the private settings and runtime
// directories of this test (on Windows: the program's own registry key,
// emptied before and after).
class TwoProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config.isValid() && runtime.isValid());
    env = QProcessEnvironment::systemEnvironment();
    env.insert("LX47_RUN_APP", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    iniPath = config.path() + "/Orvane Systems/" + QFileInfo(QApplication::applicationFilePath()).completeBaseName() +
              ".ini";
  }
  void TearDown() override {
    for (QProcess* p : {&first, &second}) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
    }
  }
  // Writes an integer into the tool's store, as a user's earlier run would.
  void Store(const QString& key, int value) {
#ifdef Q_OS_WIN
    ASSERT_TRUE(lx47::test::WriteSettingDword(key, DWORD(value)));
#else
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    QSettings s(iniPath, QSettings::IniFormat);
    s.setValue("Setting/" + key, value);
#endif
  }
  // An integer the tool stored; -1 when absent.
  int Stored(const QString& key) {
#ifdef Q_OS_WIN
    const auto v = lx47::test::ReadSetting(key);
    return v && v->type == REG_DWORD ? int(v->dword()) : -1;
#else
    QSettings s(iniPath, QSettings::IniFormat);
    return s.value("Setting/" + key, -1).toInt();
#endif
  }
  void Start(QProcess& p) {
    p.setProcessEnvironment(env);
    p.setProgram(QApplication::applicationFilePath());
    p.start();
    ASSERT_TRUE(p.waitForStarted(5000));
  }
  // The first one listens once its socket, on Windows its pipe, exists.
  bool FirstIsListening() {
#ifdef Q_OS_WIN
    const std::wstring pipe = L"\\\\.\\pipe\\" + SingleInstance(lx47::ui::AppName()).serverName().toStdWString();
    return WaitFor([&] { return WaitNamedPipeW(pipe.c_str(), 1) != 0; }, 10000);
#else
    return WaitFor([&] { return QFile::exists(runtime.path() + "/" + QFileInfo(iniPath).completeBaseName() + ".socket"); },
                   10000);
#endif
  }

#ifdef Q_OS_WIN
  lx47::test::ScopedToolKey key;
#endif
  QTemporaryDir config, runtime;
  QProcessEnvironment env;
  QString iniPath;
  QProcess first, second;
};

TEST_F(TwoProcesses, SecondStartRaisesTheFirstAndOpensNothing) {
  Store("PinMonitor", 0);
  Start(first);
  ASSERT_TRUE(FirstIsListening());
  Store("RecvDelay_msec", 501);  // out of range: every start repairs it
  Start(second);
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(WaitFor([&] { return first.readAllStandardOutput().contains("activated"); }, 5000));
  EXPECT_EQ(first.state(), QProcess::Running);
  // The second start still normalised the store before it ended.
  EXPECT_EQ(Stored("RecvDelay_msec"), 20);
  EXPECT_EQ(Stored("MaxRecvLoopCount"), 60);
}

TEST_F(TwoProcesses, PinMonitorLetsBothRun) {
  Store("PinMonitor", 1);
  Start(first);
  Start(second);
  EXPECT_FALSE(second.waitForFinished(1500));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(second.state(), QProcess::Running);
}
